#include "platform/window/EventLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kovrin::platform::EventLoop;

namespace {

TEST(EventLoop, TimersRunInDeadlineOrderOnTheVirtualClock) {
    EventLoop loop(true);
    std::vector<std::string> order;
    loop.AddTimer(30, false, [&] { order.push_back("once30"); });
    const auto every10 = loop.AddTimer(10, true, [&] { order.push_back("tick"); });
    loop.AddTimer(25, false, [&] { order.push_back("once25"); });
    loop.AdvanceTime(30);
    // Timers due at the same time run in the order they were armed.
    EXPECT_EQ(order, (std::vector<std::string>{"tick", "tick", "once25", "once30", "tick"}));
    EXPECT_EQ(loop.NowMs(), 30u);
    loop.CancelTimer(every10);
    order.clear();
    loop.AdvanceTime(100);
    EXPECT_TRUE(order.empty());
}

TEST(EventLoop, PostedClosuresRunBeforeTimersAndPaints) {
    EventLoop loop(true);
    std::vector<std::string> order;
    struct Target : kovrin::platform::PaintTarget {
        std::vector<std::string>* order;
        void PaintNow() override { order->push_back("paint"); }
    } target;
    target.order = &order;
    loop.AddTimer(0, false, [&] { order.push_back("timer"); });
    loop.SchedulePaint(&target);
    loop.SchedulePaint(&target); // coalesced
    loop.Post([&] { order.push_back("post"); });
    loop.RunPending();
    EXPECT_EQ(order, (std::vector<std::string>{"post", "timer", "paint"}));
}

TEST(EventLoop, CancelledTimerInsideACallbackDoesNotRun) {
    EventLoop loop(true);
    int second_runs = 0;
    EventLoop::TimerId second = 0;
    loop.AddTimer(10, false, [&] { loop.CancelTimer(second); });
    second = loop.AddTimer(10, false, [&] { ++second_runs; });
    loop.AdvanceTime(20);
    EXPECT_EQ(second_runs, 0);
}

TEST(EventLoop, NestedLoopsEndOnQuitAndStayQuit) {
    EventLoop loop(true);
    bool inner_ended_by_quit = false;
    loop.Post([&] {
        loop.Post([&] { loop.Quit(3); });
        inner_ended_by_quit = !loop.RunUntil([] { return false; });
    });
    EXPECT_EQ(loop.Run(), 3);
    EXPECT_TRUE(inner_ended_by_quit);
}

TEST(EventLoop, BlockingLoopJumpsTheVirtualClockToTheNextTimer) {
    EventLoop loop(true);
    bool fired = false;
    loop.AddTimer(5000, false, [&] { fired = true; });
    EXPECT_TRUE(loop.RunUntil([&] { return fired; }));
    EXPECT_EQ(loop.NowMs(), 5000u);
}

} // namespace
