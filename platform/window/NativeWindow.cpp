#include "platform/window/NativeWindow.h"

#include "platform/window/WindowSystem.h"

#include <algorithm>
#include <cstdlib>

namespace kovrin::platform {

Rect UnionRect(const Rect& a, const Rect& b) {
    if (a.Empty()) {
        return b.Empty() ? Rect{} : b;
    }
    if (b.Empty()) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

Rect IntersectRect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return r.Empty() ? Rect{} : r;
}

void WindowSystem::NoteKey(unsigned vk, bool down) {
    if (vk < key_down_.size()) {
        key_down_[vk] = down;
    }
}

NativeWindow::NativeWindow(EventLoop& loop, WindowDelegate* delegate, const WindowOptions& options)
    : loop_(loop), delegate_(delegate), options_(options) {}

NativeWindow::~NativeWindow() {
    loop_.CancelPaint(this);
    KillAllTimers();
}

void NativeWindow::Invalidate(const Rect& rect) {
    const Rect b = Bounds();
    const Rect clipped = IntersectRect(rect, {0, 0, b.Width(), b.Height()});
    if (clipped.Empty()) {
        return;
    }
    {
        std::lock_guard lock(dirty_mutex_);
        dirty_ = UnionRect(dirty_, clipped);
    }
    loop_.SchedulePaint(this);
}

void NativeWindow::InvalidateAll() {
    const Rect b = Bounds();
    Invalidate({0, 0, b.Width(), b.Height()});
}

Rect NativeWindow::PendingUpdate() const {
    std::lock_guard lock(dirty_mutex_);
    return dirty_;
}

void NativeWindow::PaintNow() {
    Rect update;
    {
        std::lock_guard lock(dirty_mutex_);
        update = dirty_;
        dirty_ = {};
    }
    if (!update.Empty() && delegate_ != nullptr) {
        delegate_->OnNativePaint(update);
    }
}

bool NativeWindow::SetTimer(unsigned id, unsigned ms) {
    KillTimer(id);
    timers_[id] = loop_.AddTimer(ms, true, [this, id] {
        if (delegate_ != nullptr) {
            delegate_->OnNativeTimer(id);
        }
    });
    return true;
}

void NativeWindow::KillTimer(unsigned id) {
    auto it = timers_.find(id);
    if (it != timers_.end()) {
        loop_.CancelTimer(it->second);
        timers_.erase(it);
    }
}

void NativeWindow::KillAllTimers() {
    for (auto& [id, timer] : timers_) {
        loop_.CancelTimer(timer);
    }
    timers_.clear();
}

Point NativeWindow::ClientToScreen(Point p) const {
    const Rect b = Bounds();
    return {p.x + b.left, p.y + b.top};
}

Point NativeWindow::ScreenToClient(Point p) const {
    const Rect b = Bounds();
    return {p.x - b.left, p.y - b.top};
}

void NativeWindow::Deliver(Event event) {
    const bool input = event.type == EventType::MouseMove || event.type == EventType::ButtonDown ||
                       event.type == EventType::ButtonUp || event.type == EventType::Wheel ||
                       event.type == EventType::KeyDown || event.type == EventType::KeyUp ||
                       event.type == EventType::Char;
    if (input && !enabled_) {
        return;
    }
    if (event.type == EventType::ButtonDown) {
        // A second press of the same button, soon enough and near enough,
        // becomes a double click; a third press starts over.
        const bool near = std::abs(event.x - last_press_pos_.x) <= 2 &&
                          std::abs(event.y - last_press_pos_.y) <= 2;
        const bool quick = has_last_press_ && event.time_ms >= last_press_time_ &&
                           event.time_ms - last_press_time_ <= 500;
        if (!last_was_double_ && quick && near && event.button == last_button_) {
            event.type = EventType::ButtonDoubleClick;
            last_was_double_ = true;
        } else {
            last_was_double_ = false;
            has_last_press_ = true;
            last_press_time_ = event.time_ms;
            last_press_pos_ = {event.x, event.y};
            last_button_ = event.button;
        }
    }
    if (delegate_ != nullptr) {
        delegate_->OnNativeEvent(event);
    }
}

} // namespace kovrin::platform
