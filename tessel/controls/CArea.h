#pragma once
// A coloured rectangle: blended over the background with a transparency ramp
// (vertical or horizontal), or filled opaquely with an optional 1-pixel frame.

#include "tessel/MControl.h"

namespace Tessel {

class CArea : public MControl {
public:
    CArea(MObject* parent, UINT id, CRect rect, int visible, int enabled);

    void DrawControl(HDC& dc, CRect clip) override;

    // Transparency in percent at the start and end of the ramp; COLORREF colour.
    void SetTransparent(int startPercent, int endPercent, COLORREF colour);
    void SetFrame(int on, Color frameColour, int unused = 0);
    // 1 vertical (top to bottom), 0 horizontal (left to right).
    void SetDirection(int vertical) { vertical_ = vertical != 0; }

private:
    bool vertical_ = true;
    int start_ = 80;
    int end_ = 80;
    COLORREF colour_ = 0xFFFFFF;
    bool frame_ = false;
    Color frame_colour_ = 0xFF050505;
    Bitmap solid_;
};

} // namespace Tessel
