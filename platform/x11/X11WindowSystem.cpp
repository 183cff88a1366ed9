#include "platform/x11/X11Internal.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <clocale>
#include <cstdio>

namespace kovrin::platform {
namespace x11 {
namespace {

// Errors from requests on windows that went away meanwhile are expected; the
// default handler would end the process.
int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

X11WindowSystem::X11WindowSystem(EventLoop& loop, Display* display)
    : WindowSystem(loop), dpy_(display), screen_(DefaultScreen(display)),
      root_(RootWindow(display, DefaultScreen(display))) {
    XSetErrorHandler(IgnoreErrors);
    Bool supported = False;
    XkbSetDetectableAutoRepeat(dpy_, True, &supported);

    int major = 0;
    int minor = 0;
    Bool pixmaps = False;
    has_shm_ = XShmQueryVersion(dpy_, &major, &minor, &pixmaps) == True;
    if (const char* no_shm = std::getenv("KOVRIN_NO_XSHM"); no_shm != nullptr && *no_shm == '1') {
        has_shm_ = false;
    }
    int event_base = 0;
    int error_base = 0;
    has_shape_ = XShapeQueryExtension(dpy_, &event_base, &error_base) == True;

    XVisualInfo info;
    if (XMatchVisualInfo(dpy_, screen_, 32, TrueColor, &info) != 0) {
        argb_visual_ = info.visual;
        argb_colormap_ = XCreateColormap(dpy_, root_, argb_visual_, AllocNone);
    }

    // Text input through the input method of the locale (UTF-8 text).
    if (std::setlocale(LC_CTYPE, nullptr) == nullptr ||
        std::string(std::setlocale(LC_CTYPE, nullptr)) == "C") {
        std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    if (XSupportsLocale()) {
        XSetLocaleModifiers("");
        xim_ = XOpenIM(dpy_, nullptr, nullptr, nullptr);
        if (xim_ == nullptr) {
            XSetLocaleModifiers("@im=none");
            xim_ = XOpenIM(dpy_, nullptr, nullptr, nullptr);
        }
    }
    loop.SetSource(this);
}

X11WindowSystem::~X11WindowSystem() {
    if (Loop().IsLoopThread()) {
        Loop().SetSource(nullptr);
    }
    for (auto& [shape, cursor] : cursors_) {
        XFreeCursor(dpy_, cursor);
    }
    if (argb_colormap_ != 0) {
        XFreeColormap(dpy_, argb_colormap_);
    }
    if (xim_ != nullptr) {
        XCloseIM(xim_);
    }
    if (clip_window_ != 0) {
        XDestroyWindow(dpy_, clip_window_);
    }
    XCloseDisplay(dpy_);
}

Atom X11WindowSystem::A(const char* name) const {
    auto it = atoms_.find(name);
    if (it != atoms_.end()) {
        return it->second;
    }
    const Atom a = XInternAtom(dpy_, name, False);
    atoms_[name] = a;
    return a;
}

bool X11WindowSystem::HasCompositor() const {
    char name[32];
    std::snprintf(name, sizeof name, "_NET_WM_CM_S%d", screen_);
    return XGetSelectionOwner(dpy_, A(name)) != 0;
}

bool X11WindowSystem::WmSupports(Atom atom) const {
    // Only a running window manager (announced by _NET_SUPPORTING_WM_CHECK)
    // acts on the requests listed in _NET_SUPPORTED.
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, root_, A("_NET_SUPPORTING_WM_CHECK"), 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &after, &data) != Success ||
        data == nullptr || count == 0) {
        if (data != nullptr) {
            XFree(data);
        }
        return false;
    }
    XFree(data);
    data = nullptr;
    bool found = false;
    if (XGetWindowProperty(dpy_, root_, A("_NET_SUPPORTED"), 0, 4096, False, XA_ATOM, &type,
                           &format, &count, &after, &data) == Success &&
        data != nullptr) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        found = std::find(atoms, atoms + count, atom) != atoms + count;
    }
    if (data != nullptr) {
        XFree(data);
    }
    return found;
}

Cursor X11WindowSystem::CursorFor(CursorKind shape) {
    auto it = cursors_.find(shape);
    if (it != cursors_.end()) {
        return it->second;
    }
    unsigned glyph = XC_left_ptr;
    switch (shape) {
    case CursorKind::Arrow:
        glyph = XC_left_ptr;
        break;
    case CursorKind::Wait:
        glyph = XC_watch;
        break;
    case CursorKind::Cross:
        glyph = XC_crosshair;
        break;
    case CursorKind::SizeWE:
        glyph = XC_sb_h_double_arrow;
        break;
    case CursorKind::SizeNS:
        glyph = XC_sb_v_double_arrow;
        break;
    case CursorKind::Hand:
        glyph = XC_hand2;
        break;
    case CursorKind::Help:
        glyph = XC_question_arrow;
        break;
    }
    const Cursor c = XCreateFontCursor(dpy_, glyph);
    cursors_[shape] = c;
    return c;
}

XIC X11WindowSystem::CreateIc(Window w) const {
    if (xim_ == nullptr) {
        return nullptr;
    }
    return XCreateIC(xim_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, w,
                     XNFocusWindow, w, nullptr);
}

X11Window* X11WindowSystem::Find(Window w) const {
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : it->second;
}

std::unique_ptr<NativeWindow> X11WindowSystem::CreateWindow(const WindowOptions& options,
                                                            WindowDelegate* delegate) {
    auto w = std::make_unique<X11Window>(*this, delegate, options);
    if (!w->Valid()) {
        return nullptr;
    }
    return w;
}

Rect X11WindowSystem::WorkArea(Point near) const {
    Rect area{0, 0, DisplayWidth(dpy_, screen_), DisplayHeight(dpy_, screen_)};
    // The monitor that holds the point (or the nearest one).
    int count = 0;
    if (XRRMonitorInfo* monitors = XRRGetMonitors(dpy_, root_, True, &count); monitors != nullptr) {
        long best = -1;
        for (int i = 0; i < count; ++i) {
            const Rect m{monitors[i].x, monitors[i].y, monitors[i].x + monitors[i].width,
                         monitors[i].y + monitors[i].height};
            const long dx = near.x < m.left     ? m.left - near.x
                            : near.x >= m.right ? near.x - m.right + 1
                                                : 0;
            const long dy = near.y < m.top       ? m.top - near.y
                            : near.y >= m.bottom ? near.y - m.bottom + 1
                                                 : 0;
            const long d = dx * dx + dy * dy;
            if (best < 0 || d < best) {
                best = d;
                area = m;
            }
        }
        XRRFreeMonitors(monitors);
    }
    // Less the panels, as the window manager publishes them.
    Atom type = 0;
    int format = 0;
    unsigned long n = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, root_, A("_NET_WORKAREA"), 0, 4, False, XA_CARDINAL, &type,
                           &format, &n, &after, &data) == Success &&
        data != nullptr && n >= 4 && format == 32) {
        const auto* v = reinterpret_cast<const long*>(data);
        const Rect work{static_cast<int>(v[0]), static_cast<int>(v[1]),
                        static_cast<int>(v[0] + v[2]), static_cast<int>(v[1] + v[3])};
        const Rect both = IntersectRect(area, work);
        if (!both.Empty()) {
            area = both;
        }
    }
    if (data != nullptr) {
        XFree(data);
    }
    return area;
}

