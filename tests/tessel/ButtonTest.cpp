// Push, image, check and radio buttons: states, notifications, groups and
// what each state shows.

#include "ControlsSupport.h"

#include "tessel/MPanel.h"
#include "tessel/controls/standard/CCheckButton.h"
#include "tessel/controls/standard/CImageButton.h"
#include "tessel/controls/standard/CRadioButton.h"
#include "tessel/controls/standard/MButton.h"

using namespace tessel_test;

namespace {

using ButtonTest = ControlsTest;

TEST_F(ButtonTest, PushButtonStatesAndNotifications) {
    Open();
    auto* b = Make<MButton>("MButton", 10, CRect(40, 40, 160, 76), "Apply");
    ASSERT_NE(b, nullptr);
    ui.Pump();
    ui.MoveTo(dlg, 60, 50);
    EXPECT_EQ(b->GetState(), 1);
    ui.Press(dlg, 60, 50);
    EXPECT_EQ(b->GetState(), 2);
    ui.MoveTo(dlg, 300, 200); // pressed: moving out keeps the state
    EXPECT_EQ(b->GetState(), 2);
    ui.Release(dlg, 300, 200);
    EXPECT_EQ(b->GetState(), 0);
    EXPECT_EQ(CodesOf(10), (std::vector<UINT>{CN_PRESSED})); // no click outside
    dlg.notes.clear();
    ui.Click(dlg, 60, 50);
    EXPECT_EQ(NotesOf(10), (std::vector<Note>{{10, CN_PRESSED, 0, 0}, {10, CN_CLICKED, 0, 0}}));
    dlg.notes.clear();
    b->SetEnabled(0);
    EXPECT_EQ(b->GetState(), 3);
    ui.Click(dlg, 60, 50);
    EXPECT_TRUE(dlg.notes.empty());
}

TEST_F(ButtonTest, PushButtonShowsTheCellOfItsState) {
    Open();
    // As large as one cell of btn_apply.png (120 × 36): the nine-grid is the cell itself.
    auto* b = Make<MButton>("MButton", 10, CRect(40, 40, 160, 76), "");
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->SetImage("btn_apply.png", 4), 1);
    ui.Pump();
    const auto shows_cell = [&](int cell) {
        for (auto [x, y] : {std::pair{8, 18}, std::pair{60, 3}, std::pair{110, 30}}) {
            EXPECT_PRED2(Same, ui.Rgb(dlg, 40 + x, 40 + y),
                         SkinRgb("btn_apply.png", cell * 120 + x, y))
                << "cell " << cell << " at " << x << "," << y;
        }
    };
    shows_cell(0);
    ui.MoveTo(dlg, 100, 60);
    shows_cell(1);
    ui.Press(dlg, 100, 60);
    shows_cell(2);
    ui.Release(dlg, 100, 60);
    shows_cell(1);
    b->SetEnabled(0);
    ui.Pump();
    // The disabled cell is translucent: it shows over the dialog's background.
    const std::uint32_t disabled = ui.Rgb(dlg, 48, 58);
    EXPECT_NE(disabled, SkinRgb("btn_apply.png", 8, 18));
    EXPECT_LT(disabled & 0xFF, 0x30u);
}

TEST_F(ButtonTest, PushButtonTitleIsCentredAndGreyWhenDisabled) {
    Open();
    auto* b = Make<MButton>("MButton", 10, CRect(40, 40, 200, 80), "HHHH");
    ASSERT_NE(b, nullptr);
    b->SetFont("Arial", 20, FontStyleBold); // stems wide enough to cover whole pixels
    ui.Pump();
    // Without an image only the title shows: white ink in the middle, none at the edges.
    const auto ink = [&](int x0, int x1, auto pred) {
        for (int y = 40; y < 80; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (pred(ui.Rgb(dlg, x, y))) {
                    return true;
                }
            }
        }
        return false;
    };
    const auto white = [](std::uint32_t c) { return Near(c, 0xFFFFFF, 40); };
    EXPECT_TRUE(ink(100, 140, white));
    EXPECT_FALSE(ink(40, 70, white));
    b->SetEnabled(0);
    ui.Pump();
    EXPECT_FALSE(ink(40, 200, white));
    // Grey ink: no channel brighter than 0x80, the brightest at least 0x60.
    EXPECT_TRUE(ink(100, 140, [](std::uint32_t c) {
        const std::uint32_t r = c >> 16;
        return r >= 0x70 && r <= 0x80 && Near(c, r * 0x010101, 4);
    }));
}

