#pragma once
// A one-column list of texts with a two-cell row mark and in-place renaming
// of the selected row (the profile and macro lists).
//
// Notifications: CN_PRESSED (row, 0) on a press on a row; CN_CLICKED (row,
// 0) on a release on a row; CN_RCLICK (new selection or -1, 0) on a right
// release inside; CN_TEXTCHANGED (0, 0) while the editor's text changes;
// CN_EDITEND (0, edited row) when a rename ends with a changed text. A press
// on another row while renaming sends that row's CN_PRESSED first and then
// the edited row's CN_EDITEND, with the edited row in lParam.

#include "tessel/ImgResInfo.h"
#include "tessel/controls/lists/CListBase.h"
#include "tessel/controls/lists/ListItem.h"

#include <vector>

namespace Tessel {

class DListBox : public CListBase {
public:
    DListBox(MObject* parent, UINT id, CRect rect, int visible);

    // The row mark strip (2 cells: other rows, selected row).
    int SetImage(const char* fileName, int count) override;
    // The edited row's background strip (4 cells, the second is drawn).
    int SetEditImage(const char* fileName, int count);

    int AddString(const std::string& text, int image);
    int AddString(const std::string& text, std::int32_t data, int image);
    // index -1 (or any index into an empty list) appends, 0..count-1 inserts
    // before that row; returns the new row's index, -1 for another index.
    int InsertString(int index, const std::string& text, int image, std::int32_t data);
    int SetItemData(int index, std::int32_t data);
    std::int32_t GetItemData(int index) const;
    // Without redrawing; 0 out of range.
    int ModifyItemString(int index, const std::string& text);
    int FindString(const std::string& text) const;
    int FindItemData(std::int32_t data) const;
    int SetCurData(std::int32_t data);
    std::int32_t GetCurData() const;
    std::string GetItemText(int index) const;
    std::vector<ListItem> GetItems() const;

    bool PtInRect(CPoint pt) const override { return visible_ && rect_.PtInRect(pt); }
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlRButtonUp(UINT flags, CPoint pt) override;

    static constexpr int kItemHeight = 32;
    static constexpr int kIconColumn = 50;

protected:
    int CountLocked() const override { return static_cast<int>(items_.size()); }
    CRect& RowRectLocked(int index) override {
        return items_[static_cast<std::size_t>(index)].rect;
    }
    void DrawRowLocked(cairo_t* cr, int index, int viewWidth) override;
    void EraseLocked(int index) override;
    void ClearLocked() override { items_.clear(); }
    void SwapLocked(int i, int j) override;
    std::string EditTextLocked(int index) const override;
    bool CommitEditLocked(int index, const std::string& text) override;
    ListEditorStyle EditorStyle() const override;
    CRect EditorRect(const CRect& rowRect) const override;

private:
    std::vector<ListItem> items_;
    ImgResInfo* edit_image_ = nullptr;
};

} // namespace Tessel
