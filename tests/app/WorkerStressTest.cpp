// Appending to the queue while the worker thread consumes it.

#include "app/Worker.h"

#include "WorkerTestSupport.h"

#include <gtest/gtest.h>

namespace kovrin::test {
namespace {

TEST(WorkerStressTest, TenThousandAppendsWhileTheWorkerConsumes) {
    WorkerRig rig(201);
    rig.worker->Start();
    rig.worker->Queue(TASK_START);
    ASSERT_TRUE(rig.WaitUntilIdle());

    constexpr int kTasks = 10000;
    std::mutex mutex;
    std::vector<int> finished;
    std::vector<std::shared_ptr<WaitToken>> tokens;
    tokens.reserve(kTasks);
    std::thread ui([&] {
        for (int i = 0; i < kTasks; ++i) {
            auto token = WaitToken::Create();
            token->Attach([&mutex, &finished, i] {
                std::lock_guard lock(mutex);
                finished.push_back(i);
            });
            tokens.push_back(token);
            // Refresh runs through the gate; the unknown code 9 does nothing.
            rig.worker->Queue(i % 2 == 0 ? TASK_REFRESH : 9, std::move(token));
        }
    });
    ui.join();
    ASSERT_TRUE(rig.WaitUntilIdle(std::chrono::seconds(120)));
    rig.worker->Stop();

    std::lock_guard lock(mutex);
    ASSERT_EQ(finished.size(), static_cast<std::size_t>(kTasks));
    for (int i = 0; i < kTasks; ++i) {
        ASSERT_EQ(finished[static_cast<std::size_t>(i)], i);
    }
    EXPECT_EQ(rig.host.Count("disable"), kTasks + 1 + 2); // + start, firmware, sync all
    EXPECT_EQ(rig.host.Count("enable"), kTasks + 1 + 2);
    rig.ExpectNoViolations();
}

} // namespace
} // namespace kovrin::test
