// Input routing inside a control's subtree. The paint manager hands window
// input to the top-level control under the mouse (or with the focus); each
// control passes it on to the child that takes it.

#include "tessel/MControl.h"
#include "tessel/Messages.h"
#include "tessel/PaintManager.h"

namespace Tessel {
namespace {

// Scroll bars (ids 1 and 2) sit on a panel's edge and are not scrolled.
CPoint ChildPoint(const MControl* child, CPoint own, CPoint shifted) {
    const UINT id = child->GetControlID();
    return id == 1 || id == 2 ? own : shifted;
}

bool Takes(const MControl* c, CPoint pt) {
    return c->IsVisible() && c->IsEnabled() && c->GetRresponse() && c->PtInRect(pt);
}

enum ButtonKind { kDown, kUp, kDouble };

} // namespace

int MControl::OnMouseMove(UINT flags, CPoint pt) {
    if (!visible_ || !response_) {
        return 0;
    }
    CPoint shifted = pt;
    OnMousePointChange(shifted);
    const bool had_capture = captured_ != nullptr;
    if (captured_ != nullptr) {
        const CPoint cp = ChildPoint(captured_, pt, shifted);
        if (captured_->PtInRect(cp) && captured_->OnCheckMouseResponse(flags, cp) != 0) {
            captured_->OnMouseMove(flags, cp);
            return 1;
        }
        if (pressed_inside_) {
            captured_->OnMouseMove(flags, cp);
            return 1;
        }
    }
    captured_ = nullptr;
    if (!tooltip_.empty() && rect_.PtInRect(pt) && manager_ != nullptr &&
        manager_->GetTooltipOwner() != this) {
        SetTooltip(tooltip_, rect_);
    }
    int handled = OnControlSetCursor(flags, pt);
    handled |= OnControlMouseMove(flags, pt);
    if (!pressed_inside_) {
        std::lock_guard lock(control_lock_);
        for (std::size_t i = 0; i < controls_.size(); ++i) {
            MControl* c = controls_[i];
            const CPoint cp = ChildPoint(c, pt, shifted);
            const int r = c->OnMouseMove(flags, cp);
            if (r != 0 && c->PtInRect(cp)) {
                captured_ = c;
            }
            handled |= r;
        }
    }
    return captured_ != nullptr || had_capture || handled != 0 ? 1 : 0;
}

int MControl::RouteButton(int button, int kind, UINT flags, CPoint pt) {
    if (!visible_ || !response_) {
        return 0;
    }
    CPoint shifted = pt;
    OnMousePointChange(shifted);
    const bool left = button == 0;
    auto down = [&](MControl* c, CPoint p) {
        return left ? c->OnLButtonDown(flags, p) : c->OnRButtonDown(flags, p);
    };
    switch (kind) {
    case kDown: {
        pressed_inside_ = rect_.PtInRect(pt);
        MControl* target = nullptr;
        {
            std::lock_guard lock(control_lock_);
            for (std::size_t i = 0; i < controls_.size(); ++i) {
                if (Takes(controls_[i], ChildPoint(controls_[i], pt, shifted))) {
                    target = controls_[i];
                }
            }
        }
        if (target != nullptr) {
            captured_ = target;
            down(target, ChildPoint(target, pt, shifted));
            return 1;
        }
        if (left && manager_ != nullptr) {
            manager_->SetFocusControl(this);
        }
        return left ? OnControlLButtonDown(flags, pt) : OnControlRButtonDown(flags, pt);
    }
    case kUp:
        pressed_inside_ = false;
        if (captured_ != nullptr) {
            const CPoint cp = ChildPoint(captured_, pt, shifted);
            return left ? captured_->OnLButtonUp(flags, cp) : captured_->OnRButtonUp(flags, cp);
        }
        return left ? OnControlLButtonUp(flags, pt) : OnControlRButtonUp(flags, pt);
    case kDouble:
    default:
        pressed_inside_ = false;
        if (captured_ != nullptr) {
            MControl* c = captured_;
            const CPoint cp = ChildPoint(c, pt, shifted);
            int r = left ? c->OnLButtonDblClk(flags, cp) : c->OnRButtonDblClk(flags, cp);
            if (r == 0 && !c->GetDblClk()) {
                r = down(c, cp);
            }
            return r;
        }
        if (!dbl_clk_) {
            return left ? OnControlLButtonDown(flags, pt) : OnControlRButtonDown(flags, pt);
        }
        if (dbl_notify_ && rect_.PtInRect(pt)) {
            SendMessageW(CN_DBLCLICK, flags, MAKELPARAM(pt.x, pt.y));
        }
        return left ? OnControlLButtonDblClk(flags, pt) : OnControlRButtonDblClk(flags, pt);
    }
}

int MControl::OnLButtonDown(UINT flags, CPoint pt) {
    return RouteButton(0, kDown, flags, pt);
}
int MControl::OnLButtonUp(UINT flags, CPoint pt) {
    return RouteButton(0, kUp, flags, pt);
}
int MControl::OnLButtonDblClk(UINT flags, CPoint pt) {
    return RouteButton(0, kDouble, flags, pt);
}
int MControl::OnRButtonDown(UINT flags, CPoint pt) {
    return RouteButton(1, kDown, flags, pt);
}
int MControl::OnRButtonUp(UINT flags, CPoint pt) {
    return RouteButton(1, kUp, flags, pt);
}
int MControl::OnRButtonDblClk(UINT flags, CPoint pt) {
    return RouteButton(1, kDouble, flags, pt);
}

int MControl::OnScroll(int step, UINT direction, CPoint pt) {
    if (!visible_ || !response_ || !enabled_) {
        return 0;
    }
    CPoint shifted = pt;
    OnMousePointChange(shifted);
    if (captured_ != nullptr) {
        const CPoint cp = ChildPoint(captured_, pt, shifted);
        if (captured_->PtInRect(cp) && captured_->OnCheckMouseResponse(0, cp) != 0) {
            if (const int r = captured_->OnScroll(step, direction, cp); r != 0) {
                return r;
            }
        }
    }
    if (!rect_.PtInRect(pt)) {
        return 0;
    }
    if (const int r = OnControlScroll(step, direction, pt); r != 0) {
        return r;
    }
    std::lock_guard lock(control_lock_);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        MControl* c = controls_[i];
        const CPoint cp = ChildPoint(c, pt, shifted);
        if (c->PtInRect(cp)) {
            if (const int r = c->OnScroll(step, direction, cp); r != 0) {
                return r;
            }
        }
    }
    return 0;
}

