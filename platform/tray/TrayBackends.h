#pragma once
// The two tray hosts behind TrayIcon. Each reports clicks and changes of its
// state through sinks that TrayIcon turns into posted closures.

#include "platform/tray/TrayIcon.h"

#include <functional>
#include <memory>
#include <string>

namespace kovrin::platform::tray {

enum class TrayEvent { Activate, SecondaryActivate, ContextMenu };
using EventSink = std::function<void(TrayEvent event, int x, int y)>;
using StateSink = std::function<void()>;

// A StatusNotifierItem on the session bus ("org.kde.StatusNotifierItem-<pid>-<n>",
// object /StatusNotifierItem), registered with org.kde.StatusNotifierWatcher
// and registered again whenever a watcher takes that name.
class StatusNotifierItem {
public:
    // Null (with the reason) when the session bus cannot be reached.
    static std::unique_ptr<StatusNotifierItem> Create(EventLoop& loop, const TrayOptions& options,
                                                      EventSink events, StateSink state,
                                                      std::string* error);
    virtual ~StatusNotifierItem() = default;

    // The watcher has answered the last registration and said whether a host
    // shows items (or there is no watcher).
    virtual bool Settled() const = 0;
    // Registered with a watcher that reports a host.
    virtual bool Shown() const = 0;
    // The bus connection failed; the item is gone.
    virtual bool Broken() const = 0;
    virtual std::string ServiceName() const = 0;
    virtual void SetToolTip(const std::string& text) = 0;
    virtual void SetIcon(const IconImage& icon) = 0;
};

// An icon window docked into the XEmbed system tray on a connection of its own.
class XEmbedIcon {
public:
    // Null (with the reason) when no display can be opened.
    static std::unique_ptr<XEmbedIcon> Create(EventLoop& loop, const TrayOptions& options,
                                              EventSink events, StateSink state,
                                              std::string* error);
    virtual ~XEmbedIcon() = default;

    virtual bool Docked() const = 0;
    virtual unsigned long Window() const = 0;
    virtual void SetToolTip(const std::string& text) = 0;
    virtual void SetIcon(const IconImage& icon) = 0;
};

// The icon scaled to size x size (centred, aspect kept), premultiplied ARGB.
std::vector<std::uint32_t> ScaledPremultiplied(const IconImage& icon, int width, int height);

} // namespace kovrin::platform::tray
