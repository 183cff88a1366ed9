// The keyboard view's mouse handling: hover and tips, clicks, the per-key
// colour toggle and frame selection.

#include "tessel/MWindow.h"
#include "tessel/Messages.h"
#include "tessel/PaintManager.h"
#include "tessel/controls/keyboard/KeyboardCtrl.h"

#include <cstdlib>

namespace Tessel {
namespace {

// Moves closer than this to the last frame corner do not change the frame.
constexpr int kFrameStep = 20;
// A frame narrower or lower than this selects nothing.
constexpr int kFrameMin = 6;

} // namespace

bool KeyboardCtrl::KeyContainsLocked(int index, CPoint pt) const {
    if (index < 0 || index >= static_cast<int>(keys_.size())) {
        return false;
    }
    return KeyWindowRect(keys_[static_cast<std::size_t>(index)].rect).PtInRect(pt);
}

int KeyboardCtrl::KeyAtLocked(CPoint pt) const {
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (KeyWindowRect(keys_[i].rect).PtInRect(pt)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

CRect KeyboardCtrl::GetFrameRect() const {
    CRect r(std::min(frame_start_.x, frame_end_.x), std::min(frame_start_.y, frame_end_.y),
            std::max(frame_start_.x, frame_end_.x), std::max(frame_start_.y, frame_end_.y));
    if (r.Width() < kFrameMin || r.Height() < kFrameMin) {
        return {};
    }
    return r;
}

void KeyboardCtrl::ClearFrame() {
    frame_active_ = false;
    frame_armed_ = false;
    frame_start_ = {};
    frame_end_ = {};
}

void KeyboardCtrl::UpdateFrame(CPoint pt) {
    if (std::abs(pt.x - frame_end_.x) < kFrameStep && std::abs(pt.y - frame_end_.y) < kFrameStep) {
        return;
    }
    frame_end_ = pt;
    frame_active_ = true;
    const CRect frame = GetFrameRect();
    {
        std::lock_guard lock(lock_);
        for (KEY_INFO& k : keys_) {
            k.check = !frame.IsRectEmpty() && KeyWindowRect(k.rect).Intersects(frame) ? 1 : 0;
        }
    }
    Redraw();
}

void KeyboardCtrl::Notify(UINT code, int index, std::uint32_t keyValue) {
    SendMessageW(code, static_cast<WPARAM>(static_cast<std::uint32_t>(index)),
                 static_cast<LPARAM>(keyValue));
}

int KeyboardCtrl::OnControlMouseMove(UINT flags, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const bool inside = Inside(pt);
    if (frame_select_ && (flags & (MK_LBUTTON | MK_RBUTTON)) != 0) {
        if (inside && frame_armed_) {
            UpdateFrame(pt);
        }
        return inside ? 1 : 0;
    }
    const int before = hover_;
    if (inside) {
        bool still = false;
        {
            std::lock_guard lock(lock_);
            still = KeyContainsLocked(hover_, pt);
            if (!still) {
                hover_ = KeyAtLocked(pt);
            }
        }
        if (still) {
            ShowTip(hover_);
            return 1;
        }
        HideTip();
    } else {
        hover_ = -1;
        HideTip();
    }
    if (hover_ != before) {
        Redraw();
    }
    return inside ? 1 : 0;
}

int KeyboardCtrl::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const int before = select_;
    bool repaint = false;
    if (frame_active_) {
        frame_active_ = false;
        repaint = true;
    }
    if (Inside(pt)) {
        frame_start_ = frame_end_ = pt;
        frame_armed_ = true;
        select_ = hover_;
    } else {
        ClearFrame();
    }
    if (repaint || select_ != before) {
        Redraw();
    }
    return 1;
}

int KeyboardCtrl::OnControlLButtonDblClk(UINT flags, CPoint pt) {
    return OnControlLButtonDown(flags, pt);
}

int KeyboardCtrl::OnControlLButtonUp(UINT, CPoint pt) {
    if (frame_active_) {
        frame_active_ = false;
        Redraw();
    }
    frame_armed_ = false;
    if (!Inside(pt)) {
        return 1;
    }
    current_key_ = 0;
    int index = -1;
    {
        std::lock_guard lock(lock_);
        if (select_ >= 0 && select_ < static_cast<int>(keys_.size())) {
            KEY_INFO& k = keys_[static_cast<std::size_t>(select_)];
            if (mode_.load() == KBMODE_CUSTOM) {
                k.color = k.color == 0 ? custom_colour_ : 0;
            }
            current_key_ = k.keyValue;
            index = select_;
        }
    }
    if (index >= 0 && mode_.load() == KBMODE_CUSTOM) {
        Redraw();
    }
    Notify(CN_CLICKED, index, current_key_);
    return 1;
}

int KeyboardCtrl::OnControlRButtonDblClk(UINT flags, CPoint pt) {
    return OnControlRButtonDown(flags, pt);
}

int KeyboardCtrl::OnControlRButtonDown(UINT, CPoint pt) {
    if (!enabled_ || !frame_select_) {
        return 0;
    }
    if (Inside(pt)) {
        frame_start_ = frame_end_ = pt;
        frame_armed_ = true;
    } else {
        ClearFrame();
    }
    return 1;
}

int KeyboardCtrl::OnControlRButtonUp(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    if (frame_active_) {
        ClearFrame();
        Redraw();
        SendMessageW(CN_FRAMESELECT, 0, 0);
        return 1;
    }
    frame_armed_ = false;
    if (!Inside(pt)) {
        return 1;
    }
    const int before = select_;
    select_ = hover_;
    std::uint32_t value = 0;
    {
        std::lock_guard lock(lock_);
        if (select_ >= 0 && select_ < static_cast<int>(keys_.size())) {
            value = keys_[static_cast<std::size_t>(select_)].keyValue;
        }
    }
    current_key_ = value;
    if (select_ != before) {
        Redraw();
    }
    Notify(CN_RCLICK, select_, value);
    return 1;
}

// ---- tips ----

void KeyboardCtrl::EnableKBTips(bool on) {
    tips_enabled_ = on;
    if (!on) {
        HideTip();
    }
}

void KeyboardCtrl::ShowTip(int index) {
    if (!tips_enabled_ || index < 0) {
        return;
    }
    std::string name;
    std::string title;
    std::string text;
    CRect r;
    {
        std::lock_guard lock(lock_);
        if (index >= static_cast<int>(keys_.size())) {
            return;
        }
        const KEY_INFO& k = keys_[static_cast<std::size_t>(index)];
        name = k.name;
        if (!k.tipTitle.empty() || !k.tipText.empty()) {
            title = k.tipTitle;
            text = k.tipText;
        } else {
            title = GetControlTitle();
            text = k.name;
        }
        r = KeyWindowRect(k.rect);
    }
    MWindow* window = manager_ != nullptr ? manager_->GetPaintWnd() : nullptr;
    if (tip_sink_ == nullptr) {
        own_tips_ = MakeKeyTipWindow(window);
        tip_sink_ = own_tips_.get();
    }
    CPoint anchor(r.left + r.Width() / 2, r.top);
    if (window != nullptr) {
        anchor = window->ClientToScreen(anchor);
    }
    tip_sink_->Show(name, title, text, anchor);
}

void KeyboardCtrl::HideTip() {
    if (tip_sink_ != nullptr) {
        tip_sink_->Hide();
    }
}

} // namespace Tessel
