// Finding, opening and choosing keyboards, against simulated keyboards.

#include "device/DeviceDiscovery.h"
#include "device/DeviceTask.h"
#include "platform/hid/HidapiBackend.h"
#include "tests/device/hid/HidTestSupport.h"

#include <gtest/gtest.h>

namespace kovrin::test {
namespace {

using Outcome = DiscoveredInterface::Outcome;

std::vector<Outcome> Outcomes(const DeviceManager& manager) {
    std::vector<Outcome> outcomes;
    for (const auto& d : manager.LastEnumeration()) {
        outcomes.push_back(d.outcome);
    }
    return outcomes;
}

TEST(DeviceManagerTest, CommandCollectionOnInterfaceThreeBecomesTheSecondHandle) {
    Rig rig;
    auto keyboard = rig.Attach(TestKeyboard(201, 0x0201));
    rig.Open(201);

    std::vector<DeviceEntryInfo> entries;
    ASSERT_TRUE(rig.manager.Collect(entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].index, 0);
    EXPECT_EQ(entries[0].path, "sim:0:2");
    EXPECT_EQ(entries[0].vendor_id, kVendor);
    EXPECT_EQ(entries[0].product_id, 0x0201);
    EXPECT_EQ(entries[0].release_number, 0x0100);
    EXPECT_EQ(entries[0].device_type, 201);
    EXPECT_EQ(entries[0].mode, 0);
    EXPECT_TRUE(entries[0].product_string.empty());
    EXPECT_TRUE(rig.manager.HasSecondHandle());
    EXPECT_EQ(rig.manager.SecondHandlePath(), "sim:0:3");
    ASSERT_TRUE(rig.manager.CurrentEntry());
    EXPECT_EQ(rig.manager.CurrentEntry()->path, "sim:0:2");
    EXPECT_EQ(Outcomes(rig.manager),
              (std::vector<Outcome>{Outcome::kClosed, Outcome::kClosed, Outcome::kEntry,
                                    Outcome::kSecondHandle}));
}

TEST(DeviceManagerTest, OrdinaryCollectionsAreOpenedAndClosedAgain) {
    Rig rig;
    auto keyboard = rig.Attach(TestKeyboard(201, 0x0201));
    rig.Open(201);
    for (int i : {0, 1}) {
        EXPECT_EQ(keyboard->OpenCount(i), 1) << i;
        EXPECT_EQ(keyboard->CloseCount(i), 1) << i;
    }
    for (int i : {2, 3}) {
        EXPECT_EQ(keyboard->OpenCount(i), 1) << i;
        EXPECT_EQ(keyboard->CloseCount(i), 0) << i;
    }
    rig.manager.CloseAll();
    EXPECT_EQ(keyboard->CloseCount(2), 1);
    EXPECT_EQ(keyboard->CloseCount(3), 1);
    std::vector<DeviceEntryInfo> entries;
    EXPECT_FALSE(rig.manager.Collect(entries));
    EXPECT_FALSE(rig.manager.HasSecondHandle());
    EXPECT_EQ(rig.manager.CurrentHandle(), nullptr);
    EXPECT_FALSE(rig.manager.Opened());
}

TEST(DeviceManagerTest, UnsupportedIdsAreNotOpenedAndARefusedOpenIsSkipped) {
    Rig rig;
    SimulatedKeyboardDescription refusing = TestKeyboard(201, 0x0201, 0, "a");
    refusing.faults.refuse_open = {2};
    auto first = rig.Attach(refusing);
    auto foreign =
        std::make_shared<SimulatedKeyboard>(TestKeyboard(201, 0x7777, 0, "x"), rig.clock);
    rig.backend->Attach(foreign);
    auto second = rig.Attach(TestKeyboard(201, 0x0202, 0, "b"));
    rig.Open(201);

    std::vector<DeviceEntryInfo> entries;
    ASSERT_TRUE(rig.manager.Collect(entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path, "sim:b:2");
    EXPECT_EQ(foreign->OpenCount(2), 0);
    const auto log = rig.manager.LastEnumeration();
    ASSERT_EQ(log.size(), 12u);
    EXPECT_EQ(log[2].outcome, Outcome::kOpenFailed);
    EXPECT_EQ(log[2].error, "access denied");
    EXPECT_EQ(log[6].outcome, Outcome::kUnsupported);
    // The later second handle replaces the earlier one.
    EXPECT_EQ(rig.manager.SecondHandlePath(), "sim:b:3");
    EXPECT_EQ(first->CloseCount(3), 1);
}

TEST(DeviceManagerTest, HandleComesFromModeOneWhileConnectionModeSaysTwo) {
    Rig rig;
    // Enumerated first: the keyboard in mode 2.
    rig.Attach(TestKeyboard(202, 0x0213, 2, "two"));
    rig.Attach(TestKeyboard(202, 0x0212, 1, "one"));
    rig.Open(202);
    ASSERT_TRUE(rig.manager.CurrentEntry());
    EXPECT_EQ(rig.manager.CurrentEntry()->path, "sim:one:2");
    EXPECT_EQ(rig.manager.ConnectionModeOf(), 2);

    rig.Attach(TestKeyboard(202, 0x0211, 0, "zero"));
    rig.Open(202);
    EXPECT_EQ(rig.manager.CurrentEntry()->path, "sim:zero:2");
    EXPECT_EQ(rig.manager.ConnectionModeOf(), 0);

    rig.manager.SelectType(201);
    EXPECT_EQ(rig.manager.CurrentHandle(), nullptr);
    EXPECT_EQ(rig.manager.ConnectionModeOf(), -1);
    std::vector<DeviceEntryInfo> entries;
    EXPECT_TRUE(rig.manager.Collect(entries));
    EXPECT_TRUE(entries.empty());
}

TEST(DeviceManagerTest, SupportedListLookups) {
    DeviceManager manager(std::make_shared<SimulatedHidBackend>());
    manager.AddSupported(0x3A5C, 0x0201, "", 201, 0, "VID_3A5C&PID_0201");
    manager.AddSupported(0x3A5C, 0x0202, "Named", 202, 1, "");
    manager.AddSupported(0x3A5C, 0x0202, "", 203, 2, "");
    EXPECT_TRUE(manager.IsSupported(0x3A5C, 0x0201, "anything"));
    EXPECT_TRUE(manager.IsSupported(0x3A5C, 0x0202, "Named"));
    EXPECT_TRUE(manager.IsSupported(0x3A5C, 0x0202, ""));
    EXPECT_FALSE(manager.IsSupported(0x3A5C, 0x0203, ""));
    EXPECT_EQ(manager.DeviceTypeOf(0x3A5C, 0x0202), 202);
    EXPECT_EQ(manager.ModeOf(0x3A5C, 0x0202), 1);
    EXPECT_EQ(manager.DeviceTypeOf(0x1234, 0x0202), 0);
    EXPECT_EQ(manager.Supported().size(), 3u);
}

// The mode list as the catalogue gives it.
std::vector<ModelRecord> Modes() {
    auto mode = [](std::string name, int type, int value, int pid, std::string pattern) {
        ModelRecord m;
        m.name = std::move(name);
        m.device_type = type;
        m.mode = value;
        m.vendor_id = kVendor;
        m.product_id = pid;
        m.interface_pattern = std::move(pattern);
        return m;
    };
    return {mode("", 110, 0, 0x0101, "VID_3A5C&PID_0101&MI_02"),
            mode("", 201, 0, 0x0201, "VID_3A5C&PID_0201&MI_02"),
            mode("", 202, 0, 0x0211, "VID_3A5C&PID_0211&MI_02"),
            mode("Named receiver", 202, 1, 0x0212, "VID_3A5C&PID_0212&MI_02")};
}

struct DiscoveryRig : Rig {
    std::vector<ModelRecord> modes = Modes();
    DiscoveryRig() {
        for (const ModelRecord& m : modes) {
            manager.AddSupported(m.vendor_id, m.product_id, m.name, m.device_type, m.mode,
                                 m.interface_pattern);
        }
    }
    std::shared_ptr<SimulatedKeyboard> Plug(int type, std::uint16_t pid, int mode) {
        auto keyboard = std::make_shared<SimulatedKeyboard>(TestKeyboard(type, pid, mode), clock);
        backend->Attach(keyboard);
        return keyboard;
    }
};

TEST(DeviceDiscoveryTest, WiredKeyboardIsPresentMatchedAndQueuesFirmwareCheckAndSync) {
    DiscoveryRig rig;
    rig.Plug(201, 0x0201, 0);
    rig.modes[3].present = 1; // stale mark from an earlier run
    const DiscoveryResult found = OpenDevices(rig.manager, rig.modes);
    EXPECT_TRUE(found.device_present);
    EXPECT_TRUE(found.model_matched);
    EXPECT_EQ(found.present_modes, (std::vector<std::size_t>{1}));
    EXPECT_EQ(found.present_device_types, (std::vector<int>{201}));
    EXPECT_EQ(rig.modes[1].present, 1);
    EXPECT_EQ(rig.modes[3].present, 0);

    const DeviceState state = ApplyDeviceState(rig.manager, found);
    EXPECT_EQ(state.selected_type, 201);
    EXPECT_EQ(rig.manager.SelectedType(), 201);
    EXPECT_EQ(state.connection_mode, 0);
    EXPECT_EQ(state.tasks, (std::vector<int>{TASK_CHECK_FIRMWARE, TASK_SYNC_ALL}));
    EXPECT_NE(rig.manager.CurrentHandle(), nullptr);
}

TEST(DeviceDiscoveryTest, WirelessKeyboardWithoutMatchedModelQueuesNothing) {
    DiscoveryRig rig;
    // Supported through an entry of its own, but its catalogue mode names a
    // product, and product strings are never read.
    rig.manager.AddSupported(kVendor, 0x0212, "", 202, 1, "");
    rig.Plug(202, 0x0212, 1);
    const DiscoveryResult found = OpenDevices(rig.manager, rig.modes);
    EXPECT_TRUE(found.device_present);
    EXPECT_FALSE(found.model_matched);
    const DeviceState state = ApplyDeviceState(rig.manager, found);
    EXPECT_EQ(state.connection_mode, 1);
    EXPECT_TRUE(state.tasks.empty());
}

TEST(DeviceDiscoveryTest, NoKeyboardMeansNoDevice) {
    DiscoveryRig rig;
    const DiscoveryResult found = OpenDevices(rig.manager, rig.modes);
    EXPECT_FALSE(found.device_present);
    EXPECT_FALSE(found.model_matched);
    const DeviceState state = ApplyDeviceState(rig.manager, found);
    EXPECT_FALSE(state.device_present);
    EXPECT_EQ(state.connection_mode, -1);
    EXPECT_TRUE(state.tasks.empty());
    int version = 0;
    EXPECT_FALSE(rig.manager.ReadFirmwareVersion(version));
}

TEST(DeviceDiscoveryTest, FamilyAKeyboardIsSelectedByItsOwnDeviceType) {
    DiscoveryRig rig;
    auto keyboard = rig.Plug(110, 0x0101, 0);
    const DeviceState state = ApplyDeviceState(rig.manager, OpenDevices(rig.manager, rig.modes));
    EXPECT_EQ(state.selected_type, 110);
    EXPECT_EQ(state.connection_mode, 0);
    ASSERT_TRUE(rig.manager.CurrentEntry());
    int version = 0;
    EXPECT_TRUE(rig.manager.ReadFirmwareVersion(version));
    EXPECT_EQ(version, 0x0105);
}

TEST(HidapiBackendTest, MergesTheRecordsOfOneNode) {
    std::vector<HidInterfaceInfo> records(4);
    records[0].path = "/dev/hidraw1";
    records[0].usages = {{0x000C, 1}};
    records[1].path = "/dev/hidraw2";
    records[1].usages = {{0x0001, 6}};
    records[2].path = "/dev/hidraw1";
    records[2].usages = {kCommandUsageA};
    records[3].path = "/dev/hidraw1";
    records[3].usages = {{0x000C, 1}};
    const auto merged = platform::MergeRecordsByPath(records);
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(merged[0].path, "/dev/hidraw1");
    EXPECT_EQ(merged[0].usages, (std::vector<HidUsage>{{0x000C, 1}, kCommandUsageA}));
    EXPECT_TRUE(IsCommandCollection(merged[0]));
    EXPECT_FALSE(IsCommandCollection(merged[1]));
}

TEST(HidapiBackendTest, OpeningAMissingNodeFailsWithAReason) {
    auto backend = platform::CreateHidapiBackend();
    for (const HidInterfaceInfo& info : backend->Enumerate()) {
        EXPECT_FALSE(info.path.empty());
        EXPECT_FALSE(info.usages.empty());
    }
    std::string error;
    EXPECT_EQ(backend->Open("/dev/hidraw-kovrin-missing", &error), nullptr);
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace kovrin::test
