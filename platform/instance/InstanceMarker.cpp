#include "platform/instance/InstanceWindow.h"
#include "platform/x11/X11Internal.h"

#include <X11/Xatom.h>

namespace kovrin::platform {

bool SetInstanceMarker(NativeWindow& window, const std::string& name) {
    auto* x = dynamic_cast<x11::X11Window*>(&window);
    if (x == nullptr || !x->Valid()) {
        return false;
    }
    Display* dpy = x->System().Dpy();
    const long one = 1;
    XChangeProperty(dpy, x->Id(), x->System().A(InstanceMarkerName(name).c_str()), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&one), 1);
    XFlush(dpy);
    return true;
}

bool ClearInstanceMarker(NativeWindow& window, const std::string& name) {
    auto* x = dynamic_cast<x11::X11Window*>(&window);
    if (x == nullptr || !x->Valid()) {
        return false;
    }
    Display* dpy = x->System().Dpy();
    XDeleteProperty(dpy, x->Id(), x->System().A(InstanceMarkerName(name).c_str()));
    XFlush(dpy);
    return true;
}

} // namespace kovrin::platform
