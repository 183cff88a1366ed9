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

namespace {

// The worker's side of the token: it finishes the token on its own thread,
// before or after the dialog attached.
TEST(WaitDlgThreads, TokenFinishedOnAnotherThread) {
    HeadlessSession ui(KOVRIN_BUILD_PROGRAM_DIR);
    TestDialog owner;
    ASSERT_TRUE(owner.Open());
    owner.ShowWindow(SW_SHOW);
    ui.Pump();
    WaitDialogSlot slot;
    for (int delay_ms : {0, 2, 10, 30}) {
        auto token = kovrin::WaitToken::Create();
        std::thread worker([token, delay_ms] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
            token->Finish();
        });
        slot.Show(&owner, token);
        worker.join();
        EXPECT_EQ(slot.Current(), nullptr);
    }
    owner.DestroyWindow();
}

} // namespace
