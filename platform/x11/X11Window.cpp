#include "platform/x11/X11Internal.h"

#include <X11/Xatom.h>
#include <X11/extensions/shape.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace kovrin::platform::x11 {
namespace {

constexpr long kEventMask = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                            ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | FocusChangeMask;
constexpr unsigned kPointerMask =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;

unsigned Modifiers(unsigned state) {
    unsigned m = 0;
    if ((state & ShiftMask) != 0) {
        m |= kModShift;
    }
    if ((state & ControlMask) != 0) {
        m |= kModControl;
    }
    if ((state & Mod1Mask) != 0) {
        m |= kModAlt;
    }
    if ((state & Button1Mask) != 0) {
        m |= kModLeft;
    }
    if ((state & Button2Mask) != 0) {
        m |= kModMiddle;
    }
    if ((state & Button3Mask) != 0) {
        m |= kModRight;
    }
    return m;
}

struct MotifHints {
    unsigned long flags;
    unsigned long functions;
    unsigned long decorations;
    long input_mode;
    unsigned long status;
};

} // namespace

X11Window::X11Window(X11WindowSystem& system, WindowDelegate* delegate,
                     const WindowOptions& options)
    : NativeWindow(system.Loop(), delegate, options), sys_(system), bounds_(options.rect) {
    Display* dpy = sys_.Dpy();
    // Per-pixel alpha only pays off when a compositor blends it; without one
    // the window is opaque and, when asked for alpha, shaped by it instead.
    argb_ = options.alpha && sys_.ArgbVisual() != nullptr && sys_.HasCompositor();
    XSetWindowAttributes attrs{};
    unsigned long mask = CWBackPixmap | CWBorderPixel | CWEventMask | CWBitGravity;
    attrs.background_pixmap = None;
    attrs.border_pixel = 0;
    attrs.event_mask = kEventMask;
    attrs.bit_gravity = NorthWestGravity;
    if (argb_) {
        visual_ = sys_.ArgbVisual();
        depth_ = 32;
        attrs.colormap = sys_.ArgbColormap();
        mask |= CWColormap;
    } else {
        visual_ = DefaultVisual(dpy, sys_.Screen());
        depth_ = DefaultDepth(dpy, sys_.Screen());
    }
    if (options.kind == WindowKind::Popup) {
        attrs.override_redirect = True;
        attrs.save_under = True;
        mask |= CWOverrideRedirect | CWSaveUnder;
    }
    const int w = std::max(1, bounds_.Width());
    const int h = std::max(1, bounds_.Height());
    window_ =
        XCreateWindow(dpy, sys_.Root(), bounds_.left, bounds_.top, static_cast<unsigned>(w),
                      static_cast<unsigned>(h), 0, depth_, InputOutput, visual_, mask, &attrs);
    if (window_ == 0) {
        return;
    }
    gc_ = XCreateGC(dpy, window_, 0, nullptr);
    sys_.Register(window_, this);
    xic_ = sys_.CreateIc(window_);
    if (xic_ != nullptr) {
        long filter = 0;
        XGetICValues(xic_, XNFilterEvents, &filter, nullptr);
        XSelectInput(dpy, window_, kEventMask | filter);
    }
    ApplyHints();
    SetTitle(options.title);
}

X11Window::~X11Window() {
    if (window_ == 0) {
        return;
    }
    Display* dpy = sys_.Dpy();
    if (captured_ || popup_grab_ || manual_drag_) {
        XUngrabPointer(dpy, CurrentTime);
    }
    DestroyShm();
    if (xic_ != nullptr) {
        XDestroyIC(xic_);
    }
    sys_.Unregister(window_);
    XFreeGC(dpy, gc_);
    XDestroyWindow(dpy, window_);
    XFlush(dpy);
}

