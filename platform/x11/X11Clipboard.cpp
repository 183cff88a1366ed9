// The CLIPBOARD selection: served from an unmapped window of this connection
// while we own it, and fetched from its owner with a bounded wait otherwise.

#include "platform/x11/X11Internal.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <chrono>
#include <climits>

namespace kovrin::platform::x11 {
namespace {

constexpr int kWaitMs = 1000;

std::string Latin1ToUtf8(const unsigned char* data, unsigned long n) {
    std::string out;
    for (unsigned long i = 0; i < n; ++i) {
        const unsigned char c = data[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

// Characters beyond Latin-1 become '?'.
std::string Utf8ToLatin1(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int n = c < 0x80         ? 1
                      : (c >> 5) == 6  ? 2
                      : (c >> 4) == 14 ? 3
                      : (c >> 3) == 30 ? 4
                                       : 1;
        std::uint32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (int k = 1; k < n && i + k < s.size(); ++k) {
            cp = cp << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        }
        out.push_back(cp <= 0xFF ? static_cast<char>(cp) : '?');
        i += static_cast<std::size_t>(n);
    }
    return out;
}

} // namespace

Window X11WindowSystem::ClipboardWindow() {
    if (clip_window_ == 0) {
        XSetWindowAttributes attrs{};
        attrs.event_mask = PropertyChangeMask;
        clip_window_ = XCreateWindow(dpy_, root_, -10, -10, 1, 1, 0, CopyFromParent, InputOnly,
                                     CopyFromParent, CWEventMask, &attrs);
    }
    return clip_window_;
}

bool X11WindowSystem::IsClipboardEvent(const XEvent& ev) const {
    return clip_window_ != 0 && ev.xany.window == clip_window_ &&
           (ev.type == SelectionRequest || ev.type == SelectionClear);
}

void X11WindowSystem::SetClipboardText(const std::string& text) {
    clip_text_ = text;
    const Window w = ClipboardWindow();
    XSetSelectionOwner(dpy_, A("CLIPBOARD"), w, CurrentTime);
    clip_owned_ = XGetSelectionOwner(dpy_, A("CLIPBOARD")) == w;
    XFlush(dpy_);
}

void X11WindowSystem::HandleClipboardEvent(XEvent& ev) {
    if (ev.type == SelectionClear) {
        if (ev.xselectionclear.selection == A("CLIPBOARD")) {
            clip_owned_ = false;
        }
        return;
    }
    const XSelectionRequestEvent& r = ev.xselectionrequest;
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = dpy_;
    reply.xselection.requestor = r.requestor;
    reply.xselection.selection = r.selection;
    reply.xselection.target = r.target;
    reply.xselection.time = r.time;
    reply.xselection.property = None;
    // Obsolete clients name no property: the target serves as one.
    const Atom property = r.property != None ? r.property : r.target;
    const Atom utf8 = A("UTF8_STRING");
    const Atom plain = A("text/plain;charset=utf-8");
    if (r.selection == A("CLIPBOARD") && clip_owned_) {
        if (r.target == A("TARGETS")) {
            const Atom targets[] = {A("TARGETS"), utf8, plain, A("TEXT"), XA_STRING};
            XChangeProperty(dpy_, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(targets),
                            static_cast<int>(sizeof targets / sizeof targets[0]));
            reply.xselection.property = property;
        } else if (r.target == utf8 || r.target == plain || r.target == A("TEXT")) {
            XChangeProperty(dpy_, r.requestor, property, r.target == plain ? plain : utf8, 8,
                            PropModeReplace,
                            reinterpret_cast<const unsigned char*>(clip_text_.data()),
                            static_cast<int>(clip_text_.size()));
            reply.xselection.property = property;
        } else if (r.target == XA_STRING) {
            const std::string latin1 = Utf8ToLatin1(clip_text_);
            XChangeProperty(dpy_, r.requestor, property, XA_STRING, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(latin1.data()),
                            static_cast<int>(latin1.size()));
            reply.xselection.property = property;
        }
    }
    XSendEvent(dpy_, r.requestor, False, NoEventMask, &reply);
    XFlush(dpy_);
}

bool X11WindowSystem::ConvertClipboard(Atom target, std::string& out) {
    const Window w = ClipboardWindow();
    const Atom property = A("KOVRIN_CLIPBOARD");
    XDeleteProperty(dpy_, w, property);
    XConvertSelection(dpy_, A("CLIPBOARD"), target, property, w, CurrentTime);
    XFlush(dpy_);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    XEvent ev;
    while (XCheckTypedWindowEvent(dpy_, w, SelectionNotify, &ev) == False) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            return false;
        }
        pollfd pfd{ConnectionNumber(dpy_), POLLIN, 0};
        poll(&pfd, 1, static_cast<int>(std::min<long long>(left, 20)));
    }
    if (ev.xselection.property == None) {
        return false;
    }
    Atom type = 0;
    int format = 0;
    unsigned long n = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(dpy_, w, property, 0, LONG_MAX / 4, True, AnyPropertyType,
                                         &type, &format, &n, &after, &data) == Success;
    bool ok = false;
    // Transfers in pieces (INCR) are not taken: clipboard text here is short.
    if (read && data != nullptr && format == 8 && type != A("INCR")) {
        out = type == XA_STRING ? Latin1ToUtf8(data, n)
                                : std::string(reinterpret_cast<const char*>(data), n);
        ok = true;
    }
    if (data != nullptr) {
        XFree(data);
    }
    return ok;
}

std::string X11WindowSystem::GetClipboardText() {
    const Window owner = XGetSelectionOwner(dpy_, A("CLIPBOARD"));
    if (owner == None) {
        return {};
    }
    if (owner == clip_window_ && clip_owned_) {
        return clip_text_;
    }
    std::string text;
    if (ConvertClipboard(A("UTF8_STRING"), text) || ConvertClipboard(XA_STRING, text)) {
        return text;
    }
    return {};
}

} // namespace kovrin::platform::x11
