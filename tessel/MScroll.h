#pragma once
// Scroll bars: a thumb over a track that reports its position with CN_SCROLL.
// The vertical bar is the model; the horizontal one mirrors it.

#include "tessel/MControlFont.h"

namespace Tessel {

class MScroll : public MControlFont {
public:
    MScroll(MObject* parent, UINT id, CRect rect, int visible, int enabled, bool vertical);

    void DrawControl(HDC& dc, CRect clip) override;
    void SetControlRect(CRect rect) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlScroll(int step, UINT direction, CPoint pt) override;

    void SetScrollInfo(int range, int position, int page, int step);
    void SetScrollMaxRange(int range);
    void SetScrollCurrentPos(int position);
    // Sets the position and notifies the owner.
    void SetScrollCurrentPosEx(int position);
    void SetScrollSize(int page, int step);
    void SetScrollFinalPos() { SetScrollCurrentPos(range_); }
    // Position += rows × step, clamped to 0..range; true when it moved.
    bool ScrollRow(int rows);
    int GetScrollMaxRange() const { return range_; }
    int GetScrollCurrentPos() const { return position_; }
    int GetLineStep() const { return step_; }
    bool IsChangeing() const { return changing_; }
    bool IsVertical() const { return vertical_; }
    // True when the content is larger than a page (the bar is worth showing).
    bool IsNeeded() const { return Page() < range_; }
    CRect GetThumbRect() const { return thumb_; }
    void SetArrowSize(int size) { arrow_ = size; }

private:
    int Length() const { return vertical_ ? rect_.Height() : rect_.Width(); }
    int Page() const;
    int ThumbLength() const;
    void Layout();

    bool vertical_;
    int range_ = 1000;
    int position_ = 0;
    int page_ = 0;
    int step_ = 10;
    int arrow_ = 0;
    CRect thumb_;
    bool changing_ = false;
    int drag_offset_ = 0;
    int state_ = 0;
};

class CScrollVertical : public MScroll {
public:
    CScrollVertical(MObject* parent, UINT id, CRect rect, int visible, int enabled = 1)
        : MScroll(parent, id, rect, visible, enabled, true) {}
};

class CScrollHorizontal : public MScroll {
public:
    CScrollHorizontal(MObject* parent, UINT id, CRect rect, int visible, int enabled = 1)
        : MScroll(parent, id, rect, visible, enabled, false) {}
};

} // namespace Tessel
