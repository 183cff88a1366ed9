// The main window's life: creation, initialisation in its fixed order, and
// the orderly stop that ends the threads before anything they use goes.

#include "mainwindow/KeyboardDlg.h"

#include "app/DeviceName.h"
#include "app/Language.h"
#include "app/Settings.h"
#include "app/SingleInstance.h"
#include "device/DeviceTask.h"
#include "device/HotplugNames.h"
#include "device/SimulatedKeyboard.h"
#include "mainwindow/MainWindowControls.h"
#include "platform/process/Process.h"
#include "platform/window/EventLoop.h"
#include "platform/window/WindowSystem.h"
#include "store/KeyboardDatabase.h"
#include "tessel/Image.h"
#include "tessel/Manager.h"

namespace kovrin {

using namespace Tessel;

KeyboardDlg::KeyboardDlg(KeyboardDlgOptions options)
    : options_(std::move(options)),
      devices_(options_.devices != nullptr ? *options_.devices : DeviceManager::Instance()),
      database_(options_.database != nullptr ? *options_.database : KeyboardDatabase::Instance()),
      clock_(options_.clock != nullptr ? *options_.clock : RealClock::Instance()) {
    if (!options_.exit_process) {
        options_.exit_process = [](int code) { platform::ExitNow(code); };
    }
    if (!options_.open_url) {
        options_.open_url = [](const std::string& url) { return platform::OpenUrl(url); };
    }
}

KeyboardDlg::~KeyboardDlg() {
    StopThreads();
    tray_.Remove();
    *ui_alive_ = false;
    if (GetSafeHwnd() != nullptr) {
        MDialog::DestroyWindow();
    }
    database_.Close();
}

bool KeyboardDlg::CreateMainWindow() {
    return Create(nullptr, DeviceName().c_str(), 0, 0,
                  CRect(0, 0, kMainWindowWidth, kMainWindowHeight)) != nullptr;
}

UINT KeyboardDlg::RunMainWindow() {
    if (!CreateMainWindow()) {
        return 0xFFFFFFFF;
    }
    CenterWindow();
    return ShowModal(SW_SHOW);
}

int KeyboardDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    // Presses on no control drag the window through OnLButtonDown.
    EnableWndDrag(0);

    // The window: the second copy's marker, the tray icon, its own icon.
    const std::string name = DeviceName();
    MarkMainWindow(*this, name);
    if (ImagePtr icon = LoadImageFile(Manager::GetSkinFolder() + "Kovrin.ico")) {
        SetIcon(*icon);
    }
    if (options_.tray) {
        Tray::Callbacks callbacks;
        callbacks.on_activate = [this] {
            SendMessageW(WM_TRAY_NOTIFY, kTrayIconId, kTrayLeftDown);
        };
        callbacks.on_context_menu = [this](int x, int y) {
            tray_point_ = CPoint(x, y);
            SendMessageW(WM_TRAY_NOTIFY, kTrayIconId, kTrayRightUp);
        };
        tray_.Add(name, std::move(callbacks), this);
    }
    // The stored close behaviour (this also makes the settings file).
    if (close_button != nullptr) {
        close_button->SetTooltip(GetText(CloseTooltipText()).c_str());
    }
    ReadCatalogueAndSoftware();
    StartHotplug();

    SetMTimer(10);

    worker_ =
        std::make_unique<Worker>(devices_, database_, layout_, *this, catalogue_.modes, clock_);
    if (options_.run_worker_thread) {
        worker_->Start();
    }
    worker_->Queue(TASK_CHECK_SOFTWARE);
    worker_->Queue(TASK_START);
    return 1;
}

void KeyboardDlg::StopThreads() {
    if (threads_stopped_) {
        return;
    }
    threads_stopped_ = true;
    // The worker posts to the UI thread but never waits for it, so joining
    // it here cannot deadlock.
    if (worker_) {
        worker_->Stop();
    }
    StopHotplug();
}

void KeyboardDlg::DestroyWindow() {
    if (GetSafeHwnd() == nullptr) {
        return;
    }
    StopThreads();
    tray_.Remove();
    *ui_alive_ = false;
    MDialog::DestroyWindow();
}

void KeyboardDlg::PostUi(std::function<void()> f) {
    auto alive = ui_alive_;
    PostToUi([alive, f = std::move(f)] {
        if (*alive) {
            f();
        }
    });
}

void KeyboardDlg::SetWindowEnabled(bool enabled) {
    PostUi([this, enabled] {
        if (!enabled) {
            EnableWindow(false);
            return;
        }
        // A modal window over this one enables it when it closes.
        for (MWindow* w : Manager::FindWindows(GetWindowClassName())) {
            if (w != this && w->GetParentHwnd() == this && w->InModalLoop()) {
                return;
            }
        }
        EnableWindow(true);
    });
}

bool KeyboardDlg::SimulatePlug(bool plugged) {
    const std::shared_ptr<SimulatedKeyboard>& keyboard = options_.simulated;
    if (!keyboard) {
        return false;
    }
    if (plugged) {
        keyboard->Replug();
    } else {
        keyboard->Unplug();
    }
    // Reported as the system reports a hidraw node of the command interface.
    const SimulatedKeyboardDescription& board = keyboard->Description();
    int interface_number = -1;
    for (const SimulatedInterface& i : board.interfaces) {
        HidInterfaceInfo info;
        info.usages = i.usages;
        info.interface_number = i.number;
        if (IsCommandCollection(info) && !IsAuxCollection(info)) {
            interface_number = i.number;
            break;
        }
    }
    DeviceChange change;
    change.name = InterfaceName(HidIdentity{0x0003, board.vendor_id, board.product_id},
                                interface_number, board.serial);
    SendMessageW(WM_DEVICECHANGE, plugged ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                 reinterpret_cast<LPARAM>(&change));
    return true;
}

} // namespace kovrin