TEST_F(ButtonTest, ImageButtonDrawsItsCellUnscaledAndSendsClicks) {
    Open();
    auto* b = Make<CImageButton>("CImageButton", 44, CRect(50, 50, 80, 80), "Website");
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->SetImage("main_sysbtn_website.png", 4), 1);
    b->SetTooltip("Website");
    ui.Pump();
    // The globe's top stroke at the cell's middle column, the empty corner.
    for (auto [x, y] : {std::pair{15, 6}, std::pair{15, 7}, std::pair{3, 15}}) {
        EXPECT_PRED2(Same, ui.Rgb(dlg, 50 + x, 50 + y), SkinRgb("main_sysbtn_website.png", x, y));
    }
    ui.MoveTo(dlg, 53, 65);
    EXPECT_EQ(b->GetState(), 1);
    EXPECT_PRED2(Same, ui.Rgb(dlg, 53, 65), SkinRgb("main_sysbtn_website.png", 30 + 3, 15));
    EXPECT_NE(ui.Rgb(dlg, 53, 65), kBack);
    ui.Click(dlg, 53, 65);
    EXPECT_EQ(CodesOf(44), (std::vector<UINT>{CN_PRESSED, CN_CLICKED}));
    // The title is not drawn: the middle shows the image's pixel only.
    EXPECT_PRED2(Same, ui.Rgb(dlg, 65, 65), SkinRgb("main_sysbtn_website.png", 30 + 15, 15));
}

TEST_F(ButtonTest, CheckBoxTogglesByClickAndSpace) {
    Open();
    auto* c = Make<CCheckButton>("CCheckButton", 104, CRect(20, 20, 200, 44), "Option");
    ASSERT_NE(c, nullptr);
    ui.Click(dlg, 30, 30);
    EXPECT_EQ(c->GetCheck(), 1);
    EXPECT_EQ(c->GetState(), 5); // hover, on
    EXPECT_EQ(NotesOf(104), (std::vector<Note>{{104, CN_CLICKED, 0, 0}}));
    dlg.notes.clear();
    // Pressed, moved out, released: no change.
    ui.Press(dlg, 30, 30);
    EXPECT_EQ(c->GetState(), 6);
    ui.Release(dlg, 300, 200);
    EXPECT_EQ(c->GetCheck(), 1);
    EXPECT_EQ(c->GetState(), 4);
    EXPECT_TRUE(dlg.notes.empty());
    // Space while focused (the click gave it the focus).
    ASSERT_TRUE(c->IsFocused());
    ui.Tap(VK_SPACE);
    EXPECT_EQ(c->GetCheck(), 0);
    EXPECT_EQ(NotesOf(104), (std::vector<Note>{{104, CN_CHECK, 0, 0}}));
    // Disabled: the check is kept and SetCheck changes nothing.
    c->SetCheck(1);
    c->SetEnabled(0);
    EXPECT_EQ(c->GetState(), 7);
    EXPECT_EQ(c->SetCheck(0), 1);
    c->SetEnabled(1);
    EXPECT_EQ(c->GetCheck(), 1);
    EXPECT_EQ(c->GetState(), 4);
}

