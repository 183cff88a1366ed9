// Widgets other threads reach: the lighting view's key colours (the worker
// streams them while the window paints and the layout may be replaced) and
// the record list's order.

#include "TestSupport.h"

#include "tessel/controls/keyboard/KeyboardCtrl.h"
#include "tessel/controls/lists/CRecordList.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace tessel_test;

// Pango reads the font configuration on a thread of its own and hands it
// over through glib's futex-based locks, which the race detector does not
// see; it would report fontconfig's own memory as raced the first time text
// is drawn. Only races inside fontconfig are overlooked. The font registry's
// release at exit takes its two locks in the opposite order of text drawing;
// it runs after every thread has ended, so that order is overlooked too.
extern "C" __attribute__((visibility("default"), used)) const char* __tsan_default_suppressions() {
    return "race:libfontconfig.so\ndeadlock:Tessel::FontRegistry::Release\n";
}

namespace {

constexpr int kKeys = 104;

void AddKeys(KeyboardCtrl& view) {
    for (int i = 0; i < kKeys; ++i) {
        const int x = (i % 26) * 36;
        const int y = (i / 26) * 40;
        view.AddKeyItem("K", "Key", static_cast<std::uint32_t>(4 + i), CRect(x, y, x + 34, y + 38),
                        "");
    }
}

TEST(WidgetConcurrency, KeyColoursFromAWorkerWhileTheWindowPaintsAndReloads) {
    HeadlessSession ui(KOVRIN_BUILD_PROGRAM_DIR);
    TestDialog dlg;
    ASSERT_TRUE(dlg.Open(1000, 200));
    dlg.ShowWindow(SW_SHOW);
    auto* view = dynamic_cast<KeyboardCtrl*>(
        dlg.CreateControl("KeyboardCtrl", 72, CRect(0, 0, 960, 180), "", 1, 1));
    ASSERT_NE(view, nullptr);
    view->SetKeyboardImage("keyboard/kovrin_bolt104.png");
    view->SetWidthAndHeight(944, 170);
    view->SetKeyboardCtrlMode(KBMODE_LIVE);
    AddKeys(*view);
    ui.Pump();

    std::atomic<bool> done{false};
    std::atomic<int> bad_snapshots{0};
    std::thread worker([&] {
        for (int round = 0; round < 300; ++round) {
            for (int i = 0; i < kKeys; ++i) {
                view->SetKeyColor(static_cast<std::uint32_t>(4 + i),
                                  RGB(round & 0xFF, i & 0xFF, 128));
            }
            view->Redraw();
            // A snapshot is a consistent list: the keys added so far, each
            // at its index, never a torn or freed one.
            const auto keys = view->GetKeyItems();
            if (static_cast<int>(keys.size()) > kKeys) {
                ++bad_snapshots;
            }
            for (std::size_t i = 0; i < keys.size(); ++i) {
                if (keys[i].index != static_cast<int>(i) ||
                    keys[i].keyValue != static_cast<std::uint32_t>(4 + i)) {
                    ++bad_snapshots;
                }
            }
        }
        done = true;
    });
    int reloads = 0;
    while (!done) {
        ui.Pump();
        if (++reloads % 8 == 0) {
            view->ClearItem();
            AddKeys(*view);
        }
        std::this_thread::yield();
    }
    worker.join();
    ui.Pump();
    EXPECT_EQ(bad_snapshots.load(), 0);
    EXPECT_EQ(view->GetKeyCount(), kKeys);
    dlg.DestroyWindow();
}

TEST(WidgetConcurrency, RecordSwapsFromAnotherThreadKeepEveryStep) {
    HeadlessSession ui(KOVRIN_BUILD_PROGRAM_DIR);
    TestDialog dlg;
    ASSERT_TRUE(dlg.Open(500, 300));
    dlg.ShowWindow(SW_SHOW);
    auto* page = new MPanel(&dlg, 53, CRect(0, 0, 500, 300), 1);
    dlg.AddControl(page);
    auto* list = dynamic_cast<CRecordList*>(
        page->CreateControl("CRecordList", 233, CRect(10, 10, 470, 290), "", 1, 1));
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < 20; ++i) {
        list->AddString("K" + std::to_string(i), 2 + i % 2, 65 + i, i);
    }
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 2000; ++i) {
            list->SwapItem(i % 20, (i * 7 + 3) % 20);
        }
        done = true;
    });
    while (!done) {
        list->UpdateControl(1);
        ui.Pump();
        const auto items = list->GetRecordItems();
        ASSERT_EQ(items.size(), 20u);
    }
    worker.join();
    std::vector<int> delays;
    for (const RecordItem& r : list->GetRecordItems()) {
        delays.push_back(r.delay);
        EXPECT_EQ(r.text, "K" + std::to_string(r.delay));
    }
    std::sort(delays.begin(), delays.end());
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(delays[static_cast<std::size_t>(i)], i);
    }
    dlg.DestroyWindow();
}

} // namespace
