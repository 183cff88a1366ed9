// Window messages and control notifications of the main window.

#include "app/DeviceName.h"
#include "app/Language.h"
#include "app/Settings.h"
#include "app/SingleInstance.h"
#include "device/DeviceTask.h"
#include "mainwindow/KeyboardDlg.h"
#include "mainwindow/MainWindowControls.h"
#include "mainwindow/MainWindowTheme.h"
#include "platform/window/WindowSystem.h"
#include "tessel/Manager.h"
#include "tessel/menus/MenuWnd.h"

#include <string>

namespace kovrin {

using namespace Tessel;

namespace {

// Title text and icon of each page, by tab item id.
struct PageHeader {
    UINT tab;
    int text;
    const char* icon;
};
constexpr PageHeader kPageHeaders[] = {
    {kTabKeys, 51, "icon\\icon_keyboard.png"},
    {kTabMacros, 52, "icon\\icon_macro.png"},
    {kTabLighting, 53, "icon\\icon_lightmode.png"},
    {kTabSettings, 56, "icon\\icon_config.png"},
};

// Windows of this process that CloseOpenPopups closes, with the WM_CLOSE
// wParam each gets, and those it hides.
struct PopupTitle {
    const char* title;
    WPARAM close_param;
};
constexpr PopupTitle kClosedPopups[] = {{"CloseWindowTipDlg", 0},
                                        {"CustomKeyDlg", 0},
                                        {"MessageBox", 2},
                                        {"WaitDlg", 0},
                                        {"Menu Window", 0}};
constexpr const char* kHiddenPopups[] = {"KeyboardTip Window", "ComboWnd"};

} // namespace

LRESULT KeyboardDlg::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DEVICECHANGE:
        OnDeviceChange(wParam, reinterpret_cast<const DeviceChange*>(lParam));
        return 0;
    case WM_TRAY_NOTIFY:
        OnTrayNotify(lParam);
        return 0;
    case WM_QUIT_REQUEST:
        if (IsQuitRequest(msg, static_cast<long>(lParam))) {
            QuitProgram(0);
        }
        return 0;
    case WM_RELOAD_TEXTS:
        ReloadTexts();
        UISize(GetClientRect());
        break;
    case WM_COMMAND:
        if (lParam == static_cast<LPARAM>(ID_TRAY_EXIT)) {
            QuitProgram(0);
        } else if (lParam == static_cast<LPARAM>(ID_TRAY_SETTINGS)) {
            CloseOpenPopups();
            // The close-behaviour question itself comes with the settings page.
            if (close_button != nullptr) {
                close_button->SetTooltip(GetText(CloseTooltipText()).c_str());
            }
        }
        break;
    default:
        break;
    }
    return MDialog::OnWindowMessage(msg, wParam, lParam);
}

LRESULT KeyboardDlg::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    (void)lParam;
    if (id == ids::kTabs) {
        if (code != CN_CLICKED) {
            return 0;
        }
        OnTabChanged();
        return 1;
    }
    if (id == ids::kDeviceSelector) {
        if (code != CN_PRESSED) {
            return 0;
        }
        OnDeviceSelected();
        return 1;
    }
    if (code != CN_CLICKED) {
        return 0;
    }
    switch (id) {
    case ids::kClose:
        CloseButton();
        return 1;
    case ids::kMinimize:
        CloseOpenPopups();
        OnMinimize();
        return 1;
    case ids::kNothing43:
    case ids::kEffectApply:
    case ids::kInsertButton:
    case ids::kNothing225:
        return 1;
    case ids::kWebsite:
        OpenAddress(software_.website);
        return 1;
    case ids::kShop:
        OpenAddress(software_.store);
        return 1;
    case 135:
        if (music_combos[2] != nullptr) {
            music_.effect = static_cast<int>(music_combos[2]->GetCurData());
        }
        return 1;
    case 137:
        if (music_sliders[2] != nullptr) {
            music_.gain = static_cast<float>(music_sliders[2]->GetProgress()) / 50.0f;
        }
        return 1;
    case 139:
        if (music_combos[3] != nullptr) {
            if (const long interval = music_combos[3]->GetCurData(); interval != 0) {
                music_.interval_ms = static_cast<int>(interval);
            }
        }
        return 1;
    case ids::kLanguage:
        OnLanguageChosen();
        return 1;
    default:
        break;
    }
    if (id >= ids::kMusicColourFirst && id < ids::kMusicColourFirst + 7) {
        music_.colour = static_cast<int>(id - ids::kMusicColourFirst);
        return 1;
    }
    return 0;
}

