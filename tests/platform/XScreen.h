#pragma once
// The test's own connection to the X server, for looking at another
// process's windows: whether one is viewable, where it is, and whether it
// stands above a cover window the test puts up. X errors (a window that went
// away) are ignored while it lives.

#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

namespace shell_test {

class XScreen {
public:
    XScreen() : dpy_(XOpenDisplay(nullptr)) { old_ = XSetErrorHandler(IgnoreErrors); }
    ~XScreen() {
        if (dpy_ != nullptr) {
            if (cover_ != 0) {
                XDestroyWindow(dpy_, cover_);
            }
            XCloseDisplay(dpy_);
        }
        XSetErrorHandler(old_);
    }
    XScreen(const XScreen&) = delete;
    XScreen& operator=(const XScreen&) = delete;

    bool Ok() const { return dpy_ != nullptr; }
    Display* Dpy() const { return dpy_; }
    Window CoverWindow() const { return cover_; }
    int Width() const { return DisplayWidth(dpy_, DefaultScreen(dpy_)); }
    int Height() const { return DisplayHeight(dpy_, DefaultScreen(dpy_)); }

    bool Viewable(Window w) {
        XWindowAttributes a{};
        return XGetWindowAttributes(dpy_, w, &a) != 0 && a.map_state == IsViewable;
    }
    // A plain grey window over the area, raised above everything.
    void Cover(int x, int y, int width = 300, int height = 200) {
        XSetWindowAttributes attrs{};
        attrs.background_pixel = 0x808080;
        cover_ = XCreateWindow(dpy_, DefaultRootWindow(dpy_), x, y, static_cast<unsigned>(width),
                               static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                               CopyFromParent, CWBackPixel, &attrs);
        XMapRaised(dpy_, cover_);
        XSync(dpy_, False);
    }
    // The top-level windows, bottom first.
    std::vector<Window> Stacking() {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned n = 0;
        if (XQueryTree(dpy_, DefaultRootWindow(dpy_), &root, &parent, &children, &n) == 0) {
            return {};
        }
        std::vector<Window> order(children, children + n);
        XFree(children);
        return order;
    }
    // w stands above the cover window.
    bool AboveCover(Window w) {
        const std::vector<Window> order = Stacking();
        const auto a = std::find(order.begin(), order.end(), w);
        const auto c = std::find(order.begin(), order.end(), cover_);
        return a != order.end() && c != order.end() && a > c;
    }

private:
    static int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

    Display* dpy_ = nullptr;
    XErrorHandler old_ = nullptr;
    Window cover_ = 0;
};

} // namespace shell_test
