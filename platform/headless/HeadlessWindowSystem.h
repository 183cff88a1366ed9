#pragma once
// Windows that live in memory: what a window presents is kept as a picture
// that tests read back, and input is injected in screen coordinates. Time is
// the loop's (usually virtual) clock. Everything runs on the loop thread.

#include "platform/window/VirtualKey.h"
#include "platform/window/WindowSystem.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kovrin::platform {

class HeadlessWindowSystem;

class HeadlessWindow final : public NativeWindow {
public:
    HeadlessWindow(HeadlessWindowSystem& system, WindowDelegate* delegate,
                   const WindowOptions& options, unsigned long id);
    ~HeadlessWindow() override;

    void Show(ShowCommand command) override;
    bool IsVisible() const override { return visible_ && !minimized_; }
    bool IsMinimized() const override { return minimized_; }
    void Raise() override;
    void Activate() override;
    bool IsActive() const override;
    void SetBounds(const Rect& screen_rect) override;
    Rect Bounds() const override { return bounds_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    void SetIcon(const std::vector<IconImage>& sizes) override { icons_ = sizes; }
    void SetCursor(CursorKind shape) override { cursor_ = shape; }
    bool CaptureMouse() override;
    void ReleaseMouse() override;
    bool HasCapture() const override;
    void BeginMoveDrag(Point screen_point) override;
    void Present(const PixelView& picture, const Rect& area) override;
    bool ShowsAlpha() const override { return Options().alpha; }
    unsigned long Id() const override { return id_; }

    // What the window shows: premultiplied ARGB, client size, row-major.
    std::uint32_t Pixel(int x, int y) const;
    const std::vector<std::uint32_t>& Pixels() const { return pixels_; }
    int PresentCount() const { return present_count_; }
    const std::string& Title() const { return title_; }
    CursorKind Cursor() const { return cursor_; }
    const std::vector<IconImage>& Icons() const { return icons_; }
    bool InMoveDrag() const { return drag_active_; }

private:
    friend class HeadlessWindowSystem;
    void Emit(const Event& e) { Deliver(e); }

    HeadlessWindowSystem& system_;
    unsigned long id_;
    Rect bounds_;
    bool visible_ = false;
    bool minimized_ = false;
    std::string title_;
    std::vector<IconImage> icons_;
    CursorKind cursor_ = CursorKind::Arrow;
    std::vector<std::uint32_t> pixels_;
    int present_count_ = 0;
    bool drag_active_ = false;
    Point drag_anchor_{};
};

class HeadlessWindowSystem final : public WindowSystem {
public:
    explicit HeadlessWindowSystem(EventLoop& loop);
    ~HeadlessWindowSystem() override;

    std::unique_ptr<NativeWindow> CreateWindow(const WindowOptions& options,
                                               WindowDelegate* delegate) override;
    bool IsHeadless() const override { return true; }
    Rect WorkArea(Point near) const override;
    Point CursorPosition() const override { return pointer_; }
    // An in-process clipboard.
    std::string GetClipboardText() override { return clipboard_; }
    void SetClipboardText(const std::string& text) override { clipboard_ = text; }

    int Fd() const override { return -1; }
    bool Pending() override { return !queue_.empty(); }
    void Dispatch() override;

    // Screen and work area (default 1920 x 1080, the work area 40 pixels short).
    void SetScreen(const Rect& screen, const Rect& work_area);

    // Injected input, delivered at the loop's next turn; screen coordinates.
    void MoveMouse(int x, int y);
    void Press(MouseButton button, int x, int y);
    void Release(MouseButton button, int x, int y);
    void Wheel(int delta, int x, int y);
    void Key(unsigned vk, bool down);
    void Type(const std::string& text);

    // Topmost visible window at the point, null when none.
    HeadlessWindow* WindowAt(int x, int y) const;
    HeadlessWindow* ActiveWindow() const { return active_; }
    HeadlessWindow* CaptureWindow() const { return capture_; }
    // Bottom to top.
    const std::vector<HeadlessWindow*>& Windows() const { return stack_; }

private:
    friend class HeadlessWindow;
    void Enqueue(std::function<void()> action) { queue_.push_back(std::move(action)); }
    void EnqueueFor(HeadlessWindow* w, const Event& e);
    void Remove(HeadlessWindow* w);
    void SetActive(HeadlessWindow* w);
    HeadlessWindow* GrabbingPopup() const;
    void PointerTo(int x, int y, Event base);
    unsigned Modifiers() const;
    Event Make(EventType type, HeadlessWindow* w, int sx, int sy) const;

    std::deque<std::function<void()>> queue_;
    std::vector<HeadlessWindow*> stack_;
    HeadlessWindow* active_ = nullptr;
    HeadlessWindow* capture_ = nullptr;
    HeadlessWindow* hover_ = nullptr;
    Rect screen_{0, 0, 1920, 1080};
    Rect work_area_{0, 0, 1920, 1040};
    Point pointer_{-1, -1};
    unsigned buttons_ = 0;
    unsigned long next_id_ = 1;
    std::string clipboard_;
};

} // namespace kovrin::platform
