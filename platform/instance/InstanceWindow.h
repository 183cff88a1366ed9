#pragma once
// Finding and reaching the main window of the running copy.
//
// The main window carries a marker: the X11 property "_KOVRIN_INSTANCE_<name>"
// (type CARDINAL, format 32, value 1) on its top-level window. Another process
// on the same display finds it by walking the top-level windows (and their
// window-manager frames) and then talks to it with client messages (format
// 32) sent to that window:
//   "_KOVRIN_SHOW_WINDOW"    come to the front: un-minimise, show when
//                            hidden, raise and take the focus;
//   "_KOVRIN_WINDOW_MESSAGE" a window message, data.l = {message, wParam,
//                            lParam}, each carried as 32 bits.
// The window layer hands both to the window as events (ShowRequest,
// ForeignMessage); the UI library delivers only the foreign messages the
// window accepts.

#include <cstdint>
#include <string>

namespace kovrin::platform {

class NativeWindow;

// The marker property's name for the instance name.
std::string InstanceMarkerName(const std::string& name);

// On the marked process's side. False when the window is not an X11 window.
bool SetInstanceMarker(NativeWindow& window, const std::string& name);
bool ClearInstanceMarker(NativeWindow& window, const std::string& name);

enum class ReachResult {
    Done,      // the marked window was found and the request sent
    NotFound,  // no window carries the marker (within the wait)
    NoDisplay, // no X display could be opened
};

// From another process. Each call opens its own connection to $DISPLAY.
//
// Waits up to wait_ms for a marked window to appear (the running copy may
// still be starting), asks it to come to the front, and also maps, raises and
// focuses it from here, so that it comes up even when its owner is busy:
// through _NET_ACTIVE_WINDOW when a window manager offers it, else directly.
ReachResult RaiseMarkedWindow(const std::string& name, unsigned wait_ms,
                              std::string* error = nullptr);

// Sends the marked window a window message; it arrives in the window's own
// event loop.
ReachResult SendMarkedWindowMessage(const std::string& name, unsigned message, std::uint32_t wparam,
                                    std::int32_t lparam, std::string* error = nullptr);

// The marked window's id, 0 when there is none or no display.
unsigned long FindMarkedWindow(const std::string& name);

} // namespace kovrin::platform
