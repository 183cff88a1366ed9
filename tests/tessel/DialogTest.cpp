#include "TestSupport.h"

#include "tessel/Manager.h"

#include <gtest/gtest.h>

#include <set>

using namespace tessel_test;
using kovrin::platform::MouseButton;

namespace {

class DialogTest : public ::testing::Test {
protected:
    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
};

TEST_F(DialogTest, DefaultBackgroundIsFrameAndFill) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.Open(200, 100));
    dlg.ShowWindow(SW_SHOW);
    ui.Pump();
    // Frame 0x0000FF (red) one pixel wide, then 0x130D09, both at alpha 0xFE.
    EXPECT_EQ(ui.Pixel(dlg, 0, 0), 0xFEFE0000u);
    EXPECT_EQ(ui.Pixel(dlg, 199, 50), 0xFEFE0000u);
    EXPECT_EQ(ui.Pixel(dlg, 1, 1) >> 24, 0xFEu);
    EXPECT_EQ(ui.Rgb(dlg, 100, 50), 0x090D13u);
    dlg.DestroyWindow();
}

TEST_F(DialogTest, OnlyTheDirtyAreaIsRepainted) {
    Probe* a = nullptr;
    Probe* b = nullptr;
    TestDialog dlg;
    dlg.build = [&](TestDialog& d, CRect) {
        a = new Probe(&d, 1, CRect(10, 10, 50, 50));
        b = new Probe(&d, 2, CRect(100, 10, 140, 50));
        d.AddControl(a);
        d.AddControl(b);
    };
    ASSERT_TRUE(dlg.Open());
    dlg.ShowWindow(SW_SHOW);
    ui.Pump();
    const int a_draws = a->draws;
    const int b_draws = b->draws;
    const int paints = dlg.GetPaintManager().PaintCount();
    a->UpdateControl(1);
    a->UpdateControl(1); // coalesced into one paint
    ui.Pump();
    EXPECT_EQ(dlg.GetPaintManager().PaintCount(), paints + 1);
    EXPECT_EQ(a->draws, a_draws + 1);
    EXPECT_EQ(b->draws, b_draws);
    // A later control overlapping the changed one is drawn again too.
    auto* over = new Probe(&dlg, 3, CRect(40, 40, 60, 60), 0xFF808080);
    dlg.AddControl(over);
    ui.Pump();
    const int over_draws = over->draws;
    a->UpdateControl(1);
    ui.Pump();
    EXPECT_EQ(over->draws, over_draws + 1);
    EXPECT_EQ(ui.Rgb(dlg, 45, 45), 0x808080u);
    dlg.DestroyWindow();
}

// Caches two looks in a state strip: each cell is the background under the
// control with a half-transparent colour over it.
class StripControl : public MControl {
public:
    StripControl(MObject* parent, CRect r) : MControl(parent, 9, r, 1, 1, 1) {}
    void DrawControl(HDC& dc, CRect) override {
        if (!GetUpdate()) {
            UpdateMemDC(dc, rect_.Width() * 2, rect_.Height());
            for (int cell = 0; cell < 2; ++cell) {
                CopyBackgroundToCell(dc, cell);
                const int x = cell * rect_.Width();
                MRender::FillSolidRect(Strip().Context(),
                                       CRect(x, 0, x + rect_.Width(), rect_.Height()),
                                       cell == 0 ? 0x80FF0000 : 0x800000FF);
            }
            ++builds;
        }
        DrawStripCell(dc, state);
    }
    int state = 0;
    int builds = 0;
};

