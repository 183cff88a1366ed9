// The wait dialog: placement, look, animation, and every way it closes.

#include "TestSupport.h"
#include "XSupport.h"

#include "platform/window/EventLoop.h"
#include "services/WaitDlg.h"
#include "tessel/Manager.h"
#include "tessel/controls/standard/CGifPicture.h"

#include <gtest/gtest.h>

using namespace tessel_test;
using kovrin::WaitClose;
using kovrin::WaitDialogSlot;
using kovrin::WaitDlg;

namespace {

class WaitDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Deliberately off the screen's centre.
        ASSERT_TRUE(owner.Open(800, 600, 100, 50));
        owner.ShowWindow(SW_SHOW);
        ui.Pump();
    }
    void TearDown() override { owner.DestroyWindow(); }

    // Runs `f` on the UI thread after `ms` of loop time (inside a modal loop).
    static void After(unsigned ms, std::function<void()> f) {
        Manager::Loop()->AddTimer(ms, false, std::move(f));
    }

    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
    TestDialog owner;
    WaitDialogSlot slot;
};

TEST_F(WaitDlgTest, CentredOnItsOwnerTopmostAndAnimated) {
    WaitClose close;
    After(200, [&] {
        WaitDlg* dlg = slot.Current();
        ASSERT_NE(dlg, nullptr);
        // (800 - 102) / 2 and (600 - 102) / 2 from the owner's corner.
        EXPECT_EQ(dlg->GetWindowRect(), CRect(449, 299, 551, 401));
        EXPECT_EQ(dlg->GetWindowTextW(), "WaitDlg");
        EXPECT_TRUE(dlg->Native()->Options().topmost);
        EXPECT_FALSE(owner.IsWindowEnabled());
        auto* gif = dynamic_cast<CGifPicture*>(dlg->GetControl(WaitDlg::kPictureId));
        ASSERT_NE(gif, nullptr);
        EXPECT_EQ(gif->GetRect(), CRect(1, 1, 101, 101));
        EXPECT_TRUE(gif->IsAnimate());
        EXPECT_GE(gif->GetFrameCount(), 2);
        const int frame = gif->GetFrame();
        // Dark grey behind the picture; the leading dot of the spinner in red.
        EXPECT_EQ(ui.Rgb(*dlg, 0, 0), 0x333333u);
        After(60, [&, gif, frame, dlg] {
            EXPECT_NE(gif->GetFrame(), frame); // five 10 ms ticks a frame
            bool red = false;
            for (int y = 0; y < WaitDlg::kSize && !red; ++y) {
                for (int x = 0; x < WaitDlg::kSize && !red; ++x) {
                    red = Near(ui.Rgb(*dlg, x, y), 0xE0202F, 12);
                }
            }
            EXPECT_TRUE(red);
            close();
        });
    });
    slot.Show(&owner, [&](WaitClose c) { close = std::move(c); });
    EXPECT_EQ(slot.Current(), nullptr);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(WaitDlgTest, FollowsTheOwnerWhereverItIs) {
    owner.SetWindowPos(1000, 400, 0, 0);
    ui.Pump();
    After(50, [&] {
        ASSERT_NE(slot.Current(), nullptr);
        EXPECT_EQ(slot.Current()->GetWindowRect().TopLeft(), CPoint(1349, 649));
        slot.CloseCurrent();
    });
    slot.Show(&owner, [](WaitClose c) { c(); });
}

TEST_F(WaitDlgTest, ATaskThatAlreadyRanOrWasDroppedClosesItAtOnce) {
    const std::uint64_t start = Manager::Loop()->NowMs();
    // The token calls the close function while it is being attached.
    slot.Show(&owner, [](WaitClose c) { c(); });
    // The token lets the function go without calling it.
    slot.Show(&owner, [](WaitClose) {});
    // Nothing to attach to.
    slot.Show(&owner, kovrin::WaitAttach{});
    EXPECT_LT(Manager::Loop()->NowMs() - start, 100u);
    EXPECT_EQ(slot.Current(), nullptr);
}

TEST_F(WaitDlgTest, ClosedByItsTaskLaterAndOnlyOnce) {
    WaitClose close;
    After(500, [&] {
        EXPECT_NE(slot.Current(), nullptr);
        close();
        close(); // a second call changes nothing
    });
    const std::uint64_t start = Manager::Loop()->NowMs();
    slot.Show(&owner, [&](WaitClose c) { close = c; });
    EXPECT_GE(Manager::Loop()->NowMs() - start, 500u);
    close(); // after the dialog is gone
    ui.Pump();
}

TEST_F(WaitDlgTest, ASecondDialogReplacesTheFirst) {
    WaitClose first;
    WaitClose second;
    WaitDlg* first_dlg = nullptr;
    int shown = 0;
    After(100, [&] {
        first_dlg = slot.Current();
        ASSERT_NE(first_dlg, nullptr);
        After(100, [&] {
            WaitDlg* now = slot.Current();
            ASSERT_NE(now, nullptr);
            EXPECT_NE(now, first_dlg);
            // The first one is gone; exactly one wait dialog is on screen.
            EXPECT_EQ(first_dlg->GetSafeHwnd(), nullptr);
            const std::string title = "WaitDlg";
            EXPECT_EQ(Manager::FindWindows("LumoClient", &title).size(), 1u);
            second();
        });
        slot.Show(&owner, [&](WaitClose c) { second = c; });
        ++shown;
    });
    slot.Show(&owner, [&](WaitClose c) { first = c; });
    ++shown;
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(slot.Current(), nullptr);
    first(); // its task ends late: nothing left to close
    ui.Pump();
    EXPECT_TRUE(owner.IsWindowEnabled());
}

} // namespace

namespace {

using kovrin::WaitToken;

TEST_F(WaitDlgTest, ClosedThroughTheTaskToken) {
    // Finished before the dialog appears: it closes at once.
    auto done = WaitToken::Create();
    done->Finish();
    const std::uint64_t start = Manager::Loop()->NowMs();
    slot.Show(&owner, done);
    EXPECT_LT(Manager::Loop()->NowMs() - start, 100u);
    // Finished while it is shown.
    auto later = WaitToken::Create();
    After(300, [&] {
        EXPECT_NE(slot.Current(), nullptr);
        later->Finish();
    });
    slot.Show(&owner, later);
    EXPECT_GE(Manager::Loop()->NowMs() - start, 300u);
    EXPECT_EQ(slot.Current(), nullptr);
    // No token: nothing to wait for.
    slot.Show(&owner, std::shared_ptr<WaitToken>());
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(WaitDlgTest, AReplacedDialogsTokenFinishingLateClosesNothing) {
    auto first = WaitToken::Create();
    auto second = WaitToken::Create();
    After(100, [&] {
        After(100, [&] {
            first->Finish(); // its dialog is gone: the second stays
            After(100, [&] {
                EXPECT_NE(slot.Current(), nullptr);
                second->Finish();
            });
        });
        slot.Show(&owner, second);
    });
    slot.Show(&owner, first);
    EXPECT_EQ(slot.Current(), nullptr);
    EXPECT_TRUE(first->Finished());
    EXPECT_TRUE(second->Finished());
}

} // namespace
