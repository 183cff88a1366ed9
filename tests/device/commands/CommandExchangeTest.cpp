// Command sequences hold the exchange: commands sent from other threads (the
// light preset from the UI thread, the music level from the capture thread)
// never land inside a sequence.

#include "device/LightCommands.h"
#include "device/SlotSync.h"

#include "CommandTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace kovrin::test {
namespace {

TEST(CommandExchangeTest, MusicLevelsNeverInterleaveWithASlotSync) {
    CommandRig rig(201);
    const int macro = rig.AddMacro(1, {{2, 'A', 10}, {3, 'A', 10}});
    for (int i = 0; i < 13; ++i) {
        rig.AddAssignment(0x04 + i, kTypeMacro, macro);
    }
    for (int i = 0; i < 10; ++i) {
        rig.AddAssignment(0x20 + i, kTypeKeyFunction, 0x29);
    }
    rig.AddLight(2, 3, 2, 1, 0, 0, 0, 0);
    std::atomic<bool> done{false};
    std::atomic<int> attempts{0};
    std::thread capture([&] {
        while (!done) {
            SendMusicLevel(rig.manager, {}, 64);
            ++attempts;
        }
    });
    std::thread ui([&] {
        while (!done) {
            SendLight(rig.Context(), {1, 2, 0}, 201, 0, false);
            ++attempts;
        }
    });
    for (int run = 0; run < 20; ++run) {
        SyncKeySlots(rig.Context(), {1, 0}, std::nullopt);
    }
    done = true;
    capture.join();
    ui.join();
    EXPECT_GT(attempts.load(), 0);
    rig.ExpectNoViolations();
    EXPECT_EQ(rig.keyboard->GetMacroSlot(13).key_code, 0x04 + 12);
}

} // namespace
} // namespace kovrin::test
