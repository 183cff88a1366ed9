// The controller's own commands: the quit paths, the close button by close
// behaviour, the minimise and address buttons, the music choices kept by the
// controller, dragging the borderless window, and closing this process's
// pop-ups.

#include "tests/mainwindow/MainWindowTestSupport.h"

#include "app/SingleInstance.h"
#include "mainwindow/MainWindowControls.h"
#include "services/WaitDlg.h"
#include "tessel/Manager.h"
#include "tessel/menus/MenuWnd.h"

namespace kovrin::test {
namespace {

using namespace Tessel;

class MainWindowControlTest : public MainWindowFixture {
protected:
    void ClickControl(MControl* c) {
        ASSERT_NE(c, nullptr);
        const CPoint p = c->GetRect().CenterPoint();
        ui.Click(*dlg, p.x, p.y);
    }
};

TEST_F(MainWindowControlTest, QuitRequestEndsOnlyWithItsCode) {
    Open();
    for (const LPARAM l : {LPARAM(0), LPARAM(611), LPARAM(-610), LPARAM(1691)}) {
        EXPECT_EQ(dlg->SendMessageW(WM_QUIT_REQUEST, 0, l), 0);
    }
    EXPECT_TRUE(exits.empty());
    EXPECT_EQ(dlg->SendMessageW(WM_QUIT_REQUEST, 0, kQuitRequestCode), 0);
    EXPECT_EQ(exits, std::vector<int>{0});
    // Other processes may send it.
    EXPECT_TRUE(dlg->AcceptsForeignMessage(WM_QUIT_REQUEST));
}

TEST_F(MainWindowControlTest, TrayMenuExitEndsTheProgram) {
    Open();
    dlg->SendMessageW(WM_COMMAND, 0, 12345);
    EXPECT_TRUE(exits.empty());
    dlg->SendMessageW(WM_COMMAND, 0, ID_TRAY_EXIT);
    EXPECT_EQ(exits, std::vector<int>{0});
}

TEST_F(MainWindowControlTest, TrayMenuOffersItsTwoCommandsAndPostsTheChoice) {
    Open();
    // The menu runs its own loop; it is inspected and clicked from a timer.
    bool checked = false;
    ui.Loop().AddTimer(50, false, [&] {
        const std::string title = "Menu Window";
        const auto menus = Manager::FindWindows("LumoClient", &title);
        ASSERT_EQ(menus.size(), 1u);
        auto* menu = dynamic_cast<MenuWnd*>(menus[0]);
        ASSERT_NE(menu, nullptr);
        std::vector<std::string> items;
        MControl* exit_item = nullptr;
        for (MControl* c : menu->GetControls()) {
            items.push_back(dynamic_cast<MControlFont*>(c)->GetTitle());
            if (c->GetControlID() == ID_TRAY_EXIT) {
                exit_item = c;
            }
        }
        EXPECT_EQ(items, (std::vector<std::string>{GetText(10), GetText(11)}));
        ASSERT_NE(exit_item, nullptr);
        const CPoint p = exit_item->GetRect().CenterPoint();
        ui.Click(*menu, p.x, p.y);
        checked = true;
    });
    dlg->OpenTrayMenu(300, 300);
    // OpenTrayMenu returned: the menu has closed; its command is posted.
    ui.Pump();
    EXPECT_TRUE(checked);
    EXPECT_EQ(exits, std::vector<int>{0});
}

TEST_F(MainWindowControlTest, CloseButtonFollowsTheCloseBehaviour) {
    // Without a tray host: hiding would lose the window, so it minimises.
    const struct {
        const char* exit_mode;
        bool quits;
    } cases[] = {{"2", true}, {"1", false}, {"0", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exit_mode);
        exits.clear();
        dlg.reset();
        RegReadInt("exit_mode");
        ASSERT_TRUE(RegWriteString("exit_mode", c.exit_mode));
        Open();
        ClickControl(dlg->close_button);
        EXPECT_EQ(exits, c.quits ? std::vector<int>{0} : std::vector<int>{});
        if (!c.quits) {
            EXPECT_TRUE(dlg->IsIconic());
            EXPECT_FALSE(dlg->GetTray().Shown());
            // The tray's activation brings it back.
            dlg->SendMessageW(WM_TRAY_NOTIFY, kTrayIconId, kTrayLeftDown);
            EXPECT_FALSE(dlg->IsIconic());
            EXPECT_TRUE(dlg->IsWindowVisible());
        }
    }
}

TEST_F(MainWindowControlTest, MinimiseAndAddressButtons) {
    Open();
    ClickControl(dlg->minimize_button);
    EXPECT_TRUE(dlg->IsIconic());
    dlg->SendMessageW(WM_TRAY_NOTIFY, kTrayIconId, kTrayLeftDouble);
    ASSERT_FALSE(dlg->IsIconic());
    // Other tray notifications (the download component's) do nothing.
    dlg->SendMessageW(WM_TRAY_NOTIFY, kTrayIconId, 0x0200);
    EXPECT_FALSE(dlg->IsIconic());

    ASSERT_FALSE(dlg->Software().website.empty());
    ClickControl(dlg->website_button);
    ClickControl(dlg->shop_button);
    EXPECT_EQ(opened, (std::vector<std::string>{dlg->Software().website, dlg->Software().store}));
    EXPECT_EQ(Title(58), "Ver: " + dlg->Software().version);
    EXPECT_EQ(Title(57), dlg->Software().copyright);
}

TEST_F(MainWindowControlTest, MusicChoicesAreKept) {
    Open();
    EXPECT_EQ(dlg->Music().effect, 1);
    EXPECT_EQ(dlg->Music().colour, 0);
    EXPECT_FLOAT_EQ(dlg->Music().gain, 1.0f);
    EXPECT_EQ(dlg->Music().interval_ms, 33);
    EXPECT_EQ(dlg->OnMessage(145, CN_CLICKED, 0, 0), 1);
    EXPECT_EQ(dlg->Music().colour, 4);
    dlg->music_sliders[2]->SetProgress(150);
    dlg->OnMessage(137, CN_CLICKED, 0, 0);
    EXPECT_FLOAT_EQ(dlg->Music().gain, 3.0f);
    dlg->music_combos[3]->AddItem("none", 0);
    dlg->music_combos[3]->AddItem("66 ms", 66);
    dlg->music_combos[3]->SetCurSel(1);
    dlg->OnMessage(139, CN_CLICKED, 0, 0);
    EXPECT_EQ(dlg->Music().interval_ms, 66);
    dlg->music_combos[3]->SetCurSel(0);
    dlg->OnMessage(139, CN_CLICKED, 0, 0);
    EXPECT_EQ(dlg->Music().interval_ms, 66) << "0 keeps the interval";
    // Other codes, and ids no page handles yet, are left alone.
    EXPECT_EQ(dlg->OnMessage(145, CN_PRESSED, 0, 0), 0);
    EXPECT_EQ(dlg->OnMessage(999, CN_CLICKED, 0, 0), 0);
}

TEST_F(MainWindowControlTest, PressOnNoControlDragsTheWindow) {
    Open();
    dlg->SetWindowPos(100, 100, 0, 0);
    ui.Pump();
    const CRect before = dlg->GetWindowRect();
    // On a button: the button takes it and the window stays.
    const CPoint b = dlg->minimize_button->GetRect().CenterPoint();
    ui.Press(*dlg, b.x, b.y);
    ui.MoveTo(*dlg, b.x + 40, b.y + 30);
    ui.Release(*dlg, b.x + 40, b.y + 30);
    EXPECT_EQ(dlg->GetWindowRect(), before);
    // On the caption's empty middle and on the empty home page.
    for (const CPoint p : {CPoint(400, 30), CPoint(300, 200)}) {
        const CRect start = dlg->GetWindowRect();
        ui.Press(*dlg, p.x, p.y);
        const auto* native = ui.Window(*dlg);
        ASSERT_TRUE(native->InMoveDrag());
        ui.System().MoveMouse(start.left + p.x + 50, start.top + p.y + 20);
        ui.Pump();
        ui.System().Release(kovrin::platform::MouseButton::Left, start.left + p.x + 50,
                            start.top + p.y + 20);
        ui.Pump();
        EXPECT_EQ(dlg->GetWindowRect(),
                  CRect(start.left + 50, start.top + 20, start.right + 50, start.bottom + 20));
    }
}

TEST_F(MainWindowControlTest, CloseOpenPopupsClosesThisProcessesPopups) {
    Open();
    auto* menu = new MenuWnd(dlg.get());
    ASSERT_TRUE(menu->Create(dlg.get(), CPoint(10, 10), WM_COMMAND, 100));
    menu->AddMenu("item", 1);
    menu->ShowWindow(SW_SHOW);
    WaitDlg wait;
    ASSERT_TRUE(wait.CreateOver(dlg.get()));
    wait.ShowWindow(SW_SHOW);
    ui.Pump();
    const std::string menu_title = "Menu Window";
    ASSERT_EQ(Manager::FindWindows("LumoClient", &menu_title).size(), 1u);
    KeyboardDlg::CloseOpenPopups();
    ui.Pump();
    EXPECT_TRUE(Manager::FindWindows("LumoClient", &menu_title).empty());
    EXPECT_EQ(wait.GetSafeHwnd(), nullptr);
    EXPECT_NE(dlg->GetSafeHwnd(), nullptr);
}

} // namespace
} // namespace kovrin::test
