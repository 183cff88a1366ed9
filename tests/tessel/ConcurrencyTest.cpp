// Calls into the UI thread from other threads.

#include "TestSupport.h"

#include "platform/window/EventLoop.h"
#include "tessel/MControlFont.h"
#include "tessel/Manager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace tessel_test;

namespace {

// A label whose text other threads change through the UI thread.
class Label : public MControlFont {
public:
    Label(MObject* parent, CRect r) : MControlFont(parent, 1, r, "", 1, 1, 1) {}
    void DrawControl(HDC& dc, CRect) override {
        MRender::FillSolidRect(dc, rect_, GetTitle().empty() ? 0xFF000000 : 0xFFFFFFFF);
    }
};

TEST(Concurrency, PostToUiFromAnotherThreadUpdatesALabel) {
    HeadlessSession ui(KOVRIN_BUILD_PROGRAM_DIR);
    TestDialog dlg;
    Label* label = nullptr;
    dlg.build = [&](TestDialog& d, CRect) {
        label = new Label(&d, CRect(10, 10, 60, 30));
        d.AddControl(label);
    };
    ASSERT_TRUE(dlg.Open());
    dlg.ShowWindow(SW_SHOW);
    ui.Pump();
    EXPECT_EQ(ui.Rgb(dlg, 20, 20), 0x000000u);

    std::vector<int> seen;
    constexpr int kThreads = 4;
    constexpr int kPosts = 200;
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < kPosts; ++i) {
                ASSERT_TRUE(PostToUi([&seen, t, i] { seen.push_back(t * 1000 + i); }));
            }
            PostToUi([label, t] { label->SetTitle("worker " + std::to_string(t)); });
        });
    }
    for (auto& w : workers) {
        w.join();
    }
    ui.Loop().RunUntil([&] { return seen.size() == kThreads * kPosts; });
    ui.Pump();
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kThreads * kPosts));
    // Each thread's closures ran in the order it posted them.
    for (int t = 0; t < kThreads; ++t) {
        int last = -1;
        for (int v : seen) {
            if (v / 1000 == t) {
                EXPECT_GT(v % 1000, last);
                last = v % 1000;
            }
        }
    }
    EXPECT_EQ(label->GetTitle().rfind("worker ", 0), 0u);
    EXPECT_EQ(ui.Rgb(dlg, 20, 20), 0xFFFFFFu);
    dlg.DestroyWindow();
}

TEST(Concurrency, InvokeOnUiWaitsForTheResultAndInvalidationWorksFromAnyThread) {
    HeadlessSession ui(KOVRIN_BUILD_PROGRAM_DIR);
    TestDialog dlg;
    ASSERT_TRUE(dlg.Open());
    dlg.ShowWindow(SW_SHOW);
    ui.Pump();
    const int paints = dlg.GetPaintManager().PaintCount();
    std::atomic<bool> done{false};
    int value = 0;
    std::thread worker([&] {
        dlg.GetPaintManager().InvalidateRect(CRect(0, 0, 10, 10), 0);
        EXPECT_TRUE(InvokeOnUi([&] { value = 42; }));
        EXPECT_EQ(value, 42);
        PostToUi([&] { done = true; }); // also wakes the loop
    });
    ui.Loop().RunUntil([&] { return done.load(); });
    worker.join();
    ui.Pump();
    EXPECT_GT(dlg.GetPaintManager().PaintCount(), paints);
    dlg.DestroyWindow();
}

TEST(Concurrency, BlockingInvokeGivesUpWhenTheUiShutsDown) {
    HeadlessSession ui(KOVRIN_BUILD_PROGRAM_DIR);
    std::atomic<bool> waiting{false};
    std::atomic<bool> ran{false};
    bool result = true;
    // The UI thread never turns its loop: it is busy stopping the worker.
    std::thread worker([&] {
        waiting = true;
        result = InvokeOnUi([&] { ran = true; });
    });
    while (!waiting) {
        std::this_thread::yield();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    BeginUiShutdown();
    worker.join(); // would hang if the invoke kept waiting
    EXPECT_FALSE(result);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(PostToUi([] {}));
}

} // namespace
