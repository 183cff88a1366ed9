#include "platform/tray/TrayBackends.h"
#include "platform/window/EventLoop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrender.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace kovrin::platform::tray {

std::vector<std::uint32_t> ScaledPremultiplied(const IconImage& icon, int width, int height) {
    std::vector<std::uint32_t> out(static_cast<std::size_t>(std::max(0, width)) *
                                       static_cast<std::size_t>(std::max(0, height)),
                                   0);
    if (width <= 0 || height <= 0 || icon.width <= 0 || icon.height <= 0 ||
        icon.argb.size() != static_cast<std::size_t>(icon.width) * icon.height) {
        return out;
    }
    const double f = std::min(static_cast<double>(width) / icon.width,
                              static_cast<double>(height) / icon.height);
    const int dw = std::max(1, static_cast<int>(std::lround(icon.width * f)));
    const int dh = std::max(1, static_cast<int>(std::lround(icon.height * f)));
    const int ox = (width - dw) / 2;
    const int oy = (height - dh) / 2;
    const double sx = static_cast<double>(icon.width) / dw;
    const double sy = static_cast<double>(icon.height) / dh;
    // Each target pixel averages the source area it covers (premultiplied).
    for (int y = 0; y < dh; ++y) {
        const double y0 = y * sy;
        const double y1 = (y + 1) * sy;
        for (int x = 0; x < dw; ++x) {
            const double x0 = x * sx;
            const double x1 = (x + 1) * sx;
            double acc[4] = {0, 0, 0, 0};
            double total = 0;
            for (int v = static_cast<int>(y0); v < std::min<double>(y1, icon.height); ++v) {
                const double wy = std::min<double>(y1, v + 1) - std::max<double>(y0, v);
                for (int u = static_cast<int>(x0); u < std::min<double>(x1, icon.width); ++u) {
                    const double w = wy * (std::min<double>(x1, u + 1) - std::max<double>(x0, u));
                    if (w <= 0) {
                        continue;
                    }
                    const std::uint32_t p = icon.argb[static_cast<std::size_t>(v) * icon.width + u];
                    const double a = (p >> 24) / 255.0;
                    acc[0] += w * (p >> 24);
                    acc[1] += w * ((p >> 16) & 0xFF) * a;
                    acc[2] += w * ((p >> 8) & 0xFF) * a;
                    acc[3] += w * (p & 0xFF) * a;
                    total += w;
                }
            }
            if (total <= 0) {
                continue;
            }
            auto c = [&](int i) {
                return static_cast<std::uint32_t>(
                    std::clamp(std::lround(acc[i] / total), 0L, 255L));
            };
            out[static_cast<std::size_t>(oy + y) * width + (ox + x)] =
                c(0) << 24 | c(1) << 16 | c(2) << 8 | c(3);
        }
    }
    return out;
}

namespace {

constexpr long kRequestDock = 0;
constexpr long kEmbeddedNotify = 0;
constexpr unsigned long kXembedMapped = 1;

std::vector<Display*> g_displays;
XErrorHandler g_previous_handler = nullptr;

// The tray or our window may vanish between two requests: errors on our own
// connections are expected and dropped; others go to whoever handled them.
int TrayErrors(Display* dpy, XErrorEvent* error) {
    if (std::find(g_displays.begin(), g_displays.end(), dpy) != g_displays.end()) {
        return 0;
    }
    return g_previous_handler != nullptr ? g_previous_handler(dpy, error) : 0;
}

class XIcon final : public XEmbedIcon {
public:
    XIcon(EventLoop& loop, const TrayOptions& options, EventSink events, StateSink state)
        : loop_(loop), options_(options), events_(std::move(events)), state_(std::move(state)) {}

    ~XIcon() override {
        if (dpy_ == nullptr) {
            return;
        }
        if (watch_ != 0) {
            loop_.UnwatchFd(watch_);
        }
        state_ = nullptr;
        DestroyIconWindow();
        XSync(dpy_, False);
        XCloseDisplay(dpy_);
        g_displays.erase(std::remove(g_displays.begin(), g_displays.end(), dpy_), g_displays.end());
    }

