// The worker on its own thread: stopping, tasks queued while one runs, and
// appends while the worker consumes.

#include "app/Worker.h"

#include "WorkerTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>

namespace kovrin::test {
namespace {

TEST(WorkerThreadTest, FiveLightTasksBehindARunningKeySyncSendFiveLightCommands) {
    WorkerRig rig(201);
    rig.AddLight(3);
    rig.host.selection.light = {1, 3, 0};
    rig.worker->Start();
    rig.worker->Queue(TASK_START);
    ASSERT_TRUE(rig.WaitUntilIdle());
    rig.keyboard->ClearRecords();
    // After the start's full sync, which prunes what the keyboard lacks.
    rig.AddAssignment(0x04, kTypeKeyFunction, 0x29);

    // The key sync stalls inside the keyboard at its first report.
    SimulatedFaults faults;
    faults.stall = {1, -1};
    rig.keyboard->SetFaults(faults);
    rig.worker->Queue(TASK_SYNC_KEYS);
    ASSERT_TRUE(rig.keyboard->WaitForStall(std::chrono::seconds(10)));
    for (int i = 0; i < 5; ++i) {
        rig.worker->Queue(TASK_SYNC_LIGHT);
    }
    EXPECT_EQ(rig.worker->Tasks().Size(), 6u);
    rig.keyboard->ReleaseStall();
    ASSERT_TRUE(rig.WaitUntilIdle());
    rig.worker->Stop();

    const auto reports = rig.keyboard->Reports();
    std::vector<int> order;
    for (const RecordedReport& r : reports) {
        if (r.kind == ReportKind::kSet && (r.bytes[1] == 0xF7 || r.bytes[1] == 0xFA)) {
            order.push_back(r.bytes[1]);
        }
    }
    EXPECT_EQ(order, (std::vector<int>{0xFA, 0xF7, 0xF7, 0xF7, 0xF7, 0xF7}));
    EXPECT_EQ(rig.keyboard->GetFunctionSlot(1).key_code, 0x04);
    rig.ExpectNoViolations();
}

// A thread whose work blocks until released.
class BlockingThread final : public CThreadBasic {
public:
    explicit BlockingThread(Clock& clock) : CThreadBasic(clock) {}
    ~BlockingThread() override { Stop(); }

    void Release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        cv_.notify_all();
    }
    bool WaitUntilInside() {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, std::chrono::seconds(10), [&] { return inside_; });
    }
    std::atomic<int> runs{0};
    std::atomic<bool> finished{false};

protected:
    void Run() override {
        ++runs;
        std::unique_lock lock(mutex_);
        inside_ = true;
        cv_.notify_all();
        cv_.wait(lock, [&] { return released_; });
        finished = true;
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool inside_ = false;
    bool released_ = false;
};

TEST(CThreadBasicTest, StopWaitsForTheRunningWorkWhateverItTakes) {
    VirtualClock clock;
    BlockingThread thread(clock);
    EXPECT_EQ(thread.Start(), 1);
    EXPECT_EQ(thread.Start(), 0);
    ASSERT_TRUE(thread.WaitUntilInside());
    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
        thread.Stop();
        stopped = true;
    });
    // Well past the old 1000 ms give-up: Stop is still waiting.
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    EXPECT_FALSE(stopped);
    EXPECT_FALSE(thread.finished);
    thread.Release();
    stopper.join();
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(thread.finished);
    EXPECT_FALSE(thread.Running());
    EXPECT_EQ(thread.runs, 1);
    // It can run again.
    EXPECT_EQ(thread.Start(), 1);
    thread.Stop();
}

TEST(CThreadBasicTest, CyclesArePacedByTheClock) {
    VirtualClock clock;
    struct Counter final : CThreadBasic {
        explicit Counter(Clock& c) : CThreadBasic(c) {}
        ~Counter() override { Stop(); }
        void Run() override {
            if (++runs == 5) {
                Stop(); // from inside: only clears the flag
            }
        }
        std::atomic<int> runs{0};
    } counter(clock);
    counter.Start();
    while (counter.Running()) {
        std::this_thread::yield();
    }
    counter.Stop();
    EXPECT_EQ(counter.runs, 5);
    const auto sleeps = clock.Sleeps();
    ASSERT_EQ(sleeps.size(), 4u);
    for (const auto& s : sleeps) {
        EXPECT_EQ(s.length, std::chrono::milliseconds(16));
    }
}

TEST(CThreadBasicTest, WithoutWorkTheThreadWaitsForWakeOrStop) {
    VirtualClock clock;
    struct Idler final : CThreadBasic {
        explicit Idler(Clock& c) : CThreadBasic(c) {}
        ~Idler() override { Stop(); }
        void Run() override { ++runs; }
        bool HasWork() override { return work_left-- > 0; }
        std::atomic<int> runs{0};
        std::atomic<int> work_left{2};
    } idler(clock);
    // The run count once it stops changing; -1 when it keeps climbing.
    const auto runs_settle = [&] {
        int last = -1;
        for (int i = 0; i < 30; ++i) {
            if (last == idler.runs) {
                return last;
            }
            last = idler.runs;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return -1;
    };
    idler.Start();
    // Two cycles with work, then one more run before it asks again and waits.
    EXPECT_EQ(runs_settle(), 3);
    idler.Wake();
    EXPECT_EQ(runs_settle(), 4);
    idler.Stop();
    EXPECT_FALSE(idler.Running());
}

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
