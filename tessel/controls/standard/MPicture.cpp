#include "tessel/controls/standard/MPicture.h"

namespace Tessel {

MPicture::MPicture(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, "", visible, enabled, 0) {
    image_count_ = 1;
}

int MPicture::SetShowMode(enumShowMode mode, int value) {
    if (mode == mode_ && value == value_) {
        return 0;
    }
    mode_ = mode;
    value_ = value;
    UpdateControl(1);
    return 1;
}

void MPicture::SetShowModeMID(int left, int top, int right, int bottom) {
    margins_ = CRect(left, top, right, bottom);
    UpdateControl(1);
}

void MPicture::SetCustomRect(CRect rect) {
    custom_ = rect;
    UpdateControl(1);
}

void MPicture::DrawControl(HDC& dc, CRect) {
    const Image* img = GetImage();
    if (img == nullptr || rect_.IsRectEmpty() || frame_width_ <= 0) {
        return;
    }
    const int w = frame_width_;
    const int h = frame_height_;
    switch (mode_) {
    case SHOW_MODE_NORMAL: {
        int x = rect_.left;
        int y = rect_.top;
        if (align_ == 1) {
            x += (rect_.Width() - w) / 2;
        } else if (align_ == 2) {
            x = rect_.right - w;
        }
        if (valign_ == 4) {
            y += (rect_.Height() - h) / 2;
        } else if (valign_ == 8) {
            y = rect_.bottom - h;
        }
        cairo_save(dc);
        cairo_rectangle(dc, rect_.left, rect_.top, rect_.Width(), rect_.Height());
        cairo_clip(dc);
        MRender::DrawImage(dc, img, CRect(x, y, x + w, y + h), CRect(0, 0, w, h));
        cairo_restore(dc);
        break;
    }
    case SHOW_MODE_TILE:
        MRender::DrawImageTiled(dc, img, rect_);
        break;
    case SHOW_MODE_STRETCH:
        MRender::DrawImage(dc, img, rect_, CRect(0, 0, w, h));
        break;
    case SHOW_MODE_FRAME:
        MRender::DrawImageFrame(dc, img, rect_, 0, 0, w, h, value_);
        break;
    case SHOW_MODE_FRAME_MID:
        MRender::DrawImageFrameMID(dc, img, rect_, 0, 0, w, h, margins_.left, margins_.top,
                                   margins_.right, margins_.bottom);
        break;
    case SHOW_MODE_CUSTOM:
        if (!custom_.IsRectEmpty()) {
            MRender::DrawImage(dc, img, rect_, custom_);
        }
        break;
    }
}

} // namespace Tessel
