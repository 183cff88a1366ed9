#pragma once
// X11 backend internals. Only this folder includes Xlib.

#include "platform/window/WindowSystem.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <map>
#include <memory>
#include <string>

namespace kovrin::platform::x11 {

class X11WindowSystem;

class X11Window final : public NativeWindow {
public:
    X11Window(X11WindowSystem& system, WindowDelegate* delegate, const WindowOptions& options);
    ~X11Window() override;

    bool Valid() const { return window_ != 0; }

    void Show(ShowCommand command) override;
    bool IsVisible() const override { return mapped_ && !minimized_; }
    bool IsMinimized() const override { return minimized_; }
    void Raise() override;
    void Activate() override;
    bool IsActive() const override { return focused_; }
    void SetBounds(const Rect& screen_rect) override;
    Rect Bounds() const override { return bounds_; }
    void SetTitle(const std::string& title) override;
    void SetIcon(const std::vector<IconImage>& sizes) override;
    void SetCursor(CursorKind shape) override;
    bool CaptureMouse() override;
    void ReleaseMouse() override;
    bool HasCapture() const override { return captured_; }
    void BeginMoveDrag(Point screen_point) override;
    void Present(const PixelView& picture, const Rect& area) override;
    bool ShowsAlpha() const override { return argb_; }
    unsigned long Id() const override { return window_; }

    void Handle(XEvent& ev);

private:
    void ApplyHints();
    void GrabForPopup();
    void DestroyShm();
    bool EnsureShm(int width, int height);
    void ShapeFromAlpha(const PixelView& picture);
    Event Pointer(EventType type, int x, int y, unsigned state, Time time) const;

    X11WindowSystem& sys_;
    Window window_ = 0;
    GC gc_ = nullptr;
    bool argb_ = false;
    int depth_ = 24;
    Visual* visual_ = nullptr;
    Rect bounds_;
    bool mapped_ = false;
    bool minimized_ = false;
    bool focused_ = false;
    bool captured_ = false;
    bool popup_grab_ = false;
    CursorKind cursor_ = CursorKind::Arrow;

    // Moving without a window manager: the pointer's offset inside the window.
    bool manual_drag_ = false;
    Point drag_anchor_{};

    XShmSegmentInfo shm_{};
    XImage* shm_image_ = nullptr;
    bool shape_applied_ = false;
    XIC xic_ = nullptr;
    bool pending_focus_ = false;
};

class X11WindowSystem final : public WindowSystem {
public:
    X11WindowSystem(EventLoop& loop, Display* display);
    ~X11WindowSystem() override;

    std::unique_ptr<NativeWindow> CreateWindow(const WindowOptions& options,
                                               WindowDelegate* delegate) override;
    bool IsHeadless() const override { return false; }
    Rect WorkArea(Point near) const override;
    Point CursorPosition() const override;
    std::string GetClipboardText() override;
    void SetClipboardText(const std::string& text) override;

    int Fd() const override { return ConnectionNumber(dpy_); }
    // Events Xlib has already read; new data on the socket is seen by poll().
    bool Pending() override { return XEventsQueued(dpy_, QueuedAlready) > 0; }
    void Dispatch() override;
    void Flush() override { XFlush(dpy_); }

    Display* Dpy() const { return dpy_; }
    int Screen() const { return screen_; }
    Window Root() const { return root_; }
    Visual* ArgbVisual() const { return argb_visual_; }
    Colormap ArgbColormap() const { return argb_colormap_; }
    bool HasShm() const { return has_shm_; }
    bool HasShape() const { return has_shape_; }
    bool HasCompositor() const;
    bool WmSupports(Atom atom) const;
    Atom A(const char* name) const;
    Cursor CursorFor(CursorKind shape);
    XIC CreateIc(Window w) const;

    void Register(Window w, X11Window* win) { windows_[w] = win; }
    void Unregister(Window w) { windows_.erase(w); }
    X11Window* Find(Window w) const;
    void NoteKeyState(unsigned vk, bool down) { NoteKey(vk, down); }

private:
    // The clipboard (X11Clipboard.cpp): an unmapped window owns the
    // selection and answers the requests of other clients.
    Window ClipboardWindow();
    bool IsClipboardEvent(const XEvent& ev) const;
    void HandleClipboardEvent(XEvent& ev);
    bool ConvertClipboard(Atom target, std::string& out);

    Display* dpy_;
    int screen_;
    Window root_;
    Visual* argb_visual_ = nullptr;
    Colormap argb_colormap_ = 0;
    bool has_shm_ = false;
    bool has_shape_ = false;
    XIM xim_ = nullptr;
    mutable std::map<std::string, Atom> atoms_;
    std::map<CursorKind, Cursor> cursors_;
    std::map<Window, X11Window*> windows_;
    Window clip_window_ = 0;
    std::string clip_text_;
    bool clip_owned_ = false;
};

// Virtual key for an X key event (0 when unmapped), from its unshifted key symbol.
unsigned KeysymToVk(unsigned long keysym);

} // namespace kovrin::platform::x11
