// The background worker, one cycle at a time: task order, the gate, wait
// tokens, the tasks' actions and the idle colour stream, on a simulated
// keyboard and a virtual clock.

#include "app/Worker.h"
#include "device/CommandReports.h"

#include "WorkerTestSupport.h"

#include <gtest/gtest.h>

namespace kovrin::test {
namespace {

using Events = std::vector<std::string>;

TEST(WorkerTest, StartRunsOnceAndQueuesTheFirstTasks) {
    WorkerRig rig(201);
    rig.worker->Queue(TASK_START);
    rig.worker->Queue(TASK_START);
    rig.worker->RunCycle();
    EXPECT_EQ(rig.worker->Tasks().Codes(),
              (std::vector<int>{TASK_START, TASK_CHECK_FIRMWARE, TASK_SYNC_ALL}));
    rig.Drain();
    EXPECT_EQ(rig.keyboard->OpenCount(2), 1);
    EXPECT_EQ(rig.host.Events(),
              (Events{"disable", "device present mode 0", "enable", "visualizer", // start
                      "disable", "firmware 256", "enable",                        // firmware
                      "disable", "macros", "profiles", "lighting", "music", "enable"}));
    const Worker::Status status = rig.worker->GetStatus();
    EXPECT_TRUE(status.started);
    EXPECT_TRUE(status.device.device_present);
    EXPECT_TRUE(status.device.model_matched);
    EXPECT_EQ(rig.worker->Modes()[0].present, 1);
    // The full sync read the slot table to prune.
    EXPECT_EQ(rig.SentWith(0xFB).size(), 1u);
    rig.ExpectNoViolations();
}

TEST(WorkerTest, GatedTaskWithoutAKeyboardIsDroppedAndItsWaitDialogCloses) {
    WorkerRig rig(201, 0, /*attach=*/false);
    rig.Start();
    EXPECT_FALSE(rig.worker->GetStatus().device.device_present);

    // One dialog appears before the worker drops the task, one after.
    auto shown_first = WaitToken::Create();
    auto shown_late = WaitToken::Create();
    int closed_first = 0;
    int closed_late = 0;
    shown_first->Attach([&] { ++closed_first; });
    rig.worker->Queue(TASK_SYNC_KEYS, shown_first);
    rig.worker->Queue(TASK_SYNC_LIGHT, shown_late);
    rig.worker->Queue(TASK_CHECK_SOFTWARE);
    rig.Drain();
    EXPECT_EQ(closed_first, 1);
    EXPECT_TRUE(shown_late->Finished());
    shown_late->Attach([&] { ++closed_late; });
    EXPECT_EQ(closed_late, 1);
    // Nothing was sent, the window never left its state.
    EXPECT_TRUE(rig.keyboard->Reports().empty());
    EXPECT_TRUE(rig.host.Events().empty());
}

TEST(WorkerTest, EveryTaskFinishesItsWaitTokenAfterItsWork) {
    WorkerRig rig(201);
    rig.Start();
    rig.AddLight(2);
    rig.host.selection.light = {1, 2, 0};
    for (int code : std::initializer_list<int>{
             TASK_SYNC_KEYS, TASK_SYNC_LIGHT, TASK_SYNC_KEY_COLORS, TASK_RESTORE, TASK_SYNC_ALL,
             TASK_REFRESH, TASK_CHECK_FIRMWARE, TASK_UPDATE_FIRMWARE, 9}) {
        SCOPED_TRACE(code);
        auto token = WaitToken::Create();
        std::size_t reports_at_close = 0;
        token->Attach([&] { reports_at_close = rig.keyboard->Reports().size(); });
        rig.worker->Queue(code, token);
        const Clock::Duration before = rig.clock.Now();
        rig.worker->RunCycle();
        EXPECT_TRUE(token->Finished());
        EXPECT_EQ(reports_at_close, rig.keyboard->Reports().size());
        // The key, light, colour and restore tasks end with 100 ms.
        const auto sleeps = rig.clock.Sleeps();
        const bool pauses = code == TASK_SYNC_KEYS || code == TASK_SYNC_LIGHT ||
                            code == TASK_SYNC_KEY_COLORS || code == TASK_RESTORE;
        ASSERT_FALSE(pauses && sleeps.empty());
        if (pauses) {
            EXPECT_EQ(sleeps.back().length, std::chrono::milliseconds(100));
            EXPECT_GE(sleeps.back().at, before);
        }
        rig.clock.ClearSleeps();
        EXPECT_TRUE(rig.worker->Tasks().Empty());
    }
    rig.ExpectNoViolations();
}

TEST(WorkerTest, SingleKeyCodeTravelsInsideItsTask) {
    WorkerRig rig(201);
    rig.Start();
    rig.AddAssignment(0x04, kTypeKeyFunction, 0x29);
    rig.AddAssignment(0x05, kTypeKeyFunction, 0x2A);
    rig.worker->QueueKeySync(0x05);
    rig.worker->Queue(TASK_SYNC_KEYS);
    rig.worker->RunCycle();
    auto slots = rig.SentWith(0xFA);
    ASSERT_EQ(slots.size(), 1u);
    EXPECT_EQ(slots[0][4], 0x05);
    rig.worker->RunCycle();
    slots = rig.SentWith(0xFA);
    // The full write: clear slot 1 (key 0x05), then both keys.
    ASSERT_EQ(slots.size(), 4u);
    EXPECT_EQ(slots[2][4], 0x04);
    EXPECT_EQ(slots[3][4], 0x05);
    const auto reports = rig.host.KeyReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].single_key, 0x05);
    EXPECT_EQ(reports[1].single_key, std::nullopt);
    rig.ExpectNoViolations();
}

