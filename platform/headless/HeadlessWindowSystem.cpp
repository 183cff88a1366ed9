#include "platform/headless/HeadlessWindowSystem.h"

#include <algorithm>
#include <cstring>

namespace kovrin::platform {

HeadlessWindow::HeadlessWindow(HeadlessWindowSystem& system, WindowDelegate* delegate,
                               const WindowOptions& options, unsigned long id)
    : NativeWindow(system.Loop(), delegate, options), system_(system), id_(id),
      bounds_(options.rect) {
    pixels_.assign(static_cast<std::size_t>(std::max(0, bounds_.Width())) *
                       static_cast<std::size_t>(std::max(0, bounds_.Height())),
                   0u);
}

HeadlessWindow::~HeadlessWindow() {
    system_.Remove(this);
}

void HeadlessWindow::Show(ShowCommand command) {
    switch (command) {
    case ShowCommand::Hide:
        if (visible_) {
            visible_ = false;
            if (system_.capture_ == this) {
                system_.capture_ = nullptr;
            }
            if (system_.active_ == this) {
                system_.SetActive(nullptr);
            }
            system_.EnqueueFor(this, {EventType::Unmapped});
        }
        return;
    case ShowCommand::Minimize:
        minimized_ = true;
        visible_ = true;
        if (system_.active_ == this) {
            system_.SetActive(nullptr);
        }
        system_.EnqueueFor(this, {EventType::Unmapped});
        return;
    case ShowCommand::Show:
    case ShowCommand::ShowNoActivate:
    case ShowCommand::Restore:
    case ShowCommand::Maximize: {
        const bool was = IsVisible();
        visible_ = true;
        minimized_ = false;
        if (!was) {
            system_.EnqueueFor(this, {EventType::Mapped});
            InvalidateAll();
        }
        if (command != ShowCommand::ShowNoActivate && Options().kind != WindowKind::Popup) {
            system_.SetActive(this);
        }
        return;
    }
    }
}

void HeadlessWindow::Raise() {
    auto& s = system_.stack_;
    s.erase(std::remove(s.begin(), s.end(), this), s.end());
    s.push_back(this);
}

void HeadlessWindow::Activate() {
    if (IsVisible()) {
        Raise();
        system_.SetActive(this);
    }
}

bool HeadlessWindow::IsActive() const {
    return system_.active_ == this;
}

void HeadlessWindow::SetBounds(const Rect& r) {
    const bool moved = r.left != bounds_.left || r.top != bounds_.top;
    const bool resized = r.Width() != bounds_.Width() || r.Height() != bounds_.Height();
    bounds_ = r;
    if (resized) {
        pixels_.assign(static_cast<std::size_t>(std::max(0, r.Width())) *
                           static_cast<std::size_t>(std::max(0, r.Height())),
                       0u);
        const Event e{.type = EventType::Resized, .width = r.Width(), .height = r.Height()};
        system_.EnqueueFor(this, e);
        InvalidateAll();
    }
    if (moved) {
        const Event e{.type = EventType::Moved, .x = r.left, .y = r.top};
        system_.EnqueueFor(this, e);
    }
}

bool HeadlessWindow::CaptureMouse() {
    system_.capture_ = this;
    return true;
}

void HeadlessWindow::ReleaseMouse() {
    if (system_.capture_ == this) {
        system_.capture_ = nullptr;
    }
}

bool HeadlessWindow::HasCapture() const {
    return system_.capture_ == this;
}

void HeadlessWindow::BeginMoveDrag(Point screen_point) {
    // Follows the pointer until the left button is released, as a window
    // manager's move would.
    drag_active_ = true;
    drag_anchor_ = {screen_point.x - bounds_.left, screen_point.y - bounds_.top};
    system_.capture_ = this;
}

void HeadlessWindow::Present(const PixelView& picture, const Rect& area) {
    const Rect clip = IntersectRect(IntersectRect(area, {0, 0, bounds_.Width(), bounds_.Height()}),
                                    {0, 0, picture.width, picture.height});
    for (int y = clip.top; y < clip.bottom; ++y) {
        std::memcpy(&pixels_[static_cast<std::size_t>(y) * bounds_.Width() + clip.left],
                    picture.pixels + static_cast<std::size_t>(y) * picture.stride_pixels +
                        clip.left,
                    static_cast<std::size_t>(clip.Width()) * sizeof(std::uint32_t));
    }
    ++present_count_;
}

std::uint32_t HeadlessWindow::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= bounds_.Width() || y >= bounds_.Height()) {
        return 0;
    }
    return pixels_[static_cast<std::size_t>(y) * bounds_.Width() + x];
}

