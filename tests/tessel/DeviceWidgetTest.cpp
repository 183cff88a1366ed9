// The device selector, the battery gauge and the update buttons.

#include "WidgetSupport.h"

#include "tessel/controls/devices/BatteryCtrl.h"
#include "tessel/controls/devices/CDeviceCtrl.h"
#include "tessel/controls/devices/UpgradeButton.h"

#include <gtest/gtest.h>

using namespace tessel_test;

namespace {

class DeviceWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dlg.Open(640, 480));
        dlg.ShowWindow(SW_SHOW);
    }
    void TearDown() override { dlg.DestroyWindow(); }
    std::uint32_t Background() { return ui.Rgb(dlg, 630, 470); }

    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
    TestDialog dlg;
};

class DeviceSelectorTest : public DeviceWidgetTest {
protected:
    void SetUp() override {
        DeviceWidgetTest::SetUp();
        selector = dynamic_cast<CDeviceCtrl*>(
            dlg.CreateControl("CDeviceCtrl", 56, CRect(100, 60, 472, 322), "", 1, 1));
        ASSERT_NE(selector, nullptr);
        selector->SetFont("Arial", 20, FontStyleBold);
        selector->SetTextColor(0xFFFFFFFF);
        ASSERT_EQ(selector->SetImage("img_device_state.png", 2), 1);
        selector->AddDevice("Arc 87", 0, 0, 101, false);
        selector->AddDevice("Bolt 104", 0, 0, 201, false);
        selector->AddDevice("Bolt 87 Air", 0, 0, 202, false);
        ui.Pump();
    }
    CDeviceCtrl* selector = nullptr;
};

TEST_F(DeviceSelectorTest, ShowsThePresentModelsAsRowsAndReportsThePressedOne) {
    EXPECT_EQ(selector->GetConnectCount(), 0);
    EXPECT_EQ(selector->GetCurDeviceType(), 0);
    ui.Pump();
    EXPECT_EQ(ui.Rgb(dlg, 110, 80), Background()); // nothing drawn yet
    selector->SetDeviceState(201, DEVICE_PRESENT);
    selector->SetDeviceState(202, DEVICE_PRESENT);
    ui.Pump();
    EXPECT_EQ(selector->GetConnectCount(), 2);
    EXPECT_EQ(selector->GetCurDeviceType(), 202);
    const auto rows = selector->GetDevices();
    EXPECT_EQ(rows[1].rect, CRect(0, 0, 372, 38));
    EXPECT_EQ(rows[2].rect, CRect(0, 50, 372, 88));
    // The present rows use the strip's second cell (its red edge).
    EXPECT_TRUE(NearRgb(ui.Rgb(dlg, 100 + 186, 60), 0xE0202F, 0x20));
    EXPECT_TRUE(NearRgb(ui.Rgb(dlg, 100 + 186, 110), 0xE0202F, 0x20));
    EXPECT_EQ(ui.Rgb(dlg, 100 + 186, 60 + 44), Background()); // the gap between rows

    ui.MoveTo(dlg, 200, 60 + 70);
    EXPECT_EQ(selector->GetHoverIndex(), 2);
    ui.Click(dlg, 200, 60 + 70);
    ui.MoveTo(dlg, 200, 60 + 20);
    ui.Click(dlg, 200, 60 + 20);
    EXPECT_EQ(dlg.notes, (std::vector<Note>{{56, CN_PRESSED, 2, 0}, {56, CN_PRESSED, 1, 0}}));
    EXPECT_EQ(selector->GetCurDeviceType(), 201);
    // Below the rows nothing is hovered and a press reports nothing.
    ui.MoveTo(dlg, 200, 60 + 200);
    ui.Click(dlg, 200, 60 + 200);
    EXPECT_EQ(dlg.notes.size(), 2u);
}

TEST_F(DeviceSelectorTest, ResetKeepsTheCurrentModelUntilTheNextState) {
    selector->SetDeviceState(201, DEVICE_PRESENT);
    selector->ResetAllState();
    ui.Pump();
    EXPECT_EQ(ui.Rgb(dlg, 100 + 186, 60), Background());
    EXPECT_EQ(selector->GetConnectCount(), 1);
    EXPECT_EQ(selector->GetCurDeviceType(), 201);
    selector->SetDeviceState(999, DEVICE_PRESENT); // no such model: only a recount
    EXPECT_EQ(selector->GetConnectCount(), 0);
    EXPECT_EQ(selector->GetCurDeviceType(), 0);
    selector->ClearList();
    EXPECT_TRUE(selector->GetDevices().empty());
    EXPECT_EQ(selector->GetCurDeviceType(), 0);
}

TEST_F(DeviceSelectorTest, ListedModelsFollowThePresentOnesInGrey) {
    selector->AddDevice("Spare", 0, 0, 300, true);
    EXPECT_EQ(selector->GetDevices()[3].state, DEVICE_LISTED);
    selector->SetDeviceState(202, DEVICE_PRESENT);
    ui.Pump();
    const auto rows = selector->GetDevices();
    EXPECT_EQ(rows[2].rect, CRect(0, 0, 372, 38));
    EXPECT_EQ(rows[3].rect, CRect(0, 50, 372, 88));
    // The listed row uses the first cell: no red edge.
    EXPECT_FALSE(NearRgb(ui.Rgb(dlg, 100 + 186, 110), 0xE0202F, 0x40));
}

