#include "tessel/controls/standard/CImageButton.h"

#include <algorithm>

namespace Tessel {

CImageButton::CImageButton(MObject* parent, UINT id, CRect rect, const char* title, int visible,
                           int enabled)
    : MButton(parent, id, rect, title, visible, enabled) {}

void CImageButton::DrawCell(HDC strip, int cell, const CRect& r) {
    const Image* img = GetImage();
    if (img != nullptr && frame_width_ > 0) {
        const int sx = std::min(cell, image_count_ - 1) * frame_width_;
        MRender::DrawImage(strip, img,
                           CRect(r.left, r.top, r.left + frame_width_, r.top + frame_height_),
                           CRect(sx, 0, sx + frame_width_, frame_height_));
    }
    if (icon_ != nullptr && icon_->image) {
        const int iw = icon_->frameWidth;
        const int ih = icon_->frameHeight;
        const int x = r.left + (r.Width() - iw) / 2 + 2;
        const int y = r.top + (r.Height() - ih) / 2 - 4;
        MRender::DrawImage(strip, icon_->image.get(), CRect(x, y, x + iw, y + ih),
                           CRect(0, 0, iw, ih));
    }
}

} // namespace Tessel
