#pragma once
// The main window and the program's controller: it builds the frame, the tab
// bar and the five pages, lays them out, receives every window message and
// control notification, keeps the tray icon and the device state, and owns
// the background worker, whose calls it turns into work on the UI thread.

#include "app/ProductConfig.h"
#include "app/Tray.h"
#include "app/Worker.h"
#include "app/WorkerHost.h"
#include "device/Catalogue.h"
#include "device/HotplugMonitor.h"
#include "device/LayoutLoader.h"
#include "mainwindow/KeyboardDef.h"
#include "tessel/MDialog.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kovrin {

class SimulatedKeyboard;

// Window messages of the program.
inline constexpr Tessel::UINT WM_KEYHOOK_EVENT = 1654;
inline constexpr Tessel::UINT WM_TRAY_NOTIFY = 1690;
inline constexpr Tessel::UINT WM_KEY_ACTION = 1092;
inline constexpr Tessel::UINT WM_KEY_MENU_COMMAND = 1825;
inline constexpr Tessel::UINT WM_PROFILE_MENU_COMMAND = 1826;
inline constexpr Tessel::UINT WM_MACRO_MENU_COMMAND = 1827;
inline constexpr Tessel::UINT WM_RELOAD_TEXTS = 2022;
inline constexpr Tessel::UINT WM_INPUT = 0x00FF;

// WM_DEVICECHANGE: wParam says what happened, lParam points to a DeviceChange.
inline constexpr Tessel::WPARAM DBT_DEVICEARRIVAL = 0x8000;
inline constexpr Tessel::WPARAM DBT_DEVICEREMOVECOMPLETE = 0x8004;
inline constexpr int DBT_DEVTYP_DEVICEINTERFACE = 5;
struct DeviceChange {
    int device_type = DBT_DEVTYP_DEVICEINTERFACE;
    std::string name; // the interface name
};

// Tray menu commands (WM_COMMAND, lParam = the item id) and the tray icon id.
inline constexpr Tessel::UINT ID_TRAY_EXIT = 100;
inline constexpr Tessel::UINT ID_TRAY_SETTINGS = 200;
inline constexpr Tessel::WPARAM kTrayIconId = 109;
// WM_TRAY_NOTIFY lParam values.
inline constexpr Tessel::LPARAM kTrayLeftDown = 0x0201;
inline constexpr Tessel::LPARAM kTrayLeftDouble = 0x0203;
inline constexpr Tessel::LPARAM kTrayRightUp = 0x0205;

// The close behaviour stored as exit_mode.
inline constexpr int kExitModeNotChosen = 0;
inline constexpr int kExitModeHide = 1;
inline constexpr int kExitModeQuit = 2;

inline constexpr int kMainWindowWidth = 1280;
inline constexpr int kMainWindowHeight = 720;
// The product label until a keyboard model is identified.
inline constexpr const char* kDefaultProductLabel = "Z900X-LITE";

// What the controller needs from the rest of the process; the defaults are
// the process-wide ones. Tests give their own.
struct KeyboardDlgOptions {
    DeviceManager* devices = nullptr;     // DeviceManager::Instance()
    KeyboardDatabase* database = nullptr; // KeyboardDatabase::Instance()
    Clock* clock = nullptr;               // the real clock
    bool run_worker_thread = true;        // false: the caller runs worker cycles
    bool tray = true;
    // Builds the hot-plug monitor (default: the system's udev events); null
    // result or function: no hot-plug.
    std::function<std::unique_ptr<HotplugMonitor>(HotplugMonitor::Callback)> hotplug =
        [](HotplugMonitor::Callback callback) {
            return HotplugMonitor::Start(std::move(callback));
        };
    // The keyboard of --simulate, which SimulatePlug unplugs and plugs.
    std::shared_ptr<SimulatedKeyboard> simulated;
    // Ends the process at once (default: the tray icon is gone already, then _exit).
    std::function<void(int code)> exit_process;
    // Opens a web address in the user's browser (default: xdg-open).
    std::function<bool(const std::string& url)> open_url;
};

// What the window shows of the device state, for tests and tools.
struct ShownDeviceState {
    bool applied = false; // a device state has been shown
    bool device_present = false;
    bool model_matched = false;
    int connection_mode = -1;
    int device_type = kStartDeviceType; // of the loaded layout
    std::string model_name;             // identified model; empty until then
};

class KeyboardDlg : public Tessel::MDialog, public KeyboardDef, public WorkerHost {
public:
    explicit KeyboardDlg(KeyboardDlgOptions options = {});
    ~KeyboardDlg() override;

    // Creates the borderless 1280 x 720 window titled with the device name,
    // centres it and runs it modally; the modal loop's result.
    Tessel::UINT RunMainWindow();
    // Creates the window only (the caller shows it).
    bool CreateMainWindow();

    // ---- Tessel::MDialog ----
    Tessel::LRESULT OnWindowMessage(Tessel::UINT msg, Tessel::WPARAM wParam,
                                    Tessel::LPARAM lParam) override;
    int OnInitDialog() override;
    void InitUI(Tessel::CRect client) override;
    void UISize(Tessel::CRect client) override;
    Tessel::LRESULT OnMessage(Tessel::UINT id, Tessel::UINT code, Tessel::WPARAM wParam,
                              Tessel::LPARAM lParam) override;
    Tessel::LRESULT OnLButtonDown(Tessel::UINT flags, Tessel::CPoint pt) override;
    void OnTimer(Tessel::UINT id) override { (void)id; }
    void DestroyWindow() override;

