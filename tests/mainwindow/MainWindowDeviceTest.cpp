// The controller with keyboards coming and going: the device state the
// window shows, the layout and database of the model found, the tasks the
// opening queues, plugging a simulated keyboard out and in, the device
// selector, and the window refusing input while a device task runs.

#include "tests/mainwindow/MainWindowTestSupport.h"

#include "device/CommandReports.h"
#include "device/DeviceTask.h"
#include "device/SimulatedKeyboard.h"
#include "mainwindow/MainWindowControls.h"

#include <thread>

namespace kovrin::test {
namespace {

using namespace Tessel;

class MainWindowDeviceTest : public MainWindowFixture {
protected:
    // Commands the keyboard received as set reports (byte 1 of each).
    std::vector<std::uint8_t> CommandsSent() const {
        std::vector<std::uint8_t> out;
        for (const RecordedReport& r : keyboard->Reports()) {
            if (r.kind == ReportKind::kSet && r.bytes.size() > 1) {
                out.push_back(r.bytes[1]);
            }
        }
        return out;
    }
    static int Count(const std::vector<std::uint8_t>& v, std::uint8_t c) {
        return static_cast<int>(std::count(v.begin(), v.end(), c));
    }
    bool PagesShown() {
        return Visible(dlg->tabs) && dlg->SelectedTab() != 0 &&
               Visible(dlg->tabs->GetItemInfo(dlg->SelectedTab())->page);
    }
};

TEST_F(MainWindowDeviceTest, StartsWithTheDefaultLayoutAndNoKeyboard) {
    Open();
    EXPECT_EQ(dlg->GetWorker()->Tasks().Codes(),
              (std::vector<int>{TASK_CHECK_SOFTWARE, TASK_START}));
    EXPECT_EQ(dlg->Layout()->device_type, 201);
    EXPECT_EQ(dlg->Layout()->model_name, "Kovrin Bolt 104");
    EXPECT_EQ(dlg->key_view->GetKeyCount(), static_cast<int>(dlg->Layout()->keys.size()));
    EXPECT_GT(dlg->key_view->GetKeyCount(), 100);
    EXPECT_EQ(dlg->key_view->GetRect().left, dlg->Layout()->keyboard_x);
    EXPECT_NE(database.path().find("Kovrin Bolt 104_data_v1.db"), std::string::npos);
    // The catalogue's models are listed in the selector, none shown yet.
    EXPECT_EQ(dlg->device_selector->GetDevices().size(), 3u);
    EXPECT_EQ(dlg->device_selector->GetConnectCount(), 0);

    RunWorker();
    EXPECT_TRUE(dlg->Shown().applied);
    EXPECT_FALSE(dlg->Shown().device_present);
    EXPECT_EQ(Title(55), GetText(61));
    EXPECT_EQ(dlg->SelectedTab(), 0);
    EXPECT_FALSE(Visible(dlg->tabs));
    EXPECT_FALSE(PagesShown());
    EXPECT_TRUE(Visible(dlg->device_selector));
    EXPECT_EQ(Title(38), kDefaultProductLabel);
    EXPECT_TRUE(dlg->GetWorker()->Tasks().Empty());
}

struct ModelCase {
    const char* simulate;
    int device_type;
    const char* model;
    int tab;                  // selected index
    std::array<bool, 5> tabs; // visible tab items
    std::uint32_t page_flags;
};

TEST_F(MainWindowDeviceTest, KeyboardFoundShowsItsModelAndQueuesTheFirstTasks) {
    const ModelCase cases[] = {
        {"Kovrin Bolt 87 Air:0",
         202,
         "Kovrin Bolt 87 Air",
         1,
         {true, true, true, true, true},
         0x47},
        {"Kovrin Bolt 87 Air:1",
         202,
         "Kovrin Bolt 87 Air",
         3,
         {true, false, false, true, true},
         0x44},
        {"Kovrin Bolt 104", 201, "Kovrin Bolt 104", 1, {true, true, true, true, true}, 0x47},
        {"Kovrin Arc 87", 110, "Kovrin Arc 87", 1, {true, true, true, true, true}, 0x47},
    };
    for (const ModelCase& c : cases) {
        SCOPED_TRACE(c.simulate);
        dlg.reset();
        manager.CloseAll();
        Simulate(c.simulate);
        Open();
        RunWorker();
        ASSERT_TRUE(dlg->Shown().device_present);
        EXPECT_TRUE(dlg->Shown().model_matched);
        EXPECT_EQ(Title(55), GetText(60));
        EXPECT_EQ(Title(38), c.model);
        EXPECT_EQ(dlg->Shown().model_name, c.model);
        EXPECT_EQ(dlg->SelectedTab(), c.tab);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(dlg->tabs->GetItemVisible(i) != 0, c.tabs[static_cast<std::size_t>(i)])
                << "tab " << i;
        }
        EXPECT_TRUE(PagesShown());
        EXPECT_TRUE(Visible(dlg->mode_icon));
        // The model's own layout and database serve it.
        EXPECT_EQ(dlg->Layout()->device_type, c.device_type);
        EXPECT_EQ(dlg->Layout()->model_name, c.model);
        EXPECT_EQ(dlg->Layout()->page_flags & 0x7Fu, c.page_flags);
        // The views of the pages the model shows have its keys.
        EXPECT_EQ(dlg->light_view->GetKeyCount(), static_cast<int>(dlg->Layout()->keys.size()));
        if (c.page_flags & kPageKeys) {
            EXPECT_EQ(dlg->key_view->GetKeyCount(), static_cast<int>(dlg->Layout()->keys.size()));
        }
        EXPECT_NE(database.path().find(std::string(c.model) + "_data_v1.db"), std::string::npos);
        EXPECT_EQ(database.DeviceType(), c.device_type);
        // The firmware check ran, then the full sync; family B reads the
        // slot table to prune.
        const auto sent = CommandsSent();
        if (FamilyOf(c.device_type) == DeviceFamily::kB) {
            EXPECT_EQ(Count(sent, CMD_READ_VERSION), 1);
            EXPECT_EQ(Count(sent, CMD_READ_SLOTS), c.page_flags & kPageKeys ? 1 : 0);
        }
        for (const Violation& v : keyboard->Violations()) {
            ADD_FAILURE() << v.text;
        }
        EXPECT_TRUE(exits.empty());
    }
}

TEST_F(MainWindowDeviceTest, WirelessKeyboardOfNoCatalogueModeShowsNoKeyboardAndQueuesNothing) {
    // A receiver whose ids the manager takes but no catalogue mode names.
    SimulatedKeyboardDescription board;
    board.device_type = 202;
    board.connection_mode = 1;
    board.vendor_id = 0x3A5C;
    board.product_id = 0x0299;
    keyboard = std::make_shared<SimulatedKeyboard>(board, clock);
    auto backend = std::make_shared<SimulatedHidBackend>();
    backend->Attach(keyboard);
    manager.SetBackend(backend);
    manager.AddSupported(0x3A5C, 0x0299, "", 202, 1, "");
    Open();
    RunWorker();
    ASSERT_TRUE(dlg->Shown().device_present);
    EXPECT_FALSE(dlg->Shown().model_matched);
    EXPECT_EQ(dlg->Shown().connection_mode, 1);
    EXPECT_EQ(Title(55), GetText(61));
    EXPECT_EQ(dlg->SelectedTab(), 0);
    EXPECT_FALSE(Visible(dlg->tabs));
    EXPECT_FALSE(Visible(dlg->device_selector));
    EXPECT_FALSE(PagesShown());
    EXPECT_EQ(Title(39), "");
    EXPECT_TRUE(dlg->GetWorker()->Tasks().Empty());
    EXPECT_EQ(Count(CommandsSent(), CMD_READ_VERSION), 0);
    EXPECT_EQ(Title(38), kDefaultProductLabel);
}

TEST_F(MainWindowDeviceTest, UnpluggingHidesThePagesAndPluggingBackRestoresThem) {
    Simulate("Kovrin Bolt 87 Air:0");
    Open();
    RunWorker();
    ASSERT_EQ(Title(55), GetText(60));
    ASSERT_TRUE(PagesShown());
    dlg->tabs->SetSelectItem(4);
    ui.Pump();

    ASSERT_TRUE(dlg->SimulatePlug(false));
    EXPECT_EQ(dlg->GetWorker()->Tasks().Codes(), (std::vector<int>{TASK_DEVICE_REMOVED}));
    RunWorker();
    EXPECT_FALSE(dlg->Shown().device_present);
    EXPECT_EQ(Title(55), GetText(61));
    EXPECT_EQ(dlg->SelectedTab(), 0);
    EXPECT_FALSE(PagesShown());
    EXPECT_FALSE(Visible(dlg->mode_icon));
    // A second removal report finds nothing present and queues nothing.
    dlg->SimulatePlug(false);
    EXPECT_TRUE(dlg->GetWorker()->Tasks().Empty());

    keyboard->ClearRecords();
    ASSERT_TRUE(dlg->SimulatePlug(true));
    EXPECT_EQ(dlg->GetWorker()->Tasks().Codes(), (std::vector<int>{TASK_DEVICE_ARRIVED}));
    RunWorker();
    EXPECT_EQ(Title(55), GetText(60));
    EXPECT_EQ(dlg->SelectedTab(), 1);
    EXPECT_TRUE(PagesShown());
    EXPECT_EQ(Count(CommandsSent(), CMD_READ_VERSION), 1);
}

TEST_F(MainWindowDeviceTest, HotplugEventsArriveAsDeviceChangeMessages) {
    Simulate("Kovrin Bolt 104");
    Open();
    RunWorker();
    const struct {
        WPARAM event;
        int type;
        const char* name;
        std::vector<int> queued;
    } cases[] = {
        // Not the command interface's pattern: nothing.
        {DBT_DEVICEARRIVAL, 5, "\\\\?\\HID#VID_1234&PID_0001#1", {}},
        {DBT_DEVICEARRIVAL, 5, "\\\\?\\hid#vid_3a5c&pid_0201&mi_02#7&1&0&0002", {2}},
        {DBT_DEVICEARRIVAL, 3, "\\\\?\\HID#VID_3A5C&PID_0201&MI_02#1", {}},
        {0x8001, 5, "\\\\?\\HID#VID_3A5C&PID_0201&MI_02#1", {}},
        {DBT_DEVICEREMOVECOMPLETE, 5, "\\\\?\\HID#VID_3A5C&PID_0201&MI_02#1", {3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceChange change;
        change.device_type = c.type;
        change.name = c.name;
        EXPECT_EQ(dlg->SendMessageW(WM_DEVICECHANGE, c.event, reinterpret_cast<LPARAM>(&change)),
                  0);
        EXPECT_EQ(dlg->GetWorker()->Tasks().Codes(), c.queued);
        RunWorker();
    }
}

TEST_F(MainWindowDeviceTest, DeviceSelectorOpensThePagesAndRefreshesOnlyForAnotherType) {
    Simulate("Kovrin Bolt 104");
    Open();
    RunWorker();
    dlg->tabs->SetSelectItem(0);
    ui.Pump();
    ASSERT_FALSE(Visible(dlg->tabs));
    ASSERT_EQ(dlg->device_selector->GetConnectCount(), 1);
    const auto press_row = [&](const std::string& name) {
        ui.Pump(); // rows get their places when drawn
        for (const Tessel::DeviceEntry& d : dlg->device_selector->GetDevices()) {
            if (d.name == name) {
                const CRect r = dlg->device_selector->GetRect();
                const CPoint p(r.left + d.rect.CenterPoint().x, r.top + d.rect.CenterPoint().y);
                ui.Click(*dlg, p.x, p.y);

                return;
            }
        }
        ADD_FAILURE() << name << " not listed";
    };
    press_row("Kovrin Bolt 104");
    EXPECT_EQ(dlg->SelectedTab(), 1);
    EXPECT_TRUE(PagesShown());
    EXPECT_TRUE(dlg->GetWorker()->Tasks().Empty()) << "same device type: nothing queued";

    dlg->tabs->SetSelectItem(0);
    dlg->device_selector->SetDeviceState(110, DEVICE_PRESENT);
    press_row("Kovrin Arc 87");
    EXPECT_EQ(dlg->GetWorker()->Tasks().Codes(), (std::vector<int>{TASK_REFRESH}));
}

TEST_F(MainWindowDeviceTest, WindowRefusesInputWhileADeviceTaskRunsEvenWhenItFails) {
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "failing task" : "task");
        dlg.reset();
        manager.CloseAll();
        Simulate("Kovrin Bolt 104");
        Open();
        RunWorker();
        ASSERT_TRUE(PagesShown());
        SimulatedFaults faults;
        faults.stall = FaultCount{1, -1};
        if (fails) {
            faults.fail_get_feature = FaultCount{FaultCount::kAlways, -1};
        }
        keyboard->SetFaults(faults);
        dlg->GetWorker()->Queue(TASK_CHECK_FIRMWARE);
        std::thread worker([this] { dlg->GetWorker()->RunCycle(); });
        ASSERT_TRUE(keyboard->WaitForStall(std::chrono::seconds(10)));
        ui.Pump();
        EXPECT_FALSE(dlg->IsWindowEnabled());
        // A click on the macro tab does nothing.
        const CRect tab = dlg->tabs->GetItemInfo(2)->rect;
        ui.Click(*dlg, tab.CenterPoint().x, tab.CenterPoint().y);
        EXPECT_EQ(dlg->SelectedTab(), 1);
        keyboard->ReleaseStall();
        worker.join();
        ui.Pump();
        EXPECT_TRUE(dlg->IsWindowEnabled());
        ui.Click(*dlg, tab.CenterPoint().x, tab.CenterPoint().y);
        EXPECT_EQ(dlg->SelectedTab(), 2);
    }
}

} // namespace
} // namespace kovrin::test
