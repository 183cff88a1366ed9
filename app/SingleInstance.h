#pragma once
// One running copy of the program per device name and user.
//
// At start-up the entry point takes the lock named by the device name. A
// second copy finds the first copy's main window by its marker, brings it to
// the front (un-minimised, shown even when hidden to the tray, raised and
// focused) and ends with result 0. The lock goes with the process however it
// ends; two products with different device names run side by side.

#include "platform/instance/InstanceWindow.h"

#include <memory>
#include <string>

namespace Tessel {
class MWindow;
}

namespace kovrin {

namespace platform {
class InstanceLock;
}

// The window message another process sends to end the program, and the
// lParam that makes it count; the main window ignores other values.
inline constexpr unsigned WM_QUIT_REQUEST = 1691;
inline constexpr long kQuitRequestCode = 610;

inline bool IsQuitRequest(unsigned message, long lparam) {
    return message == WM_QUIT_REQUEST && lparam == kQuitRequestCode;
}

class SingleInstance {
public:
    explicit SingleInstance(const std::string& device_name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another copy holds the lock. True also when the lock could
    // not be taken at all (no usable folder): the program then runs
    // unguarded rather than not at all; LockError tells why.
    bool IsFirst() const;
    const std::string& LockError() const;

    // Second copy: brings the first copy's main window to the front, waiting
    // up to wait_ms for it to appear (the first copy may still be starting).
    // False when no marked window was found or there is no display.
    bool RaiseFirst(unsigned wait_ms = 1000) const;

private:
    std::string name_;
    std::unique_ptr<platform::InstanceLock> lock_;
};

// The main window, during its initialisation: marks it for the second copy's
// search and lets the quit request in from other processes. False when the
// window has no X11 window (headless sessions).
bool MarkMainWindow(Tessel::MWindow& window, const std::string& device_name);

} // namespace kovrin
