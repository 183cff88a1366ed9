#pragma once
// The macro step list: key name, action and delay of each step, with the
// delay edited in place (a press on the selected row's delay column).
//
// Notifications: CN_PRESSED (new selection, may be -1) on a press inside;
// CN_RCLICK (row, 0) on a right release on a row; CN_TEXTCHANGED (0, 0)
// while the editor's text changes; CN_EDITEND (0, edited row) when an edit
// ends with a changed delay.

#include "tessel/controls/lists/CListBase.h"
#include "tessel/controls/lists/ListItem.h"

#include <vector>

namespace Tessel {

class CRecordList : public CListBase {
public:
    CRecordList(MObject* parent, UINT id, CRect rect, int visible);

    // Appends a step; shows the end of the list. Returns the new row's index.
    int AddString(const std::string& text, int type, int value, int delay);
    // The last step's delay; false when the list is empty.
    bool UpdateDelayTime(int delay);
    // A copy of every step in list order, taken under the lock.
    std::vector<RecordItem> GetRecordItems() const;

    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlRButtonUp(UINT flags, CPoint pt) override;

    static constexpr int kItemHeight = 41;
    // The three columns, from the list's left edge.
    static constexpr int kNameLeft = 0, kNameRight = 160;
    static constexpr int kTypeLeft = 180, kTypeRight = 280;
    static constexpr int kDelayLeft = 300, kDelayRight = 420;
    // An edit that leaves the field empty stores this delay.
    static constexpr int kEmptyDelay = 10;

    // The delay an edited text stands for: its leading digits (0 without),
    // 10 for an empty text, at most 31000.
    static int ParseDelay(const std::string& text);

protected:
    int CountLocked() const override { return static_cast<int>(items_.size()); }
    CRect& RowRectLocked(int index) override {
        return items_[static_cast<std::size_t>(index)].rect;
    }
    void DrawRowLocked(cairo_t* cr, int index, int viewWidth) override;
    void EraseLocked(int index) override { items_.erase(items_.begin() + index); }
    void ClearLocked() override { items_.clear(); }
    void SwapLocked(int i, int j) override;
    std::string EditTextLocked(int index) const override;
    bool CommitEditLocked(int index, const std::string& text) override;
    ListEditorStyle EditorStyle() const override;
    CRect EditorRect(const CRect& rowRect) const override;
    bool CanShowEdit() const override;
    void BeforeWheelScroll() override { HideEdit(1); }

private:
    std::vector<RecordItem> items_;
};

} // namespace Tessel