LRESULT KeyboardDlg::OnLButtonDown(UINT flags, CPoint pt) {
    // A press on no control drags the borderless window.
    for (MControl* c : GetControls()) {
        if (c->IsVisible() && c->GetRresponse() && c->PtInRect(pt) &&
            c->OnCheckMouseResponse(flags, pt) != 0) {
            return 0;
        }
    }
    ReleaseCapture();
    SendMessageW(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
    return 0;
}

void KeyboardDlg::SetPageHeader(int text, const char* icon) {
    page_title_text_ = text;
    page_icon_ = icon != nullptr ? icon : "";
    if (page_title != nullptr) {
        page_title->SetTitle(text != 0 ? GetText(text) : std::string());
        page_title->UpdateControl(1);
    }
    if (page_icon != nullptr) {
        if (!page_icon_.empty()) {
            page_icon->SetImage(page_icon_.c_str(), 1);
        }
        page_icon->SetVisible(page_icon_.empty() ? 0 : 1);
    }
}

void KeyboardDlg::OnTabChanged() {
    if (tabs == nullptr) {
        return;
    }
    selected_tab_ = tabs->GetSelectItem();
    const UINT item = tabs->GetItemID(selected_tab_);
    if (item == kTabHome) {
        SetPageHeader(0, nullptr);
        SetPagesVisible(false);
        return;
    }
    for (const PageHeader& h : kPageHeaders) {
        if (h.tab == item) {
            SetPageHeader(h.text, h.icon);
            SetPagesVisible(true);
            return;
        }
    }
}

void KeyboardDlg::SetPagesVisible(bool visible) {
    for (MControl* c : {static_cast<MControl*>(tabs), static_cast<MControl*>(tab_back),
                        static_cast<MControl*>(page_back)}) {
        if (c != nullptr) {
            c->SetVisible(visible ? 1 : 0);
        }
    }
    if (!visible) {
        for (std::size_t i = 1; i < pages.size(); ++i) {
            if (pages[i] != nullptr) {
                pages[i]->SetVisible(0);
            }
        }
    }
    GetPaintManager().Invalidate();
}

int KeyboardDlg::SelectedTabId() const {
    return tabs != nullptr && selected_tab_ >= 0 ? static_cast<int>(tabs->GetItemID(selected_tab_))
                                                 : -1;
}

void KeyboardDlg::SelectTab(int index) {
    if (tabs == nullptr) {
        return;
    }
    if (tabs->GetSelectItem() == index) {
        // Selecting the selected tab sends nothing: apply it here.
        OnTabChanged();
        tabs->RefreshItems();
    } else {
        tabs->SetSelectItem(index);
    }
}

void KeyboardDlg::SetTabVisible(int index, bool visible) {
    if (tabs != nullptr) {
        tabs->SetItemVisible(index, visible ? 1 : 0);
    }
}

void KeyboardDlg::OnDeviceSelected() {
    if (device_selector == nullptr) {
        return;
    }
    SetPagesVisible(true);
    int device_type = 0;
    {
        std::lock_guard lock(device_mutex_);
        device_type = device_type_;
    }
    const bool wireless = shown_.connection_mode == 1 || shown_.connection_mode == 2;
    const DeviceFamily family = FamilyOf(device_type);
    SelectTab(family == DeviceFamily::kB && wireless ? 3 : 1);
    const int picked = device_selector->GetCurDeviceType();
    if (picked != 0 && picked != device_type && worker_) {
        worker_->Queue(TASK_REFRESH);
    }
}

void KeyboardDlg::OnLanguageChosen() {
    if (language == nullptr) {
        return;
    }
    const long lcid = language->GetCurData();
    if (lcid <= 0) {
        return;
    }
    SetLanguageId(static_cast<int>(lcid));
    RegWriteString("LCID", std::to_string(lcid));
    ReloadTexts();
}

void KeyboardDlg::OnDeviceChange(WPARAM event, const DeviceChange* change) {
    if (change == nullptr || change->device_type != DBT_DEVTYP_DEVICEINTERFACE || !worker_) {
        return;
    }
    if (event == DBT_DEVICEARRIVAL) {
        worker_->OnHotplug(HotplugAction::kArrival, change->name);
    } else if (event == DBT_DEVICEREMOVECOMPLETE) {
        worker_->OnHotplug(HotplugAction::kRemoval, change->name);
    }
}

void KeyboardDlg::OnTrayNotify(LPARAM mouse) {
    if (mouse == kTrayLeftDown || mouse == kTrayLeftDouble) {
        ShowFromTray();
    } else if (mouse == kTrayRightUp) {
        OpenTrayMenu(tray_point_.x, tray_point_.y);
    }
}

void KeyboardDlg::ShowFromTray() {
    ShowWindow(SW_SHOWNORMAL);
    BringToTop();
    GetPaintManager().Invalidate();
}

void KeyboardDlg::OpenTrayMenu(int x, int y) {
    auto* menu = new MenuWnd(this);
    if (!menu->Create(this, CPoint(x, y), WM_COMMAND, "", 30, 200, BACK_MODE_FRAME)) {
        return;
    }
    menu->AddMenu(GetText(theme::kTextTrayMenuSettings), ID_TRAY_SETTINGS);
    menu->AddMenu(GetText(theme::kTextTrayMenuExit), ID_TRAY_EXIT);
    menu->ShowModal();
}

int KeyboardDlg::CloseTooltipText() {
    return RegReadInt("exit_mode") == kExitModeQuit ? theme::kTextCloseQuits
                                                    : theme::kTextCloseHides;
}

void KeyboardDlg::CloseButton() {
    const int mode = RegReadInt("exit_mode");
    // Until the close-behaviour question exists, "not chosen" hides when
    // the window can be found again in the tray, and quits otherwise.
    const bool hide = mode == kExitModeHide || (mode == kExitModeNotChosen && tray_.Available());
    if (!hide) {
        QuitProgram(0);
        return;
    }
    CloseOpenPopups();
    // Without a tray host a hidden window could not be found again.
    ShowWindow(tray_.Available() ? SW_HIDE : SW_MINIMIZE);
}

void KeyboardDlg::QuitProgram(int code) {
    tray_.Remove();
    if (options_.exit_process) {
        options_.exit_process(code);
    }
}

void KeyboardDlg::OpenAddress(const std::string& url) {
    if (!url.empty() && options_.open_url) {
        options_.open_url(url);
    }
}

void KeyboardDlg::CloseOpenPopups() {
    for (const PopupTitle& p : kClosedPopups) {
        const std::string title = p.title;
        for (MWindow* w : Manager::FindWindows("LumoClient", &title)) {
            w->PostMessageW(WM_CLOSE, p.close_param, 0);
        }
    }
    for (const char* t : kHiddenPopups) {
        const std::string title = t;
        for (MWindow* w : Manager::FindWindows("LumoClient", &title)) {
            w->ShowWindow(SW_HIDE);
        }
    }
}

} // namespace kovrin