TEST_F(DialogTest, StateStripHoldsTheBackgroundAndIsBuiltOnce) {
    StripControl* s = nullptr;
    TestDialog dlg;
    dlg.build = [&](TestDialog& d, CRect) {
        d.SetBackColor(RGB(0, 255, 0), RGB(0, 255, 0));
        s = new StripControl(&d, CRect(20, 20, 60, 60));
        d.AddControl(s);
    };
    ASSERT_TRUE(dlg.Open());
    dlg.ShowWindow(SW_SHOW);
    ui.Pump();
    const std::uint32_t first = ui.Rgb(dlg, 30, 30);
    EXPECT_NEAR(static_cast<int>(first >> 16), 128, 2);       // red over green
    EXPECT_NEAR(static_cast<int>(first >> 8 & 0xFF), 127, 2); // green shows through
    s->state = 1;
    s->UpdateControl(0); // the strip stays valid
    ui.Pump();
    const std::uint32_t second = ui.Rgb(dlg, 30, 30);
    EXPECT_NEAR(static_cast<int>(second & 0xFF), 128, 2);
    EXPECT_NEAR(static_cast<int>(second >> 8 & 0xFF), 127, 2);
    EXPECT_EQ(s->builds, 1);
    s->UpdateControl(1); // stale: rebuilt
    ui.Pump();
    EXPECT_EQ(s->builds, 2);
    dlg.DestroyWindow();
}

TEST_F(DialogTest, ControlTimersTickAndAreNotStartedTwice) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.Open());
    auto* p = new Probe(&dlg, 1, CRect(0, 0, 10, 10));
    auto* q = new Probe(&dlg, 2, CRect(0, 0, 10, 10));
    dlg.AddControl(p);
    dlg.AddControl(q);
    PaintManager& pm = dlg.GetPaintManager();
    EXPECT_EQ(pm.SetTimer(p, 5, 100), 1);
    EXPECT_EQ(pm.SetTimer(p, 5, 100), 0);
    EXPECT_EQ(pm.GetTimerEventId(p, 5), 17u);
    EXPECT_EQ(pm.SetTimer(q, 5, 50), 1);
    EXPECT_EQ(pm.GetTimerEventId(q, 5), 18u);
    ui.Advance(350);
    EXPECT_EQ(p->ticks, 3);
    EXPECT_EQ(q->ticks, 7);
    EXPECT_EQ(p->timer_keys.front(), 5u);
    EXPECT_EQ(pm.KillTimer(p, 5), 1);
    ui.Advance(300);
    EXPECT_EQ(p->ticks, 3);
    EXPECT_EQ(pm.SetTimer(p, 5, 100), 1); // restarted under its old id
    EXPECT_EQ(pm.GetTimerEventId(p, 5), 17u);
    ui.Advance(100);
    EXPECT_EQ(p->ticks, 4);
    // Removing a control stops its timers.
    dlg.GetPaintManager().RemoveControl(q);
    ui.Advance(200);
    dlg.DestroyWindow();
}

TEST_F(DialogTest, ControlTimerIdsSkipReservedAndUsedIds) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.Open());
    auto* p = new Probe(&dlg, 1, CRect());
    dlg.AddControl(p);
    PaintManager& pm = dlg.GetPaintManager();
    std::set<UINT> ids;
    for (UINT key = 0; key < 236; ++key) {
        ASSERT_EQ(pm.SetTimer(p, key, 1000), 1) << key;
        ids.insert(pm.GetTimerEventId(p, key));
    }
    EXPECT_EQ(ids.size(), 236u);
    for (UINT reserved : {0u, 66u, 88u, 99u}) {
        EXPECT_EQ(ids.count(reserved), 0u) << reserved;
    }
    EXPECT_EQ(*ids.rbegin(), 239u);
    // Every usable id is taken: the next timer is refused, not doubled up.
    EXPECT_EQ(pm.SetTimer(p, 500, 1000), 0);
    pm.KillTimer(p);
    EXPECT_EQ(pm.SetTimer(p, 500, 1000), 1);
    dlg.DestroyWindow();
}

// Answers Yes when its control is clicked.
class AskDialog : public TestDialog {
public:
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override {
        TestDialog::OnMessage(id, code, wParam, lParam);
        if (code == CN_CLICKED) {
            DoYes();
        }
        return 1;
    }
};