Point X11WindowSystem::CursorPosition() const {
    Window root_ret = 0;
    Window child = 0;
    int rx = 0;
    int ry = 0;
    int wx = 0;
    int wy = 0;
    unsigned mask = 0;
    XQueryPointer(dpy_, root_, &root_ret, &child, &rx, &ry, &wx, &wy, &mask);
    return {rx, ry};
}

void X11WindowSystem::Dispatch() {
    while (XPending(dpy_) > 0) {
        XEvent ev;
        XNextEvent(dpy_, &ev);
        if (XFilterEvent(&ev, None) == True) {
            continue;
        }
        if (IsClipboardEvent(ev)) {
            HandleClipboardEvent(ev);
            continue;
        }
        if (X11Window* w = Find(ev.xany.window)) {
            w->Handle(ev);
        }
    }
}

} // namespace x11

std::unique_ptr<WindowSystem> CreateX11WindowSystem(EventLoop& loop, std::string* error) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        if (error != nullptr) {
            *error = "DISPLAY is not set";
        }
        return nullptr;
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) {
        if (error != nullptr) {
            *error = std::string("cannot open display ") + name;
        }
        return nullptr;
    }
    return std::make_unique<x11::X11WindowSystem>(loop, dpy);
}

} // namespace kovrin::platform
