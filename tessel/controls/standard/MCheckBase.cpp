#include "tessel/controls/standard/MCheckBase.h"

#include "tessel/PaintManager.h"

#include <algorithm>

namespace Tessel {

MCheckBase::MCheckBase(MObject* parent, UINT id, CRect rect, const char* title, int visible,
                       int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1) {
    image_count_ = 8;
    tab_stop_ = true;
    state_ = enabled != 0 ? 0 : 3;
}

void MCheckBase::SetLook(int look) {
    const int state = (check_ != 0 ? 4 : 0) + look;
    if (state != state_) {
        state_ = state;
        UpdateControl(0);
    }
}

void MCheckBase::ApplyCheck(int check) {
    check_ = check != 0 ? 1 : 0;
    SetLook(enabled_ ? 0 : 3);
}

void MCheckBase::DrawControl(HDC& dc, CRect) {
    const int w = rect_.Width();
    const int h = rect_.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    if (!update_) {
        UpdateMemDC(dc, w * 8, h);
        const Image* img = GetImage();
        TextFormat f;
        f.valign = 4;
        for (int cell = 0; cell < 8; ++cell) {
            CopyBackgroundToCell(dc, cell);
            HDC strip = Strip().Context();
            const int x = cell * w;
            int cw = 0;
            if (img != nullptr && frame_width_ > 0) {
                cw = frame_width_;
                const int sx = std::min(cell, image_count_ - 1) * frame_width_;
                const int y = (h - frame_height_) / 2;
                MRender::DrawImage(strip, img, CRect(x, y, x + cw, y + frame_height_),
                                   CRect(sx, 0, sx + cw, frame_height_));
            }
            const Color colour = cell == 3 || cell == 7 ? 0xFE808080 : text_color_;
            MRender::DrawText(strip, title_, GetFontChoice(), CRect(x + cw + 8, 0, x + w, h),
                              colour, f);
        }
    }
    DrawStripCell(dc, state_);
}

int MCheckBase::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const bool inside = rect_.PtInRect(pt);
    if (inside && manager_ != nullptr) {
        manager_->SetCursor(kovrin::platform::CursorKind::Hand);
    }
    if (state_ % 4 != 2) {
        SetLook(inside ? 1 : 0);
    }
    return inside ? 1 : 0;
}

int MCheckBase::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_ || !rect_.PtInRect(pt)) {
        return 0;
    }
    SetLook(2);
    return 1;
}

int MCheckBase::OnControlLButtonUp(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const bool was_pressed = state_ % 4 == 2;
    const bool inside = rect_.PtInRect(pt);
    if (inside && was_pressed) {
        check_ = OnClick() != 0 ? 1 : 0;
        SetLook(1);
        SendMessageW(CN_CLICKED, 0, 0);
        return 1;
    }
    SetLook(inside ? 1 : 0);
    return 1;
}

int MCheckBase::OnControlKeyDown(UINT key, UINT repeat, UINT modifier) {
    if (key == VK_SPACE && modifier == KEYMOD_NONE && IsFocused() && enabled_ && visible_) {
        OnSpace();
        return 1;
    }
    return MControlFont::OnControlKeyDown(key, repeat, modifier);
}

void MCheckBase::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    state_ = (check_ != 0 ? 4 : 0) + (enabled != 0 ? 0 : 3);
}

} // namespace Tessel
