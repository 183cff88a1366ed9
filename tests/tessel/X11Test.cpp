// Tessel on the real X server: painting, input through XTest, pop-up grabs.

#include "TestSupport.h"
#include "XSupport.h"

#include "platform/window/EventLoop.h"
#include "platform/window/WindowSystem.h"
#include "tessel/FontRegistry.h"
#include "tessel/Manager.h"

#include <gtest/gtest.h>

using namespace tessel_test;

namespace {

class X11Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveDisplay()) {
            GTEST_SKIP() << "DISPLAY is not set";
        }
        Manager::SetProgramFolder(KOVRIN_BUILD_PROGRAM_DIR);
        std::string error;
        ASSERT_TRUE(Manager::InitUiThread(&error)) << error;
    }
    void TearDown() override {
        if (HaveDisplay()) {
            Manager::ShutdownUi();
        }
    }
    // Runs the loop until done() or the time is up; false on time-out.
    static bool RunFor(unsigned ms, const std::function<bool()>& done) {
        auto* loop = Manager::Loop();
        bool expired = false;
        const auto timer = loop->AddTimer(ms, false, [&] { expired = true; });
        loop->RunUntil([&] { return expired || done(); });
        loop->CancelTimer(timer);
        return done();
    }
    static void Settle() {
        RunFor(150, [] { return false; });
    }
    static std::string Xdotool(const MWindow& w, int x, int y, const std::string& then) {
        const CRect r = w.GetWindowRect();
        return "xdotool mousemove " + std::to_string(r.left + x) + " " + std::to_string(r.top + y) +
               " " + then;
    }
};

TEST_F(X11Test, WindowShowsWhatThePaintManagerDrew) {
    XInputLock lock; // no pointer over the window while it is captured
    TestDialog dlg;
    dlg.build = [](TestDialog& d, CRect) {
        d.AddControl(new Probe(&d, 1, CRect(40, 40, 140, 100), 0xFF3366CC));
    };
    ASSERT_TRUE(dlg.Open(300, 200, 200, 150));
    dlg.ShowWindow(SW_SHOW);
    ASSERT_TRUE(RunFor(3000, [&] { return dlg.GetPaintManager().PaintCount() > 0; }));
    Settle();
    const auto shot = Screenshot(std::to_string(dlg.Native()->Id()));
    ASSERT_TRUE(shot);
    ASSERT_EQ(shot->Width(), 300);
    ASSERT_EQ(shot->Height(), 200);
    Bitmap& back = dlg.GetPaintManager().BackBuffer();
    for (auto [x, y] : {std::pair{90, 70}, std::pair{5, 5}, std::pair{0, 0}, std::pair{299, 199}}) {
        EXPECT_EQ(RgbAt(shot, x, y), back.Pixel(x, y) & 0xFFFFFF) << x << "," << y;
    }
    EXPECT_EQ(RgbAt(shot, 90, 70), 0x3366CCu);
    dlg.DestroyWindow();
}

TEST_F(X11Test, ClicksKeysAndDoubleClicksArriveThroughTheServer) {
    XInputLock lock;
    TestDialog dlg;
    Probe* p = nullptr;
    Probe* q = nullptr;
    dlg.build = [&](TestDialog& d, CRect) {
        p = new Probe(&d, 1, CRect(40, 40, 140, 100));
        q = new Probe(&d, 2, CRect(160, 40, 260, 100));
        d.AddControl(p);
        d.AddControl(q);
        p->SetTabStop(1);
        q->SetTabStop(1);
    };
    ASSERT_TRUE(dlg.Open(300, 200, 300, 300));
    dlg.ShowWindow(SW_SHOW);
    Settle();
    ASSERT_EQ(Shell(Xdotool(dlg, 90, 70, "click 1")), 0);
    ASSERT_TRUE(RunFor(3000, [&] { return dlg.notes.size() >= 2; }));
    EXPECT_EQ(dlg.notes, (std::vector<Note>{{1, CN_PRESSED, 0, 0}, {1, CN_CLICKED, 0, 0}}));

    // The click focused p; Tab moves on to q.
    ASSERT_EQ(Shell("xdotool key Tab"), 0);
    ASSERT_TRUE(RunFor(3000, [&] { return q->IsFocused(); }));

    dlg.record_messages = true;
    ASSERT_EQ(Shell(Xdotool(dlg, 210, 70, "click --repeat 2 --delay 60 1")), 0);
    ASSERT_TRUE(RunFor(3000, [&] {
        return std::count(dlg.messages.begin(), dlg.messages.end(), WM_LBUTTONUP) >= 2;
    }));
    std::vector<UINT> buttons;
    for (UINT m : dlg.messages) {
        if (m != WM_MOUSEMOVE) {
            buttons.push_back(m);
        }
    }
    EXPECT_EQ(buttons,
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));

    // The wheel arrives in notches of 120.
    q->log.clear();
    ASSERT_EQ(Shell(Xdotool(dlg, 210, 70, "click 5")), 0);
    ASSERT_TRUE(RunFor(3000, [&] {
        return std::find(q->log.begin(), q->log.end(), "scroll1:1") != q->log.end();
    }));
    dlg.DestroyWindow();
}