HeadlessWindowSystem::HeadlessWindowSystem(EventLoop& loop) : WindowSystem(loop) {
    loop.SetSource(this);
}

HeadlessWindowSystem::~HeadlessWindowSystem() {
    if (Loop().IsLoopThread()) {
        Loop().SetSource(nullptr);
    }
}

std::unique_ptr<NativeWindow> HeadlessWindowSystem::CreateWindow(const WindowOptions& options,
                                                                 WindowDelegate* delegate) {
    auto w = std::make_unique<HeadlessWindow>(*this, delegate, options, next_id_++);
    stack_.push_back(w.get());
    return w;
}

Rect HeadlessWindowSystem::WorkArea(Point) const {
    return work_area_;
}

void HeadlessWindowSystem::SetScreen(const Rect& screen, const Rect& work_area) {
    screen_ = screen;
    work_area_ = work_area;
}

void HeadlessWindowSystem::Remove(HeadlessWindow* w) {
    stack_.erase(std::remove(stack_.begin(), stack_.end(), w), stack_.end());
    if (active_ == w) {
        active_ = nullptr;
    }
    if (capture_ == w) {
        capture_ = nullptr;
    }
    if (hover_ == w) {
        hover_ = nullptr;
    }
}

void HeadlessWindowSystem::EnqueueFor(HeadlessWindow* w, const Event& e) {
    Enqueue([this, w, e] {
        if (std::find(stack_.begin(), stack_.end(), w) != stack_.end()) {
            w->Emit(e);
        }
    });
}

void HeadlessWindowSystem::Dispatch() {
    // Events queued by the handlers run at the next turn, as with a server.
    std::deque<std::function<void()>> batch;
    batch.swap(queue_);
    while (!batch.empty()) {
        auto action = std::move(batch.front());
        batch.pop_front();
        action();
    }
}

void HeadlessWindowSystem::SetActive(HeadlessWindow* w) {
    if (active_ == w) {
        return;
    }
    HeadlessWindow* old = active_;
    active_ = w;
    if (old != nullptr) {
        EnqueueFor(old, {EventType::LostFocus});
    }
    if (w != nullptr) {
        EnqueueFor(w, {EventType::GotFocus});
    }
}

HeadlessWindow* HeadlessWindowSystem::WindowAt(int x, int y) const {
    // Popups and topmost windows lie above the others.
    for (int pass = 0; pass < 2; ++pass) {
        for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
            HeadlessWindow* w = *it;
            const bool above = w->Options().kind == WindowKind::Popup || w->Options().topmost;
            if ((pass == 0) != above || !w->IsVisible()) {
                continue;
            }
            if (w->Bounds().Contains(x, y)) {
                return w;
            }
        }
    }
    return nullptr;
}

HeadlessWindow* HeadlessWindowSystem::GrabbingPopup() const {
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        if ((*it)->Options().grab_pointer && (*it)->IsVisible()) {
            return *it;
        }
    }
    return nullptr;
}

unsigned HeadlessWindowSystem::Modifiers() const {
    unsigned m = buttons_;
    if (IsKeyDown(kVkShift)) {
        m |= kModShift;
    }
    if (IsKeyDown(kVkControl)) {
        m |= kModControl;
    }
    if (IsKeyDown(kVkMenu)) {
        m |= kModAlt;
    }
    return m;
}

Event HeadlessWindowSystem::Make(EventType type, HeadlessWindow* w, int sx, int sy) const {
    Event e;
    e.type = type;
    const Rect b = w->Bounds();
    e.x = sx - b.left;
    e.y = sy - b.top;
    e.modifiers = Modifiers();
    e.time_ms = Loop().NowMs();
    return e;
}

