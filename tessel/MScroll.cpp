#include "tessel/MScroll.h"

#include "tessel/PaintManager.h"

#include <algorithm>

namespace Tessel {

MScroll::MScroll(MObject* parent, UINT id, CRect rect, int visible, int enabled, bool vertical)
    : MControlFont(parent, id, rect, "", visible, enabled, 1), vertical_(vertical) {
    Layout();
}

int MScroll::Page() const {
    if (page_ > 0) {
        return page_;
    }
    const int len = Length();
    return len * 10 < range_ ? range_ / 10 : len;
}

int MScroll::ThumbLength() const {
    const int track = Length() - 2 * arrow_;
    if (track <= 0) {
        return 0;
    }
    int len = std::max(
        arrow_ / 2,
        range_ > 0 ? static_cast<int>(static_cast<long long>(Page()) * track / range_) : track);
    len = std::max(len, track < 150 ? track - 50 : 100);
    return std::clamp(len, 1, track);
}

void MScroll::Layout() {
    const int track = Length() - 2 * arrow_;
    const int len = ThumbLength();
    if (track <= 0 || len <= 0) {
        thumb_ = CRect(); // no room for a thumb (or no layout yet)
        return;
    }
    int offset = 0;
    if (range_ > 0 && track > len) {
        offset = static_cast<int>(static_cast<long long>(position_) * (track - len) / range_);
    }
    offset = std::clamp(offset, 0, std::max(0, track - len));
    if (vertical_) {
        const int top = rect_.top + arrow_ + offset;
        thumb_ = CRect(rect_.left, top, rect_.right, top + len);
    } else {
        const int left = rect_.left + arrow_ + offset;
        thumb_ = CRect(left, rect_.top, left + len, rect_.bottom);
    }
}

void MScroll::SetControlRect(CRect rect) {
    rect_ = rect;
    Layout();
}

void MScroll::DrawControl(HDC& dc, CRect) {
    if (!IsNeeded() || thumb_.IsRectEmpty()) {
        return;
    }
    const Image* img = GetImage();
    if (img == nullptr) {
        // No skin image: a plain rounded thumb.
        MRender::DrawRoundRectange(dc, thumb_.left, thumb_.top, thumb_.Width(), thumb_.Height(), 1,
                                   0, 0, true, state_ != 0 ? 0xC0A0A0A0 : 0x80808080);
        return;
    }
    const int count = std::max(1, image_count_);
    const int cell = std::min(enabled_ ? state_ : 3, count - 1);
    const int cw = img->Width() / count;
    const int corner = std::min(cw, img->Height()) / 2;
    MRender::DrawImageFrame(dc, img, thumb_, cell * cw, 0, cw, img->Height(), corner);
}

int MScroll::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    if (changing_) {
        const int track = Length() - 2 * arrow_;
        const int len = ThumbLength();
        const int origin = (vertical_ ? rect_.top : rect_.left) + arrow_;
        const int at = std::clamp((vertical_ ? pt.y : pt.x) - drag_offset_, origin,
                                  origin + std::max(0, track - len));
        const int pos =
            track > len
                ? static_cast<int>(static_cast<long long>(at - origin) * range_ / (track - len))
                : 0;
        if (pos != position_) {
            position_ = std::clamp(pos, 0, range_);
            Layout();
            UpdateControl(0);
            SendMessageW(CN_SCROLL, static_cast<WPARAM>(position_), 0);
        }
        return 1;
    }
    const int state = thumb_.PtInRect(pt) ? 1 : 0;
    if (state != state_) {
        state_ = state;
        UpdateControl(0);
    }
    return rect_.PtInRect(pt) ? 1 : 0;
}

int MScroll::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_ || !IsNeeded()) {
        return 0;
    }
    if (!thumb_.PtInRect(pt)) {
        // A press on the track pages toward the pointer.
        const bool before = vertical_ ? pt.y < thumb_.top : pt.x < thumb_.left;
        const int page = std::max(1, range_ * Length() / std::max(1, range_ + Length()));
        SetScrollCurrentPosEx(position_ + (before ? -page : page));
        return 1;
    }
    changing_ = true;
    drag_offset_ = vertical_ ? pt.y - thumb_.top : pt.x - thumb_.left;
    state_ = 2;
    UpdateControl(0);
    return 1;
}

int MScroll::OnControlLButtonUp(UINT, CPoint pt) {
    if (!changing_) {
        return 0;
    }
    changing_ = false;
    state_ = thumb_.PtInRect(pt) ? 1 : 0;
    UpdateControl(0);
    return 1;
}

int MScroll::OnControlScroll(int step, UINT direction, CPoint) {
    if (!IsNeeded()) {
        return 0;
    }
    const int before = position_;
    ScrollRow(direction == 1 ? step : -step);
    if (position_ != before) {
        SendMessageW(CN_SCROLL, static_cast<WPARAM>(position_), 0);
    }
    return 1;
}

void MScroll::SetScrollInfo(int range, int position, int page, int step) {
    range_ = std::max(0, range);
    page_ = std::max(0, page);
    step_ = std::max(1, step);
    position_ = std::clamp(position, 0, range_);
    Layout();
    UpdateControl(0);
}

void MScroll::SetScrollMaxRange(int range) {
    range_ = std::max(0, range);
    position_ = std::min(position_, range_);
    Layout();
    UpdateControl(0);
}

void MScroll::SetScrollCurrentPos(int position) {
    position_ = std::clamp(position, 0, range_);
    Layout();
    UpdateControl(0);
}

void MScroll::SetScrollCurrentPosEx(int position) {
    const int before = position_;
    SetScrollCurrentPos(position);
    if (position_ != before) {
        SendMessageW(CN_SCROLL, static_cast<WPARAM>(position_), 0);
    }
}

void MScroll::SetScrollSize(int page, int step) {
    page_ = std::max(0, page);
    step_ = std::max(1, step);
    Layout();
    UpdateControl(0);
}

bool MScroll::ScrollRow(int rows) {
    const int before = position_;
    SetScrollCurrentPos(position_ + rows * step_);
    return position_ != before;
}

} // namespace Tessel