    bool Start(std::string* error);

    bool Docked() const override { return docked_; }
    unsigned long Window() const override { return win_; }
    void SetToolTip(const std::string& text) override {
        options_.tooltip = text;
        if (win_ != 0) {
            SetNames();
            XFlush(dpy_);
        }
    }
    void SetIcon(const IconImage& icon) override {
        options_.icon = icon;
        Draw();
        XFlush(dpy_);
    }

private:
    Atom A(const char* name) const { return XInternAtom(dpy_, name, False); }
    void Drain();
    void Handle(const XEvent& ev);
    void TryDock();
    void CreateIconWindow(::Window manager);
    void DestroyIconWindow();
    void SetNames();
    void Draw();
    void SetDocked(bool docked) {
        if (docked != docked_) {
            docked_ = docked;
            if (state_) {
                state_();
            }
        }
    }

    EventLoop& loop_;
    TrayOptions options_;
    EventSink events_;
    StateSink state_;
    Display* dpy_ = nullptr;
    ::Window root_ = 0;
    Atom selection_ = 0;
    ::Window manager_ = 0;
    ::Window win_ = 0;
    Visual* visual_ = nullptr;
    int depth_ = 0;
    Colormap colormap_ = 0;
    bool argb_ = false;
    bool render_ = false;
    int width_ = 22;
    int height_ = 22;
    bool docked_ = false;
    EventLoop::WatchId watch_ = 0;
};

bool XIcon::Start(std::string* error) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        *error = "DISPLAY is not set";
        return false;
    }
    dpy_ = XOpenDisplay(nullptr);
    if (dpy_ == nullptr) {
        *error = std::string("cannot open display ") + name;
        return false;
    }
    g_displays.push_back(dpy_);
    if (XErrorHandler previous = XSetErrorHandler(TrayErrors); previous != TrayErrors) {
        g_previous_handler = previous;
    }
    const int screen = DefaultScreen(dpy_);
    root_ = RootWindow(dpy_, screen);
    char selection[40];
    std::snprintf(selection, sizeof selection, "_NET_SYSTEM_TRAY_S%d", screen);
    selection_ = A(selection);
    int event_base = 0;
    int error_base = 0;
    render_ = XRenderQueryExtension(dpy_, &event_base, &error_base) == True;
    // A tray that starts later announces itself with MANAGER on the root.
    XSelectInput(dpy_, root_, StructureNotifyMask);
    watch_ = loop_.WatchFd(ConnectionNumber(dpy_), [this] { Drain(); });
    TryDock();
    Drain();
    return true;
}

void XIcon::Drain() {
    // Xlib may already hold events that poll() cannot see: take all.
    while (XPending(dpy_) > 0) {
        XEvent ev;
        XNextEvent(dpy_, &ev);
        Handle(ev);
    }
    XFlush(dpy_);
}

void XIcon::TryDock() {
    const ::Window owner = XGetSelectionOwner(dpy_, selection_);
    if (owner == None) {
        manager_ = 0;
        return;
    }
    if (owner == manager_ && win_ != 0) {
        return; // asked already
    }
    manager_ = owner;
    // Learn when this tray goes away.
    XSelectInput(dpy_, manager_, StructureNotifyMask);
    CreateIconWindow(manager_);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = manager_;
    ev.xclient.message_type = A("_NET_SYSTEM_TRAY_OPCODE");
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = CurrentTime;
    ev.xclient.data.l[1] = kRequestDock;
    ev.xclient.data.l[2] = static_cast<long>(win_);
    XSendEvent(dpy_, manager_, False, NoEventMask, &ev);
    XFlush(dpy_);
}

