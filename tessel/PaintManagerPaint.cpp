// Painting of a window: background, the two control layers, caret and
// overlay into one back buffer, then out to the window.

#include "tessel/MDialog.h"
#include "tessel/Manager.h"
#include "tessel/PaintManager.h"

#include "platform/window/WindowSystem.h"

#include <algorithm>

namespace Tessel {

void PaintManager::DrawBackImage(HDC& dc) {
    const CRect client = GetClientRect();
    if (back_mode_ == BACK_MODE_FRAME) {
        const int c = back_value_;
        MRender::DrawImageFrame(dc, back_image_.get(), client, 0, 0, back_image_->Width(),
                                back_image_->Height(), c);
    } else {
        MRender::DrawImage(dc, back_image_.get(), 0, 0);
    }
}

void PaintManager::OnPaint(CRect update) {
    if (window_ == nullptr || window_->IsIconic() || update.IsRectEmpty()) {
        return;
    }
    const CRect client = GetClientRect();
    if (client.IsRectEmpty()) {
        return;
    }
    back_.Create(client.Width(), client.Height());
    HDC dc = back_.Context();
    const CRect clip = layered_ ? client : update;
    cairo_save(dc);
    cairo_rectangle(dc, clip.left, clip.top, clip.Width(), clip.Height());
    cairo_clip(dc);
    MRender::ClearRect(dc, clip);
    if (back_image_) {
        DrawBackImage(dc);
    } else {
        MRender::FillSolidRect(dc, client, frame_color_, 0xFE);
        CRect inner = client;
        inner.DeflateRect(1, 1);
        cairo_set_operator(dc, CAIRO_OPERATOR_SOURCE);
        MRender::FillSolidRect(dc, inner, back_color_, 0xFE);
        cairo_set_operator(dc, CAIRO_OPERATOR_OVER);
    }
    const unsigned gen = removals_;
    for (int layer = 0; layer < 2; ++layer) {
        for (MControl* c : Snapshot(layer)) {
            if (StillThere(layer, c, gen)) {
                c->Draw(dc, clip);
            }
        }
    }
    DrawCaret(dc);
    if (overlay_alpha_ > 10 && !overlay_text_.empty()) {
        DrawOverlay(dc);
    }
    cairo_restore(dc);
    back_.Flush();

    MDialog* dialog = GetMDialog();
    if (layered_ && dialog != nullptr &&
        (dialog->GetWindowAlpha() < 255 || dialog->GetColourKey() != 0xFFFFFF)) {
        // Constant alpha and colour key of a translucent window.
        const std::uint32_t alpha =
            static_cast<std::uint32_t>(std::clamp(dialog->GetWindowAlpha(), 0, 255));
        const COLORREF key = dialog->GetColourKey();
        const std::uint32_t key_argb = ColorRefToArgb(key) & 0x00FFFFFF;
        std::uint32_t* px = back_.Data();
        const int stride = back_.StridePixels();
        for (int y = 0; y < back_.Height(); ++y) {
            for (int x = 0; x < back_.Width(); ++x) {
                std::uint32_t& p = px[static_cast<std::size_t>(y) * stride + x];
                if (key != 0xFFFFFF && (p >> 24) == 0xFF && (p & 0x00FFFFFF) == key_argb) {
                    p = 0;
                    continue;
                }
                if (alpha < 255) {
                    const auto scale = [alpha](std::uint32_t c) { return (c * alpha + 127) / 255; };
                    p = scale(p >> 24) << 24 | scale(p >> 16 & 0xFF) << 16 |
                        scale(p >> 8 & 0xFF) << 8 | scale(p & 0xFF);
                }
            }
        }
        cairo_surface_mark_dirty(back_.Surface());
    }
    if (auto* native = window_->Native()) {
        const CRect out = layered_ ? client : update;
        native->Present({back_.Data(), back_.Width(), back_.Height(), back_.StridePixels()},
                        {out.left, out.top, out.right, out.bottom});
    }
    ++paint_count_;
}

// ---- overlay ----

void PaintManager::SetMessage(const std::string& text, CRect rect, MsgLevel level) {
    if (window_ == nullptr) {
        return;
    }
    window_->KillTimer(kTimerOverlayShow);
    window_->KillTimer(kTimerOverlayFade);
    overlay_alpha_ = 255;
    overlay_text_ = text;
    overlay_level_ = level;
    if (rect.IsRectEmpty()) {
        const CRect c = GetClientRect();
        const int left = c.left + (c.Width() - 200) / 2;
        const int bottom = c.bottom - 2 + message_offset_;
        rect = CRect(left, bottom - 58, left + 200, bottom);
    }
    overlay_rect_ = rect;
    shown_progress_ = 0;
    target_progress_ = 0;
    InvalidateRect(rect, 0);
    window_->SetTimer(kTimerOverlayShow, 3000);
}

void PaintManager::SetProgress(int percent, const std::string& text, CRect rect) {
    if (window_ == nullptr || percent == target_progress_) {
        return;
    }
    if (percent < 5) {
        window_->KillTimer(kTimerOverlayFade);
    }
    overlay_alpha_ = 255;
    overlay_text_ = text;
    target_progress_ = percent;
    if (rect.IsRectEmpty()) {
        const CRect c = GetClientRect();
        rect = CRect(c.left, c.bottom - 60, c.right, c.bottom - 2);
    }
    overlay_rect_ = rect;
    if (target_progress_ - shown_progress_ < 6) {
        shown_progress_ = target_progress_;
        InvalidateRect(overlay_rect_, 0);
        if (shown_progress_ >= 100) {
            window_->SetTimer(kTimerOverlayFade, 50);
        }
    } else {
        window_->SetTimer(kTimerProgress, 10);
    }
}

void PaintManager::DrawOverlay(HDC& dc) {
    const CRect r = overlay_rect_;
    const int a = overlay_alpha_;
    MRender::FillSolidRect(dc, r, COLORREF{0xE6E6E6}, a);
    CRect inner = r;
    inner.DeflateRect(2, 2);
    MRender::FillSolidRect(dc, inner, COLORREF{0xFEFEFE}, a);
    const FontChoice font{overlay_font_, 12, 0};
    const Color text = static_cast<Color>(a) << 24 | (ColorRefToArgb(0x050505) & 0xFFFFFF);
    if (shown_progress_ <= 0 && target_progress_ <= 0) {
        TextFormat f;
        f.valign = 4;
        MRender::DrawText(dc, overlay_text_, font,
                          CRect(r.left + 5, r.top + 5, r.left + 195, r.top + 55), text, f);
        return;
    }
    TextFormat f;
    f.align = 1;
    f.valign = 4;
    MRender::DrawText(dc, overlay_text_, font,
                      CRect(r.left + 5, r.top + 5, r.right - 5, r.top + 35), text, f);
    MRender::DrawLine(dc, r.left + 10, r.bottom - 15, r.right - 20, r.bottom - 15, 0xC8C8C8C8);
    const int w = shown_progress_ * (r.Width() - 20) / 100;
    MRender::FillSolidRect(dc, CRect(r.left + 10, r.bottom - 16, r.left + 10 + w, r.bottom - 13),
                           0xFEFFE100);
}

// ---- caret ----

void PaintManager::CreateCaret(int width, int height) {
    caret_rect_ = CRect(caret_rect_.left, caret_rect_.top, caret_rect_.left + width,
                        caret_rect_.top + height);
}

void PaintManager::ShowCaret(bool on) {
    if (window_ == nullptr) {
        return;
    }
    caret_shown_ = on;
    if (on) {
        caret_on_ = true;
        window_->SetTimer(kTimerCaret,
                          Manager::System() != nullptr ? Manager::System()->CaretBlinkMs() : 530);
    } else {
        window_->KillTimer(kTimerCaret);
    }
    InvalidateRect(caret_rect_, 0);
}

void PaintManager::SetCaretPos(MControl* edit, int x, int y) {
    const CRect old = caret_rect_;
    caret_object_ = edit;
    caret_rect_ = CRect(x, y, x + old.Width(), y + old.Height());
    InvalidateRect(old, 0);
    InvalidateRect(caret_rect_, 0);
}

void PaintManager::DrawCaret(HDC& dc) {
    const bool focused = caret_object_ != nullptr && caret_object_->IsFocused() &&
                         window_ != nullptr && window_->IsActive();
    if (caret_on_ && caret_shown_ && focused) {
        MRender::FillSolidRect(dc, caret_rect_, (caret_color_ & 0x00FFFFFF) | 0xFE000000);
    } else if (caret_shown_ && !focused && window_ != nullptr) {
        window_->KillTimer(kTimerCaret);
    }
}

// ---- window timers ----

void PaintManager::OnTimer(UINT id) {
    if (window_ == nullptr) {
        return;
    }
    switch (id) {
    case kTimerCaret:
        caret_on_ = !caret_on_;
        InvalidateRect(caret_rect_, 0);
        return;
    case kTimerOverlayShow:
        window_->KillTimer(kTimerOverlayShow);
        window_->SetTimer(kTimerOverlayFade, 50);
        return;
    case kTimerOverlayFade:
        overlay_alpha_ -= 10;
        if (overlay_alpha_ < 20) {
            overlay_alpha_ = 0;
            shown_progress_ = 0;
            target_progress_ = 0;
            window_->KillTimer(kTimerOverlayFade);
            Invalidate();
        }
        InvalidateRect(overlay_rect_, 0);
        return;
    case kTimerProgress:
        shown_progress_ = std::min(shown_progress_ + 2, target_progress_);
        if (shown_progress_ >= target_progress_) {
            window_->KillTimer(kTimerProgress);
        }
        InvalidateRect(overlay_rect_, 0);
        if (shown_progress_ >= 100) {
            window_->SetTimer(kTimerOverlayFade, 50);
        }
        return;
    default:
        break;
    }
    std::vector<std::pair<MControl*, UINT>> due;
    {
        std::lock_guard lock(timer_lock_);
        for (const ControlTimer& t : timers_) {
            if (t.event == id && !t.stopped) {
                due.emplace_back(t.control, t.key);
            }
        }
    }
    for (const auto& [c, key] : due) {
        bool still = false;
        {
            std::lock_guard lock(timer_lock_);
            still = std::any_of(timers_.begin(), timers_.end(), [c = c, id](const ControlTimer& t) {
                return t.control == c && t.event == id && !t.stopped;
            });
        }
        if (still) {
            current_timer_key_ = key;
            c->OnTimer();
            current_timer_key_ = 0;
        }
    }
}

} // namespace Tessel
