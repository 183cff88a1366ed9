#pragma once
// The program's icon in the desktop's notification area.
//
// Two hosts are served: a StatusNotifierItem on the D-Bus session bus (taken
// when a StatusNotifierWatcher accepts it and reports a host), and otherwise
// the XEmbed system tray of $DISPLAY (the _NET_SYSTEM_TRAY_S<screen>
// selection owner). Hosts may come and go while the program runs; the icon
// follows them, shown by at most one at a time. With no host at all the icon
// waits unseen and Available() is false.
//
// Everything runs on the thread of the event loop given: the bus and the X
// connection are watched by the loop, and the callbacks run from posted
// closures, never inside the bus or X processing (so a callback may run a
// nested loop, e.g. a pop-up menu). The loop must run on the real clock: a
// virtual-clock loop does not wait on descriptors while it has timers.

#include "platform/window/WindowTypes.h"

#include <functional>
#include <memory>
#include <string>

namespace kovrin::platform {

class EventLoop;

struct TrayCallbacks {
    // Screen coordinates of the click, or what the host reports.
    std::function<void(int x, int y)> activate;           // left click
    std::function<void(int x, int y)> secondary_activate; // middle click
    std::function<void(int x, int y)> context_menu;       // right click
};

struct TrayOptions {
    std::string id;              // the application's stable id
    std::string title;           // its name
    std::string tooltip;         // shown on hover where the host shows tips
    IconImage icon;              // straight ARGB; empty leaves the icon without a picture
    unsigned long window_id = 0; // the main window, for hosts that use it
    bool use_status_notifier = true;
    bool use_xembed = true;
};

enum class TrayHost { None, StatusNotifier, XEmbed };

class TrayIcon {
public:
    TrayIcon(EventLoop& loop, TrayOptions options, TrayCallbacks callbacks);
    ~TrayIcon(); // removes the icon
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // A host shows the icon now.
    bool Available() const;
    TrayHost Host() const;

    void SetToolTip(const std::string& text);
    void SetIcon(const IconImage& icon);

    // Withdraws the icon from every host and stops following them. Final.
    void Remove();
    bool Removed() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace kovrin::platform