TEST(WorkerTest, KeySyncReportsWhatDidNotFit) {
    WorkerRig rig(201);
    rig.Start();
    for (int i = 0; i < 11; ++i) {
        rig.AddAssignment(0x04 + i, kTypeKeyFunction, 0x29);
    }
    rig.worker->Queue(TASK_SYNC_KEYS);
    rig.worker->RunCycle();
    const auto reports = rig.host.KeyReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].family, DeviceFamily::kB);
    EXPECT_TRUE(reports[0].slot_table_read);
    EXPECT_EQ(reports[0].not_sent, std::vector<int>{0x04 + 10});
    rig.ExpectNoViolations();
}

TEST(WorkerTest, RestoreResetsAndReloadsByFamilyAndConnection) {
    struct Case {
        int device_type;
        int mode;
        Events events;
    };
    const Case cases[] = {
        {110, 0, {"disable", "macros", "profiles", "lighting", "enable"}},
        {201, 0, {"disable", "keys", "profiles", "lighting reset", "enable"}},
        {202, 1, {"disable", "keys", "profiles", "lighting", "enable"}},
        {300, 0, {"disable", "enable"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device_type);
        WorkerRig rig(c.device_type, c.mode);
        rig.Start();
        rig.worker->Queue(TASK_RESTORE);
        rig.worker->RunCycle();
        EXPECT_EQ(rig.host.Events(), c.events);
        const int resets = rig.keyboard->FactoryResets() + rig.keyboard->Resets();
        EXPECT_EQ(resets, c.device_type == 300 ? 0 : 1);
        rig.ExpectNoViolations();
    }
}

TEST(WorkerTest, FamilyALightSendsTheModeOnceAfterEachRequest) {
    WorkerRig rig(110);
    rig.Start();
    rig.AddLight(4);
    rig.host.selection.light = {1, 4, 0};
    EXPECT_FALSE(rig.worker->LightModePending());
    rig.worker->Queue(TASK_SYNC_LIGHT);
    rig.worker->RunCycle();
    rig.worker->RequestLightMode();
    EXPECT_TRUE(rig.worker->LightModePending());
    rig.worker->Queue(TASK_SYNC_LIGHT);
    rig.worker->Queue(TASK_SYNC_LIGHT);
    rig.Drain();
    std::vector<int> commands;
    for (const auto& r : rig.keyboard->Reports()) {
        commands.push_back(r.bytes[1]);
    }
    EXPECT_EQ(commands, (std::vector<int>{0x89, 0x88, 0x89}));
    EXPECT_FALSE(rig.worker->LightModePending());
    // Without a row the request stays for the next light task.
    rig.host.selection.light = {1, 5, 0};
    rig.worker->RequestLightMode();
    rig.worker->Queue(TASK_SYNC_LIGHT);
    rig.Drain();
    EXPECT_TRUE(rig.worker->LightModePending());
    rig.ExpectNoViolations();
}

TEST(WorkerTest, LayoutOfTheOtherFamilySendsNothing) {
    WorkerRig rig(201);
    rig.Start();
    rig.layout.Set(WorkerLayout(110));
    rig.AddLight(1);
    rig.host.selection.light = {1, 1, 0};
    auto token = WaitToken::Create();
    rig.worker->Queue(TASK_SYNC_LIGHT, token);
    rig.worker->Queue(TASK_SYNC_KEYS);
    rig.Drain();
    EXPECT_TRUE(token->Finished());
    EXPECT_TRUE(rig.keyboard->Reports().empty());
    EXPECT_EQ(rig.host.Events(), (Events{"disable", "enable", "disable", "enable"}));
}

TEST(WorkerTest, IdleStreamEnablesAgainAfterEveryReopen) {
    WorkerRig rig(110);
    rig.Start();
    rig.worker->RunCycle();
    EXPECT_TRUE(rig.keyboard->Reports().empty()); // no colours offered

    rig.host.live_colours = std::vector<KeyColour>{{0x04, 0x00FF0000}, {0x05, 0x00000001}};
    rig.worker->RunCycle();
    rig.worker->RunCycle();
    EXPECT_EQ(rig.SentWith(0xF0).size(), 1u);
    EXPECT_EQ(rig.SentWith(0xF1).size(), 12u);
    EXPECT_EQ(rig.keyboard->StreamFramesCompleted(), 2);

    // Unplugged and plugged again: the keyboard has forgotten the enable.
    rig.keyboard->Unplug();
    rig.worker->Queue(TASK_DEVICE_REMOVED);
    rig.worker->RunCycle();
    rig.keyboard->Replug();
    rig.worker->Queue(TASK_DEVICE_ARRIVED);
    rig.worker->RunCycle();
    rig.Drain(); // the firmware check and the full sync it queued
    rig.keyboard->ClearRecords();
    rig.worker->RunCycle();
    EXPECT_EQ(rig.SentWith(0xF0).size(), 1u);
    EXPECT_EQ(rig.SentWith(0xF1).size(), 6u);
    rig.ExpectNoViolations();
}

TEST(WorkerTest, HotplugQueuesReopeningOfKnownModesOnly) {
    WorkerRig rig(201);
    rig.Start();
    HotplugDecision d =
        rig.worker->OnHotplug(HotplugAction::kArrival, "/devices/hid/vid_3a5c&pid_0300&mi_02");
    EXPECT_EQ(d.task, TASK_DEVICE_ARRIVED);
    d = rig.worker->OnHotplug(HotplugAction::kArrival, "vid_1234&pid_0300");
    EXPECT_EQ(d.task, 0);
    d = rig.worker->OnHotplug(HotplugAction::kRemoval, "VID_3A5C&PID_0300");
    EXPECT_EQ(d.task, TASK_DEVICE_REMOVED);
    EXPECT_EQ(rig.worker->Modes()[0].present, 0);
    EXPECT_EQ(rig.worker->Tasks().Codes(),
              (std::vector<int>{TASK_DEVICE_ARRIVED, TASK_DEVICE_REMOVED}));
}

} // namespace
} // namespace kovrin::test
