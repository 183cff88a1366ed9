#include "tessel/controls/colour/CirclePalette.h"

#include <cmath>
#include <cstdlib>

namespace Tessel {

CirclePalette::CirclePalette(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, "", visible, enabled, 1) {
    image_count_ = 1;
    PlaceThumb();
}

void CirclePalette::PlaceThumb() {
    thumb_ = CRect(rect_.left + 100, rect_.top + 30, rect_.left + 110, rect_.top + 40);
}

void CirclePalette::SetControlRect(CRect rect) {
    rect_ = rect;
    PlaceThumb();
}

int CirclePalette::GetDistanse(CPoint p) const {
    const int cx = rect_.left + (rect_.right - rect_.left) / 2;
    const int cy = rect_.top + (rect_.bottom - rect_.top) / 2;
    const double dx = p.x - cx;
    const double dy = p.y - cy;
    return static_cast<int>(std::sqrt(dx * dx + dy * dy));
}

bool CirclePalette::ColourAt(CPoint p, COLORREF& colour) const {
    const Image* img = GetImage();
    if (img == nullptr || rect_.IsRectEmpty() || !rect_.PtInRect(p)) {
        return false;
    }
    // The first cell is stretched over the control.
    const int cell_w = frame_width_ > 0 ? frame_width_ : img->Width();
    const int ix =
        static_cast<int>(static_cast<long long>(p.x - rect_.left) * cell_w / rect_.Width());
    const int iy =
        static_cast<int>(static_cast<long long>(p.y - rect_.top) * img->Height() / rect_.Height());
    cairo_surface_t* s = img->Surface();
    if (s == nullptr || ix < 0 || iy < 0 || ix >= img->Width() || iy >= img->Height()) {
        return false;
    }
    cairo_surface_flush(s);
    const auto* row = cairo_image_surface_get_data(s) + iy * cairo_image_surface_get_stride(s);
    const std::uint32_t px = reinterpret_cast<const std::uint32_t*>(row)[ix];
    const unsigned a = px >> 24;
    if (a == 0) {
        return false;
    }
    const auto straight = [a](unsigned c) { return std::min(255u, (c * 255 + a / 2) / a); };
    colour = RGB(straight(px >> 16 & 0xFF), straight(px >> 8 & 0xFF), straight(px & 0xFF));
    return true;
}

void CirclePalette::MoveThumbPos(CPoint p) {
    if (GetDistanse(p) > kReach) {
        return;
    }
    last_ = p;
    const CRect next(p.x - 5, p.y - 5, p.x + 5, p.y + 5);
    if (next == thumb_) {
        return;
    }
    thumb_ = next;
    // The wheel's own colour at the point, whatever the screen shows there.
    ColourAt(p, colour_);
    UpdateControl(0);
    SendMessageW(CN_COLOR, 0, static_cast<LPARAM>(colour_));
}

int CirclePalette::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    if (thumb_.PtInRect(pt)) {
        state_ = 2;
    }
    MoveThumbPos(pt);
    return 1;
}

int CirclePalette::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    if (state_ == 2) {
        if (std::abs(pt.x - last_.x) <= kDragStep && std::abs(pt.y - last_.y) <= kDragStep) {
            return 1;
        }
        MoveThumbPos(pt);
        return 1;
    }
    state_ = rect_.PtInRect(pt) && thumb_.PtInRect(pt) ? 1 : 0;
    return rect_.PtInRect(pt) ? 1 : 0;
}

int CirclePalette::OnControlLButtonUp(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    state_ = thumb_.PtInRect(pt) ? 1 : 0;
    SendMessageW(CN_CLICKED, 0, static_cast<LPARAM>(colour_));
    return 1;
}

void CirclePalette::DrawControl(HDC& dc, CRect) {
    if (rect_.IsRectEmpty()) {
        return;
    }
    if (const Image* img = GetImage()) {
        MRender::DrawImageCell(dc, img, 0, image_count_, rect_);
    }
    cairo_save(dc);
    cairo_set_antialias(dc, CAIRO_ANTIALIAS_GOOD);
    cairo_set_line_width(dc, 1);
    const double x = thumb_.left;
    const double y = thumb_.top;
    MRender::SetSource(dc, 0xFEFFFFFF);
    cairo_arc(dc, x + 4, y + 4, 4, 0, 2 * M_PI);
    cairo_stroke(dc);
    MRender::SetSource(dc, 0xFE808080);
    cairo_arc(dc, x + 5, y + 5, 4, 0, 2 * M_PI);
    cairo_stroke(dc);
    cairo_restore(dc);
}

} // namespace Tessel