void XIcon::CreateIconWindow(::Window manager) {
    DestroyIconWindow();
    // The tray may name the visual its icons should have (an ARGB one when it
    // blends them).
    visual_ = DefaultVisual(dpy_, DefaultScreen(dpy_));
    depth_ = DefaultDepth(dpy_, DefaultScreen(dpy_));
    argb_ = false;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, manager, A("_NET_SYSTEM_TRAY_VISUAL"), 0, 1, False, XA_VISUALID,
                           &type, &format, &count, &after, &data) == Success &&
        data != nullptr && count == 1 && format == 32) {
        XVisualInfo want{};
        want.visualid = static_cast<VisualID>(*reinterpret_cast<const long*>(data));
        int n = 0;
        if (XVisualInfo* info = XGetVisualInfo(dpy_, VisualIDMask, &want, &n); info != nullptr) {
            if (n > 0 && info[0].depth == 32) {
                visual_ = info[0].visual;
                depth_ = 32;
                argb_ = true;
            }
            XFree(info);
        }
    }
    if (data != nullptr) {
        XFree(data);
    }
    XSetWindowAttributes attrs{};
    unsigned long mask = CWEventMask | CWBorderPixel;
    attrs.event_mask = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask;
    attrs.border_pixel = 0;
    if (argb_) {
        colormap_ = XCreateColormap(dpy_, root_, visual_, AllocNone);
        attrs.colormap = colormap_;
        attrs.background_pixel = 0;
        mask |= CWColormap | CWBackPixel;
    } else {
        attrs.background_pixmap = ParentRelative;
        mask |= CWBackPixmap;
    }
    width_ = 22;
    height_ = 22;
    win_ = XCreateWindow(dpy_, root_, 0, 0, static_cast<unsigned>(width_),
                         static_cast<unsigned>(height_), 0, depth_, InputOutput, visual_, mask,
                         &attrs);
    const long info[2] = {0, static_cast<long>(kXembedMapped)}; // version, flags
    XChangeProperty(dpy_, win_, A("_XEMBED_INFO"), A("_XEMBED_INFO"), 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(info), 2);
    XClassHint cls{const_cast<char*>("kovrin"), const_cast<char*>("Kovrin")};
    XSetClassHint(dpy_, win_, &cls);
    SetNames();
}

