#pragma once
// A drop-down selector: a four-cell image drawn as a nine-grid (margins 10,
// 10, 36, 10) with the current item's text. A click opens the drop-down
// below the control (above it when it would pass the bottom of the work
// area); a pick there selects the item and sends CN_CLICKED (wParam = row).

#include "tessel/MControlFont.h"
#include "tessel/controls/input/CComboBoxList.h"

#include <memory>
#include <vector>

namespace Tessel {

class CComboBoxWnd;

class MComboBox : public MControlFont {
public:
    MComboBox(MObject* parent, UINT id, CRect rect, int visible, int enabled);
    ~MComboBox() override;

    void DrawControl(HDC& dc, CRect clip) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    void SetControlEnabled(int enabled) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;

    // Appends; returns the new index.
    int AddItem(const std::string& text, long data = 0, const std::string& iconPath = {},
                Color color = 0);
    // Index -1 appends; an index past the end returns -1.
    int InsertItem(int index, const std::string& text, long data = 0,
                   const std::string& iconPath = {}, Color color = 0);
    bool DeleteItem(int index);
    void DelAllItems();
    bool SetItemText(int index, const std::string& text);
    bool SetItemData(int index, long data);
    long GetItemData(int index) const;
    std::string GetItemText(int index) const;
    int GetCount() const { return static_cast<int>(items_.size()); }
    // -1 clears; an index past the end returns 0 and changes nothing.
    // Sets the title to the item's text; returns 1.
    int SetCurSel(int index);
    int GetCurSel() const { return selected_; }
    // Data of the selection, 0 without one.
    long GetCurData() const;
    int FindData(long data) const;
    // Selects the first item with that data; 0 when there is none.
    int SelectData(long data);
    // The background image (four cells) from the skin folder.
    int SetBackImage(const char* fileName, int count = 4) { return SetImage(fileName, count); }
    void SetScrollResID(unsigned vertical, unsigned horizontal);
    void SetShowModeMID(int left, int top, int right, int bottom);
    // Where the text goes, relative to the control; empty: a default inset.
    void SetTextRect(CRect rect);

    bool IsOpen() const { return open_; }
    int GetState() const { return state_; }
    CComboBoxWnd* GetPopup() const { return popup_.get(); }
    // Opens the drop-down now (what a click does).
    void OpenPopup();

    static constexpr int kVisibleRows = 5;

private:
    void SetState(int state);
    void ReleasePopup();
    std::vector<ComboItem> items_;
    int selected_ = -1;
    int state_ = 0;
    bool open_ = false;
    std::unique_ptr<CComboBoxWnd> popup_;
    unsigned scroll_v_ = 102;
    unsigned scroll_h_ = 101;
    CRect margins_{10, 10, 36, 10};
    CRect text_rect_;
};

} // namespace Tessel
