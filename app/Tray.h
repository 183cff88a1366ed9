#pragma once
// The program's tray icon: the device name as its tip, the skin's
// "Kovrin.ico" as its picture. A left click asks for the main window, a right
// click for the program's own tray menu at the click. Every quit path calls
// Remove before the process ends.

#include "platform/window/WindowTypes.h"

#include <functional>
#include <memory>
#include <string>

namespace Tessel {
class MWindow;
}

namespace kovrin {

namespace platform {
class TrayIcon;
}

class Tray {
public:
    struct Callbacks {
        std::function<void()> on_activate;                 // show and raise the window
        std::function<void(int x, int y)> on_context_menu; // open the tray menu there
    };

    Tray();
    ~Tray(); // removes the icon
    Tray(const Tray&) = delete;
    Tray& operator=(const Tray&) = delete;

    // UI thread, after the UI loop exists. Adds the icon with the picture
    // from the skin folder (none when the file is missing or unreadable).
    // window: the main window, named to hosts that use it; may be null.
    // False when there is no UI loop or the icon is shown already.
    bool Add(const std::string& device_name, Callbacks callbacks,
             const Tessel::MWindow* window = nullptr);
    // The same with a picture given (straight ARGB).
    bool Add(const std::string& device_name, const platform::IconImage& icon, Callbacks callbacks,
             const Tessel::MWindow* window = nullptr);

    // Added and not removed yet.
    bool Shown() const;
    // A tray host shows the icon now; when false the main window should
    // minimise rather than hide, so that it can always be found again.
    bool Available() const;
    void Remove();

    // The tip for the device name: at most 256 characters (UTF-16 units).
    static std::string ToolTipFor(const std::string& device_name);
    // "Kovrin.ico" in the skin folder as straight ARGB; empty when missing.
    static platform::IconImage LoadSkinIcon();
    static platform::IconImage LoadIcon(const std::string& path);

private:
    std::unique_ptr<platform::TrayIcon> icon_;
};

} // namespace kovrin
