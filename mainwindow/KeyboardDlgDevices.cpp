// The device side of the main window: the catalogue and the product's
// addresses, the layout and database of the keyboard in use, hot-plug, and
// the device state the worker reports after each opening.

#include "app/DeviceName.h"
#include "app/Language.h"
#include "app/Paths.h"
#include "device/DeviceTask.h"
#include "mainwindow/KeyboardDlg.h"
#include "mainwindow/MainWindowControls.h"
#include "mainwindow/MainWindowTheme.h"
#include "platform/window/EventLoop.h"
#include "store/KeyboardDatabase.h"
#include "tessel/Manager.h"
#include "xml/XmlDocument.h"

#include <cstdio>

namespace kovrin {

using namespace Tessel;

namespace {

bool Wireless(int connection_mode) {
    return connection_mode == 1 || connection_mode == 2;
}

// Page flags of a family B keyboard: the lighting page only over a
// wireless link, every page over the cable.
constexpr std::uint32_t kWirelessPageFlags = 0x44;
constexpr std::uint32_t kCablePageFlags = 0x47;

const char* ModeIconFor(int connection_mode) {
    switch (connection_mode) {
    case 1:
        return "icon\\mode_wireless.png";
    case 2:
        return "icon\\mode_bluetooth.png";
    default:
        return "icon\\mode_usb.png";
    }
}

} // namespace

void KeyboardDlg::ReadCatalogueAndSoftware() {
    XmlDocument doc;
    if (doc.LoadFile(ConfigFilePath()) && doc.FindElement("config") && doc.EnterElement()) {
        ReadCatalogue(doc, catalogue_);
        software_ = ReadSoftwareInfo(doc);
    }
    for (const std::string& problem : catalogue_.problems) {
        std::fprintf(stderr, "kovrin: %s\n", problem.c_str());
    }
    for (const SupportedDevice& device : catalogue_.supported) {
        devices_.AddSupported(device);
    }
    if (device_selector != nullptr) {
        for (const ModelRecord& model : catalogue_.models) {
            device_selector->AddDevice(model.name, 0, 0, model.device_type, false);
        }
    }
    if (version_label != nullptr && !software_.version.empty()) {
        version_label->SetTitle("Ver: " + software_.version);
    }
    if (legal_label != nullptr) {
        legal_label->SetTitle(software_.copyright);
    }
    if (website_button != nullptr) {
        website_button->SetVisible(software_.website.empty() ? 0 : 1);
    }
    if (shop_button != nullptr) {
        shop_button->SetVisible(software_.store.empty() ? 0 : 1);
    }

    // The layout of the start device type, and its model's database.
    const LayoutLoad load = LoadLayout(kStartDeviceType, catalogue_.models, nullptr);
    if (!load.model_name.empty()) {
        SwitchDatabase(load.model_name, load.device_type);
    }
    if (load.loaded) {
        layout_.Set(load.layout);
    } else if (!load.error.empty()) {
        std::fprintf(stderr, "kovrin: %s\n", load.error.c_str());
    }
    const std::shared_ptr<const KeyboardLayout> layout = layout_.Get();
    {
        std::lock_guard lock(device_mutex_);
        device_type_ = layout->device_type;
    }
    shown_.device_type = layout->device_type;
    RefreshKeyViews(*layout);
    ApplyPageFlags(layout->page_flags);
}

void KeyboardDlg::SwitchDatabase(const std::string& model_name, int device_type) {
    EnsureFolder(DatabaseFolder());
    if (!database_.Open(DataFolder(), model_name)) {
        std::fprintf(stderr, "kovrin: cannot open the database of %s: %s\n", model_name.c_str(),
                     database_.LastError().c_str());
    }
    database_.SetDeviceType(device_type);
    const int profile = std::max(1, database_.GetActiveProfile());
    const int light_mode = database_.GetActiveLightMode(profile);
    std::lock_guard lock(device_mutex_);
    selection_ = CommandSelection{};
    selection_.keys.profile = profile;
    selection_.light.profile = profile;
    selection_.light.mode = light_mode;
}

CommandSelection KeyboardDlg::Selection() {
    std::lock_guard lock(device_mutex_);
    return selection_;
}

void KeyboardDlg::StartHotplug() {
    if (!options_.hotplug) {
        return;
    }
    hotplug_ = options_.hotplug([this](HotplugAction action, const std::string& name) {
        DeviceChange change;
        change.name = name;
        SendMessageW(WM_DEVICECHANGE,
                     action == HotplugAction::kArrival ? DBT_DEVICEARRIVAL
                                                       : DBT_DEVICEREMOVECOMPLETE,
                     reinterpret_cast<LPARAM>(&change));
    });
    auto* loop = Manager::Loop();
    if (hotplug_ && hotplug_->Active() && hotplug_->Fd() >= 0 && loop != nullptr) {
        hotplug_watch_ = loop->WatchFd(hotplug_->Fd(), [this] {
            if (hotplug_) {
                hotplug_->Dispatch();
            }
        });
    }
}

void KeyboardDlg::StopHotplug() {
    if (hotplug_watch_ != 0) {
        if (auto* loop = Manager::Loop()) {
            loop->UnwatchFd(hotplug_watch_);
        }
        hotplug_watch_ = 0;
    }
    hotplug_.reset();
}

void KeyboardDlg::RefreshKeyViews(const KeyboardLayout& layout) {
    const struct {
        KeyboardCtrl* view;
        std::uint32_t page;
    } views[] = {
        {key_view, kPageKeys}, {light_view, kPageLighting}, {settings_view, kPageThirdView}};
    for (const auto& v : views) {
        if (v.view == nullptr || !layout.ShowsPage(v.page)) {
            continue;
        }
        v.view->ClearItem();
        if (layout.has_keyboard) {
            const KeyRect r = layout.KeyboardRect();
            v.view->SetRect(CRect(r.left, r.top, r.right, r.bottom));
            v.view->SetKeyboardImage(layout.KeyboardPicturePath());
            v.view->SetWidthAndHeight(layout.keyboard_width, layout.keyboard_height);
        }
        for (const KeyItem& key : layout.keys) {
            v.view->AddKeyItem(key.name, key.desc, static_cast<std::uint32_t>(key.code),
                               CRect(key.rect.left, key.rect.top, key.rect.right, key.rect.bottom),
                               key.icon);
        }
        v.view->Redraw();
    }
    if (firmware_update != nullptr) {
        firmware_update->SetVisible(layout.FirmwareButtonVisible() ? 1 : 0);
    }
}

void KeyboardDlg::ApplyPageFlags(std::uint32_t page_flags) {
    SetTabVisible(1, (page_flags & kPageKeys) != 0);
    SetTabVisible(2, (page_flags & kPageMacros) != 0);
    SetTabVisible(3, (page_flags & kPageLighting) != 0);
}

// Worker thread, after each opening of the devices and before the tasks it
// asks for are queued: the layout and database of the keyboard found are
// made current here, so that those tasks already use them.
void KeyboardDlg::ShowDeviceState(const DiscoveryResult& discovery, const DeviceState& state) {
    std::shared_ptr<const KeyboardLayout> layout = layout_.Get();
    bool changed = false;
    std::string model_name;
    if (discovery.device_present) {
        const ModelRecord* model = nullptr;
        for (std::size_t i : discovery.present_modes) {
            if (i >= catalogue_.modes.size() ||
                catalogue_.modes[i].device_type != state.selected_type) {
                continue;
            }
            const ModelRecord& mode = catalogue_.modes[i];
            for (const ModelRecord& m : catalogue_.models) {
                if (m.device_type == mode.device_type && m.layout_name == mode.layout_name) {
                    model = &m;
                    break;
                }
            }
            if (model != nullptr) {
                break;
            }
        }
        if (model != nullptr) {
            model_name = model->name;
            if (model->device_type != layout->device_type ||
                model->layout_name != layout->layout_name) {
                const LayoutLoad load = LoadModelLayout(*model, layout);
                SwitchDatabase(load.model_name, load.device_type);
                if (load.loaded) {
                    layout = load.layout;
                    changed = true;
                } else {
                    std::fprintf(stderr, "kovrin: %s\n", load.error.c_str());
                }
            }
        }
        if (FamilyOf(state.selected_type) == DeviceFamily::kB) {
            const std::uint32_t flags =
                Wireless(state.connection_mode) ? kWirelessPageFlags : kCablePageFlags;
            if (layout->page_flags != flags) {
                auto copy = std::make_shared<KeyboardLayout>(*layout);
                copy->page_flags = flags;
                layout = std::move(copy);
                changed = true;
            }
        }
        if (changed) {
            layout_.Set(layout);
        }
    }
    {
        std::lock_guard lock(device_mutex_);
        device_type_ = layout->device_type;
        if (!model_name.empty()) {
            model_name_ = model_name;
        }
    }
    PostUi([this, discovery, state, layout, changed, model_name] {
        ShowDeviceStateUi(discovery, state, layout, changed, model_name);
    });
}

void KeyboardDlg::ShowDeviceStateUi(const DiscoveryResult& discovery, const DeviceState& state,
                                    std::shared_ptr<const KeyboardLayout> layout,
                                    bool layout_changed, const std::string& model_name) {
    shown_.applied = true;
    shown_.device_present = discovery.device_present;
    shown_.model_matched = discovery.model_matched;
    shown_.connection_mode = state.connection_mode;
    shown_.device_type = layout->device_type;
    if (!model_name.empty()) {
        shown_.model_name = model_name;
        if (product_label != nullptr) {
            product_label->SetTitle(model_name);
            product_label->UpdateControl(1);
        }
    }
    if (layout_changed) {
        RefreshKeyViews(*layout);
    }
    if (device_selector != nullptr) {
        device_selector->ResetAllState();
        for (int type : discovery.present_device_types) {
            device_selector->SetDeviceState(type, DEVICE_PRESENT);
        }
    }

    CloseOpenPopups();
    if (!discovery.device_present) {
        ShowNoDevice(false);
        return;
    }
    status_text_ = theme::kTextConnected;
    if (status != nullptr) {
        status->SetTitle(GetText(status_text_));
        status->UpdateControl(1);
    }
    const DeviceFamily family = FamilyOf(state.selected_type);
    const bool wireless = Wireless(state.connection_mode);
    if (family == DeviceFamily::kA) {
        for (int i = 1; i < kTabCount; ++i) {
            SetTabVisible(i, true);
        }
    } else if (family == DeviceFamily::kB) {
        ApplyPageFlags(layout->page_flags);
        SetTabVisible(4, true);
        if (firmware_update != nullptr) {
            firmware_update->SetVisible(layout->FirmwareButtonVisible() ? 1 : 0);
        }
    }
    if (wireless && !discovery.model_matched) {
        ShowNoDevice(true);
        return;
    }
    if (device_selector != nullptr) {
        device_selector->SetVisible(1);
    }
    if (mode_icon != nullptr) {
        mode_icon->SetImage(ModeIconFor(state.connection_mode), 1);
        mode_icon->SetVisible(1);
    }
    SetPagesVisible(true);
    SelectTab(family == DeviceFamily::kB && wireless ? 3 : 1);
    GetPaintManager().Invalidate();
}

void KeyboardDlg::ShowNoDevice(bool hide_device_area) {
    status_text_ = theme::kTextNoKeyboard;
    if (status != nullptr) {
        status->SetTitle(GetText(status_text_));
        status->UpdateControl(1);
    }
    SelectTab(0);
    SetPagesVisible(false);
    if (device_selector != nullptr) {
        device_selector->SetVisible(hide_device_area ? 0 : 1);
    }
    if (mode_icon != nullptr) {
        mode_icon->SetVisible(0);
    }
    SetPageHeader(0, nullptr);
    GetPaintManager().Invalidate();
}

} // namespace kovrin
