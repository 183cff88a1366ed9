#include "tessel/controls/CArea.h"

namespace Tessel {

CArea::CArea(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControl(parent, id, rect, visible, enabled, 1) {}

void CArea::SetTransparent(int startPercent, int endPercent, COLORREF colour) {
    start_ = startPercent;
    end_ = endPercent;
    colour_ = colour;
    UpdateControl(1);
}

void CArea::SetFrame(int on, Color frameColour, int) {
    frame_ = on != 0;
    frame_colour_ = frameColour;
    UpdateControl(1);
}

void CArea::DrawControl(HDC& dc, CRect) {
    if (rect_.IsRectEmpty()) {
        return;
    }
    if (start_ != 0 || end_ != 0) {
        // An opaque block of the colour, blended in by the ramp.
        if (solid_.Create(rect_.Width(), rect_.Height()) || !update_) {
            MRender::FillSolidRect(solid_.Context(), CRect(0, 0, rect_.Width(), rect_.Height()),
                                   ColorRefToArgb(colour_));
            update_ = true;
        }
        const CRect src(0, 0, rect_.Width(), rect_.Height());
        if (vertical_) {
            MRender::DrawVerticalTransition(dc, solid_.Surface(), rect_, src, start_, end_);
        } else {
            MRender::DrawHorizontalTransition(dc, solid_.Surface(), rect_, src, start_, end_);
        }
        return;
    }
    MRender::FillSolidRect(dc, rect_, ColorRefToArgb(colour_));
    if (frame_) {
        MRender::DrawRectangle(dc, rect_, frame_colour_, 1);
    }
}

} // namespace Tessel
