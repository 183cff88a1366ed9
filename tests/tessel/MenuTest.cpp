// Pop-up menus: size and place, the posted message, closing by a press
// outside, deletion after the modal loop; and the keyboard view's tips.

#include "ControlsSupport.h"

#include "tessel/menus/CKeyboardTips.h"
#include "tessel/menus/MenuItem.h"
#include "tessel/menus/MenuWnd.h"

using namespace tessel_test;
using kovrin::platform::MouseButton;

namespace {

constexpr UINT kKeyMenuMessage = 1825;

// The owner: records the menu's posted messages.
class Owner : public TestDialog {
public:
    std::vector<Note> posted;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kKeyMenuMessage) {
            posted.push_back({msg, 0, wParam, lParam});
            return 1;
        }
        return TestDialog::OnWindowMessage(msg, wParam, lParam);
    }
};

// A menu that tells when it is deleted and whether its modal loop had ended.
class TrackedMenu : public MenuWnd {
public:
    TrackedMenu(MObject* parent, bool* deleted, const bool* loop_returned, bool* inside)
        : MenuWnd(parent), deleted_(deleted), returned_(loop_returned), inside_(inside) {}
    ~TrackedMenu() override {
        *deleted_ = true;
        *inside_ = !*returned_;
    }

private:
    bool* deleted_;
    const bool* returned_;
    bool* inside_;
};

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(owner.Open(800, 600, 100, 100));
        owner.ShowWindow(SW_SHOW);
        ui.Pump();
    }
    void TearDown() override {
        owner.DestroyWindow();
        ui.Pump();
    }
    // The key page's menu at (500, 300), 200 wide, four items.
    TrackedMenu* KeyMenu() {
        auto* m = new TrackedMenu(&owner, &deleted, &returned, &deleted_inside);
        EXPECT_TRUE(m->Create(&owner, {500, 300}, kKeyMenuMessage, "", 30, 200, BACK_MODE_FRAME));
        m->AddMenu("Restore default", 201);
        m->AddMenu("Disable key", 206);
        m->AddMenu("Macro", 209);
        m->AddMenu("Shortcut", 202);
        return m;
    }
    void RunModal(MenuWnd* m) {
        m->ShowModal();
        returned = true;
        ui.Pump();
    }
    void ClickScreen(int x, int y) {
        ui.System().MoveMouse(x, y);
        ui.System().Press(MouseButton::Left, x, y);
        ui.System().Release(MouseButton::Left, x, y);
    }

    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
    Owner owner;
    bool deleted = false;
    bool returned = false;
    bool deleted_inside = false;
};

TEST_F(MenuTest, SizePlaceAndThePostedCommand) {
    TrackedMenu* m = KeyMenu();
    PostToUi([&, m] {
        // 6 + 4 × 35 + 6 high, at the point given.
        EXPECT_EQ(m->GetWindowRect(), CRect(500, 300, 700, 452));
        EXPECT_EQ(m->GetWindowTextW(), "Menu Window");
        EXPECT_FALSE(owner.IsWindowEnabled());
        auto* item = dynamic_cast<MenuItem*>(m->GetControl(206));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetRect(), CRect(2, 41, 198, 76));
        ClickScreen(600, 300 + 41 + 17);
    });
    RunModal(m);
    EXPECT_EQ(owner.posted, (std::vector<Note>{{kKeyMenuMessage, 0, 0, 206}}));
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(deleted_inside); // deleted after its modal loop, not inside it
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(MenuTest, APressOutsideClosesWithNothingPosted) {
    TrackedMenu* m = KeyMenu();
    PostToUi([&] { ClickScreen(150, 150); }); // over the owner
    RunModal(m);
    EXPECT_TRUE(owner.posted.empty());
    EXPECT_TRUE(owner.notes.empty());
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(deleted_inside);
}

TEST_F(MenuTest, ALongTextWidensTheMenu) {
    auto* m = new TrackedMenu(&owner, &deleted, &returned, &deleted_inside);
    ASSERT_TRUE(m->Create(&owner, {500, 300}, kKeyMenuMessage, "", 30, 200, BACK_MODE_FRAME));
    const std::string text = "A menu entry far too long for two hundred pixels";
    const int width = MRender::GetTextBounds({Manager::GetFontName(), 14, 0}, {}, text).cx;
    ASSERT_GT(width, 191);
    m->AddMenu("Short", 1);
    m->AddMenu(text, 2);
    m->AddSeparator(3);
    EXPECT_EQ(m->GetMenuWidth(), width + 9);
    // Two items and a separator: 6 + 35 + 35 + 4 + 6.
    EXPECT_EQ(m->GetWindowRect(), CRect(500, 300, 500 + width + 9, 386));
    m->SetItemVisible(1, 0);
    EXPECT_EQ(m->GetWindowRect().Height(), 51);
    PostToUi([m] { m->CloseWindow(); });
    RunModal(m);
    EXPECT_TRUE(owner.posted.empty());
}

