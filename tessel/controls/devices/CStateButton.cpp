#include "tessel/controls/devices/CStateButton.h"

#include <algorithm>

namespace Tessel {
namespace {

constexpr Color kDisabledText = 0xFF808080;

} // namespace

CStateButton::CStateButton(MObject* parent, UINT id, CRect rect, const char* title, int visible,
                           int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1), state_(enabled != 0 ? 0 : 3) {
    align_ = 1;
    valign_ = 4;
}

void CStateButton::SetFrameSize(int corner) {
    frame_size_ = corner;
    UpdateControl(1);
}

void CStateButton::SetState(int state) {
    if (state != state_) {
        state_ = state;
        UpdateControl(0);
    }
}

void CStateButton::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    state_ = enabled != 0 ? 0 : 3;
}

int CStateButton::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const bool inside = rect_.PtInRect(pt);
    if (state_ != 2) {
        SetState(inside ? 1 : 0);
    }
    return inside ? 1 : 0;
}

int CStateButton::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_ || !rect_.PtInRect(pt)) {
        return 0;
    }
    SetState(2);
    SendMessageW(CN_PRESSED, 0, 0);
    return 1;
}

int CStateButton::OnControlLButtonUp(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const bool was_pressed = state_ == 2;
    const bool inside = rect_.PtInRect(pt);
    SetState(inside ? 1 : 0);
    if (inside && was_pressed) {
        SendMessageW(CN_CLICKED, 0, 0);
    }
    return 1;
}

void CStateButton::DrawStateCell(HDC& dc, int cell) {
    const int w = rect_.Width();
    const int h = rect_.Height();
    CopyBackgroundToCell(dc, cell);
    cairo_t* cr = Strip().Context();
    const CRect dst(cell * w, 0, cell * w + w, h);
    if (const Image* img = GetImage(); img != nullptr && frame_width_ > 0) {
        const int count = image_count_ > 0 ? image_count_ : 1;
        const int src = std::min(cell, count - 1);
        if (frame_width_ == w && frame_height_ == h) {
            MRender::DrawImage(cr, img, dst, CRect(src * w, 0, src * w + w, h));
        } else {
            MRender::DrawImageFrame(cr, img, dst, src * frame_width_, 0, frame_width_,
                                    frame_height_, frame_size_);
        }
    }
    if (!title_.empty()) {
        CRect text = dst;
        if (cell == 2) {
            text.OffsetRect(1, 1);
        }
        MRender::DrawText(cr, title_, GetFontChoice(), text,
                          cell == 3 ? kDisabledText : text_color_, GetTextFormat());
    }
    DecorateCell(cr, cell);
}

void CStateButton::DrawStrip(HDC& dc) {
    const int w = rect_.Width();
    const int h = rect_.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    if (!update_ || Strip().Width() != 4 * w || Strip().Height() != h) {
        UpdateMemDC(dc, 4 * w, h);
        for (int cell = 0; cell < 4; ++cell) {
            DrawStateCell(dc, cell);
        }
    }
    DrawStripCell(dc, enabled_ ? state_ : 3);
}

} // namespace Tessel
