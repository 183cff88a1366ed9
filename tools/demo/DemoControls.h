#pragma once
// Two small controls of the demo: a skinned push button and a picture.

#include "tessel/MControlFont.h"

namespace demo {

using namespace Tessel;

// A push button drawn from a four-cell image (normal, hover, pressed,
// disabled) stretched as a nine-grid, with its title centred. It keeps all
// four looks in a state strip and reports CN_PRESSED and CN_CLICKED.
class SkinButton : public MControlFont {
public:
    SkinButton(MObject* parent, UINT id, CRect rect, const char* title, int corner);

    void DrawControl(HDC& dc, CRect clip) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlKeyDown(UINT key, UINT repeat, UINT modifier) override;
    void SetControlEnabled(int enabled) override;
    int GetState() const { return state_; }

private:
    void SetState(int state);
    int state_ = 0;
    int corner_;
};

// An image at its own size (mode 0) or stretched over the control (mode 1).
class SkinPicture : public MControlFont {
public:
    SkinPicture(MObject* parent, UINT id, CRect rect, int stretch)
        : MControlFont(parent, id, rect, "", 1, 1, 0), stretch_(stretch != 0) {}
    void DrawControl(HDC& dc, CRect clip) override;

private:
    bool stretch_;
};

// A text label.
class Label : public MControlFont {
public:
    Label(MObject* parent, UINT id, CRect rect, const char* title)
        : MControlFont(parent, id, rect, title, 1, 1, 0) {}
    void DrawControl(HDC& dc, CRect) override { DrawTitle(dc, rect_, text_color_); }
};

} // namespace demo