void X11Window::ApplyHints() {
    Display* dpy = sys_.Dpy();
    const WindowOptions& o = Options();
    if (o.kind == WindowKind::Popup) {
        return; // the window manager never sees popups
    }
    MotifHints motif{2, 0, 0, 0, 0}; // decorations given, none
    XChangeProperty(dpy, window_, sys_.A("_MOTIF_WM_HINTS"), sys_.A("_MOTIF_WM_HINTS"), 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&motif), 5);
    Atom protocols[] = {sys_.A("WM_DELETE_WINDOW")};
    XSetWMProtocols(dpy, window_, protocols, 1);

    XSizeHints size{};
    size.flags = PPosition | USPosition | PSize;
    size.x = bounds_.left;
    size.y = bounds_.top;
    size.width = bounds_.Width();
    size.height = bounds_.Height();
    XSetWMNormalHints(dpy, window_, &size);

    XClassHint cls{const_cast<char*>("kovrin"), const_cast<char*>("Kovrin")};
    XSetClassHint(dpy, window_, &cls);
    const long pid = getpid();
    XChangeProperty(dpy, window_, sys_.A("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);

    Atom type = sys_.A(o.kind == WindowKind::Dialog ? "_NET_WM_WINDOW_TYPE_DIALOG"
                                                    : "_NET_WM_WINDOW_TYPE_NORMAL");
    XChangeProperty(dpy, window_, sys_.A("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&type), 1);
    if (o.owner != nullptr) {
        const Window owner = o.owner->Id();
        XSetTransientForHint(dpy, window_, owner);
    }
    std::vector<Atom> states;
    if (o.topmost) {
        states.push_back(sys_.A("_NET_WM_STATE_ABOVE"));
    }
    if (o.tool) {
        states.push_back(sys_.A("_NET_WM_STATE_SKIP_TASKBAR"));
        states.push_back(sys_.A("_NET_WM_STATE_SKIP_PAGER"));
    }
    if (!states.empty()) {
        XChangeProperty(dpy, window_, sys_.A("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(states.data()),
                        static_cast<int>(states.size()));
    }
}

void X11Window::SetTitle(const std::string& title) {
    Display* dpy = sys_.Dpy();
    XChangeProperty(dpy, window_, sys_.A("_NET_WM_NAME"), sys_.A("UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    XStoreName(dpy, window_, title.c_str());
}

void X11Window::SetIcon(const std::vector<IconImage>& sizes) {
    // _NET_WM_ICON: width, height, then the pixels, each as a long.
    std::vector<long> data;
    for (const IconImage& icon : sizes) {
        if (icon.width <= 0 || icon.height <= 0 ||
            icon.argb.size() != static_cast<std::size_t>(icon.width) * icon.height) {
            continue;
        }
        data.push_back(icon.width);
        data.push_back(icon.height);
        for (std::uint32_t px : icon.argb) {
            data.push_back(static_cast<long>(px));
        }
    }
    if (data.empty()) {
        XDeleteProperty(sys_.Dpy(), window_, sys_.A("_NET_WM_ICON"));
        return;
    }
    XChangeProperty(sys_.Dpy(), window_, sys_.A("_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(data.data()), static_cast<int>(data.size()));
}

void X11Window::Show(ShowCommand command) {
    Display* dpy = sys_.Dpy();
    switch (command) {
    case ShowCommand::Hide:
        if (popup_grab_ || captured_) {
            XUngrabPointer(dpy, CurrentTime);
            popup_grab_ = false;
            captured_ = false;
        }
        XUnmapWindow(dpy, window_);
        if (Options().kind != WindowKind::Popup) {
            // Withdraw so the window manager forgets it until shown again.
            XEvent ev{};
            ev.xunmap.type = UnmapNotify;
            ev.xunmap.event = sys_.Root();
            ev.xunmap.window = window_;
            XSendEvent(dpy, sys_.Root(), False, SubstructureRedirectMask | SubstructureNotifyMask,
                       &ev);
        }
        mapped_ = false;
        break;
    case ShowCommand::Minimize:
        XIconifyWindow(dpy, window_, sys_.Screen());
        minimized_ = true;
        break;
    case ShowCommand::Show:
    case ShowCommand::Restore:
    case ShowCommand::Maximize:
    case ShowCommand::ShowNoActivate:
        minimized_ = false;
        XMapRaised(dpy, window_);
        // Without a window manager nobody else sets the position.
        XMoveWindow(dpy, window_, bounds_.left, bounds_.top);
        mapped_ = true;
        InvalidateAll();
        if (command != ShowCommand::ShowNoActivate && Options().kind != WindowKind::Popup) {
            Activate();
        }
        break;
    }
    XFlush(dpy);
}

void X11Window::Raise() {
    XRaiseWindow(sys_.Dpy(), window_);
}

void X11Window::Activate() {
    Display* dpy = sys_.Dpy();
    if (sys_.WmSupports(sys_.A("_NET_ACTIVE_WINDOW"))) {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = window_;
        ev.xclient.message_type = sys_.A("_NET_ACTIVE_WINDOW");
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = 1; // from an application
        ev.xclient.data.l[1] = CurrentTime;
        XSendEvent(dpy, sys_.Root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
        return;
    }
    XRaiseWindow(dpy, window_);
    XWindowAttributes attrs{};
    if (XGetWindowAttributes(dpy, window_, &attrs) != 0 && attrs.map_state == IsViewable) {
        XSetInputFocus(dpy, window_, RevertToParent, CurrentTime);
    } else {
        pending_focus_ = true;
    }
}

void X11Window::SetBounds(const Rect& r) {
    const bool resized = r.Width() != bounds_.Width() || r.Height() != bounds_.Height();
    bounds_ = r;
    XMoveResizeWindow(sys_.Dpy(), window_, r.left, r.top,
                      static_cast<unsigned>(std::max(1, r.Width())),
                      static_cast<unsigned>(std::max(1, r.Height())));
    if (resized) {
        Event e{.type = EventType::Resized, .width = r.Width(), .height = r.Height()};
        Deliver(e);
        InvalidateAll();
    }
}

void X11Window::SetCursor(CursorKind shape) {
    if (shape == cursor_) {
        return;
    }
    cursor_ = shape;
    XDefineCursor(sys_.Dpy(), window_, sys_.CursorFor(shape));
}

bool X11Window::CaptureMouse() {
    if (popup_grab_) {
        captured_ = true; // the popup's grab already routes everything here
        return true;
    }
    const int r = XGrabPointer(sys_.Dpy(), window_, False, kPointerMask, GrabModeAsync,
                               GrabModeAsync, None, None, CurrentTime);
    captured_ = r == GrabSuccess;
    return captured_;
}

void X11Window::ReleaseMouse() {
    if (!captured_) {
        return;
    }
    captured_ = false;
    if (popup_grab_) {
        return;
    }
    XUngrabPointer(sys_.Dpy(), CurrentTime);
    XFlush(sys_.Dpy());
}

void X11Window::GrabForPopup() {
    // Every press comes here, also one on another window of this program
    // (its owner), so that it counts as outside and closes the pop-up.
    const int r = XGrabPointer(sys_.Dpy(), window_, False, kPointerMask, GrabModeAsync,
                               GrabModeAsync, None, None, CurrentTime);
    popup_grab_ = r == GrabSuccess;
}

void X11Window::BeginMoveDrag(Point p) {
    Display* dpy = sys_.Dpy();
    XUngrabPointer(dpy, CurrentTime);
    captured_ = false;
    if (sys_.WmSupports(sys_.A("_NET_WM_MOVERESIZE"))) {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = window_;
        ev.xclient.message_type = sys_.A("_NET_WM_MOVERESIZE");
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = p.x;
        ev.xclient.data.l[1] = p.y;
        ev.xclient.data.l[2] = 8; // move
        ev.xclient.data.l[3] = Button1;
        ev.xclient.data.l[4] = 1;
        XSendEvent(dpy, sys_.Root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
        XFlush(dpy);
        return;
    }
    // No window manager: follow the pointer ourselves until the release.
    if (XGrabPointer(dpy, window_, False, ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                     GrabModeAsync, None, None, CurrentTime) == GrabSuccess) {
        manual_drag_ = true;
        drag_anchor_ = {p.x - bounds_.left, p.y - bounds_.top};
    }
}

bool X11Window::EnsureShm(int width, int height) {
    if (shm_image_ != nullptr && shm_image_->width == width && shm_image_->height == height) {
        return true;
    }
    DestroyShm();
    Display* dpy = sys_.Dpy();
    shm_image_ =
        XShmCreateImage(dpy, visual_, static_cast<unsigned>(depth_), ZPixmap, nullptr, &shm_,
                        static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (shm_image_ == nullptr || shm_image_->bits_per_pixel != 32) {
        DestroyShm();
        return false;
    }
    shm_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(shm_image_->bytes_per_line) * height,
                        IPC_CREAT | 0600);
    if (shm_.shmid < 0) {
        DestroyShm();
        return false;
    }
    shm_.shmaddr = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
    shm_image_->data = shm_.shmaddr;
    shm_.readOnly = False;
    const bool attached =
        shm_.shmaddr != reinterpret_cast<char*>(-1) && XShmAttach(dpy, &shm_) == True;
    XSync(dpy, False);
    // Marked for removal now; it goes when both sides have detached.
    shmctl(shm_.shmid, IPC_RMID, nullptr);
    if (!attached) {
        if (shm_.shmaddr != reinterpret_cast<char*>(-1)) {
            shmdt(shm_.shmaddr);
        }
        shm_.shmaddr = nullptr;
        shm_image_->data = nullptr;
        XDestroyImage(shm_image_);
        shm_image_ = nullptr;
        return false;
    }
    return true;
}

void X11Window::DestroyShm() {
    if (shm_image_ == nullptr) {
        return;
    }
    Display* dpy = sys_.Dpy();
    if (shm_.shmaddr != nullptr) {
        XShmDetach(dpy, &shm_);
        XSync(dpy, False);
        shmdt(shm_.shmaddr);
    }
    shm_image_->data = nullptr;
    XDestroyImage(shm_image_);
    shm_image_ = nullptr;
    shm_ = {};
}

void X11Window::Present(const PixelView& picture, const Rect& area) {
    const Rect clip = IntersectRect(area, {0, 0, picture.width, picture.height});
    if (clip.Empty()) {
        return;
    }
    Display* dpy = sys_.Dpy();
    if (!argb_ && sys_.HasShape()) {
        if (IsLayered()) {
            ShapeFromAlpha(picture);
        } else if (shape_applied_) {
            XShapeCombineMask(dpy, window_, ShapeBounding, 0, 0, None, ShapeSet);
            shape_applied_ = false;
        }
    }
    if (sys_.HasShm() && EnsureShm(picture.width, picture.height)) {
        const int stride = shm_image_->bytes_per_line;
        for (int y = clip.top; y < clip.bottom; ++y) {
            std::memcpy(shm_image_->data + static_cast<std::size_t>(y) * stride +
                            static_cast<std::size_t>(clip.left) * 4,
                        picture.pixels + static_cast<std::size_t>(y) * picture.stride_pixels +
                            clip.left,
                        static_cast<std::size_t>(clip.Width()) * 4);
        }
        XShmPutImage(dpy, window_, gc_, shm_image_, clip.left, clip.top, clip.left, clip.top,
                     static_cast<unsigned>(clip.Width()), static_cast<unsigned>(clip.Height()),
                     False);
        // The segment is reused by the next paint: wait until the server has read it.
        XSync(dpy, False);
        return;
    }
    XImage* image =
        XCreateImage(dpy, visual_, static_cast<unsigned>(depth_), ZPixmap, 0,
                     reinterpret_cast<char*>(const_cast<std::uint32_t*>(picture.pixels)),
                     static_cast<unsigned>(picture.width), static_cast<unsigned>(picture.height),
                     32, picture.stride_pixels * 4);
    if (image == nullptr) {
        return;
    }
    image->byte_order = LSBFirst;
    XPutImage(dpy, window_, gc_, image, clip.left, clip.top, clip.left, clip.top,
              static_cast<unsigned>(clip.Width()), static_cast<unsigned>(clip.Height()));
    image->data = nullptr;
    XDestroyImage(image);
    XFlush(dpy);
}

void X11Window::ShapeFromAlpha(const PixelView& picture) {
    // Without a compositor, fully transparent pixels are cut out of the window.
    const int w = picture.width;
    const int h = picture.height;
    const int row_bytes = (w + 7) / 8;
    std::vector<char> bits(static_cast<std::size_t>(row_bytes) * h, 0);
    bool any_clear = false;
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row =
            picture.pixels + static_cast<std::size_t>(y) * picture.stride_pixels;
        for (int x = 0; x < w; ++x) {
            if ((row[x] >> 24) != 0) {
                bits[static_cast<std::size_t>(y) * row_bytes + x / 8] |=
                    static_cast<char>(1 << (x % 8));
            } else {
                any_clear = true;
            }
        }
    }
    if (!any_clear && !shape_applied_) {
        return;
    }
    Display* dpy = sys_.Dpy();
    Pixmap mask = XCreateBitmapFromData(dpy, window_, bits.data(), static_cast<unsigned>(w),
                                        static_cast<unsigned>(h));
    XShapeCombineMask(dpy, window_, ShapeBounding, 0, 0, mask, ShapeSet);
    XFreePixmap(dpy, mask);
    shape_applied_ = true;
}

Event X11Window::Pointer(EventType type, int x, int y, unsigned state, Time time) const {
    Event e;
    e.type = type;
    e.x = x;
    e.y = y;
    e.modifiers = Modifiers(state);
    e.time_ms = static_cast<std::uint64_t>(time) + 1;
    return e;
}

void X11Window::Handle(XEvent& ev) {
    Display* dpy = sys_.Dpy();
    switch (ev.type) {
    case Expose:
        Invalidate({ev.xexpose.x, ev.xexpose.y, ev.xexpose.x + ev.xexpose.width,
                    ev.xexpose.y + ev.xexpose.height});
        break;
    case ConfigureNotify: {
        int x = ev.xconfigure.x;
        int y = ev.xconfigure.y;
        if (ev.xconfigure.send_event == False) {
            Window child = 0;
            XTranslateCoordinates(dpy, window_, sys_.Root(), 0, 0, &x, &y, &child);
        }
        const Rect r{x, y, x + ev.xconfigure.width, y + ev.xconfigure.height};
        const bool moved = r.left != bounds_.left || r.top != bounds_.top;
        const bool resized = r.Width() != bounds_.Width() || r.Height() != bounds_.Height();
        bounds_ = r;
        if (moved) {
            Deliver({.type = EventType::Moved, .x = r.left, .y = r.top});
        }
        if (resized) {
            Deliver({.type = EventType::Resized, .width = r.Width(), .height = r.Height()});
            InvalidateAll();
        }
        break;
    }
    case MapNotify:
        mapped_ = true;
        minimized_ = false;
        if (Options().grab_pointer && !popup_grab_) {
            GrabForPopup();
        }
        if (pending_focus_) {
            pending_focus_ = false;
            XSetInputFocus(dpy, window_, RevertToParent, CurrentTime);
        }
        Deliver({.type = EventType::Mapped});
        break;
    case UnmapNotify:
        if (popup_grab_) {
            XUngrabPointer(dpy, CurrentTime);
            popup_grab_ = false;
        }
        Deliver({.type = EventType::Unmapped});
        break;
    case ClientMessage:
        if (ev.xclient.message_type == sys_.A("WM_PROTOCOLS") &&
            static_cast<Atom>(ev.xclient.data.l[0]) == sys_.A("WM_DELETE_WINDOW")) {
            Deliver({.type = EventType::CloseRequest});
        } else if (ev.xclient.format == 32 && ev.xclient.message_type == sys_.A(kShowRequestAtom)) {
            Deliver({.type = EventType::ShowRequest});
        } else if (ev.xclient.format == 32 &&
                   ev.xclient.message_type == sys_.A(kWindowMessageAtom)) {
            // Each value travels as 32 bits.
            Event e{.type = EventType::ForeignMessage};
            e.message = static_cast<std::uint32_t>(ev.xclient.data.l[0]);
            e.wparam = static_cast<std::uint32_t>(ev.xclient.data.l[1]);
            e.lparam = static_cast<std::int32_t>(ev.xclient.data.l[2]);
            Deliver(e);
        }
        break;
    case FocusIn:
        if (ev.xfocus.detail != NotifyPointer && ev.xfocus.detail != NotifyInferior) {
            if (xic_ != nullptr) {
                XSetICFocus(xic_);
            }
            if (!focused_) {
                focused_ = true;
                Deliver({.type = EventType::GotFocus});
            }
        }
        break;
    case FocusOut:
        if (ev.xfocus.detail != NotifyPointer && ev.xfocus.detail != NotifyInferior &&
            ev.xfocus.mode != NotifyGrab) {
            if (xic_ != nullptr) {
                XUnsetICFocus(xic_);
            }
            if (focused_) {
                focused_ = false;
                Deliver({.type = EventType::LostFocus});
            }
        }
        break;
    case EnterNotify:
        if (ev.xcrossing.mode == NotifyNormal && ev.xcrossing.detail != NotifyInferior) {
            Deliver(Pointer(EventType::MouseEnter, ev.xcrossing.x, ev.xcrossing.y,
                            ev.xcrossing.state, ev.xcrossing.time));
        }
        break;
    case LeaveNotify:
        if (ev.xcrossing.mode == NotifyNormal && ev.xcrossing.detail != NotifyInferior) {
            Deliver(Pointer(EventType::MouseLeave, ev.xcrossing.x, ev.xcrossing.y,
                            ev.xcrossing.state, ev.xcrossing.time));
        }
        break;
    case MotionNotify: {
        // Only the latest of a run of motions matters.
        while (XPending(dpy) > 0) {
            XEvent next;
            XPeekEvent(dpy, &next);
            if (next.type != MotionNotify || next.xmotion.window != window_) {
                break;
            }
            XNextEvent(dpy, &ev);
        }
        if (manual_drag_) {
            const int nx = ev.xmotion.x_root - drag_anchor_.x;
            const int ny = ev.xmotion.y_root - drag_anchor_.y;
            XMoveWindow(dpy, window_, nx, ny);
            break;
        }
        Deliver(Pointer(EventType::MouseMove, ev.xmotion.x, ev.xmotion.y, ev.xmotion.state,
                        ev.xmotion.time));
        break;
    }
    case ButtonPress:
    case ButtonRelease: {
        const bool press = ev.type == ButtonPress;
        const unsigned b = ev.xbutton.button;
        if (manual_drag_) {
            if (!press && b == Button1) {
                manual_drag_ = false;
                XUngrabPointer(dpy, CurrentTime);
            }
            break;
        }
        if (press && popup_grab_ && !captured_ &&
            (ev.xbutton.x < 0 || ev.xbutton.y < 0 || ev.xbutton.x >= bounds_.Width() ||
             ev.xbutton.y >= bounds_.Height())) {
            Deliver(Pointer(EventType::OutsidePress, ev.xbutton.x, ev.xbutton.y, ev.xbutton.state,
                            ev.xbutton.time));
            break;
        }
        if (b == Button4 || b == Button5) {
            if (press) {
                Event e = Pointer(EventType::Wheel, ev.xbutton.x, ev.xbutton.y, ev.xbutton.state,
                                  ev.xbutton.time);
                e.wheel_delta = b == Button4 ? 120 : -120;
                Deliver(e);
            }
            break;
        }
        if (b != Button1 && b != Button2 && b != Button3) {
            break;
        }
        Event e = Pointer(press ? EventType::ButtonDown : EventType::ButtonUp, ev.xbutton.x,
                          ev.xbutton.y, ev.xbutton.state, ev.xbutton.time);
        e.button = b == Button1   ? MouseButton::Left
                   : b == Button2 ? MouseButton::Middle
                                  : MouseButton::Right;
        // The state holds the buttons before this event; keep it current.
        const unsigned bit = b == Button1 ? kModLeft : b == Button2 ? kModMiddle : kModRight;
        e.modifiers = press ? (e.modifiers | bit) : (e.modifiers & ~bit);
        Deliver(e);
        break;
    }
    case KeyPress:
    case KeyRelease: {
        const bool press = ev.type == KeyPress;
        const KeySym ks = XLookupKeysym(&ev.xkey, 0);
        const unsigned vk = KeysymToVk(ks);
        const bool was = sys_.IsKeyDown(vk);
        if (vk != 0) {
            sys_.NoteKeyState(vk, press);
        }
        Event e;
        e.type = press ? EventType::KeyDown : EventType::KeyUp;
        e.vk = vk;
        e.scan = ev.xkey.keycode;
        e.was_down = press && was;
        e.modifiers = Modifiers(ev.xkey.state);
        e.time_ms = static_cast<std::uint64_t>(ev.xkey.time) + 1;
        std::string text;
        if (press) {
            char buf[64];
            KeySym sym = 0;
            int n = 0;
            if (xic_ != nullptr) {
                Status status = 0;
                n = Xutf8LookupString(xic_, &ev.xkey, buf, sizeof buf - 1, &sym, &status);
                if (status != XLookupChars && status != XLookupBoth) {
                    n = 0;
                }
            } else {
                n = XLookupString(&ev.xkey, buf, sizeof buf - 1, &sym, nullptr);
                // Latin-1 to UTF-8.
                std::string utf8;
                for (int i = 0; i < n; ++i) {
                    const auto c = static_cast<unsigned char>(buf[i]);
                    if (c < 0x80) {
                        utf8.push_back(static_cast<char>(c));
                    } else {
                        utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
                        utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
                    }
                }
                std::memcpy(buf, utf8.data(), std::min<std::size_t>(utf8.size(), sizeof buf - 1));
                n = static_cast<int>(std::min<std::size_t>(utf8.size(), sizeof buf - 1));
            }
            text.assign(buf, static_cast<std::size_t>(std::max(0, n)));
        }
        if (vk != 0 || !press) {
            Deliver(e);
        }
        if (!text.empty() && static_cast<unsigned char>(text[0]) >= 0x20 && text[0] != 0x7F) {
            Event c;
            c.type = EventType::Char;
            c.text = text;
            c.modifiers = e.modifiers;
            c.time_ms = e.time_ms;
            Deliver(c);
        }
        break;
    }
    default:
        break;
    }
}

} // namespace kovrin::platform::x11