void XIcon::SetNames() {
    // Trays that show tips take the window's name.
    const std::string& text = options_.tooltip.empty() ? options_.title : options_.tooltip;
    XChangeProperty(dpy_, win_, A("_NET_WM_NAME"), A("UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()),
                    static_cast<int>(text.size()));
    XStoreName(dpy_, win_, text.c_str());
}

void XIcon::DestroyIconWindow() {
    if (win_ != 0) {
        XDestroyWindow(dpy_, win_);
        win_ = 0;
    }
    if (colormap_ != 0) {
        XFreeColormap(dpy_, colormap_);
        colormap_ = 0;
    }
    SetDocked(false);
}

void XIcon::Handle(const XEvent& ev) {
    switch (ev.type) {
    case ClientMessage:
        if (ev.xclient.window == root_ && ev.xclient.message_type == A("MANAGER") &&
            static_cast<Atom>(ev.xclient.data.l[1]) == selection_) {
            if (!docked_) {
                TryDock();
            }
        } else if (win_ != 0 && ev.xclient.window == win_ &&
                   ev.xclient.message_type == A("_XEMBED") &&
                   ev.xclient.data.l[1] == kEmbeddedNotify) {
            SetDocked(true);
        }
        break;
    case DestroyNotify:
        if (ev.xdestroywindow.window == manager_ && manager_ != 0) {
            manager_ = 0;
            SetDocked(false);
            TryDock(); // another tray may have taken over already
        } else if (ev.xdestroywindow.window == win_ && win_ != 0) {
            win_ = 0;
            SetDocked(false);
        }
        break;
    case ReparentNotify:
        if (ev.xreparent.window == win_ && win_ != 0) {
            if (ev.xreparent.parent == root_) {
                // Handed back by a tray that quit: never a loose window.
                XUnmapWindow(dpy_, win_);
                SetDocked(false);
            } else {
                SetDocked(true);
            }
        }
        break;
    case ConfigureNotify:
        if (ev.xconfigure.window == win_ && win_ != 0 &&
            (ev.xconfigure.width != width_ || ev.xconfigure.height != height_)) {
            width_ = ev.xconfigure.width;
            height_ = ev.xconfigure.height;
            Draw();
        }
        break;
    case Expose:
        if (ev.xexpose.window == win_ && ev.xexpose.count == 0) {
            Draw();
        }
        break;
    case ButtonPress:
        if (ev.xbutton.window == win_ && events_) {
            if (ev.xbutton.button == Button1) {
                events_(TrayEvent::Activate, ev.xbutton.x_root, ev.xbutton.y_root);
            } else if (ev.xbutton.button == Button2) {
                events_(TrayEvent::SecondaryActivate, ev.xbutton.x_root, ev.xbutton.y_root);
            }
        }
        break;
    case ButtonRelease:
        if (ev.xbutton.window == win_ && events_ && ev.xbutton.button == Button3) {
            events_(TrayEvent::ContextMenu, ev.xbutton.x_root, ev.xbutton.y_root);
        }
        break;
    default:
        break;
    }
}

void XIcon::Draw() {
    if (win_ == 0 || width_ <= 0 || height_ <= 0) {
        return;
    }
    std::vector<std::uint32_t> pixels = ScaledPremultiplied(options_.icon, width_, height_);
    const auto w = static_cast<unsigned>(width_);
    const auto h = static_cast<unsigned>(height_);
    const int byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    auto put = [&](Drawable target, Visual* visual, int depth) {
        GC gc = XCreateGC(dpy_, target, 0, nullptr);
        XImage* image = XCreateImage(dpy_, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                     reinterpret_cast<char*>(pixels.data()), w, h, 32, width_ * 4);
        if (image != nullptr) {
            image->byte_order = byte_order;
            XPutImage(dpy_, target, gc, image, 0, 0, 0, 0, w, h);
            image->data = nullptr;
            XDestroyImage(image);
        }
        XFreeGC(dpy_, gc);
    };
    if (argb_) {
        put(win_, visual_, 32); // the tray blends it
        return;
    }
    XClearWindow(dpy_, win_); // the tray's own background shows through
    XRenderPictFormat* src_format = XRenderFindStandardFormat(dpy_, PictStandardARGB32);
    XRenderPictFormat* dst_format = render_ ? XRenderFindVisualFormat(dpy_, visual_) : nullptr;
    if (render_ && src_format != nullptr && dst_format != nullptr) {
        const Pixmap pm = XCreatePixmap(dpy_, win_, w, h, 32);
        put(pm, visual_, 32);
        const Picture src = XRenderCreatePicture(dpy_, pm, src_format, 0, nullptr);
        const Picture dst = XRenderCreatePicture(dpy_, win_, dst_format, 0, nullptr);
        XRenderComposite(dpy_, PictOpOver, src, None, dst, 0, 0, 0, 0, 0, 0, w, h);
        XRenderFreePicture(dpy_, src);
        XRenderFreePicture(dpy_, dst);
        XFreePixmap(dpy_, pm);
        return;
    }
    // No RENDER: the icon over a neutral grey.
    for (std::uint32_t& p : pixels) {
        const std::uint32_t a = p >> 24;
        const std::uint32_t grey = 0x80 * (255 - a) / 255;
        p = ((p >> 16 & 0xFF) + grey) << 16 | ((p >> 8 & 0xFF) + grey) << 8 | ((p & 0xFF) + grey);
    }
    put(win_, visual_, depth_);
}

} // namespace

std::unique_ptr<XEmbedIcon> XEmbedIcon::Create(EventLoop& loop, const TrayOptions& options,
                                               EventSink events, StateSink state,
                                               std::string* error) {
    auto icon = std::make_unique<XIcon>(loop, options, std::move(events), std::move(state));
    std::string ignored;
    if (!icon->Start(error != nullptr ? error : &ignored)) {
        return nullptr;
    }
    return icon;
}

} // namespace kovrin::platform::tray