void HeadlessWindowSystem::PointerTo(int x, int y, Event base) {
    pointer_ = {x, y};
    HeadlessWindow* drag = (capture_ != nullptr && capture_->drag_active_) ? capture_ : nullptr;
    if (drag != nullptr) {
        const Rect b = drag->Bounds();
        drag->SetBounds({x - drag->drag_anchor_.x, y - drag->drag_anchor_.y,
                         x - drag->drag_anchor_.x + b.Width(),
                         y - drag->drag_anchor_.y + b.Height()});
        return;
    }
    HeadlessWindow* under = WindowAt(x, y);
    HeadlessWindow* grab = GrabbingPopup();
    if (capture_ == nullptr && under != hover_) {
        if (hover_ != nullptr) {
            hover_->Emit(Make(EventType::MouseLeave, hover_, x, y));
        }
        hover_ = under;
        if (hover_ != nullptr) {
            hover_->Emit(Make(EventType::MouseEnter, hover_, x, y));
        }
    }
    HeadlessWindow* target = capture_ != nullptr ? capture_ : (grab != nullptr ? grab : under);
    if (target == nullptr) {
        return;
    }
    Event e = Make(base.type, target, x, y);
    e.button = base.button;
    e.wheel_delta = base.wheel_delta;
    target->Emit(e);
}

void HeadlessWindowSystem::MoveMouse(int x, int y) {
    Enqueue([this, x, y] { PointerTo(x, y, {.type = EventType::MouseMove}); });
}

namespace {
unsigned ButtonBit(MouseButton b) {
    switch (b) {
    case MouseButton::Left:
        return kModLeft;
    case MouseButton::Right:
        return kModRight;
    case MouseButton::Middle:
        return kModMiddle;
    }
    return 0;
}
} // namespace

void HeadlessWindowSystem::Press(MouseButton button, int x, int y) {
    Enqueue([this, button, x, y] {
        if (pointer_.x != x || pointer_.y != y) {
            PointerTo(x, y, {.type = EventType::MouseMove});
        }
        HeadlessWindow* grab = GrabbingPopup();
        if (grab != nullptr && capture_ == nullptr && !grab->Bounds().Contains(x, y)) {
            grab->Emit(Make(EventType::OutsidePress, grab, x, y));
            return;
        }
        HeadlessWindow* under = WindowAt(x, y);
        if (capture_ == nullptr && under != nullptr && under->Options().kind != WindowKind::Popup &&
            under != active_ && under->IsEnabled()) {
            under->Raise();
            SetActive(under);
        }
        PointerTo(x, y, {.type = EventType::ButtonDown, .button = button});
        buttons_ |= ButtonBit(button);
    });
}

void HeadlessWindowSystem::Release(MouseButton button, int x, int y) {
    Enqueue([this, button, x, y] {
        if (capture_ != nullptr && capture_->drag_active_) {
            PointerTo(x, y, {.type = EventType::MouseMove});
            capture_->drag_active_ = false;
            capture_ = nullptr;
            buttons_ &= ~ButtonBit(button);
            return;
        }
        PointerTo(x, y, {.type = EventType::ButtonUp, .button = button});
        buttons_ &= ~ButtonBit(button);
    });
}

void HeadlessWindowSystem::Wheel(int delta, int x, int y) {
    Enqueue(
        [this, delta, x, y] { PointerTo(x, y, {.type = EventType::Wheel, .wheel_delta = delta}); });
}

void HeadlessWindowSystem::Key(unsigned vk, bool down) {
    Enqueue([this, vk, down] {
        const bool was = IsKeyDown(vk);
        NoteKey(vk, down);
        HeadlessWindow* grab = GrabbingPopup();
        HeadlessWindow* target = grab != nullptr ? grab : active_;
        if (target == nullptr) {
            return;
        }
        Event e;
        e.type = down ? EventType::KeyDown : EventType::KeyUp;
        e.vk = vk;
        e.was_down = down && was;
        e.modifiers = Modifiers();
        e.time_ms = Loop().NowMs();
        target->Emit(e);
    });
}

void HeadlessWindowSystem::Type(const std::string& text) {
    Enqueue([this, text] {
        HeadlessWindow* grab = GrabbingPopup();
        HeadlessWindow* target = grab != nullptr ? grab : active_;
        if (target != nullptr) {
            Event e;
            e.type = EventType::Char;
            e.text = text;
            e.time_ms = Loop().NowMs();
            target->Emit(e);
        }
    });
}

} // namespace kovrin::platform
