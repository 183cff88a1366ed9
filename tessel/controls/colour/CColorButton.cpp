#include "tessel/controls/colour/CColorButton.h"

#include "tessel/MDialog.h"
#include "tessel/PaintManager.h"

namespace Tessel {
namespace {

constexpr COLORREF kBorderLight = 0xEBEBEB;
constexpr COLORREF kBorderDark = 0x050505;

} // namespace

CColorButton::CColorButton(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, "", visible, enabled, 1), state_(enabled != 0 ? 0 : 3) {
    SetCursorEx("hand");
}

void CColorButton::SetColor(COLORREF colour) {
    if (colour != colour_) {
        colour_ = colour;
        UpdateControl(1);
    }
}

void CColorButton::SetVisibleBorder(bool on) {
    border_ = on;
    UpdateControl(1);
}

int CColorButton::SetCheck(int check) {
    if (!enabled_) {
        return check_;
    }
    const int before = check_;
    check_ = check;
    state_ = check != 0 ? 2 : 0;
    if (check_ != before) {
        ResetGroupCheck();
        UpdateControl(0);
    }
    return check_;
}

void CColorButton::SetControlCheck(int check) {
    check_ = check;
    state_ = check != 0 ? 2 : 0;
    UpdateControl(0);
}

int CColorButton::ResetGroupCheck() {
    if (parent_ == nullptr) {
        return 0;
    }
    std::vector<MControl*> layer;
    if (auto* control = dynamic_cast<MControl*>(parent_)) {
        layer = control->GetControls();
    } else if (auto* dialog = dynamic_cast<MDialog*>(parent_)) {
        layer = dialog->GetControls();
    }
    for (MControl* c : layer) {
        if (c == this || !c->IsClass("ColorButton") || !c->IsVisible() || !c->IsEnabled()) {
            continue;
        }
        auto* other = static_cast<CColorButton*>(c);
        if (other->group_ != group_) {
            continue;
        }
        other->check_ = 0;
        other->state_ = 0;
        other->UpdateControl(0);
    }
    return 1;
}

void CColorButton::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    state_ = enabled != 0 ? 0 : 3;
    UpdateControl(0);
}

// ---- mouse ----

int CColorButton::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const bool inside = rect_.PtInRect(pt);
    if (state_ != 2) {
        const int state = inside ? 1 : 0;
        if (state != state_) {
            state_ = state;
            UpdateControl(0); // the hover outline shows at once
        }
    }
    return inside ? 1 : 0;
}

int CColorButton::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_ || !rect_.PtInRect(pt)) {
        return 0;
    }
    const int before = state_;
    state_ = 2;
    check_ = 1;
    ResetGroupCheck();
    if (state_ != before) {
        UpdateControl(0);
    }
    SendMessageW(CN_PRESSED, 0, 0);
    return 1;
}

int CColorButton::OnControlLButtonUp(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const int before = state_;
    const bool inside = rect_.PtInRect(pt);
    state_ = inside ? 1 : 0;
    if (state_ != before) {
        UpdateControl(0);
    }
    if (inside && before == 2) {
        SendMessageW(CN_CLICKED, 0, 0);
    }
    return 1;
}

// ---- drawing ----

void CColorButton::DrawCell(cairo_t* cr, int cell) {
    const int w = rect_.Width();
    const int h = rect_.Height();
    const int x = cell * w;
    if (border_) {
        MRender::FillSolidRect(cr, CRect(x, 0, x + w, h), ColorRefToArgb(kBorderLight));
        MRender::FillSolidRect(cr, CRect(x + 1, 1, x + w - 1, h - 1), ColorRefToArgb(kBorderDark));
        MRender::FillSolidRect(cr, CRect(x + 3, 3, x + w - 3, h - 3), ColorRefToArgb(colour_));
        return;
    }
    if (const Image* img = GetImage()) {
        MRender::DrawImage(cr, img, CRect(x, 0, x + w, h),
                           CRect(0, 0, img->Width(), img->Height()));
    } else {
        MRender::FillSolidRect(cr, CRect(x + 2, 2, x + w - 2, h - 2), ColorRefToArgb(colour_));
    }
    if (cell == 0) {
        return;
    }
    cairo_save(cr);
    MRender::SetSource(cr, cell == 3 ? kDisabledOutline : kHoverOutline);
    cairo_set_line_width(cr, 2);
    cairo_rectangle(cr, x + 1, 1, w - 2, h - 2);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void CColorButton::DrawControl(HDC& dc, CRect) {
    const int w = rect_.Width();
    const int h = rect_.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    if (!update_ || Strip().Width() != 4 * w || Strip().Height() != h) {
        UpdateMemDC(dc, 4 * w, h);
        for (int cell = 0; cell < 4; ++cell) {
            CopyBackgroundToCell(dc, cell);
            DrawCell(Strip().Context(), cell);
        }
    }
    DrawStripCell(dc, ShownCell());
}

} // namespace Tessel
