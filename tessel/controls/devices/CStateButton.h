#pragma once
// The update buttons' common part: a push button with four looks (normal,
// hover, pressed, disabled) kept side by side in the state strip. A press
// inside sends CN_PRESSED (0, 0); the release inside after it CN_CLICKED
// (0, 0).

#include "tessel/MControlFont.h"

namespace Tessel {

class CStateButton : public MControlFont {
public:
    CStateButton(MObject* parent, UINT id, CRect rect, const char* title, int visible, int enabled);

    int GetState() const { return state_; }
    void SetFrameSize(int corner);
    int GetFrameSize() const { return frame_size_; }

    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

protected:
    // Cell `cell` of the strip: the background under the control, the image's
    // cell (at its size when it is the control's size, else as a nine-grid)
    // and the title.
    void DrawStateCell(HDC& dc, int cell);
    // The whole strip, rebuilt when stale, then the current state's cell.
    void DrawStrip(HDC& dc);
    virtual void DecorateCell(cairo_t* cr, int cell) {
        (void)cr;
        (void)cell;
    }
    void SetState(int state);

    int state_ = 0;
    int frame_size_ = 8;
};

} // namespace Tessel
