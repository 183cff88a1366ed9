#include "FakeTrayHosts.h"

#include "ShellTestSupport.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <systemd/sd-bus.h>

#include <cstdio>
#include <cstring>

namespace shell_test {
namespace {

constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";
constexpr const char* kItemPath = "/StatusNotifierItem";
constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";

int OnRegister(sd_bus_message* m, void* data, sd_bus_error*) {
    auto* self = static_cast<FakeWatcher*>(data);
    const char* service = nullptr;
    if (sd_bus_message_read(m, "s", &service) < 0) {
        return -EINVAL;
    }
    self->registered_.emplace_back(service);
    sd_bus_emit_signal(sd_bus_message_get_bus(m), "/StatusNotifierWatcher", kWatcher,
                       "StatusNotifierItemRegistered", "s", service);
    return sd_bus_reply_method_return(m, "");
}

int GetHost(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* data,
            sd_bus_error*) {
    return sd_bus_message_append(reply, "b", static_cast<FakeWatcher*>(data)->host_ ? 1 : 0);
}

int GetItems(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* data,
             sd_bus_error*) {
    auto* self = static_cast<FakeWatcher*>(data);
    int r = sd_bus_message_open_container(reply, 'a', "s");
    for (const auto& s : self->registered_) {
        if (r >= 0) {
            r = sd_bus_message_append(reply, "s", s.c_str());
        }
    }
    return r < 0 ? r : sd_bus_message_close_container(reply);
}

int GetVersion(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
               sd_bus_error*) {
    return sd_bus_message_append(reply, "i", 0);
}

const sd_bus_vtable kWatcherVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("RegisterStatusNotifierItem", "s", "", OnRegister, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_PROPERTY("IsStatusNotifierHostRegistered", "b", GetHost, 0, 0),
    SD_BUS_PROPERTY("RegisteredStatusNotifierItems", "as", GetItems, 0, 0),
    SD_BUS_PROPERTY("ProtocolVersion", "i", GetVersion, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_SIGNAL("StatusNotifierItemRegistered", "s", 0),
    SD_BUS_SIGNAL("StatusNotifierHostRegistered", "", 0),
    SD_BUS_SIGNAL("StatusNotifierHostUnregistered", "", 0),
    SD_BUS_VTABLE_END,
};

int OnOwnerChanged(sd_bus_message* m, void* data, sd_bus_error*) {
    auto* self = static_cast<FakeWatcher*>(data);
    const char* name = nullptr;
    const char* old_owner = nullptr;
    const char* new_owner = nullptr;
    if (sd_bus_message_read(m, "sss", &name, &old_owner, &new_owner) >= 0 && new_owner != nullptr &&
        *new_owner == '\0') {
        self->gone_.insert(name);
    }
    return 0;
}

} // namespace

FakeWatcher::FakeWatcher(kovrin::platform::EventLoop& loop, bool host) : loop_(loop), host_(host) {
    int r = sd_bus_open_user(&bus_);
    if (r < 0) {
        bus_ = nullptr;
        error_ = std::string("bus: ") + std::strerror(-r);
        return;
    }
    r = sd_bus_add_object_vtable(bus_, &vtable_, "/StatusNotifierWatcher", kWatcher, kWatcherVtable,
                                 this);
    if (r >= 0) {
        r = sd_bus_add_match(bus_, &match_,
                             "type='signal',sender='org.freedesktop.DBus',"
                             "member='NameOwnerChanged'",
                             OnOwnerChanged, this);
    }
    if (r >= 0) {
        r = sd_bus_request_name(bus_, kWatcher, 0);
    }
    if (r < 0) {
        error_ = std::string("watcher: ") + std::strerror(-r);
        return;
    }
    watch_ = loop_.WatchFd(sd_bus_get_fd(bus_), [this] { Process(); });
    ok_ = true;
    Process();
}

FakeWatcher::~FakeWatcher() {
    if (watch_ != 0) {
        loop_.UnwatchFd(watch_);
    }
    sd_bus_slot_unref(vtable_);
    sd_bus_slot_unref(match_);
    if (bus_ != nullptr) {
        sd_bus_flush_close_unref(bus_);
    }
}

void FakeWatcher::Process() {
    if (processing_ || bus_ == nullptr) {
        return;
    }
    processing_ = true;
    while (sd_bus_process(bus_, nullptr) > 0) {
    }
    sd_bus_flush(bus_);
    processing_ = false;
}

void FakeWatcher::SetHost(bool present) {
    host_ = present;
    sd_bus_emit_signal(bus_, "/StatusNotifierWatcher", kWatcher,
                       present ? "StatusNotifierHostRegistered" : "StatusNotifierHostUnregistered",
                       "");
    Process();
}

sd_bus_message* FakeWatcher::CallAndWait(sd_bus_message* call) {
    struct Result {
        sd_bus_message* reply = nullptr;
        bool done = false;
    } result;
    sd_bus_slot* slot = nullptr;
    const int r = sd_bus_call_async(
        bus_, &slot, call,
        [](sd_bus_message* m, void* data, sd_bus_error*) {
            auto* res = static_cast<Result*>(data);
            res->done = true;
            if (!sd_bus_message_is_method_error(m, nullptr)) {
                res->reply = sd_bus_message_ref(m);
            }
            return 0;
        },
        &result, 5'000'000);
    sd_bus_message_unref(call);
    if (r < 0) {
        return nullptr;
    }
    Process();
    RunFor(loop_, 6000, [&] { return result.done; });
    sd_bus_slot_unref(slot);
    return result.reply;
}

bool FakeWatcher::Call(const std::string& service, const char* method, int x, int y) {
    sd_bus_message* call = nullptr;
    if (sd_bus_message_new_method_call(bus_, &call, service.c_str(), kItemPath, kItemInterface,
                                       method) < 0) {
        return false;
    }
    sd_bus_message_append(call, "ii", x, y);
    sd_bus_message* reply = CallAndWait(call);
    const bool ok = reply != nullptr;
    sd_bus_message_unref(reply);
    return ok;
}

sd_bus_message* FakeWatcher::Get(const std::string& service, const char* property) {
    sd_bus_message* call = nullptr;
    if (sd_bus_message_new_method_call(bus_, &call, service.c_str(), kItemPath,
                                       "org.freedesktop.DBus.Properties", "Get") < 0) {
        return nullptr;
    }
    sd_bus_message_append(call, "ss", kItemInterface, property);
    sd_bus_message* reply = CallAndWait(call);
    if (reply == nullptr) {
        return nullptr;
    }
    const char* contents = nullptr;
    char type = 0;
    if (sd_bus_message_peek_type(reply, &type, &contents) < 0 || type != 'v' ||
        sd_bus_message_enter_container(reply, 'v', contents) < 0) {
        sd_bus_message_unref(reply);
        return nullptr;
    }
    return reply;
}

std::optional<std::string> FakeWatcher::GetString(const std::string& service,
                                                  const char* property) {
    sd_bus_message* m = Get(service, property);
    const char* s = nullptr;
    std::optional<std::string> out;
    if (m != nullptr && sd_bus_message_read(m, "s", &s) >= 0) {
        out = s;
    }
    sd_bus_message_unref(m);
    return out;
}

std::optional<bool> FakeWatcher::GetBool(const std::string& service, const char* property) {
    sd_bus_message* m = Get(service, property);
    int b = 0;
    std::optional<bool> out;
    if (m != nullptr && sd_bus_message_read(m, "b", &b) >= 0) {
        out = b != 0;
    }
    sd_bus_message_unref(m);
    return out;
}

namespace {
bool ReadPixmaps(sd_bus_message* m, std::vector<FakeWatcher::Pixmap>* out) {
    if (sd_bus_message_enter_container(m, 'a', "(iiay)") < 0) {
        return false;
    }
    for (;;) {
        const int r = sd_bus_message_enter_container(m, 'r', "iiay");
        if (r < 0) {
            return false;
        }
        if (r == 0) {
            break;
        }
        FakeWatcher::Pixmap p;
        const void* bytes = nullptr;
        std::size_t size = 0;
        if (sd_bus_message_read(m, "ii", &p.width, &p.height) < 0 ||
            sd_bus_message_read_array(m, 'y', &bytes, &size) < 0) {
            return false;
        }
        const auto* b = static_cast<const std::uint8_t*>(bytes);
        p.bytes.assign(b, b + size);
        out->push_back(std::move(p));
        sd_bus_message_exit_container(m);
    }
    return sd_bus_message_exit_container(m) >= 0;
}
} // namespace

std::optional<std::vector<FakeWatcher::Pixmap>> FakeWatcher::GetPixmaps(const std::string& service,
                                                                        const char* property) {
    sd_bus_message* m = Get(service, property);
    std::vector<Pixmap> pixmaps;
    const bool ok = m != nullptr && ReadPixmaps(m, &pixmaps);
    sd_bus_message_unref(m);
    if (!ok) {
        return std::nullopt;
    }
    return pixmaps;
}

std::optional<std::string> FakeWatcher::GetToolTipTitle(const std::string& service) {
    sd_bus_message* m = Get(service, "ToolTip");
    std::optional<std::string> out;
    const char* icon = nullptr;
    const char* title = nullptr;
    const char* text = nullptr;
    std::vector<Pixmap> pixmaps;
    if (m != nullptr && sd_bus_message_enter_container(m, 'r', "sa(iiay)ss") >= 0 &&
        sd_bus_message_read(m, "s", &icon) >= 0 && ReadPixmaps(m, &pixmaps) &&
        sd_bus_message_read(m, "ss", &title, &text) >= 0) {
        out = title;
    }
    sd_bus_message_unref(m);
    return out;
}

// ---- XEmbed tray ----

namespace {
int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}
} // namespace

FakeXEmbedTray::FakeXEmbedTray(kovrin::platform::EventLoop& loop, int x, int y, bool argb,
                               unsigned long background_rgb)
    : loop_(loop), x_(x), y_(y) {
    dpy_ = XOpenDisplay(nullptr);
    if (dpy_ == nullptr) {
        return;
    }
    XSetErrorHandler(IgnoreErrors);
    const int screen = DefaultScreen(dpy_);
    const Window root = RootWindow(dpy_, screen);
    XSetWindowAttributes attrs{};
    attrs.background_pixel = background_rgb;
    attrs.override_redirect = True;
    container_ = XCreateWindow(dpy_, root, x, y, 64, 32, 0, CopyFromParent, InputOutput,
                               CopyFromParent, CWBackPixel | CWOverrideRedirect, &attrs);
    XMapRaised(dpy_, container_);
    owner_ = XCreateSimpleWindow(dpy_, root, -10, -10, 1, 1, 0, 0, 0);
    if (argb) {
        XVisualInfo info;
        if (XMatchVisualInfo(dpy_, screen, 32, TrueColor, &info) != 0) {
            const long id = static_cast<long>(info.visualid);
            XChangeProperty(dpy_, owner_, XInternAtom(dpy_, "_NET_SYSTEM_TRAY_VISUAL", False),
                            XA_VISUALID, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&id), 1);
        }
    }
    char name[40];
    std::snprintf(name, sizeof name, "_NET_SYSTEM_TRAY_S%d", screen);
    const Atom selection = XInternAtom(dpy_, name, False);
    XSetSelectionOwner(dpy_, selection, owner_, CurrentTime);
    owner_ok_ = XGetSelectionOwner(dpy_, selection) == owner_;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = root;
    ev.xclient.message_type = XInternAtom(dpy_, "MANAGER", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = CurrentTime;
    ev.xclient.data.l[1] = static_cast<long>(selection);
    ev.xclient.data.l[2] = static_cast<long>(owner_);
    XSendEvent(dpy_, root, False, StructureNotifyMask, &ev);
    XSync(dpy_, False);
    watch_ = loop_.WatchFd(ConnectionNumber(dpy_), [this] { Drain(); });
    Drain();
}

FakeXEmbedTray::~FakeXEmbedTray() {
    if (watch_ != 0) {
        loop_.UnwatchFd(watch_);
    }
    if (dpy_ != nullptr) {
        XCloseDisplay(dpy_);
    }
}

void FakeXEmbedTray::Drain() {
    while (XPending(dpy_) > 0) {
        XEvent ev;
        XNextEvent(dpy_, &ev);
        if (ev.type != ClientMessage || ev.xclient.window != owner_ ||
            ev.xclient.message_type != XInternAtom(dpy_, "_NET_SYSTEM_TRAY_OPCODE", False) ||
            ev.xclient.data.l[1] != 0) {
            continue;
        }
        ++requests_;
        icon_ = static_cast<Window>(ev.xclient.data.l[2]);
        XReparentWindow(dpy_, icon_, container_, 4, 4);
        XResizeWindow(dpy_, icon_, kIconSize, kIconSize);
        XAddToSaveSet(dpy_, icon_);
        // Shown when the icon says so in _XEMBED_INFO.
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        const Atom info = XInternAtom(dpy_, "_XEMBED_INFO", False);
        if (XGetWindowProperty(dpy_, icon_, info, 0, 2, False, info, &type, &format, &count, &after,
                               &data) == Success &&
            data != nullptr && count == 2 && (reinterpret_cast<const long*>(data)[1] & 1) != 0) {
            XMapWindow(dpy_, icon_);
        }
        if (data != nullptr) {
            XFree(data);
        }
        XEvent notify{};
        notify.xclient.type = ClientMessage;
        notify.xclient.window = icon_;
        notify.xclient.message_type = XInternAtom(dpy_, "_XEMBED", False);
        notify.xclient.format = 32;
        notify.xclient.data.l[0] = CurrentTime;
        notify.xclient.data.l[1] = 0; // XEMBED_EMBEDDED_NOTIFY
        notify.xclient.data.l[3] = static_cast<long>(container_);
        XSendEvent(dpy_, icon_, False, NoEventMask, &notify);
        XFlush(dpy_);
    }
}

std::optional<std::uint32_t> FakeXEmbedTray::IconPixel(int x, int y) {
    if (dpy_ == nullptr || icon_ == 0) {
        return std::nullopt;
    }
    XImage* image = XGetImage(dpy_, icon_, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return std::nullopt;
    }
    const auto pixel = static_cast<std::uint32_t>(XGetPixel(image, 0, 0));
    const int depth = image->depth;
    XDestroyImage(image);
    return depth == 32 ? pixel : pixel & 0xFFFFFF;
}

bool WindowViewable(unsigned long window) {
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) {
        return false;
    }
    XErrorHandler old = XSetErrorHandler(IgnoreErrors);
    XWindowAttributes attrs{};
    const bool viewable =
        XGetWindowAttributes(dpy, window, &attrs) != 0 && attrs.map_state == IsViewable;
    XCloseDisplay(dpy);
    XSetErrorHandler(old);
    return viewable;
}

} // namespace shell_test
