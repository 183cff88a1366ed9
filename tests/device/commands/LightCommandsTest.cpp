// Light, preset, music level, reset and firmware commands against the
// simulated keyboard on a virtual clock.

#include "device/LightCommands.h"
#include "device/LightModes.h"
#include "device/ResetCommands.h"

#include "CommandTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

namespace kovrin::test {
namespace {

TEST(LightEncodingTest, FamilyBShortAndLongForms) {
    struct Case {
        const char* name;
        LightRow row;
        int preset;
        Bytes feature;
        Bytes data;
    };
    const int per_key = static_cast<int>(LF_PER_KEY | LF_BRIGHTNESS);
    const Case cases[] = {
        {"plain", LightRowOf(2, 4, 3, 1, 1, 3, 0x123456, 0x3F), 2,
         Lead({7, 0xF7, 1, 3, 1, 2, 3, 0}, 8),
         Lead({0xBB, 0xAA, 0x99, 0x88, 0xAA, 1, 3, 1, 2, 3, 0}, 64)},
        {"per-key carries the preset", LightRowOf(6, 2, 1, 2, 0, 0, 0, per_key), 2,
         Lead({7, 0xF7, 5, 0, 2, 0, 1, 2}, 8),
         Lead({0xBB, 0xAA, 0x99, 0x88, 0xAA, 5, 0, 2, 0, 1, 2}, 64)},
        {"zero speed and brightness stay 0", LightRowOf(1, 0, 0, 0, 0, 7, 0, 0), 0,
         Lead({7, 0xF7, 0, 7, 0, 0, 0, 0}, 8),
         Lead({0xBB, 0xAA, 0x99, 0x88, 0xAA, 0, 7, 0, 0, 0, 0}, 64)},
        {"mode 4 carries its colour and no speed",
         LightRowOf(4, 3, 4, 2, 0, 1, 0x00C08040, per_key), 1,
         Lead({7, 0xF7, 3, 1, 0x40, 0x80, 2, 0xC0}, 8),
         Lead({0xBB, 0xAA, 0x99, 0x88, 0xAA, 3, 1, 0x40, 0x80, 2, 0xC0}, 64)},
        {"mode 9 speed as stored on the cable", LightRowOf(9, 3, 4, 0, 0, 0, 0, 0), 0,
         Lead({7, 0xF7, 8, 0, 0, 4, 2, 0}, 8),
         Lead({0xBB, 0xAA, 0x99, 0x88, 0xAA, 8, 0, 0, 3, 2, 0}, 64)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToBytes(LightSetReport(c.row, c.preset)), c.feature);
        EXPECT_EQ(ToBytes(LightSetLongReport(c.row, c.preset)), c.data);
    }
}

TEST(LightEncodingTest, FamilyAModeParamsAndPreset) {
    const LightRow row = LightRowOf(5, 4, 3, 6, 1, 0, 0x00123456, 0x1FF);
    EXPECT_EQ(ToBytes(LightModeReport(row)), Lead({0, 0x88, 0, 5}, 65));
    // (direction AND 3) x 16 + 0x40 for colorful + speed.
    EXPECT_EQ(ToBytes(LightParamsReport(row)), Lead({0, 0x89, 0, 0x63, 0x56, 0x34, 0x12, 4}, 65));
    EXPECT_EQ(ToBytes(LightParamsReport(LightRowOf(5, 1, 0x13, 0, 0, 0, 0xFF, 0))),
              Lead({0, 0x89, 0, 0x03, 0xFF, 0, 0, 1}, 65));
    EXPECT_EQ(ToBytes(LightPresetReport(row, 2)), Lead({7, 0xFF, 0xFF, 4, 4, 3, 0, 2}, 8));
    EXPECT_EQ(ToBytes(LightPresetReport(LightRowOf(5, 4, 3, 0, 0, 0, 0, 0x0FF), 2)),
              Lead({7, 0xFF, 0xFF, 4, 4, 3, 0, 0}, 8));
}

TEST(LightEncodingTest, MusicLevelByte) {
    struct Case {
        int level;
        float gain;
        int byte;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {128, 1.0f, 128}, {100, 0.5f, 50},  {10, 0.35f, 3}, {128, 2.5f, 255}, {0, 1.0f, 0},
        {5, -1.0f, 0},    {5, -0.1f, 0},    {5, nan, 0},    {0, nan, 0},      {128, inf, 0},
        {128, -inf, 0},   {100, 2e7f, 255}, {128, 2e7f, 0}, {128, 1e30f, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MusicLevelByte(c.level, c.gain), c.byte) << c.level << " x " << c.gain;
    }
    EXPECT_EQ(ToBytes(MusicLevelFeatureReport({3, 5, 2.0f}, 60)),
              Lead({7, 0x23, 0x45, 0x67, 0x89, 3, 5, 120}, 8));
}

TEST(LightCommandsTest, FamilyASendsModeOrParamsFromTheStoredRow) {
    CommandRig rig(110);
    const LightSelection selection{1, 3, 0};
    // No row: nothing.
    EXPECT_EQ(SendLight(rig.Context(), selection, 110, 0, true), LightSent::kNothing);
    EXPECT_TRUE(rig.Reports().empty());

    rig.AddLight(3, 4, 2, 1, 0, 0, 0x0000FF, 0x3F);
    EXPECT_EQ(SendLight(rig.Context(), selection, 110, 0, true), LightSent::kMode);
    EXPECT_EQ(rig.keyboard->LightA().mode, 3);
    EXPECT_EQ(SendLight(rig.Context(), selection, 110, 0, false), LightSent::kParams);
    const FamilyALight light = rig.keyboard->LightA();
    EXPECT_TRUE(light.has_params);
    EXPECT_EQ(light.direction, 1);
    EXPECT_EQ(light.speed, 2);
    EXPECT_EQ(light.colour, 0x0000FFu);
    EXPECT_EQ(light.brightness, 4);
    // Another profile's row of the mode is not this selection's.
    EXPECT_EQ(SendLight(rig.Context(), {2, 3, 0}, 110, 0, false), LightSent::kNothing);
    // The preset goes only to device types below 200.
    EXPECT_TRUE(SendLightPreset(rig.Context(), selection, 110));
    ASSERT_TRUE(rig.keyboard->PresetA());
    EXPECT_EQ(rig.keyboard->PresetA()->mode_index, 2);
    rig.Mark();
    EXPECT_FALSE(SendLightPreset(rig.Context(), selection, 200));
    EXPECT_FALSE(SendLightPreset(rig.Context(), {1, 4, 0}, 110));
    EXPECT_TRUE(rig.Reports().empty());
    rig.ExpectNoViolations();
}

TEST(LightCommandsTest, FamilyBTakesTheFormOfItsConnection) {
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        CommandRig rig(202, mode);
        rig.AddLight(4, 3, 2, 2, 0, 1, 0x00A0B0C0, 0);
        const Clock::Duration start = rig.Mark();
        const LightSent sent = SendLight(rig.Context(), {1, 4, 2}, 202, mode, true);
        EXPECT_EQ(sent, mode == 0 ? LightSent::kSet : LightSent::kSetLong);
        const auto light = rig.keyboard->LightB();
        ASSERT_TRUE(light);
        EXPECT_EQ(light->long_form, mode != 0);
        EXPECT_EQ(light->mode_index, 3);
        EXPECT_EQ(light->direction, 0xC0);
        EXPECT_EQ(light->speed, 0xB0);
        EXPECT_EQ(light->preset, 0xA0);
        EXPECT_EQ(rig.Gaps(start), std::vector<double>{mode == 0 ? 16.0 : 0.0});
        rig.ExpectNoViolations();
    }
    CommandRig none(300);
    none.AddLight(1, 1, 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(SendLight(none.Context(), {1, 1, 0}, 300, 0, false), LightSent::kNothing);
    EXPECT_TRUE(none.Reports().empty());
}

TEST(LightCommandsTest, MusicLevelIsDroppedWhileAnotherSequenceRuns) {
    CommandRig rig(201);
    EXPECT_EQ(SendMusicLevel(rig.manager, {2, 1, 1.5f}, 100), MusicLevelSent::kSent);
    std::atomic<bool> holding{false};
    std::atomic<bool> release{false};
    std::thread other([&] {
        DeviceManager::Exchange exchange = rig.manager.BeginExchange();
        holding = true;
        while (!release) {
            std::this_thread::yield();
        }
    });
    while (!holding) {
        std::this_thread::yield();
    }
    EXPECT_EQ(SendMusicLevel(rig.manager, {2, 1, 1.5f}, 50), MusicLevelSent::kBusy);
    release = true;
    other.join();
    rig.keyboard->Unplug();
    EXPECT_EQ(SendMusicLevel(rig.manager, {2, 1, 1.5f}, 50), MusicLevelSent::kFailed);
    const auto levels = rig.keyboard->MusicLevels();
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_EQ(levels[0].effect, 2);
    EXPECT_EQ(levels[0].colour, 1);
    EXPECT_EQ(levels[0].level, 150);
    rig.ExpectNoViolations();
}

TEST(ResetCommandsTest, EachFamilyAndConnectionWithItsPauses) {
    struct Case {
        int device_type;
        int mode;
        ResetSent sent;
        std::vector<Bytes> reports;
        std::vector<double> gaps;
        double total_ms;
    };
    const Bytes long_request =
        Lead({0, 0xBB, 0xAA, 0x99, 0x88, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, 65);
    const Bytes long_confirm = Lead({0, 0xBB, 0xAA, 0x99, 0x88}, 65);
    const Case cases[] = {
        {110, 0, ResetSent::kFactoryReset, {Lead({0, 0xFF, 0xFE, 0xAA, 0xFF}, 65)}, {0}, 100},
        {200, 0, ResetSent::kFactoryReset, {Lead({0, 0xFF, 0xFE, 0xAA, 0xFF}, 65)}, {0}, 100},
        {201, 0, ResetSent::kReset, {Lead({7, 0xF0, 0xAA}, 8)}, {16}, 116},
        {202, 1, ResetSent::kLongReset, {long_request, long_confirm}, {0, 1600}, 1600},
        {202, 2, ResetSent::kLongReset, {long_request, long_confirm}, {0, 1600}, 1600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.device_type) + ":" + std::to_string(c.mode));
        CommandRig rig(c.device_type, c.mode);
        const Clock::Duration start = rig.Mark();
        EXPECT_EQ(SendReset(rig.Context(), c.device_type, c.mode), c.sent);
        EXPECT_EQ(rig.Sent(), c.reports);
        EXPECT_EQ(rig.Gaps(start), c.gaps);
        const std::chrono::duration<double, std::milli> total = rig.clock.Now() - start;
        EXPECT_EQ(total.count(), c.total_ms);
        EXPECT_EQ(rig.keyboard->FamilyA() ? rig.keyboard->FactoryResets() : rig.keyboard->Resets(),
                  1);
        rig.ExpectNoViolations();
    }
    CommandRig none(300);
    EXPECT_EQ(SendReset(none.Context(), 300, 0), ResetSent::kNothing);
    EXPECT_TRUE(none.Reports().empty());
}

TEST(ResetCommandsTest, FirmwareVersion) {
    CommandRig rig(201);
    EXPECT_EQ(QueryFirmwareVersion(rig.manager), 0x0105);
    rig.keyboard->Unplug();
    EXPECT_EQ(QueryFirmwareVersion(rig.manager), std::nullopt);
    rig.ExpectNoViolations();
}

} // namespace
} // namespace kovrin::test