// A pop-up that logs its activation changes.
class Popup : public MWindow {
public:
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_ACTIVATE && wParam == WA_INACTIVE) {
            ++deactivations;
        }
        if (msg == WM_LBUTTONDOWN) {
            ++presses;
        }
        return MWindow::OnWindowMessage(msg, wParam, lParam);
    }
    int deactivations = 0;
    int presses = 0;
};

TEST_F(X11Test, GrabbingPopupSeesPressesOutsideAsDeactivation) {
    XInputLock lock;
    Popup popup;
    popup.SetPopupGrab(true);
    ASSERT_NE(popup.Create(nullptr, "popup", WS_POPUP, WS_EX_TOOLWINDOW, CRect(500, 500, 600, 560)),
              nullptr);
    popup.ShowWindow(SW_SHOWNA);
    Settle();
    ASSERT_EQ(Shell("xdotool mousemove 550 530 click 1"), 0);
    ASSERT_TRUE(RunFor(3000, [&] { return popup.presses == 1; }));
    EXPECT_EQ(popup.deactivations, 0);
    ASSERT_EQ(Shell("xdotool mousemove 900 900 click 1"), 0);
    ASSERT_TRUE(RunFor(3000, [&] { return popup.deactivations == 1; }));
    EXPECT_EQ(popup.presses, 1);
    popup.DestroyWindow();
}

// Clears its rectangle to full transparency.
class Hole : public MControl {
public:
    Hole(MObject* parent, CRect r) : MControl(parent, 5, r, 1, 1, 1) {}
    void DrawControl(HDC& dc, CRect) override { MRender::ClearRect(dc, rect_); }
};

TEST_F(X11Test, LayeredWindowWithoutCompositorIsCutWhereItIsTransparent) {
    XInputLock lock;
    TestDialog under;
    under.build = [](TestDialog& d, CRect) { d.SetBackColor(RGB(0, 200, 0), RGB(0, 200, 0)); };
    ASSERT_TRUE(under.Open(200, 200, 600, 600));
    under.ShowWindow(SW_SHOW);
    ASSERT_TRUE(RunFor(3000, [&] { return under.GetPaintManager().PaintCount() > 0; }));
    TestDialog over;
    over.build = [](TestDialog& d, CRect) {
        d.SetLayeredWindow(1);
        d.AddControl(new Hole(&d, CRect(50, 50, 150, 150)));
    };
    ASSERT_TRUE(over.Open(200, 200, 600, 600));
    over.ShowWindow(SW_SHOW);
    ASSERT_TRUE(RunFor(3000, [&] { return over.GetPaintManager().PaintCount() > 0; }));
    Settle();
    const auto shot = Screenshot("root");
    ASSERT_TRUE(shot);
    EXPECT_TRUE(Near(RgbAt(shot, 700, 700), 0x00C800, 2)) << RgbAt(shot, 700, 700); // the hole
    EXPECT_EQ(RgbAt(shot, 610, 610), 0x090D13u); // the layered window itself
    over.DestroyWindow();
    under.DestroyWindow();
}

TEST_F(X11Test, CentresOnTheMonitorWorkArea) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.Open(400, 300, 0, 0));
    dlg.CenterWindow();
    const auto work = Manager::System()->WorkArea({0, 0});
    EXPECT_EQ(dlg.GetWindowRect().left, work.left + (work.Width() - 400) / 2);
    EXPECT_EQ(dlg.GetWindowRect().top, work.top + (work.Height() - 300) / 2);
    dlg.DestroyWindow();
}

} // namespace
