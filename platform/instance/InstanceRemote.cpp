// The other process's side: plain Xlib on a connection of its own.

#include "platform/instance/InstanceWindow.h"
#include "platform/x11/X11Internal.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace kovrin::platform {
namespace {

using x11::kShowRequestAtom;
using x11::kWindowMessageAtom;

// Windows may go away while we look at them; their errors are expected.
int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

class Connection {
public:
    explicit Connection(std::string* error) {
        const char* name = std::getenv("DISPLAY");
        if (name == nullptr || *name == '\0') {
            if (error != nullptr) {
                *error = "DISPLAY is not set";
            }
            return;
        }
        dpy_ = XOpenDisplay(nullptr);
        if (dpy_ == nullptr) {
            if (error != nullptr) {
                *error = std::string("cannot open display ") + name;
            }
            return;
        }
        old_handler_ = XSetErrorHandler(IgnoreErrors);
    }
    ~Connection() {
        if (dpy_ != nullptr) {
            XSync(dpy_, False);
            XCloseDisplay(dpy_);
            XSetErrorHandler(old_handler_);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Display* Dpy() const { return dpy_; }

private:
    Display* dpy_ = nullptr;
    XErrorHandler old_handler_ = nullptr;
};

// The 32-bit items of a property, empty when it is absent or of another type.
std::vector<long> Longs(Display* dpy, Window w, Atom property, Atom type, long max_items) {
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<long> out;
    if (XGetWindowProperty(dpy, w, property, 0, max_items, False, type, &actual, &format, &count,
                           &after, &data) == Success &&
        data != nullptr && actual == type && format == 32) {
        const auto* v = reinterpret_cast<const long*>(data);
        out.assign(v, v + count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return out;
}

bool Marked(Display* dpy, Window w, Atom marker) {
    const std::vector<long> v = Longs(dpy, w, marker, XA_CARDINAL, 1);
    return v.size() == 1 && v[0] == 1;
}

// Top-level windows are children of the root; a window manager puts each in a
// frame (sometimes two deep), so look a few levels down.
Window Walk(Display* dpy, Window w, Atom marker, int depth) {
    Window root_ret = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(dpy, w, &root_ret, &parent, &children, &count) == 0) {
        return 0;
    }
    std::vector<Window> list(children, children + count);
    if (children != nullptr) {
        XFree(children);
    }
    // Topmost first.
    std::reverse(list.begin(), list.end());
    for (Window c : list) {
        if (Marked(dpy, c, marker)) {
            return c;
        }
    }
    if (depth > 1) {
        for (Window c : list) {
            if (Window found = Walk(dpy, c, marker, depth - 1); found != 0) {
                return found;
            }
        }
    }
    return 0;
}

Window Find(Display* dpy, const std::string& name) {
    // An atom nobody has made cannot name a property of any window.
    const Atom marker = XInternAtom(dpy, InstanceMarkerName(name).c_str(), True);
    if (marker == None) {
        return 0;
    }
    const Window root = DefaultRootWindow(dpy);
    // The window manager's list of managed windows, when it keeps one.
    const Atom client_list = XInternAtom(dpy, "_NET_CLIENT_LIST", False);
    for (long w : Longs(dpy, root, client_list, XA_WINDOW, 65536)) {
        if (Marked(dpy, static_cast<Window>(w), marker)) {
            return static_cast<Window>(w);
        }
    }
    return Walk(dpy, root, marker, 3);
}

Window FindWaiting(Display* dpy, const std::string& name, unsigned wait_ms) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(wait_ms);
    for (;;) {
        if (Window w = Find(dpy, name); w != 0) {
            return w;
        }
        if (Clock::now() >= end) {
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool WmSupports(Display* dpy, const char* what) {
    const Window root = DefaultRootWindow(dpy);
    if (Longs(dpy, root, XInternAtom(dpy, "_NET_SUPPORTING_WM_CHECK", False), XA_WINDOW, 1)
            .empty()) {
        return false;
    }
    const auto atom = static_cast<long>(XInternAtom(dpy, what, False));
    const std::vector<long> supported =
        Longs(dpy, root, XInternAtom(dpy, "_NET_SUPPORTED", False), XA_ATOM, 4096);
    return std::find(supported.begin(), supported.end(), atom) != supported.end();
}

void SendClientMessage(Display* dpy, Window w, const char* type, long l0, long l1, long l2) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(dpy, type, False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = l0;
    ev.xclient.data.l[1] = l1;
    ev.xclient.data.l[2] = l2;
    // No event mask: the event goes to the client that created the window.
    XSendEvent(dpy, w, False, NoEventMask, &ev);
}

} // namespace

std::string InstanceMarkerName(const std::string& name) {
    return "_KOVRIN_INSTANCE_" + name;
}

unsigned long FindMarkedWindow(const std::string& name) {
    Connection c(nullptr);
    return c.Dpy() != nullptr ? Find(c.Dpy(), name) : 0;
}

ReachResult RaiseMarkedWindow(const std::string& name, unsigned wait_ms, std::string* error) {
    Connection c(error);
    Display* dpy = c.Dpy();
    if (dpy == nullptr) {
        return ReachResult::NoDisplay;
    }
    const Window w = FindWaiting(dpy, name, wait_ms);
    if (w == 0) {
        if (error != nullptr) {
            *error = "no window is marked for " + name;
        }
        return ReachResult::NotFound;
    }
    // The owner shows itself, keeping its own idea of its state...
    SendClientMessage(dpy, w, kShowRequestAtom, 0, 0, 0);
    // ...and the window comes up from here as well.
    XMapRaised(dpy, w);
    if (WmSupports(dpy, "_NET_ACTIVE_WINDOW")) {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = w;
        ev.xclient.message_type = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = 2; // on the user's behalf, like a pager
        ev.xclient.data.l[1] = CurrentTime;
        XSendEvent(dpy, DefaultRootWindow(dpy), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    } else {
        XRaiseWindow(dpy, w);
        XSync(dpy, False);
        XWindowAttributes attrs{};
        if (XGetWindowAttributes(dpy, w, &attrs) != 0 && attrs.map_state == IsViewable) {
            XSetInputFocus(dpy, w, RevertToParent, CurrentTime);
        }
    }
    XSync(dpy, False);
    return ReachResult::Done;
}

ReachResult SendMarkedWindowMessage(const std::string& name, unsigned message, std::uint32_t wparam,
                                    std::int32_t lparam, std::string* error) {
    Connection c(error);
    Display* dpy = c.Dpy();
    if (dpy == nullptr) {
        return ReachResult::NoDisplay;
    }
    const Window w = Find(dpy, name);
    if (w == 0) {
        if (error != nullptr) {
            *error = "no window is marked for " + name;
        }
        return ReachResult::NotFound;
    }
    SendClientMessage(dpy, w, kWindowMessageAtom, static_cast<long>(message),
                      static_cast<long>(wparam), static_cast<long>(lparam));
    XSync(dpy, False);
    return ReachResult::Done;
}

} // namespace kovrin::platform