TEST_F(DialogTest, NestedModalLoopReturnsTheInnerResultFirst) {
    TestDialog outer;
    ASSERT_TRUE(outer.Open(400, 300, 100, 100));
    AskDialog inner;
    inner.build = [](TestDialog& d, CRect) {
        d.AddControl(new Probe(&d, 7, CRect(10, 10, 60, 40)));
    };
    UINT inner_result = 0;
    bool disabled_meanwhile = false;
    PostToUi([&] {
        ASSERT_NE(inner.Create(&outer, "inner", 0, 0, CRect(200, 200, 300, 280)), nullptr);
        ui.System().Press(MouseButton::Left, 220, 220);
        ui.System().Release(MouseButton::Left, 220, 220);
        PostToUi([&] { disabled_meanwhile = !outer.IsWindowEnabled(); });
        inner_result = inner.ShowModal();
        outer.DoCancel();
    });
    EXPECT_EQ(outer.ShowModal(), static_cast<UINT>(IDCANCEL));
    EXPECT_EQ(inner_result, static_cast<UINT>(IDYES));
    EXPECT_TRUE(disabled_meanwhile);
    EXPECT_EQ(inner.notes.size(), 2u); // pressed, clicked
    EXPECT_EQ(inner.GetSafeHwnd(), nullptr);
    EXPECT_EQ(outer.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTest, ModalWithoutWindowAndTheCloseCodes) {
    TestDialog never;
    EXPECT_EQ(never.ShowModal(), 0xFFFFFFFFu);
    struct Case {
        void (MDialog::*close)();
        UINT expected;
    };
    const Case cases[] = {{&MDialog::DoOK, 1},
                          {&MDialog::DoCancel, 2},
                          {&MDialog::DoClose, 2},
                          {&MDialog::DoYes, 6},
                          {&MDialog::DoNo, 7}};
    for (const Case& c : cases) {
        TestDialog d;
        ASSERT_TRUE(d.Open());
        (d.*c.close)();
        EXPECT_EQ(d.ShowModal(), c.expected);
    }
}

TEST_F(DialogTest, IdleAnimationTickPaintsNothing) {
    // Animates by changing colour on every tick while running.
    class Blinker : public Probe {
    public:
        using Probe::Probe;
        int OnControlTimer() override {
            if (running) {
                state = state == 0 ? 1 : 0;
                UpdateControl(0);
            }
            return 0;
        }
        bool running = false;
    };
    TestDialog dlg;
    Blinker* blink = nullptr;
    dlg.build = [&](TestDialog& d, CRect) {
        blink = new Blinker(&d, 1, CRect(10, 10, 30, 30));
        d.AddControl(blink);
        blink->SetRunTimer(1);
        blink->AddMTimer();
        d.SetMTimer(10);
    };
    ASSERT_TRUE(dlg.Open());
    dlg.ShowWindow(SW_SHOW);
    ui.Pump();
    const int paints = dlg.GetPaintManager().PaintCount();
    ui.Advance(1000);
    EXPECT_EQ(dlg.GetPaintManager().PaintCount(), paints);
    blink->running = true;
    ui.Advance(100);
    EXPECT_GE(dlg.GetPaintManager().PaintCount(), paints + 9);
    dlg.DestroyWindow();
}

TEST_F(DialogTest, CentresOnTheWorkArea) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.Open(400, 300, 0, 0));
    dlg.CenterWindow();
    EXPECT_EQ(dlg.GetWindowRect(), CRect(760, 370, 1160, 670));
    // A window larger than the work area is clamped to its top-left corner.
    ui.System().SetScreen({0, 0, 300, 200}, {0, 20, 300, 200});
    dlg.CenterWindow();
    EXPECT_EQ(dlg.GetWindowRect().TopLeft(), CPoint(0, 20));
    dlg.DestroyWindow();
}

