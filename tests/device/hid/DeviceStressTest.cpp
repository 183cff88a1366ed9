// One thread re-opens the devices while two others send: no data race, no
// report of one exchange inside another, no pause cut short.

#include "device/DeviceDiscovery.h"
#include "tests/device/hid/HidTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace kovrin::test {
namespace {

TEST(DeviceStressTest, ReopeningWhileTwoThreadsSendKeepsExchangesWhole) {
    Rig rig;
    auto keyboard = rig.Attach(TestKeyboard(201, 0x0201));
    std::vector<ModelRecord> modes(1);
    modes[0].device_type = 201;
    modes[0].vendor_id = kVendor;
    modes[0].product_id = 0x0201;
    ApplyDeviceState(rig.manager, OpenDevices(rig.manager, modes));

    constexpr int kRounds = 150;
    std::atomic<bool> stop{false};
    std::atomic<bool> reopened{false};
    std::atomic<int> macro_writes{0};
    std::atomic<int> music_sent{0};

    std::thread reopen([&] {
        std::vector<ModelRecord> own = modes;
        // Both loops run until each has done its rounds, so they overlap.
        for (int i = 0; i < kRounds || macro_writes < kRounds; ++i) {
            ApplyDeviceState(rig.manager, OpenDevices(rig.manager, own));
            // Leave the others room to send between re-opens.
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        reopened = true;
    });
    // The worker: slot-table reads, 28-report macro slot writes, key slots.
    std::thread worker([&] {
        for (int i = 0; i < kRounds || !reopened; ++i) {
            Bytes table = Feature({7, 0xFB, 1});
            table.resize(28);
            rig.manager.ReadSlotTable(table);
            {
                DeviceManager::Exchange exchange = rig.manager.BeginExchange();
                Bytes block(168, 0);
                block[0] = 1;
                block[1] = static_cast<std::uint8_t>(1 + i % 13);
                block[2] = static_cast<std::uint8_t>(4 + i % 20);
                for (int j = 0; j < 28; ++j) {
                    Bytes r = Feature({7, j == 0 ? 0xF1 : 0x00});
                    std::copy_n(block.begin() + 6 * j, 6, r.begin() + 2);
                    rig.manager.SendFeature(r);
                }
                ++macro_writes;
            }
            rig.manager.SendFeature(Feature({7, 0xFA, 1, 1 + i % 10, 0x29, 1, 5, 1}));
        }
        stop = true;
    });
    // The audio thread's music level and the UI thread's light commands.
    std::thread sender([&] {
        for (int i = 0; !stop; ++i) {
            const auto level = static_cast<std::uint8_t>(i);
            if (rig.manager.TrySendFeatureChecked(
                    Feature({7, 0x23, 0x45, 0x67, 0x89, 1, 0, level})) == true) {
                ++music_sent;
            }
            if (i % 16 == 0) {
                rig.manager.SendFeature(Feature({7, 0xF7, 2, 0, 0, 1, 3, 0}));
                int version = 0;
                rig.manager.ReadFirmwareVersion(version);
            }
            std::this_thread::yield();
        }
    });
    reopen.join();
    worker.join();
    sender.join();

    for (const Violation& v : keyboard->Violations()) {
        ADD_FAILURE() << v.text << " (report " << v.report_index << ")";
    }
    EXPECT_GE(macro_writes.load(), kRounds);
    EXPECT_EQ(static_cast<int>(keyboard->MusicLevels().size()), music_sent.load());
    std::size_t macro_starts = 0;
    for (const RecordedReport& r : keyboard->Reports()) {
        macro_starts += r.kind == ReportKind::kSet && r.bytes[1] == 0xF1;
    }
    EXPECT_GT(macro_starts, 0u);
    // Every handle opened was closed again or is still held by the manager.
    rig.manager.CloseAll();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(keyboard->OpenCount(i), keyboard->CloseCount(i)) << i;
    }
}

} // namespace
} // namespace kovrin::test
