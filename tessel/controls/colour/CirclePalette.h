#pragma once
// The colour wheel: a wheel image stretched over the control and a small
// thumb that follows presses and drags within 65 pixels of the centre. The
// picked colour is the wheel image's colour under the thumb's centre.
// Notifications: CN_COLOR (0, colour) when the thumb moves; CN_CLICKED (0,
// selected colour) on every release.

#include "tessel/MControlFont.h"

namespace Tessel {

class CirclePalette : public MControlFont {
public:
    CirclePalette(MObject* parent, UINT id, CRect rect, int visible, int enabled);

    // COLORREF; 0x0000FF until the thumb first moves.
    COLORREF GetSelectColor() const { return colour_; }
    void SetSelectColor(COLORREF colour) { colour_ = colour; }
    // Moves the thumb to p (window coordinates) and picks the colour there;
    // nothing beyond 65 pixels from the centre or when the thumb is there.
    void MoveThumbPos(CPoint p);
    // Distance from the control's centre, truncated.
    int GetDistanse(CPoint p) const;
    CRect GetThumbRect() const { return thumb_; }
    int GetState() const { return state_; }
    // The wheel image's colour (COLORREF) at a window point; false outside
    // the image or where it is transparent.
    bool ColourAt(CPoint p, COLORREF& colour) const;

    void SetControlRect(CRect rect) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    void DrawControl(HDC& dc, CRect clip) override;

    static constexpr int kReach = 65;
    static constexpr int kDragStep = 5;

private:
    void PlaceThumb();

    int state_ = 0;
    CRect thumb_;
    CPoint last_;
    COLORREF colour_ = 0x0000FF;
};

} // namespace Tessel
