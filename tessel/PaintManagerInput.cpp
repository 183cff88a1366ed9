// Input of a window: messages routed to the control under the mouse or with
// the focus, Tab navigation, and the window-drag on empty background.

#include "platform/window/WindowSystem.h"
#include "tessel/MWindow.h"
#include "tessel/Manager.h"
#include "tessel/PaintManager.h"
#include "tessel/ToolTipWindow.h"

namespace Tessel {
namespace {

CPoint PointOf(LPARAM l) {
    return {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
}

bool Accepts(MControl* c, UINT flags, CPoint pt) {
    return c != nullptr && c->IsVisible() && c->GetRresponse() && c->PtInRect(pt) &&
           c->OnCheckMouseResponse(flags, pt) != 0;
}

} // namespace

UINT PaintManager::KeyModifier() {
    auto* system = Manager::System();
    if (system == nullptr) {
        return 0;
    }
    UINT m = system->IsKeyDown(VK_MENU)    ? KEYMOD_ALT
             : system->IsKeyDown(VK_SHIFT) ? KEYMOD_SHIFT
                                           : 0;
    if (system->IsKeyDown(VK_CONTROL)) {
        m |= KEYMOD_CTRL;
    }
    return m;
}

LRESULT PaintManager::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (window_ == nullptr) {
        return 0;
    }
    const unsigned gen = removals_;
    for (MControl* c : Snapshot(1)) {
        if (StillThere(1, c, gen) && c->OnWindowMessage(msg, wParam, lParam) != 0) {
            return 1;
        }
    }
    int r = 0;
    switch (msg) {
    case WM_PAINT:
        OnPaint(window_->GetUpdateRect());
        return 1;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (info == nullptr) {
            return 0;
        }
        if (min_size_.cx > 0 && min_size_.cy > 0) {
            info->ptMinTrackSize = {min_size_.cx, min_size_.cy};
        }
        if (max_size_.cx > 0 && max_size_.cy > 0) {
            info->ptMaxTrackSize = {max_size_.cx, max_size_.cy};
            info->ptMaxSize = {max_size_.cx, max_size_.cy};
        }
        return 1;
    }
    case WM_CREATE:
    case WM_DESTROY:
    case WM_SIZE:
    case WM_CHAR:
        return 1;
    case WM_MOUSEHOVER: {
        const CPoint pt = PointOf(lParam);
        if (!tooltip_text_.empty() && tooltip_rect_.PtInRect(pt)) {
            if (!tooltip_) {
                tooltip_ = std::make_unique<ToolTipWindow>();
            }
            const CPoint screen = window_->ClientToScreen({pt.x, pt.y + 20});
            tooltip_->ShowAt(tooltip_text_, screen);
        }
        return 1;
    }
    case WM_NCDESTROY:
        DestroyData();
        return 1;
    case WM_NCACTIVATE:
        OnNcActivate(static_cast<int>(wParam));
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        r = OnKeyDown(static_cast<UINT>(wParam));
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        r = OnKeyUp(static_cast<UINT>(wParam));
        break;
    case WM_TIMER:
        OnTimer(static_cast<UINT>(wParam));
        return 0;
    case WM_MOUSEMOVE:
        r = OnMouseMove(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_MOUSELEAVE:
        r = OnMouseLeave();
        break;
    case WM_LBUTTONDOWN:
        r = OnLButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_LBUTTONUP:
        r = OnLButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_LBUTTONDBLCLK:
        r = OnLButtonDblClk(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_RBUTTONDOWN:
        r = OnRButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_RBUTTONUP:
        r = OnRButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_RBUTTONDBLCLK:
        r = OnRButtonDblClk(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_MOUSEWHEEL: {
        const CPoint client = window_->ScreenToClient(PointOf(lParam));
        r = OnMouseWheel(LOWORD(wParam), static_cast<std::int16_t>(HIWORD(wParam)), client);
        break;
    }
    default:
        break;
    }
    return r != 0 ? 1 : 0;
}

int PaintManager::PreTranslateMessage(const MSG* msg) {
    if (msg == nullptr || window_ == nullptr || msg->hwnd != window_) {
        return 0;
    }
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB) {
        const UINT mod = KeyModifier();
        MControl* next = nullptr;
        if (mod == KEYMOD_NONE) {
            next = GetNextFocusableControl();
        } else if (mod == KEYMOD_SHIFT) {
            next = GetPrevFocusableControl();
        }
        if (next != nullptr && next != focus_) {
            SetFocusControl(next);
            return 1;
        }
    }
    return 0;
}

int PaintManager::OnMouseMove(UINT flags, CPoint pt) {
    cursor_set_ = false;
    if (!tracking_) {
        window_->TrackMouseEvent(true, !tooltip_text_.empty(), 400);
        tracking_ = true;
    }
    int r = 0;
    if (hover_ != nullptr && tracking_ && Accepts(hover_, flags, pt)) {
        r = hover_->OnMouseMove(flags, pt);
        if (!cursor_set_ && window_->Native() != nullptr) {
            window_->Native()->SetCursor(kovrin::platform::CursorKind::Arrow);
        }
        return r != 0 ? r : 1;
    }
    if (tooltip_) {
        tooltip_->Hide();
    }
    if (left_held_) {
        // The control the press went to follows the pointer until release;
        // nothing else becomes hovered meanwhile.
        if (hover_ != nullptr) {
            hover_->OnMouseMove(flags, pt);
        }
        return 1;
    }
    MControl* found = nullptr;
    const unsigned gen = removals_;
    for (MControl* c : Snapshot(1)) {
        if (!StillThere(1, c, gen)) {
            continue;
        }
        r |= c->OnMouseMove(flags, pt);
        if (c->GetRresponse() && c->PtInRect(pt)) {
            found = c;
        }
    }
    if (found != hover_ && hover_ != nullptr && tooltip_owner_ctrl_ == hover_) {
        ClearTooltip();
    }
    hover_ = found;
    if (!cursor_set_ && window_->Native() != nullptr) {
        window_->Native()->SetCursor(kovrin::platform::CursorKind::Arrow);
    }
    return r;
}

int PaintManager::OnMouseLeave() {
    if (tooltip_) {
        tooltip_->Hide();
    }
    tracking_ = false;
    if (!left_held_ && hover_ != nullptr) {
        MControl* h = hover_;
        hover_ = nullptr;
        h->OnMouseMove(0, {-1, -1});
    }
    return 1;
}

bool PaintManager::DragWindow(CPoint pt) {
    if (!window_drag_) {
        return false;
    }
    ReleaseCapture();
    window_->SendMessageW(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
    return true;
}

int PaintManager::OnLButtonDown(UINT flags, CPoint pt) {
    if (hover_ == nullptr || !hover_->PtInRect(pt)) {
        OnMouseMove(flags, pt);
    }
    if (focus_ != nullptr && focus_ != hover_) {
        SetFocusControl(nullptr);
    }
    if (Accepts(hover_, flags, pt)) {
        SetFocusControl(hover_);
        left_held_ = true;
        left_double_ = false;
        hover_->OnLButtonDown(flags, pt);
        SetCapture();
        return 1;
    }
    return DragWindow(pt) ? 1 : 0;
}

int PaintManager::OnLButtonUp(UINT flags, CPoint pt) {
    ReleaseCapture();
    left_held_ = false;
    left_double_ = false;
    if (hover_ != nullptr && hover_->IsVisible() && hover_->GetRresponse()) {
        MControl* h = hover_;
        h->OnLButtonUp(flags, pt);
        if (hover_ == h && !h->PtInRect(pt)) {
            hover_ = nullptr;
        }
        return 1;
    }
    return 0;
}

int PaintManager::OnLButtonDblClk(UINT flags, CPoint pt) {
    if (hover_ == nullptr || !hover_->PtInRect(pt)) {
        OnMouseMove(flags, pt);
    }
    if (focus_ != nullptr && focus_ != hover_) {
        SetFocusControl(nullptr);
    }
    if (Accepts(hover_, flags, pt)) {
        SetFocusControl(hover_);
        left_held_ = true;
        left_double_ = true;
        hover_->OnLButtonDblClk(flags, pt);
        SetCapture();
        return 1;
    }
    return DragWindow(pt) ? 1 : 0;
}

int PaintManager::OnRButtonDown(UINT flags, CPoint pt) {
    if (hover_ == nullptr || !hover_->PtInRect(pt)) {
        OnMouseMove(flags, pt);
    }
    if (Accepts(hover_, flags, pt)) {
        right_held_ = true;
        right_double_ = false;
        hover_->OnRButtonDown(flags, pt);
        return 1;
    }
    return 0;
}

int PaintManager::OnRButtonUp(UINT flags, CPoint pt) {
    right_held_ = false;
    right_double_ = false;
    if (hover_ != nullptr && hover_->IsVisible() && hover_->GetRresponse()) {
        MControl* h = hover_;
        h->OnRButtonUp(flags, pt);
        if (hover_ == h && !h->PtInRect(pt)) {
            hover_ = nullptr;
        }
        return 1;
    }
    return 0;
}

int PaintManager::OnRButtonDblClk(UINT flags, CPoint pt) {
    if (hover_ == nullptr || !hover_->PtInRect(pt)) {
        OnMouseMove(flags, pt);
    }
    if (Accepts(hover_, flags, pt)) {
        right_held_ = true;
        right_double_ = true;
        hover_->OnRButtonDblClk(flags, pt);
        return 1;
    }
    return 0;
}

int PaintManager::OnMouseWheel(UINT, int delta, CPoint pt) {
    const int notches = delta / WHEEL_DELTA < 0 ? -(delta / WHEEL_DELTA) : delta / WHEEL_DELTA;
    const UINT direction = delta <= 0 ? 1 : 0;
    int handled = 0;
    for (int n = 0; n < notches; ++n) {
        int r = hover_ != nullptr ? hover_->OnScroll(1, direction, pt) : 0;
        if (r == 0) {
            const unsigned gen = removals_;
            for (MControl* c : Snapshot(1)) {
                if (StillThere(1, c, gen) && (r = c->OnScroll(1, direction, pt)) != 0) {
                    break;
                }
            }
        }
        handled |= r;
    }
    return handled != 0 ? 1 : 0;
}

int PaintManager::OnKeyDown(UINT key) {
    const UINT mod = KeyModifier();
    int r = hover_ != nullptr ? hover_->OnKeyDown(key, 1, mod) : 0;
    if (r == 0) {
        const unsigned gen = removals_;
        for (MControl* c : Snapshot(1)) {
            if (c != hover_ && StillThere(1, c, gen) && (r = c->OnKeyDown(key, 1, mod)) != 0) {
                break;
            }
        }
    }
    return 1;
}

int PaintManager::OnKeyUp(UINT) {
    return 0;
}

int PaintManager::OnNcActivate(int active) {
    if (active == 0) {
        tracking_ = false;
        if (captured_) {
            ReleaseCapture();
        }
        MControl* h = hover_;
        hover_ = nullptr;
        if (h != nullptr) {
            if (left_held_) {
                h->OnLButtonUp(0, {-1, -1});
            } else {
                h->OnMouseMove(0, {-1, -1});
            }
        }
        left_held_ = false;
        right_held_ = false;
        left_double_ = false;
        right_double_ = false;
        if (tooltip_) {
            tooltip_->Hide();
        }
    }
    Invalidate();
    return 0;
}

} // namespace Tessel
