// Naming hidraw nodes, matching arrivals and removals against the mode list,
// and the monitor that follows them.

#include "device/DeviceDiscovery.h"
#include "device/DeviceTask.h"
#include "device/HotplugMonitor.h"
#include "device/HotplugNames.h"

#include <gtest/gtest.h>

#include <deque>
#include <utility>

namespace kovrin {
namespace {

TEST(HotplugNamesTest, ParsesHidIdAndPhys) {
    const auto id = ParseHidId("0003:00003A5C:00000201");
    ASSERT_TRUE(id);
    EXPECT_EQ(id->bus, 3);
    EXPECT_EQ(id->vendor_id, 0x3A5C);
    EXPECT_EQ(id->product_id, 0x0201);
    for (const char* bad :
         {"", "0003:00003A5C", "0003:0000XY5C:00000201", "0003:1FFFF:0001", "0003::0001"}) {
        EXPECT_FALSE(ParseHidId(bad)) << bad;
    }
    const std::pair<const char*, int> phys[] = {{"usb-0000:00:14.0-1/input2", 2},
                                                {"usb-0000:00:14.0-1.4/input12", 12},
                                                {"usb-0000:00:14.0-1", -1},
                                                {"usb-0000:00:14.0-1/inputx", -1},
                                                {"", -1}};
    for (const auto& [text, number] : phys) {
        EXPECT_EQ(InterfaceNumberFromPhys(text), number) << text;
    }
}

TEST(HotplugNamesTest, NamesNodesInTheFormThePatternsExpect) {
    HidrawEvent event;
    event.syspath = "/sys/devices/pci0000:00/usb1/1-1/1-1:1.2/0003:3A5C:0201.0007/hidraw/hidraw3";
    event.hid_id = "0003:00003a5c:00000201";
    event.usb_interface_number = 2;
    const std::string name = InterfaceNameOf(event);
    EXPECT_EQ(name.rfind("\\\\?\\HID#VID_3A5C&PID_0201&MI_02#7&", 0), 0u) << name;
    EXPECT_NE(name.find("#{4D1E55B2-F16F-11CF-88CB-001111000030}"), std::string::npos);
    EXPECT_EQ(name, InterfaceNameOf(event)); // stable

    event.usb_interface_number = -1;
    event.hid_phys = "usb-0000:00:14.0-1/input3";
    EXPECT_NE(InterfaceNameOf(event).find("&MI_03#"), std::string::npos);

    event.hid_phys.clear();
    EXPECT_EQ(InterfaceNameOf(event).find("&MI_"), std::string::npos);

    event.hid_id = "0005:00003A5C:00000213";
    EXPECT_NE(InterfaceNameOf(event).find(kBluetoothHidService), std::string::npos);

    event.hid_id.clear();
    EXPECT_TRUE(InterfaceNameOf(event).empty());
}

std::vector<ModelRecord> Modes() {
    auto mode = [](std::string pattern, int present) {
        ModelRecord m;
        m.interface_pattern = std::move(pattern);
        m.present = present;
        return m;
    };
    return {mode("VID_3A5C&PID_0201&MI_02", 0), mode("VID_3A5C&PID_0211&MI_02", 1),
            mode("VID_3A5C&PID_0211", 1), mode("VID_3A5C&PID_0212&MI_02", 0)};
}

std::string Name(const char* ids) {
    return std::string("\\\\?\\hid#") + ids +
           "#7&1a2b3c4d&0&0002#{4d1e55b2-f16f-11cf-88cb-001111000030}";
}

struct MatchCase {
    const char* name;
    HotplugAction action;
    std::string interface_name;
    int task;
    int mode_index;
};

class MatchHotplugTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchHotplugTest, QueuesTheRightTask) {
    std::vector<ModelRecord> modes = Modes();
    const HotplugDecision decision =
        MatchHotplug(GetParam().action, GetParam().interface_name, modes);
    EXPECT_EQ(decision.task, GetParam().task);
    EXPECT_EQ(decision.mode_index, GetParam().mode_index);
    for (std::size_t i = 0; i < modes.size(); ++i) {
        const bool cleared =
            GetParam().task == TASK_DEVICE_REMOVED && static_cast<int>(i) == GetParam().mode_index;
        EXPECT_EQ(modes[i].present, cleared ? 0 : Modes()[i].present) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MatchHotplugTest,
    ::testing::Values(
        MatchCase{"ArrivalOfALowerCaseName", HotplugAction::kArrival,
                  Name("vid_3a5c&pid_0201&mi_02"), TASK_DEVICE_ARRIVED, 0},
        MatchCase{"ArrivalTakesTheFirstMatch", HotplugAction::kArrival,
                  Name("VID_3A5C&PID_0211&MI_02"), TASK_DEVICE_ARRIVED, 1},
        MatchCase{"ArrivalOfAnotherInterface", HotplugAction::kArrival,
                  Name("VID_3A5C&PID_0201&MI_03"), 0, -1},
        MatchCase{"ArrivalOfAForeignDevice", HotplugAction::kArrival,
                  Name("VID_046D&PID_C52B&MI_02"), 0, -1},
        MatchCase{"Bluetooth", HotplugAction::kArrival,
                  Name("{00001812-0000-1000-8000-00805f9b34fb}_dev_vid&023a5c_pid&0211"), 0, -1},
        MatchCase{"RemovalOfAPresentMode", HotplugAction::kRemoval, Name("VID_3A5C&PID_0211&MI_02"),
                  TASK_DEVICE_REMOVED, 1},
        MatchCase{"RemovalMatchesAPatternWithoutInterface", HotplugAction::kRemoval,
                  Name("VID_3A5C&PID_0211&MI_00"), TASK_DEVICE_REMOVED, 2},
        MatchCase{"RemovalOfAModeNotPresent", HotplugAction::kRemoval,
                  Name("VID_3A5C&PID_0201&MI_02"), 0, -1}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(MatchHotplugEmptyPatternTest, EmptyPatternOccursInEveryName) {
    std::vector<ModelRecord> modes(2);
    modes[1].interface_pattern = "VID_3A5C";
    const HotplugDecision decision =
        MatchHotplug(HotplugAction::kArrival, Name("VID_1111&PID_2222"), modes);
    EXPECT_EQ(decision.task, TASK_DEVICE_ARRIVED);
    EXPECT_EQ(decision.mode_index, 0);
}

// Events fed by the test.
class FakeSource final : public HidrawEventSource {
public:
    std::vector<HidrawEvent> existing;
    std::deque<std::vector<HidrawEvent>> batches;
    int Fd() const override { return 42; }
    std::vector<HidrawEvent> Existing() override { return existing; }
    std::vector<HidrawEvent> Read() override {
        if (batches.empty()) {
            return {};
        }
        auto batch = std::move(batches.front());
        batches.pop_front();
        return batch;
    }
};

HidrawEvent Event(HidrawEvent::Action action, std::string syspath, std::string hid_id = {},
                  int number = -1) {
    HidrawEvent e;
    e.action = action;
    e.syspath = std::move(syspath);
    e.hid_id = std::move(hid_id);
    e.usb_interface_number = number;
    return e;
}

TEST(HotplugMonitorTest, RemovalsAreNamedFromWhatWasSeenBefore) {
    auto source = std::make_unique<FakeSource>();
    using A = HidrawEvent::Action;
    source->existing = {Event(A::kAdd, "/sys/a", "0003:00003A5C:00000201", 2)};
    // Removal events no longer carry the parent's ids.
    source->batches.push_back({Event(A::kRemove, "/sys/a"),
                               Event(A::kAdd, "/sys/b", "0003:00003A5C:00000211", 2),
                               Event(A::kOther, "/sys/b", "0003:00003A5C:00000211", 2)});
    source->batches.push_back({Event(A::kRemove, "/sys/b"), Event(A::kRemove, "/sys/unknown")});
    std::vector<std::pair<HotplugAction, std::string>> calls;
    HotplugMonitor monitor(std::move(source), [&](HotplugAction action, const std::string& name) {
        calls.emplace_back(action, name);
    });
    ASSERT_TRUE(monitor.Active());
    EXPECT_EQ(monitor.Fd(), 42);
    const std::string a = monitor.NameOf("/sys/a");
    EXPECT_NE(a.find("VID_3A5C&PID_0201&MI_02"), std::string::npos);

    monitor.Dispatch();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], std::make_pair(HotplugAction::kRemoval, a));
    EXPECT_EQ(calls[1].first, HotplugAction::kArrival);
    EXPECT_NE(calls[1].second.find("VID_3A5C&PID_0211&MI_02"), std::string::npos);
    EXPECT_TRUE(monitor.NameOf("/sys/a").empty());

    monitor.Dispatch();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2], std::make_pair(HotplugAction::kRemoval, calls[1].second));
    monitor.Dispatch();
    EXPECT_EQ(calls.size(), 3u);
}

TEST(HotplugMonitorTest, WithoutASourceHotplugIsOff) {
    int calls = 0;
    HotplugMonitor monitor(nullptr, [&](HotplugAction, const std::string&) { ++calls; });
    EXPECT_FALSE(monitor.Active());
    EXPECT_EQ(monitor.Fd(), -1);
    monitor.Dispatch();
    EXPECT_EQ(calls, 0);
}

TEST(HotplugMonitorTest, SystemMonitorStartsOrStaysOffQuietly) {
    int calls = 0;
    auto monitor = HotplugMonitor::Start([&](HotplugAction, const std::string&) { ++calls; });
    ASSERT_TRUE(monitor);
    if (monitor->Active()) {
        EXPECT_GE(monitor->Fd(), 0);
    }
    monitor->Dispatch(); // nothing waiting: returns at once
    EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace kovrin
