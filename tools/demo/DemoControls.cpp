#include "tools/demo/DemoControls.h"

#include "tessel/Messages.h"

namespace demo {

SkinButton::SkinButton(MObject* parent, UINT id, CRect rect, const char* title, int corner)
    : MControlFont(parent, id, rect, title, 1, 1, 1), corner_(corner) {
    align_ = 1;
    valign_ = 4;
    SetCursorEx("hand");
    SetTabStop(1);
}

void SkinButton::DrawControl(HDC& dc, CRect) {
    if (!update_) {
        const int w = rect_.Width();
        const int h = rect_.Height();
        UpdateMemDC(dc, w * 4, h);
        const Image* img = GetImage();
        for (int cell = 0; cell < 4; ++cell) {
            CopyBackgroundToCell(dc, cell);
            HDC strip = Strip().Context();
            if (img != nullptr) {
                MRender::DrawImageFrame(strip, img, CRect(cell * w, 0, cell * w + w, h),
                                        cell * frame_width_, 0, frame_width_, frame_height_,
                                        corner_);
            }
            CRect text(cell * w, 0, cell * w + w, h);
            if (cell == 2) {
                text.OffsetRect(1, 1);
            }
            MRender::DrawText(strip, title_, GetFontChoice(), text,
                              cell == 3 ? 0xFF808080 : text_color_, GetTextFormat());
        }
    }
    DrawStripCell(dc, enabled_ ? state_ : 3);
}

void SkinButton::SetState(int state) {
    if (state != state_) {
        state_ = state;
        UpdateControl(0);
    }
}

int SkinButton::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    if (state_ != 2) {
        SetState(rect_.PtInRect(pt) ? 1 : 0);
    }
    return rect_.PtInRect(pt) ? 1 : 0;
}

int SkinButton::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_ || !rect_.PtInRect(pt)) {
        return 0;
    }
    SetState(2);
    SendMessageW(CN_PRESSED, 0, 0);
    return 1;
}

int SkinButton::OnControlLButtonUp(UINT, CPoint pt) {
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

int SkinButton::OnControlKeyDown(UINT key, UINT repeat, UINT modifier) {
    if (IsFocused() && enabled_ && (key == VK_SPACE || key == VK_RETURN) && modifier == 0) {
        SendMessageW(CN_CLICKED, 0, 0);
        return 1;
    }
    return MControlFont::OnControlKeyDown(key, repeat, modifier);
}

void SkinButton::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    state_ = enabled != 0 ? 0 : 3;
}

void SkinPicture::DrawControl(HDC& dc, CRect) {
    const Image* img = GetImage();
    if (img == nullptr) {
        return;
    }
    if (stretch_) {
        MRender::DrawImageCell(dc, img, 0, image_count_, rect_);
    } else {
        MRender::DrawImage(
            dc, img,
            CRect(rect_.left, rect_.top, rect_.left + frame_width_, rect_.top + frame_height_),
            CRect(0, 0, frame_width_, frame_height_));
    }
}

} // namespace demo