TEST_F(ButtonTest, CheckBoxShowsEachOfItsEightCells) {
    Open();
    // 20 high like the image: the box cell lands at the control's left edge.
    auto* c = Make<CCheckButton>("CCheckButton", 104, CRect(20, 20, 200, 40), "Option");
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->SetImage("btn_checkbox.png", 8), 1);
    ui.MoveTo(dlg, 300, 250);
    const auto cell = [&](int i) {
        // Inside the box, clear of the tick.
        for (auto [x, y] : {std::pair{7, 6}, std::pair{4, 14}}) {
            EXPECT_PRED2(Same, ui.Rgb(dlg, 20 + x, 20 + y),
                         SkinRgb("btn_checkbox.png", i * 20 + x, y))
                << "cell " << i;
        }
    };
    cell(0);
    ui.MoveTo(dlg, 25, 30);
    cell(1);
    ui.Press(dlg, 25, 30);
    cell(2);
    ui.Release(dlg, 25, 30);
    cell(5);
    ui.MoveTo(dlg, 300, 250);
    cell(4);
    c->SetEnabled(0);
    ui.Pump();
    cell(7);
    c->SetEnabled(1);
    c->SetCheck(0);
    c->SetEnabled(0);
    ui.Pump();
    cell(3);
    // The title, grey while disabled, starts 8 pixels after the box cell.
    const auto grey_ink = [&](int x0, int x1) {
        for (int y = 20; y < 40; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (Near(ui.Rgb(dlg, x, y), 0x808080, 24)) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_FALSE(grey_ink(40, 48));
    EXPECT_TRUE(grey_ink(48, 60));
}

// Two groups in one dialog, one group of empty name, and a group inside a panel.
TEST_F(ButtonTest, RadioGroupsAreByClassAndName) {
    Open(600, 300);
    CRadioButton* r[6] = {};
    const char* groups[6] = {"DIR1", "DIR1", "DIR2", "DIR2", "", ""};
    for (int i = 0; i < 6; ++i) {
        r[i] = Make<CRadioButton>("CRadioButton", 79 + i, CRect(20 + 90 * i, 20, 100 + 90 * i, 44));
        ASSERT_NE(r[i], nullptr);
        r[i]->SetGroupName(groups[i]);
    }
    auto* panel = new MPanel(&dlg, 300, CRect(20, 100, 580, 200), 1);
    dlg.AddControl(panel);
    auto* in_panel = dynamic_cast<CRadioButton*>(
        panel->CreateControl("CRadioButton", 310, CRect(30, 110, 110, 134), "", 1, 1));
    ASSERT_NE(in_panel, nullptr);
    in_panel->SetGroupName("DIR1");
    r[0]->SetCheck(1);
    r[2]->SetCheck(1);
    r[4]->SetCheck(1);
    in_panel->SetCheck(1);
    // Checking in one group leaves the other groups, and the panel's buttons, alone.
    ui.Click(dlg, 100 + 20, 30); // r[1]
    EXPECT_EQ(r[1]->GetCheck(), 1);
    EXPECT_EQ(r[0]->GetCheck(), 0);
    EXPECT_EQ(r[2]->GetCheck(), 1);
    EXPECT_EQ(r[4]->GetCheck(), 1);
    EXPECT_EQ(in_panel->GetCheck(), 1);
    ui.Click(dlg, 20 + 90 * 5 + 10, 30); // r[5], empty group name
    EXPECT_EQ(r[5]->GetCheck(), 1);
    EXPECT_EQ(r[4]->GetCheck(), 0);
    EXPECT_EQ(r[1]->GetCheck(), 1);
    // A click on a checked one sends the click again and keeps the check.
    dlg.notes.clear();
    ui.Click(dlg, 20 + 90 * 5 + 10, 30);
    EXPECT_EQ(r[5]->GetCheck(), 1);
    EXPECT_EQ(NotesOf(84), (std::vector<Note>{{84, CN_CLICKED, 0, 0}}));
    // A hidden sibling is still unchecked; SetControlCheck leaves the group alone.
    r[2]->SetVisible(0);
    r[3]->SetCheck(1);
    EXPECT_EQ(r[2]->GetCheck(), 0);
    r[2]->SetControlCheck(1);
    EXPECT_EQ(r[3]->GetCheck(), 1);
    // Space checks it and says so with CN_CHECK.
    dlg.notes.clear();
    ui.Click(dlg, 20 + 10, 30); // r[0] takes the focus and the check
    dlg.notes.clear();
    r[1]->SetCheck(1);
    ASSERT_TRUE(r[0]->IsFocused());
    ui.Tap(VK_SPACE);
    EXPECT_EQ(r[0]->GetCheck(), 1);
    EXPECT_EQ(r[1]->GetCheck(), 0);
    EXPECT_EQ(NotesOf(79), (std::vector<Note>{{79, CN_CHECK, 0, 1}}));
}

TEST_F(ButtonTest, RadioShowsCheckedAndDisabledCells) {
    Open();
    auto* a = Make<CRadioButton>("CRadioButton", 201, CRect(20, 20, 56, 56));
    auto* b = Make<CRadioButton>("CRadioButton", 202, CRect(80, 20, 116, 56));
    ASSERT_TRUE(a != nullptr && b != nullptr);
    ASSERT_EQ(a->SetImage("btn_direction_left.png", 8), 1);
    ASSERT_EQ(b->SetImage("btn_direction_left.png", 8), 1);
    a->SetCheck(1);
    b->SetEnabled(0);
    ui.Pump();
    EXPECT_PRED2(Same, ui.Rgb(dlg, 20 + 5, 20 + 18),
                 SkinRgb("btn_direction_left.png", 4 * 36 + 5, 18));
    EXPECT_PRED2(Same, ui.Rgb(dlg, 80 + 5, 20 + 18),
                 SkinRgb("btn_direction_left.png", 3 * 36 + 5, 18));
    EXPECT_FALSE(Same(SkinRgb("btn_direction_left.png", 4 * 36 + 5, 18),
                      SkinRgb("btn_direction_left.png", 3 * 36 + 5, 18)));
    ui.Click(dlg, 85, 30); // disabled: nothing
    EXPECT_EQ(b->GetCheck(), 0);
    EXPECT_EQ(a->GetCheck(), 1);
    // A disabled button that the group unchecks keeps its disabled look.
    b->SetEnabled(1);
    b->SetCheck(1);
    b->SetEnabled(0);
    EXPECT_EQ(b->GetState(), 7);
    ui.Click(dlg, 25, 30);
    EXPECT_EQ(a->GetCheck(), 1);
    EXPECT_EQ(b->GetCheck(), 0);
    EXPECT_EQ(b->GetState(), 3);
}

} // namespace