int MControl::OnKeyDown(UINT key, UINT repeat, UINT modifier) {
    if (!visible_ || !enabled_) {
        return 0;
    }
    MControl* first = nullptr;
    {
        std::lock_guard lock(control_lock_);
        for (MControl* c : controls_) {
            if (c->IsFocused()) {
                first = c;
                break;
            }
        }
    }
    if (first == nullptr) {
        first = captured_;
    }
    int r = first != nullptr ? first->OnKeyDown(key, repeat, modifier) : 0;
    if (r == 0) {
        r = OnControlKeyDown(key, repeat, modifier);
    }
    if (r == 0) {
        std::lock_guard lock(control_lock_);
        for (std::size_t i = 0; i < controls_.size() && r == 0; ++i) {
            if (controls_[i] != first) {
                r = controls_[i]->OnKeyDown(key, repeat, modifier);
            }
        }
    }
    if (r != 0 && key_notify_) {
        SendMessageW(CN_KEYDOWN, key, static_cast<LPARAM>(modifier));
    }
    return r;
}

int MControl::OnKeyUp(UINT, UINT, UINT) {
    return 0;
}

int MControl::OnTimer() {
    int r = OnControlTimer();
    std::lock_guard lock(control_lock_);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        MControl* c = controls_[i];
        if (c->IsRunTimer() && c->IsVisible()) {
            r |= c->OnTimer();
        }
    }
    return r != 0 ? 1 : 0;
}

} // namespace Tessel
