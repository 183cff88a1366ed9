#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

using namespace tessel_test;
using kovrin::platform::MouseButton;

namespace {

class EventTest : public ::testing::Test {
protected:
    void SetUp() override {
        dlg.build = [this](TestDialog& d, CRect) {
            a = new Probe(&d, 11, CRect(50, 50, 150, 100));
            b = new Probe(&d, 12, CRect(200, 50, 300, 100));
            d.AddControl(a);
            d.AddControl(b);
        };
        ASSERT_TRUE(dlg.Open());
        dlg.ShowWindow(SW_SHOW);
        ui.Pump();
    }
    void TearDown() override { dlg.DestroyWindow(); }
    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
    TestDialog dlg;
    Probe* a = nullptr;
    Probe* b = nullptr;
};

TEST_F(EventTest, ClickSendsPressedThenClicked) {
    ui.Click(dlg, 100, 75);
    EXPECT_EQ(dlg.notes, (std::vector<Note>{{11, CN_PRESSED, 0, 0}, {11, CN_CLICKED, 0, 0}}));
}

TEST_F(EventTest, PressMoveOutAndReleaseSendsNoClick) {
    ui.MoveTo(dlg, 100, 75);
    ui.Press(dlg, 100, 75);
    ui.MoveTo(dlg, 250, 75); // over the other control
    ui.MoveTo(dlg, 600, 75); // and out of the window
    ui.Release(dlg, 600, 75);
    EXPECT_EQ(dlg.notes, (std::vector<Note>{{11, CN_PRESSED, 0, 0}}));
    // While the button was held nothing else became hovered.
    EXPECT_TRUE(b->log.empty());
    EXPECT_EQ(a->state, 0);
}

TEST_F(EventTest, HoverFollowsThePointerAndLeavingTheWindowClearsIt) {
    ui.MoveTo(dlg, 100, 75);
    EXPECT_EQ(dlg.GetPaintManager().GetHoverControl(), a);
    EXPECT_EQ(a->log, std::vector<std::string>{"enter"});
    ui.MoveTo(dlg, 250, 75);
    EXPECT_EQ(dlg.GetPaintManager().GetHoverControl(), b);
    EXPECT_EQ(a->log, (std::vector<std::string>{"enter", "leave"}));
    ui.MoveTo(dlg, 250, 400); // below the window
    EXPECT_EQ(dlg.GetPaintManager().GetHoverControl(), nullptr);
    EXPECT_EQ(b->log, (std::vector<std::string>{"enter", "leave"}));
    // The hover colour shows, then the normal one again.
    ui.MoveTo(dlg, 100, 75);
    EXPECT_EQ(ui.Rgb(dlg, 100, 75), 0x20C040u);
    ui.MoveTo(dlg, 10, 10);
    EXPECT_EQ(ui.Rgb(dlg, 100, 75), 0x2040C0u);
}

TEST_F(EventTest, DoubleClickComesInTheOrderDownUpDoubleUp) {
    dlg.record_messages = true;
    ui.DoubleClick(dlg, 100, 75);
    std::vector<UINT> buttons;
    for (UINT m : dlg.messages) {
        if (m != WM_MOUSEMOVE) {
            buttons.push_back(m);
        }
    }
    EXPECT_EQ(buttons,
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
    // A control that does not take double clicks gets a second press.
    EXPECT_EQ(a->log, (std::vector<std::string>{"enter", "focus", "down", "up", "down", "up"}));
    EXPECT_EQ(dlg.notes.size(), 4u);
}

TEST_F(EventTest, DoubleClicksNeedSpeedAndAThirdPressStartsOver) {
    dlg.record_messages = true;
    a->SetDblClk(1);
    a->SetDblNotify(1);
    auto& sys = ui.System();
    const CRect r = dlg.GetWindowRect();
    for (int i = 0; i < 3; ++i) {
        sys.Press(MouseButton::Left, r.left + 100, r.top + 75);
        sys.Release(MouseButton::Left, r.left + 100, r.top + 75);
    }
    ui.Pump();
    ui.Advance(600);
    sys.Press(MouseButton::Left, r.left + 100, r.top + 75);
    sys.Release(MouseButton::Left, r.left + 100, r.top + 75);
    ui.Pump();
    ui.Advance(501); // too slow for a double click
    sys.Press(MouseButton::Left, r.left + 100, r.top + 75);
    ui.Pump();
    std::vector<UINT> downs;
    for (UINT m : dlg.messages) {
        if (m == WM_LBUTTONDOWN || m == WM_LBUTTONDBLCLK) {
            downs.push_back(m);
        }
    }
    EXPECT_EQ(downs, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN,
                                        WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
    EXPECT_EQ(std::count(a->log.begin(), a->log.end(), "dblclk"), 1);
    const auto dbl = std::count_if(dlg.notes.begin(), dlg.notes.end(),
                                   [](const Note& n) { return n.code == CN_DBLCLICK; });
    EXPECT_EQ(dbl, 1);
}

TEST_F(EventTest, WheelNotchesOf120) {
    ui.MoveTo(dlg, 100, 75);
    ui.Wheel(dlg, -120, 100, 75);
    EXPECT_EQ(a->log.back(), "scroll1:1");
    a->log.clear();
    ui.Wheel(dlg, 240, 100, 75);
    EXPECT_EQ(a->log, (std::vector<std::string>{"scroll1:0", "scroll1:0"}));
    a->log.clear();
    ui.Wheel(dlg, 60, 100, 75);
    ui.Wheel(dlg, -119, 100, 75);
    EXPECT_TRUE(a->log.empty());
}

TEST_F(EventTest, TabAndShiftTabMoveTheFocus) {
    auto* c = new Probe(&dlg, 13, CRect(0, 200, 10, 210));
    auto* hidden = new Probe(&dlg, 14, CRect(20, 200, 30, 210));
    auto* d = new Probe(&dlg, 15, CRect(40, 200, 50, 210));
    dlg.AddControl(c);
    dlg.AddControl(hidden);
    dlg.AddControl(d);
    for (Probe* p : {a, c, hidden, d}) {
        p->SetTabStop(1);
    }
    hidden->SetVisible(0);
    PaintManager& pm = dlg.GetPaintManager();
    // Shift+Tab with no focus goes to the last tab stop.
    ui.Key(VK_SHIFT, true);
    ui.Tap(VK_TAB);
    ui.Key(VK_SHIFT, false);
    EXPECT_EQ(pm.GetFocusControl(), d);
    ui.Tap(VK_TAB); // wraps to the first
    EXPECT_EQ(pm.GetFocusControl(), a);
    ui.Tap(VK_TAB); // b is no tab stop, hidden is invisible
    EXPECT_EQ(pm.GetFocusControl(), c);
    ui.Tap(VK_TAB);
    EXPECT_EQ(pm.GetFocusControl(), d);
    ui.Key(VK_SHIFT, true);
    ui.Tap(VK_TAB);
    ui.Key(VK_SHIFT, false);
    EXPECT_EQ(pm.GetFocusControl(), c);
    EXPECT_EQ(c->log.front(), "focus");
    std::vector<std::string> d_focus;
    std::copy_if(d->log.begin(), d->log.end(), std::back_inserter(d_focus),
                 [](const std::string& s) { return s == "focus" || s == "blur"; });
    EXPECT_EQ(d_focus, (std::vector<std::string>{"focus", "blur", "focus", "blur"}));
    // Keys reach the focused control with the modifier value.
    ui.Key(VK_CONTROL, true);
    ui.Tap('K');
    ui.Key(VK_CONTROL, false);
    EXPECT_EQ(c->log.back(), "key75:17");
}

TEST_F(EventTest, ControlThatTakesNoMouseIsDrawnButNeverHovered) {
    auto* ghost = new Probe(&dlg, 16, CRect(50, 150, 150, 200), 0xFF808000);
    ghost->SetRresponse(0);
    dlg.AddControl(ghost);
    ui.Pump();
    EXPECT_EQ(ui.Rgb(dlg, 100, 175), 0x808000u);
    ui.MoveTo(dlg, 100, 175);
    ui.Click(dlg, 100, 175);
    EXPECT_NE(dlg.GetPaintManager().GetHoverControl(), ghost);
    EXPECT_TRUE(ghost->log.empty());
}

TEST_F(EventTest, PressOnEmptyBackgroundDragsTheWindowUnlessDisabled) {
    const CRect before = dlg.GetWindowRect();
    auto& sys = ui.System();
    sys.Press(MouseButton::Left, before.left + 20, before.top + 200);
    sys.MoveMouse(before.left + 70, before.top + 230);
    sys.Release(MouseButton::Left, before.left + 70, before.top + 230);
    ui.Pump();
    const CRect after = dlg.GetWindowRect();
    EXPECT_EQ(after.left, before.left + 50);
    EXPECT_EQ(after.top, before.top + 30);
    dlg.EnableWndDrag(0);
    sys.Press(MouseButton::Left, after.left + 20, after.top + 200);
    sys.MoveMouse(after.left + 90, after.top + 250);
    sys.Release(MouseButton::Left, after.left + 90, after.top + 250);
    ui.Pump();
    EXPECT_EQ(dlg.GetWindowRect(), after);
}

TEST_F(EventTest, TooltipShowsWhenThePointerRests) {
    a->SetTooltip("Apply the change");
    ui.MoveTo(dlg, 100, 75);
    EXPECT_FALSE(dlg.GetPaintManager().IsTooltipShown());
    ui.Advance(450);
    EXPECT_TRUE(dlg.GetPaintManager().IsTooltipShown());
    EXPECT_EQ(dlg.GetPaintManager().GetTooltipText(), "Apply the change");
    EXPECT_EQ(dlg.GetPaintManager().GetTooltipOwner(), a);
    ui.MoveTo(dlg, 250, 75);
    EXPECT_FALSE(dlg.GetPaintManager().IsTooltipShown());
}

} // namespace
