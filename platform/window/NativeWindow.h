#pragma once
// One window of the windowing layer. The backend-independent part lives here:
// thread-safe invalidation with a paint callback in the loop's paint phase,
// numeric window timers, double clicks synthesised from presses, and input
// filtering for disabled windows. Backends implement the pure operations.

#include "platform/window/EventLoop.h"
#include "platform/window/WindowTypes.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace kovrin::platform {

class WindowDelegate {
public:
    virtual ~WindowDelegate() = default;
    virtual void OnNativeEvent(const Event& event) = 0;
    // Paint phase: draw the update rectangle (client coordinates) and Present it.
    virtual void OnNativePaint(const Rect& update) = 0;
    virtual void OnNativeTimer(unsigned id) = 0;
};

class NativeWindow : public PaintTarget {
public:
    NativeWindow(EventLoop& loop, WindowDelegate* delegate, const WindowOptions& options);
    ~NativeWindow() override;
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    EventLoop& Loop() const { return loop_; }
    const WindowOptions& Options() const { return options_; }
    WindowDelegate* Delegate() const { return delegate_; }
    void SetDelegate(WindowDelegate* d) { delegate_ = d; }

    // Any thread: adds the rectangle (client coordinates) to the area to paint.
    void Invalidate(const Rect& rect);
    void InvalidateAll();
    Rect PendingUpdate() const;

    // Window timers with the caller's ids; a second SetTimer with the same id
    // restarts it. False when the loop refuses (never in practice).
    bool SetTimer(unsigned id, unsigned ms);
    void KillTimer(unsigned id);
    void KillAllTimers();

    // A disabled window drops mouse and key input.
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool IsEnabled() const { return enabled_; }

    virtual void Show(ShowCommand command) = 0;
    virtual bool IsVisible() const = 0;
    virtual bool IsMinimized() const = 0;
    virtual void Raise() = 0;
    virtual void Activate() = 0;
    virtual bool IsActive() const = 0;
    // Screen rectangle of the client area (the windows have no frame).
    virtual void SetBounds(const Rect& screen_rect) = 0;
    virtual Rect Bounds() const = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetIcon(const std::vector<IconImage>& sizes) = 0;
    virtual void SetCursor(CursorKind shape) = 0;
    virtual bool CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    virtual bool HasCapture() const = 0;
    // Moves the window with the pointer until the left button is released.
    virtual void BeginMoveDrag(Point screen_point) = 0;
    // Copies the area (client coordinates) of the picture to the window.
    virtual void Present(const PixelView& picture, const Rect& area) = 0;
    // True when per-pixel alpha is shown as such (ARGB visual and a compositor).
    virtual bool ShowsAlpha() const = 0;
    // A layered window's picture carries its shape: where alpha cannot be
    // shown, fully transparent pixels are cut out of the window instead.
    void SetLayered(bool layered) { layered_ = layered; }
    bool IsLayered() const { return layered_ || options_.alpha; }
    // Native window id (X11 Window; a counter for headless windows).
    virtual unsigned long Id() const = 0;

    Point ClientToScreen(Point p) const;
    Point ScreenToClient(Point p) const;

    void PaintNow() override;

protected:
    // Backends hand every input event here: it fills in double clicks and drops
    // input while disabled, then calls the delegate.
    void Deliver(Event event);
    void ForgetClicks() { has_last_press_ = false; }

private:
    EventLoop& loop_;
    WindowDelegate* delegate_;
    WindowOptions options_;
    bool enabled_ = true;
    bool layered_ = false;

    mutable std::mutex dirty_mutex_;
    Rect dirty_{};

    std::map<unsigned, EventLoop::TimerId> timers_;

    // Double-click tracking: the last press that was not itself a double click.
    MouseButton last_button_ = MouseButton::Left;
    bool has_last_press_ = false;
    std::uint64_t last_press_time_ = 0;
    Point last_press_pos_{};
    bool last_was_double_ = false;
};

} // namespace kovrin::platform
