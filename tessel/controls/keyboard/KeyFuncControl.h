#pragma once
// The key function picker: a row of multimedia icons above a full-size
// keyboard with numeric keypad, one item per single-key function a key can be
// given. A click selects an item and notifies the parent with CN_CLICKED
// (item index, 0); GetCurItemData then reads the clicked item.

#include "tessel/MPanel.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace Tessel {

struct KeyFuncItem {
    std::string label;
    int code = 0; // the item data: HID usage or multimedia code
    int value2 = 0;
    int value3 = 0;
    ImagePtr icon;
    CRect rect; // relative to the control's top-left corner
};

class KeyFuncControl : public MPanel {
public:
    KeyFuncControl(MObject* parent, UINT id, CRect rect, int visible);

    // Rebuilds the 114 items.
    void InitItemInfo();
    void ClearItems();
    // The label of the first item with that code.
    void SetItemDesc(int code, const std::string& text);
    // Clears the selection and the mark, then marks the first item with the
    // three values (nothing with code 0); repaints.
    void SetItemCheckByItemData(int code, int value2, int value3);
    // The clicked item's code, values and label; false (outputs untouched)
    // while no item is selected. The first argument is not written.
    bool GetCurItemData(int& unused, int& code, int& value2, int& value3, std::string& label) const;

    std::vector<KeyFuncItem> GetItems() const;
    int GetItemCount() const;
    int GetHoverItem() const { return hover_; }
    int GetSelectedItem() const { return selected_; }
    int GetMarkedItem() const { return marked_; }
    // Item index at a window point, -1 for none.
    int HitTest(CPoint pt) const;
    // The item's state as drawn: 2 marked or selected, 1 hovered, 0 other.
    int ItemState(int index) const;

    void InitControl(PaintManager* manager) override;
    void SetControlRect(CRect rect) override;
    void DrawControl(HDC& dc, CRect clip) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlScroll(int step, UINT direction, CPoint pt) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;

private:
    void AddKeyItem(const char* label, int code, CRect rect, const char* icon);
    int HitTestLocked(CPoint pt) const;
    CRect ItemWindowRect(const KeyFuncItem& item) const;
    void ClearOwnTooltip();

    mutable std::mutex lock_;
    std::vector<KeyFuncItem> items_;
    int tooltip_ = -1;
    int hover_ = -1;
    int selected_ = -1;
    int marked_ = -1;
};

} // namespace Tessel