    // ---- WorkerHost (worker thread) ----
    CommandSelection Selection() override;
    void SetWindowEnabled(bool enabled) override;
    void ShowDeviceState(const DiscoveryResult& discovery, const DeviceState& state) override;
    void StartVisualizer() override {}
    void ReloadMacroPage() override {}
    void ReloadProfileList() override {}
    void ReloadKeyPage() override {}
    void ReloadLightingPage(LightingReload how) override { (void)how; }
    void ReloadMusicLayers() override {}

    // ---- Controller operations (UI thread) ----
    // Posts WM_CLOSE to this process's open pop-ups and hides its tips and drop-downs.
    static void CloseOpenPopups();
    // Every control text again, in the current language.
    void ReloadTexts();
    // The close button: exit, hide to the tray or minimise, by exit_mode.
    void CloseButton();
    // Removes the tray icon and ends the process with the code.
    void QuitProgram(int code = 0);
    // Shows and raises the window (tray left click).
    void ShowFromTray();
    // The tray's menu at a screen point.
    void OpenTrayMenu(int x, int y);
    // Unplugs (false) or plugs (true) the simulated keyboard and reports it
    // as hot-plug does; false without a simulated keyboard.
    bool SimulatePlug(bool plugged);

    // ---- State (UI thread) ----
    Worker* GetWorker() const { return worker_.get(); }
    Tray& GetTray() { return tray_; }
    const ShownDeviceState& Shown() const { return shown_; }
    // Index of the selected tab (0 to 4), -1 before the bar exists.
    int SelectedTab() const { return selected_tab_; }
    int SelectedTabId() const;
    const Catalogue& GetCatalogue() const { return catalogue_; }
    const SoftwareInfo& Software() const { return software_; }
    std::shared_ptr<const KeyboardLayout> Layout() const { return layout_.Get(); }
    // The close button's tooltip for the stored close behaviour.
    static int CloseTooltipText();

    // The music lighting choices the controller keeps.
    struct MusicSettings {
        int effect = 1;
        int colour = 0;
        float gain = 1.0f;
        int interval_ms = 33; // capture interval
    };
    const MusicSettings& Music() const { return music_; }

private:
    // Init (KeyboardDlgInit.cpp).
    void InitFrame();
    void InitTabs();
    void InitHomePage();
    void InitKeyPage();
    void InitMacroPage();
    void InitLightPage();
    void InitSettingsPage();
    void InitLanguageList();
    // Layout (KeyboardDlgLayout.cpp).
    void LayoutFrame(int w, int h);
    void LayoutHomePage(int w, int h);
    void LayoutKeyPage(int w, int h);
    void LayoutLightPage(int w, int h);
    void LayoutMacroPage(int w, int h);
    void LayoutSettingsPage(int w, int h);
    // Messages (KeyboardDlgMessages.cpp).
    void OnTabChanged();
    void OnDeviceSelected();
    void OnLanguageChosen();
    void OnDeviceChange(Tessel::WPARAM event, const DeviceChange* change);
    void OnTrayNotify(Tessel::LPARAM mouse);
    void OpenAddress(const std::string& url);
    void SetPageHeader(int text, const char* icon);
    // Devices (KeyboardDlgDevices.cpp).
    void ReadCatalogueAndSoftware();
    void StartHotplug();
    void StopHotplug();
    void SwitchDatabase(const std::string& model_name, int device_type);
    void RefreshKeyViews(const KeyboardLayout& layout);
    void ApplyPageFlags(std::uint32_t page_flags);
    void ShowDeviceStateUi(const DiscoveryResult& discovery, const DeviceState& state,
                           std::shared_ptr<const KeyboardLayout> layout, bool layout_changed,
                           const std::string& model_name);
    void ShowNoDevice(bool hide_device_area);
    void SelectTab(int index);
    void SetTabVisible(int index, bool visible);
    void SetPagesVisible(bool visible);
    // Runs f on the UI thread, unless the window has gone by then.
    void PostUi(std::function<void()> f);
    void StopThreads();

    KeyboardDlgOptions options_;
    DeviceManager& devices_;
    KeyboardDatabase& database_;
    Clock& clock_;

    Catalogue catalogue_;
    SoftwareInfo software_;
    SharedLayout layout_;
    std::unique_ptr<Worker> worker_;
    std::unique_ptr<HotplugMonitor> hotplug_;
    std::uint64_t hotplug_watch_ = 0;
    Tray tray_;

    // Cleared on the UI thread when the window goes; posted work checks it.
    std::shared_ptr<bool> ui_alive_ = std::make_shared<bool>(true);

    // Worker thread: the device type and model whose layout and database are
    // loaded.
    std::mutex device_mutex_; // guards device_type_, model_name_ and selection_
    int device_type_ = kStartDeviceType;
    std::string model_name_;
    CommandSelection selection_;

    // UI thread.
    ShownDeviceState shown_;
    MusicSettings music_;
    Tessel::CPoint tray_point_;
    int status_text_ = 61;
    int selected_tab_ = -1;
    int page_title_text_ = 0;
    std::string page_icon_;
    bool threads_stopped_ = false;
};

} // namespace kovrin
