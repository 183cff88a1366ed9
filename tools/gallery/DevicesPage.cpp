// The device selector, the battery gauge, the update buttons, the colour
// swatches and the colour wheel.

#include "tessel/controls/colour/CColorButton.h"
#include "tessel/controls/colour/CirclePalette.h"
#include "tessel/controls/devices/BatteryCtrl.h"
#include "tessel/controls/devices/CDeviceCtrl.h"
#include "tessel/controls/devices/UpgradeButton.h"
#include "tessel/controls/standard/MText.h"
#include "tools/gallery/GalleryPages.h"

#include <cstdio>

namespace gallery {
namespace {

constexpr UINT kSelector = 680;
constexpr UINT kBattery = 681;
constexpr UINT kCharging = 682;
constexpr UINT kSoftware = 683;
constexpr UINT kFirmware = 684;
constexpr UINT kDownload = 685;
constexpr UINT kFirstSwatch = 690;
constexpr UINT kFirstDefault = 700;
constexpr UINT kWheel = 710;
constexpr UINT kPicked = 711;
constexpr UINT kPickedText = 712;

// The gauge is a window-level control; on a page it is made directly.
BatteryCtrl* Battery(GalleryPage& page, UINT id, CRect r, int level, int charging) {
    auto* b = new BatteryCtrl(page.Panel(), id, r, 1, 1);
    page.Panel()->AttachChild(0, b);
    b->SetImage("icon\\icon_battery_bkg.png", 1);
    b->SetBatteryIcon("icon\\icon_batteryvalue.png", "icon\\icon_charge.png");
    b->SetTextColor(0xFFE8E9ED);
    b->SetFontWidth(12);
    b->SetBatteryInfo(level, charging);
    return b;
}

} // namespace

void BuildDevicesPage(GalleryPage& page) {
    page.Heading("Device selector", page.At(0, 0, 372, 24));
    if (auto* s = page.Add<CDeviceCtrl>("CDeviceCtrl", kSelector, page.At(0, 40, 372, 200))) {
        s->SetImage("img_device_state.png", 2);
        s->SetFont("Arial", 20, FontStyleBold);
        s->SetTextColor(0xFFFFFFFF);
        s->AddDevice("KOVRIN ARC 87", 0, 0, 101, false);
        s->AddDevice("KOVRIN BOLT 104", 0, 0, 201, false);
        s->AddDevice("KOVRIN BOLT 87 AIR", 0, 0, 202, true);
        s->SetDeviceState(201, DEVICE_PRESENT);
        s->SetDeviceState(101, DEVICE_PRESENT);
    }

    page.Heading("Battery and updates", page.At(420, 0, 400, 24));
    Battery(page, kBattery, page.At(420, 44, 100, 20), 37, 0);
    Battery(page, kCharging, page.At(540, 44, 100, 20), 80, 1);
    if (auto* b = page.Add<UpgradeButton>("UpgradeButton", kSoftware, page.At(420, 84, 200, 38),
                                          "Software update")) {
        b->SetImage("btn_apply.png", 4);
        b->SetUpgradeStatus(1);
    }
    if (auto* b = page.Add<UpgradeButton>("UpgradeButton", kFirmware, page.At(640, 84, 200, 38),
                                          "Firmware update")) {
        b->SetImage("btn_apply.png", 4);
    }
    if (auto* b = page.Add<DownloadButton>("DownloadButton", kDownload, page.At(420, 134, 420, 38),
                                           "Download")) {
        b->SetImage("btn_apply.png", 4);
        b->SetDownloadProcess(60);
    }

    page.Heading("Colour swatches", page.At(0, 260, 400, 24));
    const COLORREF effect[] = {0,
                               RGB(255, 0, 0),
                               RGB(0, 255, 0),
                               RGB(0, 0, 255),
                               RGB(255, 255, 0),
                               RGB(255, 0, 255),
                               RGB(0, 255, 255),
                               RGB(255, 255, 255)};
    for (int i = 0; i < 8; ++i) {
        if (auto* b = page.Add<CColorButton>("CColorButton", kFirstSwatch + static_cast<UINT>(i),
                                             page.At(34 * i, 296, 28, 28))) {
            b->SetGroupName("IDC_LIGHT_STC_COLORS");
            b->SetColor(effect[i]);
            if (i == 0) {
                b->SetImage("btn_colorful.png", 1);
            }
            b->SetControlCheck(i == 1 ? 1 : 0);
        }
    }
    for (int i = 0; i < 9; ++i) {
        if (auto* b = page.Add<CColorButton>("CColorButton", kFirstDefault + static_cast<UINT>(i),
                                             page.At(34 * i, 340, 28, 28))) {
            b->SetGroupName("IDC_LIGHT_STC_DEFAULTCOLOR");
            b->SetColor(i == 0 || i == 8 ? 0 : effect[i]);
            b->SetVisibleBorder(true);
        }
    }
    page.Label("Each row is a group: a press checks one swatch of it.", page.At(0, 380, 400, 24));

    page.Heading("Colour wheel", page.At(420, 260, 300, 24));
    auto* wheel = page.Add<CirclePalette>("CirclePalette", kWheel, page.At(420, 296, 140, 140));
    auto* picked = page.Add<CColorButton>("CColorButton", kPicked, page.At(580, 296, 60, 28));
    auto* text = page.Add<MText>("MText", kPickedText, page.At(580, 332, 200, 24), "");
    if (wheel == nullptr || picked == nullptr) {
        return;
    }
    wheel->SetImage("img_circlepalette.png", 1);
    picked->SetColor(wheel->GetSelectColor());
    picked->SetEnabled(0);
    page.OnNotify(kWheel, [picked, text](UINT code, WPARAM, LPARAM lParam) {
        if (code != CN_COLOR && code != CN_CLICKED) {
            return;
        }
        const auto c = static_cast<COLORREF>(lParam);
        picked->SetColor(c);
        if (text != nullptr) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "#%02X%02X%02X", GetRValue(c), GetGValue(c),
                          GetBValue(c));
            text->SetTitle(hex);
        }
    });
}

} // namespace gallery
