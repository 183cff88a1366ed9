#include "tessel/controls/standard/MButton.h"

#include "tessel/PaintManager.h"

#include <algorithm>

namespace Tessel {

MButton::MButton(MObject* parent, UINT id, CRect rect, const char* title, int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1) {
    align_ = 1;
    valign_ = 4;
    state_ = enabled != 0 ? 0 : 3;
}

void MButton::SetFrameSize(int size) {
    frame_size_ = std::max(0, size);
    UpdateControl(1);
}

void MButton::SetTextRect(CRect rect) {
    text_rect_ = rect;
    UpdateControl(1);
}

bool MButton::SetIconImage(const char* fileName, int count) {
    if (manager_ == nullptr || fileName == nullptr || *fileName == '\0') {
        return false;
    }
    ImgResInfo* info = manager_->AddImgResInfo(fileName, count);
    if (info == nullptr) {
        return false;
    }
    icon_ = info;
    icon_count_ = std::max(1, count);
    UpdateControl(1);
    return true;
}

void MButton::DrawCell(HDC strip, int cell, const CRect& r) {
    const Image* img = GetImage();
    if (img != nullptr && frame_width_ > 0) {
        MRender::DrawImageFrame(strip, img, r, std::min(cell, image_count_ - 1) * frame_width_, 0,
                                frame_width_, frame_height_, frame_size_);
    }
    CRect text = r;
    if (!text_rect_.IsRectEmpty()) {
        text = text_rect_;
        text.OffsetRect(r.left, r.top);
    }
    if (cell == 2) {
        text.OffsetRect(1, 1);
    }
    if (icon_ != nullptr && icon_->image && icon_->frameWidth > 0) {
        // The icon alone is centred; with a title it stands at the left of it.
        const int iw = icon_->frameWidth;
        const int ih = icon_->frameHeight;
        const int x = title_.empty() ? text.left + (text.Width() - iw) / 2 : text.left + 8;
        const int y = text.top + (text.Height() - ih) / 2;
        MRender::DrawImageCell(strip, icon_->image.get(), std::min(cell, icon_count_ - 1),
                               icon_count_, CRect(x, y, x + iw, y + ih));
        if (!title_.empty()) {
            text.left += iw + 8;
        }
    }
    TextFormat f;
    f.align = 1;
    f.valign = 4;
    MRender::DrawText(strip, title_, GetFontChoice(), text, cell == 3 ? 0xFF808080 : text_color_,
                      f);
}

void MButton::DrawControl(HDC& dc, CRect) {
    const int w = rect_.Width();
    const int h = rect_.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    if (!update_) {
        UpdateMemDC(dc, w * 4, h);
        for (int cell = 0; cell < 4; ++cell) {
            CopyBackgroundToCell(dc, cell);
            DrawCell(Strip().Context(), cell, CRect(cell * w, 0, cell * w + w, h));
        }
        Strip().Flush();
    }
    DrawStripCell(dc, enabled_ ? state_ : 3);
}

void MButton::SetState(int state) {
    if (state != state_) {
        state_ = state;
        UpdateControl(0);
    }
}

int MButton::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const bool inside = rect_.PtInRect(pt);
    if (inside && manager_ != nullptr) {
        manager_->SetCursor(kovrin::platform::CursorKind::Hand);
    }
    if (state_ != 2) {
        SetState(inside ? 1 : 0);
    }
    return inside ? 1 : 0;
}

int MButton::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_ || !rect_.PtInRect(pt)) {
        return 0;
    }
    if (manager_ != nullptr) {
        manager_->SetCursor(kovrin::platform::CursorKind::Hand);
    }
    SetState(2);
    SendMessageW(CN_PRESSED, 0, 0);
    return 1;
}

int MButton::OnControlLButtonUp(UINT, CPoint pt) {
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

void MButton::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    state_ = enabled != 0 ? 0 : 3;
}

} // namespace Tessel
