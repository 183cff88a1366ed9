#pragma once
// The list inside a combo box's drop-down: rows of 30 pixels, hover follows
// the mouse, and a release over the row that was pressed reports the pick to
// the parent as CN_CLICKED (wParam = row, lParam = LIST_PICK). The wheel
// scrolls two line steps per notch; the vertical scroll bar shows when the
// rows do not fit.

#include "tessel/MPanel.h"

#include <string>
#include <vector>

namespace Tessel {

struct ComboItem {
    std::string text;
    long data = 0;
    std::string icon; // skin file, may be empty
    Color color = 0;  // text colour of the row; 0: the list's
};

class CComboBoxList : public MPanel {
public:
    CComboBoxList(MObject* parent, UINT id, CRect rect, int visible, int enabled);

    void SetControlRect(CRect rect) override;
    void DrawControl(HDC& dc, CRect clip) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlScroll(int step, UINT direction, CPoint pt) override;

    void SetItems(const std::vector<ComboItem>& items);
    const std::vector<ComboItem>& GetItems() const { return items_; }
    // The row drawn as the current choice (-1 for none).
    void SetSelected(int row) { selected_ = row; }
    int GetHover() const { return hover_; }
    // The row at a window point, -1 outside the rows.
    int RowAt(CPoint pt) const;

    static constexpr int kRowHeight = 30;

private:
    std::vector<ComboItem> items_;
    int hover_ = -1;
    int pressed_ = -1;
    int selected_ = -1;
};

} // namespace Tessel