TEST_F(DialogTest, MessageOverlayShowsAndFades) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.Open(400, 300));
    dlg.ShowWindow(SW_SHOW);
    dlg.SetMessage("Saved", CRect(), MSG_LEVEL_INFO);
    ui.Pump();
    PaintManager& pm = dlg.GetPaintManager();
    EXPECT_EQ(pm.GetOverlayRect(), CRect(100, 240, 300, 298));
    EXPECT_EQ(ui.Rgb(dlg, 101, 241), 0xE6E6E6u);
    EXPECT_EQ(ui.Rgb(dlg, 103, 243), 0xFEFEFEu);
    ui.Advance(2990);
    EXPECT_EQ(pm.GetOverlayAlpha(), 255);
    ui.Advance(3000);
    EXPECT_EQ(pm.GetOverlayAlpha(), 0);
    EXPECT_EQ(ui.Rgb(dlg, 103, 243), 0x090D13u);
    dlg.DestroyWindow();
}

// Removes another control when offered a window message.
class Remover : public Probe {
public:
    using Probe::Probe;
    LRESULT OnWindowMessage(UINT msg, WPARAM, LPARAM) override {
        if (msg == WM_USER + 5 && victim != nullptr) {
            GetManager()->RemoveControl(victim);
            victim = nullptr;
        }
        return 0;
    }
    MControl* victim = nullptr;
};

// Counts the window messages it is offered.
class Listener : public Probe {
public:
    using Probe::Probe;
    LRESULT OnWindowMessage(UINT msg, WPARAM, LPARAM) override {
        if (msg == WM_USER + 5) {
            ++(*heard);
        }
        return 0;
    }
    int* heard = nullptr;
};

TEST_F(DialogTest, ControlRemovedDuringAWalkIsNotVisitedAfterwards) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.Open());
    auto* remover = new Remover(&dlg, 1, CRect(0, 0, 10, 10));
    auto* victim = new Listener(&dlg, 2, CRect(0, 0, 10, 10));
    auto* other = new Listener(&dlg, 3, CRect(0, 0, 10, 10));
    int victim_heard = 0;
    int other_heard = 0;
    victim->heard = &victim_heard;
    other->heard = &other_heard;
    remover->victim = victim;
    dlg.AddControl(remover);
    dlg.AddControl(victim);
    dlg.AddControl(other);
    dlg.SendMessageW(WM_USER + 5, 0, 0);
    EXPECT_EQ(victim_heard, 0);
    EXPECT_EQ(other_heard, 1);
    EXPECT_EQ(dlg.GetControls().size(), 2u);
    dlg.DestroyWindow();
}

TEST_F(DialogTest, ClosingANonModalDialogDestroysItsControls) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.Open());
    dlg.AddControl(new Probe(&dlg, 1, CRect(0, 0, 5, 5)));
    dlg.ShowWindow(SW_SHOW);
    dlg.DoClose();
    ui.Pump();
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(dlg.GetControls().empty());
}

TEST_F(DialogTest, OwnedWindowsAreDestroyedWithTheirOwner) {
    TestDialog owner;
    TestDialog owned;
    TestDialog owned_by_owned;
    TestDialog other;
    ASSERT_TRUE(owner.Open());
    ASSERT_NE(owned.Create(&owner, "owned", 0, 0, CRect(10, 10, 110, 110)), nullptr);
    ASSERT_NE(owned_by_owned.Create(&owned, "owned2", 0, 0, CRect(20, 20, 120, 120)), nullptr);
    ASSERT_TRUE(other.Open());
    owner.DestroyWindow();
    ui.Pump();
    EXPECT_EQ(owner.GetSafeHwnd(), nullptr);
    EXPECT_EQ(owned.GetSafeHwnd(), nullptr);
    EXPECT_EQ(owned_by_owned.GetSafeHwnd(), nullptr);
    EXPECT_NE(other.GetSafeHwnd(), nullptr) << "a window of its own stays";
    other.DestroyWindow();
}

} // namespace