TEST_F(MenuTest, KeptOnTheScreenNearItsEdges) {
    auto* m = new TrackedMenu(&owner, &deleted, &returned, &deleted_inside);
    ASSERT_TRUE(m->Create(&owner, {1850, 1000}, kKeyMenuMessage, "", 30, 200, BACK_MODE_FRAME));
    m->AddMenu("One", 1);
    m->AddMenu("Two", 2);
    // 1920 × 1040 work area: the menu (200 × 82) moves in.
    EXPECT_EQ(m->GetWindowRect(), CRect(1720, 958, 1920, 1040));
    PostToUi([m] { m->CloseWindow(); });
    RunModal(m);
}

TEST_F(MenuTest, ItemsShowHoverAndDisabledLooks) {
    TrackedMenu* m = KeyMenu();
    m->SetItemEnable(209, 0);
    PostToUi([&, m] {
        ui.System().MoveMouse(600, 300 + 6 + 17); // over the first item
        ui.Pump();
        auto* first = dynamic_cast<MenuItem*>(m->GetControl(201));
        auto* off = dynamic_cast<MenuItem*>(m->GetControl(209));
        ASSERT_TRUE(first != nullptr && off != nullptr);
        EXPECT_TRUE(first->IsHover());
        EXPECT_EQ(off->GetState(), 3);
        // The hover colour fills the hovered item; the others show the back colour.
        EXPECT_EQ(ui.Rgb(*m, 190, 6 + 3), 0xFF0000u);
        EXPECT_EQ(ui.Rgb(*m, 190, 41 + 3), 0x090D13u);
        // A click on the disabled item does nothing and keeps the menu open.
        ClickScreen(600, 300 + 76 + 17);
        ui.Pump();
        EXPECT_TRUE(m->IsWindowVisible());
        EXPECT_TRUE(owner.posted.empty());
        m->CloseWindow();
    });
    RunModal(m);
    EXPECT_TRUE(owner.posted.empty());
}

TEST_F(MenuTest, KeyTipShowsOnlyWithANameAndPaintsOnlyOnChange) {
    CKeyboardTips tips;
    ASSERT_TRUE(tips.LoadBKImage("img_tip_bk.png"));
    tips.SetAirBladderMsg("", "Title", "Text", {400, 300}, &owner);
    ui.Pump();
    EXPECT_FALSE(tips.Shown());
    EXPECT_EQ(tips.GetSafeHwnd(), nullptr);
    tips.SetAirBladderMsg("Esc", "Escape", "Fn1", {400, 300}, &owner);
    ui.Pump();
    ASSERT_TRUE(tips.Shown());
    EXPECT_EQ(tips.GetWindowRect(), CRect(305, 200, 495, 300));
    EXPECT_EQ(tips.GetWindowTextW(), "KeyboardTip Window");
    const int paints = tips.PaintCount();
    EXPECT_GT(paints, 0);
    // The background's red edge, the name in light grey at the top.
    EXPECT_TRUE(Near(ui.Rgb(tips, 95, 0), 0xE0202F, 40)) << std::hex << ui.Rgb(tips, 95, 0);
    bool name = false;
    for (int y = 8; y < 28 && !name; ++y) {
        for (int x = 80; x < 110 && !name; ++x) {
            name = Near(ui.Rgb(tips, x, y), 0xC8C8C8, 24);
        }
    }
    EXPECT_TRUE(name);
    tips.SetAirBladderMsg("Esc", "Escape", "Fn1", {400, 300}, &owner);
    ui.Pump();
    EXPECT_EQ(tips.PaintCount(), paints);
    tips.SetAirBladderMsg("F1", "Escape", "Fn1", {450, 300}, &owner);
    ui.Pump();
    EXPECT_GT(tips.PaintCount(), paints);
    EXPECT_EQ(tips.GetWindowRect().left, 355);
    tips.Hide();
    EXPECT_FALSE(tips.IsWindowVisible());
}

} // namespace
