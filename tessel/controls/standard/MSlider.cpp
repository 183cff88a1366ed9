#include "tessel/controls/standard/MSlider.h"

#include "tessel/PaintManager.h"

#include <algorithm>
#include <string>

namespace Tessel {

MSlider::MSlider(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, "", visible, enabled, 1) {
    text_color_ = 0xFF050505;
    image_count_ = 1;
}

CSize MSlider::ThumbSize() const {
    if (thumb_ != nullptr && thumb_->image) {
        return {thumb_->frameWidth, thumb_->frameHeight};
    }
    return {36, 36};
}

int MSlider::ThumbOffset() const {
    const int free = rect_.Width() - ThumbSize().cx;
    if (free <= 0 || max_ <= min_) {
        return 0;
    }
    const long long offset = static_cast<long long>(free) * (value_ - min_) / (max_ - min_);
    return static_cast<int>(std::clamp<long long>(offset, 0, free));
}

int MSlider::ValueAt(int x) const {
    const int free = rect_.Width() - ThumbSize().cx;
    if (free <= 0 || max_ <= min_) {
        return min_;
    }
    const long long v = min_ + static_cast<long long>(x - rect_.left) *
                                   (static_cast<long long>(max_) - min_ + 1) / free;
    return static_cast<int>(std::clamp<long long>(v, min_, max_));
}

bool MSlider::SetValue(int value) {
    value = std::clamp(value, min_, std::max(min_, max_));
    if (value == value_) {
        return false;
    }
    value_ = value;
    UpdateControl(0);
    return true;
}

int MSlider::SetProgress(int value) {
    if (value < 0) {
        return value_;
    }
    SetValue(std::min(value, max_));
    return value_;
}

void MSlider::SetMaxProgress(int maximum) {
    max_ = maximum;
    value_ = std::clamp(value_, min_, std::max(min_, max_));
    UpdateControl(0);
}

void MSlider::SetMinProgress(int minimum) {
    min_ = minimum;
    value_ = std::clamp(value_, min_, std::max(min_, max_));
    UpdateControl(0);
}

bool MSlider::SetThumbImage(const char* fileName) {
    if (manager_ == nullptr || fileName == nullptr || *fileName == '\0') {
        return false;
    }
    ImgResInfo* info = manager_->AddImgResInfo(fileName, 4);
    if (info == nullptr) {
        return false;
    }
    thumb_ = info;
    UpdateControl(0);
    return true;
}

void MSlider::SetShowText(int on) {
    show_text_ = on != 0;
    UpdateControl(0);
}

void MSlider::DrawControl(HDC& dc, CRect) {
    if (rect_.IsRectEmpty()) {
        return;
    }
    const int offset = ThumbOffset();
    const int x = rect_.left;
    const int y = rect_.top;
    const Image* track = GetImage();
    if (track != nullptr && track->Height() >= 2) {
        const int row = track->Height() / 2;
        const int tw = track->Width();
        MRender::DrawImage(dc, track,
                           CRect(x + 12, y + 15, x + 12 + rect_.Width() - 20, y + 15 + row),
                           CRect(0, row, tw, 2 * row));
        const int filled = offset + 10;
        MRender::DrawImage(dc, track, CRect(x + 10, y + 15, x + 10 + filled, y + 15 + row),
                           CRect(0, 0, std::min(filled, tw), row));
    }
    const CSize ts = ThumbSize();
    const int cell = !enabled_ ? 3 : (hover_ || dragging_) ? 1 : 0;
    if (thumb_ != nullptr && thumb_->image) {
        MRender::DrawImage(dc, thumb_->image.get(),
                           CRect(x + offset, y, x + offset + ts.cx, y + ts.cy),
                           CRect(cell * ts.cx, 0, cell * ts.cx + ts.cx, ts.cy));
    }
    if (show_text_) {
        TextFormat f;
        f.align = 1;
        f.valign = 4;
        MRender::DrawText(dc, title_ + std::to_string(value_), GetFontChoice(),
                          CRect(rect_.left, rect_.bottom - 20, rect_.right, rect_.bottom),
                          text_color_, f);
    }
}

int MSlider::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const bool inside = rect_.PtInRect(pt);
    if (dragging_) {
        if (SetValue(ValueAt(pt.x))) {
            SendMessageW(CN_SCROLL, static_cast<WPARAM>(value_), 0);
        }
        return 1;
    }
    if (inside != hover_) {
        hover_ = inside;
        UpdateControl(0);
    }
    return inside ? 1 : 0;
}

int MSlider::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_ || !rect_.PtInRect(pt)) {
        return 0;
    }
    if (SetValue(ValueAt(pt.x))) {
        SendMessageW(CN_SCROLL, static_cast<WPARAM>(value_), 0);
    }
    const int left = rect_.left + ThumbOffset();
    const CSize ts = ThumbSize();
    dragging_ = pt.x >= left && pt.x < left + ts.cx;
    UpdateControl(0);
    return 1;
}

int MSlider::OnControlLButtonUp(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    dragging_ = false;
    hover_ = rect_.PtInRect(pt);
    UpdateControl(0);
    SendMessageW(CN_CLICKED, 0, 0);
    return 1;
}

int MSlider::OnControlScroll(int, UINT direction, CPoint) {
    if (!enabled_) {
        return 0;
    }
    if (SetValue(value_ + (direction == 1 ? -1 : 1))) {
        SendMessageW(CN_CLICKED, 0, 0);
    }
    return 1;
}

} // namespace Tessel
