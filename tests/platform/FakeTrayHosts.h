#pragma once
// Test hosts for the tray icon, driven by the test's event loop:
// a StatusNotifierWatcher (with a host, or without) on the session bus, and
// an XEmbed system tray on the X server.

#include "platform/window/EventLoop.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct _XDisplay;
struct sd_bus;
struct sd_bus_message;
struct sd_bus_slot;

namespace shell_test {

// Owns org.kde.StatusNotifierWatcher while it lives.
class FakeWatcher {
public:
    FakeWatcher(kovrin::platform::EventLoop& loop, bool host);
    ~FakeWatcher();
    FakeWatcher(const FakeWatcher&) = delete;
    FakeWatcher& operator=(const FakeWatcher&) = delete;

    bool Ok() const { return ok_; }
    const std::string& Error() const { return error_; }

    // Services offered through RegisterStatusNotifierItem, in order.
    const std::vector<std::string>& Registered() const { return registered_; }
    // Bus names (items among them) that lost their owner since the start.
    bool NameGone(const std::string& name) const { return gone_.count(name) != 0; }

    // A host comes or goes (property and signal).
    void SetHost(bool present);

    // Calls on an item; false when the call failed or timed out.
    bool Call(const std::string& service, const char* method, int x, int y);
    // Reads an item property; null on failure. The caller unrefs the reply,
    // which is positioned inside the variant.
    sd_bus_message* Get(const std::string& service, const char* property);
    std::optional<std::string> GetString(const std::string& service, const char* property);
    std::optional<bool> GetBool(const std::string& service, const char* property);
    struct Pixmap {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> bytes;
    };
    std::optional<std::vector<Pixmap>> GetPixmaps(const std::string& service, const char* property);
    // The ToolTip's title.
    std::optional<std::string> GetToolTipTitle(const std::string& service);

private:
    void Process();
    sd_bus_message* CallAndWait(sd_bus_message* call);

    kovrin::platform::EventLoop& loop_;
    sd_bus* bus_ = nullptr;
    sd_bus_slot* vtable_ = nullptr;
    sd_bus_slot* match_ = nullptr;
    kovrin::platform::EventLoop::WatchId watch_ = 0;
    bool ok_ = false;
    std::string error_;
    bool processing_ = false;

public:
    // Read by the bus callbacks.
    bool host_ = true;
    std::vector<std::string> registered_;
    std::set<std::string> gone_;
};

// Owns _NET_SYSTEM_TRAY_S<screen> while it lives, with a container window
// mapped at (x, y); docks every icon that asks.
class FakeXEmbedTray {
public:
    // argb: announce a 32-bit visual for icons (_NET_SYSTEM_TRAY_VISUAL).
    FakeXEmbedTray(kovrin::platform::EventLoop& loop, int x, int y, bool argb,
                   unsigned long background_rgb);
    ~FakeXEmbedTray(); // the tray quits: its connection closes
    FakeXEmbedTray(const FakeXEmbedTray&) = delete;
    FakeXEmbedTray& operator=(const FakeXEmbedTray&) = delete;

    bool Ok() const { return dpy_ != nullptr && owner_ok_; }
    int DockRequests() const { return requests_; }
    unsigned long Icon() const { return icon_; }
    // Screen position of the docked icon's top-left corner; its size is 24x24.
    int IconX() const { return x_ + 4; }
    int IconY() const { return y_ + 4; }
    static constexpr int kIconSize = 24;

    // The docked icon's pixel, as the server holds it (0xAARRGGBB for a
    // 32-bit icon, 0x00RRGGBB otherwise); nothing when it cannot be read.
    std::optional<std::uint32_t> IconPixel(int x, int y);

private:
    void Drain();

    kovrin::platform::EventLoop& loop_;
    ::_XDisplay* dpy_ = nullptr;
    unsigned long container_ = 0;
    unsigned long owner_ = 0;
    unsigned long icon_ = 0;
    bool owner_ok_ = false;
    int requests_ = 0;
    int x_ = 0;
    int y_ = 0;
    kovrin::platform::EventLoop::WatchId watch_ = 0;
};

// Whether a window on the display is viewable (mapped with mapped parents).
bool WindowViewable(unsigned long window);

} // namespace shell_test
