// The wait token between a queued task and its wait dialog.

#include "app/WaitToken.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace kovrin {
namespace {

TEST(WaitTokenTest, ClosesOnceWhicheverComesFirst) {
    // Dialog first, then the task ends.
    auto token = WaitToken::Create();
    int closes = 0;
    token->Attach([&] { ++closes; });
    EXPECT_EQ(closes, 0);
    token->Finish();
    token->Finish();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(token->GetState(), WaitToken::State::kFinished);

    // Task first: the dialog closes as it appears.
    auto early = WaitToken::Create();
    early->Finish();
    int early_closes = 0;
    early->Attach([&] { ++early_closes; });
    EXPECT_EQ(early_closes, 1);
    early->Attach([&] { ++early_closes; });
    EXPECT_EQ(early_closes, 1);
}

TEST(WaitTokenTest, DetachedDialogIsNeverClosed) {
    auto token = WaitToken::Create();
    int closes = 0;
    token->Attach([&] { ++closes; });
    token->Detach();
    token->Finish();
    EXPECT_EQ(closes, 0);
    // The action may detach its own dialog.
    auto self = WaitToken::Create();
    self->Attach([&] {
        ++closes;
        self->Detach();
    });
    self->Finish();
    EXPECT_EQ(closes, 1);
}

TEST(WaitTokenTest, DetachWaitsForACloseRunningOnAnotherThread) {
    for (int round = 0; round < 200; ++round) {
        auto token = WaitToken::Create();
        auto alive = std::make_shared<std::atomic<bool>>(true);
        std::atomic<int> closes_after_detach{0};
        token->Attach([alive, &closes_after_detach] {
            if (!*alive) {
                ++closes_after_detach;
            }
        });
        std::thread worker([&] { token->Finish(); });
        token->Detach();
        *alive = false; // the dialog is gone
        worker.join();
        EXPECT_EQ(closes_after_detach, 0);
    }
}

} // namespace
} // namespace kovrin
