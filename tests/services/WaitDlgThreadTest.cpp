// The wait dialog closed by a task running on another thread.

#include "TestSupport.h"

#include "services/WaitDlg.h"
#include "tessel/Manager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace tessel_test;
using kovrin::WaitClose;
using kovrin::WaitDialogSlot;

namespace {

TEST(WaitDlgThreads, AWorkerClosesTheDialog) {
    HeadlessSession ui(KOVRIN_BUILD_PROGRAM_DIR);
    TestDialog owner;
    ASSERT_TRUE(owner.Open());
    owner.ShowWindow(SW_SHOW);
    ui.Pump();
    WaitDialogSlot slot;
    for (int round = 0; round < 3; ++round) {
        std::thread worker;
        slot.Show(&owner, [&](WaitClose close) {
            // The worker holds the only copy, calls it and drops it.
            worker = std::thread([close = std::move(close), round]() mutable {
                std::this_thread::sleep_for(std::chrono::milliseconds(5 * round));
                if (round != 2) {
                    close();
                }
                close = nullptr;
            });
        });
        worker.join();
        EXPECT_EQ(slot.Current(), nullptr);
    }
    owner.DestroyWindow();
}

} // namespace
