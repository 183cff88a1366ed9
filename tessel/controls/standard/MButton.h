#pragma once
// A push button: a four-cell image (normal, hover, pressed, disabled) drawn
// as a nine-grid with the title centred over it. A press sends CN_PRESSED, a
// release inside after a press CN_CLICKED. The four looks are cached in the
// control's state strip.

#include "tessel/ImgResInfo.h"
#include "tessel/MControlFont.h"

namespace Tessel {

class MButton : public MControlFont {
public:
    MButton(MObject* parent, UINT id, CRect rect, const char* title, int visible, int enabled);

    void DrawControl(HDC& dc, CRect clip) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    void SetControlEnabled(int enabled) override;

    // Corner of the nine-grid (default 10).
    void SetFrameSize(int size);
    int GetFrameSize() const { return frame_size_; }
    // Where the title is centred, relative to the control; empty: the whole control.
    void SetTextRect(CRect rect);
    CRect GetTextRect() const { return text_rect_; }
    // An icon strip of `count` cells from the skin folder; false when it cannot be loaded.
    bool SetIconImage(const char* fileName, int count);
    // 0 normal, 1 hover, 2 pressed, 3 disabled.
    int GetState() const { return state_; }

protected:
    // Draws state cell i into the strip at cellRect (the background is there already).
    virtual void DrawCell(HDC strip, int cell, const CRect& cellRect);
    void SetState(int state);

    int state_ = 0;
    int frame_size_ = 10;
    CRect text_rect_;
    ImgResInfo* icon_ = nullptr;
    int icon_count_ = 1;
};

} // namespace Tessel
