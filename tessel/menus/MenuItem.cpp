#include "tessel/menus/MenuItem.h"

#include <algorithm>

namespace Tessel {

MenuItem::MenuItem(MObject* parent, UINT id, CRect rect, const char* title, int visible,
                   int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1) {
    image_count_ = 3;
    valign_ = 4;
    state_ = enabled != 0 ? 0 : 3;
}

void MenuItem::SetCheck(int check) {
    if ((check != 0 ? 1 : 0) != check_) {
        check_ = check != 0 ? 1 : 0;
        UpdateControl(1);
    }
}

void MenuItem::SetSeparator(int on) {
    separator_ = on != 0;
    UpdateControl(1);
}

void MenuItem::SetFrameWidth(int width) {
    frame_width_ = std::max(0, width);
    UpdateControl(1);
}

void MenuItem::SetTextMargin(int margin) {
    margin_ = margin;
    UpdateControl(1);
}

void MenuItem::SetHoverColor(Color color) {
    hover_color_ = color;
    UpdateControl(1);
}

void MenuItem::SetHoverImage(ImgResInfo* image) {
    hover_image_ = image;
    UpdateControl(1);
}

void MenuItem::SetCheckImage(ImgResInfo* image) {
    check_image_ = image;
    UpdateControl(1);
}

void MenuItem::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    state_ = enabled != 0 ? 0 : 3;
    pressed_ = false;
    UpdateControl(0);
}

int MenuItem::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_ || separator_) {
        return 0;
    }
    const bool inside = rect_.PtInRect(pt);
    if (!pressed_) {
        const int state = inside ? 1 : 0;
        if (state != state_) {
            state_ = state;
            UpdateControl(0);
        }
    }
    return inside ? 1 : 0;
}

int MenuItem::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_ || separator_ || !rect_.PtInRect(pt)) {
        return 0;
    }
    pressed_ = true;
    state_ = 2;
    return 1;
}

int MenuItem::OnControlLButtonUp(UINT, CPoint pt) {
    if (!enabled_ || separator_) {
        return 0;
    }
    const bool inside = rect_.PtInRect(pt);
    const int state = inside ? 1 : 0;
    pressed_ = false;
    if (state == state_) {
        return 1;
    }
    state_ = state;
    UpdateControl(0);
    if (inside) {
        SendMessageW(CN_CLICKED, 0, 0);
    }
    return 1;
}

void MenuItem::DrawCell(HDC strip, int cell, const CRect& r) {
    const int w = r.Width();
    const int h = r.Height();
    if (separator_) {
        const Image* img = GetImage();
        if (img != nullptr) {
            const int ih = img->Height();
            MRender::DrawImageTiled(strip, img,
                                    CRect(r.left, r.top + (h - ih) / 2,
                                          r.left + w - 2 * frame_width_,
                                          r.top + (h - ih) / 2 + ih));
        } else {
            MRender::FillSolidRect(strip, r, 0x60FFFFFF);
        }
        return;
    }
    if (cell == 1 || cell == 2) {
        const CRect back(r.left + frame_width_, r.top, r.left + w - frame_width_, r.bottom);
        if (hover_image_ != nullptr && hover_image_->image) {
            MRender::DrawImage(
                strip, hover_image_->image.get(), back,
                CRect(0, 0, hover_image_->image->Width(), hover_image_->image->Height()));
        } else {
            MRender::FillSolidRect(strip, back, hover_color_);
        }
    }
    const Image* icon = GetImage();
    if (icon != nullptr && GetImageSize().cx > 0) {
        const CSize size = GetImageSize();
        const int j = cell < image_count_ ? cell : 0;
        const int x = r.left + (margin_ - size.cx) / 2;
        const int y = r.top + (h - size.cy) / 2;
        MRender::DrawImage(strip, icon, CRect(x, y, x + size.cx, y + size.cy),
                           CRect(j * size.cx, 0, (j + 1) * size.cx, size.cy));
    } else if (check_ != 0 && check_image_ != nullptr && check_image_->image) {
        const int cw = check_image_->frameWidth;
        const int ch = check_image_->frameHeight;
        const int x = r.left + (margin_ - cw) / 2;
        const int y = r.top + (h - ch) / 2;
        MRender::DrawImage(strip, check_image_->image.get(), CRect(x, y, x + cw, y + ch),
                           CRect(0, 0, cw, ch));
    }
    TextFormat f;
    f.valign = 4;
    MRender::DrawText(strip, title_, GetFontChoice(),
                      CRect(r.left + margin_, r.top, r.right, r.bottom),
                      cell == 3 ? 0xFE808080 : 0xFFFFFFFF, f);
}

void MenuItem::DrawControl(HDC& dc, CRect) {
    const int w = rect_.Width();
    const int h = rect_.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    const int cells = separator_ ? 1 : 4;
    if (!update_) {
        UpdateMemDC(dc, w * cells, h);
        for (int cell = 0; cell < cells; ++cell) {
            CopyBackgroundToCell(dc, cell);
            DrawCell(Strip().Context(), cell, CRect(cell * w, 0, cell * w + w, h));
        }
    }
    DrawStripCell(dc, separator_ ? 0 : !enabled_ ? 3 : state_);
}

} // namespace Tessel