TEST_F(DeviceWidgetTest, BatteryShowsTheLevelOrTheChargingIcon) {
    auto* battery = dynamic_cast<BatteryCtrl*>(
        dlg.CreateArea("BatteryCtrl", 46, CRect(50, 50, 120, 70), "", 1, 1));
    ASSERT_NE(battery, nullptr);
    EXPECT_EQ(battery->SetImage("icon\\no_such_frame.png", 1), 0);
    EXPECT_EQ(battery->SetBatteryIcon("icon\\no_such_level.png", "icon\\icon_charge.png"), 0);
    ASSERT_EQ(battery->SetImage("icon\\icon_battery_bkg.png", 1), 1);
    ASSERT_EQ(battery->SetBatteryIcon("icon\\icon_batteryvalue.png", "icon\\icon_charge.png"), 1);
    ui.Pump();
    EXPECT_EQ(battery->GetLevel(), 100);
    EXPECT_EQ(battery->GetTitle(), "100%");

    battery->SetBatteryInfo(37, 0);
    ui.Pump();
    EXPECT_EQ(battery->FillWidth(), 14);
    EXPECT_EQ(battery->GetTitle(), "37%");
    // Fill columns 3..13 of the level image (its inside starts at 3).
    EXPECT_TRUE(NearRgb(ui.Rgb(dlg, 50 + 5, 50 + 4), 0x35C46A, 0x30));
    EXPECT_FALSE(NearRgb(ui.Rgb(dlg, 50 + 20, 50 + 4), 0x35C46A, 0x60));

    battery->SetBatteryInfo(0, 0);
    ui.Pump();
    EXPECT_EQ(battery->FillWidth(), 0);
    EXPECT_FALSE(NearRgb(ui.Rgb(dlg, 50 + 5, 50 + 4), 0x35C46A, 0x60));

    battery->SetBatteryInfo(80, 1);
    ui.Pump();
    EXPECT_EQ(battery->FillWidth(), 0);
    // The bolt sits right of the 40-pixel frame.
    bool bolt = false;
    for (int x = 50 + 45; x < 50 + 57; ++x) {
        bolt = bolt || NearRgb(ui.Rgb(dlg, x, 60), 0xFFC83C, 0x30);
    }
    EXPECT_TRUE(bolt);

    auto* panel = new MPanel(&dlg, 20, CRect(0, 0, 10, 10), 1);
    dlg.AddControl(panel);
    EXPECT_EQ(panel->CreateControl("BatteryCtrl", 46, CRect(), "", 1, 1), nullptr);
}

class ButtonTest : public DeviceWidgetTest {
protected:
    void SetUp() override {
        DeviceWidgetTest::SetUp();
        page = new MPanel(&dlg, 54, CRect(0, 0, 640, 480), 1);
        dlg.AddControl(page);
    }
    MPanel* page = nullptr;
};

TEST_F(ButtonTest, UpgradeBadgeShowsInEveryState) {
    auto* button = dynamic_cast<UpgradeButton*>(
        page->CreateControl("UpgradeButton", 242, CRect(100, 100, 300, 138), "Firmware", 1, 1));
    ASSERT_NE(button, nullptr);
    ASSERT_EQ(button->SetImage("btn_apply.png", 4), 1);
    ui.Pump();
    const CPoint badge(300 - 8, 100 + 8);
    EXPECT_FALSE(NearRgb(ui.Rgb(dlg, badge.x, badge.y + 5), 0xFF0000, 0x40));
    button->SetUpgradeStatus(1);
    EXPECT_EQ(button->GetUpgradeStatus(), 1);
    ui.Pump();
    EXPECT_TRUE(NearRgb(ui.Rgb(dlg, badge.x, badge.y + 5), 0xFF0000, 0x10));
    ui.MoveTo(dlg, 150, 120);
    EXPECT_EQ(button->GetState(), 1);
    EXPECT_TRUE(NearRgb(ui.Rgb(dlg, badge.x, badge.y + 5), 0xFF0000, 0x10));
    ui.Click(dlg, 150, 120);
    EXPECT_EQ(dlg.notes, (std::vector<Note>{{242, CN_PRESSED, 0, 0}, {242, CN_CLICKED, 0, 0}}));
    button->SetEnabled(0);
    ui.Pump();
    EXPECT_EQ(button->GetState(), 3);
    EXPECT_TRUE(NearRgb(ui.Rgb(dlg, badge.x, badge.y + 5), 0xFF0000, 0x10));
    // A press and a release outside: no click.
    button->SetEnabled(1);
    dlg.notes.clear();
    ui.Press(dlg, 150, 120);
    ui.Release(dlg, 400, 300);
    EXPECT_EQ(dlg.notes, (std::vector<Note>{{242, CN_PRESSED, 0, 0}}));
    EXPECT_EQ(button->GetState(), 0);
}

TEST_F(ButtonTest, DownloadButtonBecomesAProgressBar) {
    auto* button = dynamic_cast<DownloadButton*>(
        page->CreateControl("DownloadButton", 300, CRect(100, 200, 300, 236), "Download", 1, 1));
    ASSERT_NE(button, nullptr);
    ASSERT_EQ(button->SetImage("btn_apply.png", 4), 1);
    ui.Pump();
    const std::uint32_t idle = ui.Rgb(dlg, 295, 230);
    button->SetDownloadProcess(100);
    ui.Pump();
    // The hover cell (red edge) spans the whole width.
    EXPECT_TRUE(NearRgb(ui.Rgb(dlg, 200, 200), 0xE0202F, 0x20));
    EXPECT_TRUE(NearRgb(ui.Rgb(dlg, 299, 218), 0xE0202F, 0x30));
    button->SetDownloadProcess(50);
    ui.Pump();
    EXPECT_TRUE(NearRgb(ui.Rgb(dlg, 150, 200), 0xE0202F, 0x20));
    EXPECT_FALSE(NearRgb(ui.Rgb(dlg, 250, 200), 0xE0202F, 0x40));
    button->SetDownloadProcess(0);
    ui.Pump();
    EXPECT_EQ(ui.Rgb(dlg, 295, 230), idle);
}

} // namespace
