// The edit box: the order of its notifications while the user types, the
// focus moving with Tab, and what it shows.

#include "ControlsSupport.h"

#include "tessel/MPanel.h"
#include "tessel/controls/input/MEdit.h"
#include "tessel/controls/standard/CCheckButton.h"
#include "tessel/controls/standard/CRadioButton.h"
#include "tessel/controls/standard/MButton.h"

using namespace tessel_test;

namespace {

using EditTest = ControlsTest;

TEST_F(EditTest, TypingAndEditingNotifyInOrder) {
    Open();
    auto* e = Make<MEdit>("MEdit", 114, CRect(20, 20, 220, 50), "Red");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetEditText(), ""); // the title argument is the tip
    EXPECT_EQ(e->GetTitleEx(), "Red");
    ui.Click(dlg, 40, 35);
    EXPECT_TRUE(e->IsEditFocused());
    EXPECT_EQ(CodesOf(114), (std::vector<UINT>{CN_EDITBEGIN, CN_PRESSED, CN_CLICKED}));
    dlg.notes.clear();
    ui.Type("12");
    ui.Type("é");
    EXPECT_EQ(e->GetEditText(), "12é");
    ui.Tap(VK_BACK);
    EXPECT_EQ(e->GetEditText(), "12");
    ui.Tap(VK_LEFT); // moves: no notification
    ui.Tap(VK_RETURN);
    EXPECT_FALSE(e->IsEditFocused());
    EXPECT_EQ(e->GetEditText(), "12");
    EXPECT_EQ(e->GetTitle(), "12");
    EXPECT_EQ(CodesOf(114), (std::vector<UINT>{CN_TEXTCHANGED, CN_TEXTCHANGED, CN_TEXTCHANGED,
                                               CN_TEXTCHANGED, CN_EDITEND}));
    // Typing after the end of the edit goes nowhere; a press starts again.
    dlg.notes.clear();
    ui.Type("x");
    EXPECT_TRUE(dlg.notes.empty());
    ui.Click(dlg, 200, 35);
    ui.Type("3");
    EXPECT_EQ(e->GetEditText(), "123");
    // Losing the focus ends the edit once: by a click elsewhere, and no
    // second end comes when the window loses the focus afterwards.
    dlg.notes.clear();
    ui.Click(dlg, 300, 250);
    EXPECT_FALSE(e->IsEditFocused());
    dlg.SendMessageW(WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(CodesOf(114), (std::vector<UINT>{CN_EDITEND}));
}

TEST_F(EditTest, WindowLosingTheFocusEndsTheEditOnce) {
    Open();
    auto* e = Make<MEdit>("MEdit", 204, CRect(20, 20, 220, 50), "");
    ASSERT_NE(e, nullptr);
    ui.Click(dlg, 40, 35);
    ui.Type("ab");
    dlg.notes.clear();
    // Another window takes the focus.
    TestDialog other;
    ASSERT_TRUE(other.Open(100, 100, 900, 100));
    other.ShowWindow(SW_SHOW);
    ui.Pump();
    EXPECT_FALSE(e->IsEditFocused());
    EXPECT_EQ(e->GetEditText(), "ab");
    // Coming back and clicking elsewhere sends nothing more.
    ui.Click(dlg, 300, 250);
    EXPECT_EQ(CodesOf(204), (std::vector<UINT>{CN_EDITEND}));
    other.DestroyWindow();
}

TEST_F(EditTest, OptionsReachTheEditor) {
    Open();
    auto* e = Make<MEdit>("MEdit", 205, CRect(20, 20, 220, 50), "");
    ASSERT_NE(e, nullptr);
    e->SetNumberOnly(1);
    e->SetLimitText(3);
    ui.Click(dlg, 40, 35);
    ui.Type("1x2345");
    EXPECT_EQ(e->GetEditText(), "123");
    ui.Tap(VK_RETURN);
    e->SetReadOnly(1);
    ui.Click(dlg, 40, 35);
    EXPECT_FALSE(e->IsEditFocused());
    e->SetReadOnly(0);
    // Clipboard through the window layer: Ctrl+A, Ctrl+C, then Ctrl+V twice.
    ui.Click(dlg, 40, 35);
    ui.Key(VK_CONTROL, true);
    ui.Tap('A');
    ui.Tap('C');
    ui.Key(VK_CONTROL, false);
    EXPECT_EQ(ui.System().GetClipboardText(), "123");
    e->SetLimitText(10);
    ui.Tap(VK_END);
    ui.Key(VK_CONTROL, true);
    ui.Tap('V');
    ui.Key(VK_CONTROL, false);
    EXPECT_EQ(e->GetEditText(), "123123");
    // While char messages are off typed characters go nowhere.
    e->EnableCharMessage(0);
    ui.Type("9");
    EXPECT_EQ(e->GetEditText(), "123123");
}

TEST_F(EditTest, TabMovesTheFocusThroughTheTabStops) {
    Open(500, 300);
    auto* first = Make<MEdit>("MEdit", 1, CRect(20, 20, 200, 50), "");
    auto* check = Make<CCheckButton>("CCheckButton", 2, CRect(20, 60, 200, 84), "Check");
    auto* button = Make<MButton>("MButton", 3, CRect(20, 100, 200, 130), "Apply");
    auto* radio = Make<CRadioButton>("CRadioButton", 4, CRect(20, 140, 200, 164), "Radio");
    auto* hidden = Make<MEdit>("MEdit", 5, CRect(220, 20, 400, 50), "");
    auto* last = Make<MEdit>("MEdit", 6, CRect(220, 60, 400, 90), "");
    ASSERT_TRUE(first && check && button && radio && hidden && last);
    hidden->SetVisible(0);
    // Inside a page container: reached after the container's place; a
    // hidden container's controls are not.
    auto* page = new MPanel(&dlg, 7, CRect(220, 100, 480, 280), 1);
    dlg.AddControl(page);
    auto* inner =
        dynamic_cast<MEdit*>(page->CreateControl("MEdit", 8, CRect(230, 110, 400, 140), "", 1, 1));
    auto* hidden_page = new MPanel(&dlg, 9, CRect(220, 100, 480, 280), 0);
    dlg.AddControl(hidden_page);
    ASSERT_NE(hidden_page->CreateControl("MEdit", 10, CRect(230, 150, 400, 180), "", 1, 1),
              nullptr);
    ASSERT_NE(inner, nullptr);
    PaintManager& pm = dlg.GetPaintManager();
    ui.Tap(VK_TAB);
    EXPECT_EQ(pm.GetFocusControl(), first);
    EXPECT_TRUE(first->IsEditFocused()); // the focus starts an edit
    ui.Type("a");
    ui.Tap(VK_TAB);
    EXPECT_EQ(pm.GetFocusControl(), check);
    EXPECT_EQ(CodesOf(1), (std::vector<UINT>{CN_EDITBEGIN, CN_TEXTCHANGED, CN_EDITEND}));
    ui.Tap(VK_SPACE);
    EXPECT_EQ(check->GetCheck(), 1);
    ui.Tap(VK_TAB); // the push button is no tab stop
    EXPECT_EQ(pm.GetFocusControl(), radio);
    ui.Tap(VK_TAB); // nor a hidden edit box
    EXPECT_EQ(pm.GetFocusControl(), last);
    ui.Tap(VK_TAB);
    EXPECT_EQ(pm.GetFocusControl(), inner);
    ui.Type("in");
    EXPECT_EQ(inner->GetEditText(), "in");
    ui.Tap(VK_TAB); // round to the first
    EXPECT_EQ(pm.GetFocusControl(), first);
    ui.Key(VK_SHIFT, true);
    ui.Tap(VK_TAB);
    ui.Tap(VK_TAB);
    ui.Key(VK_SHIFT, false);
    EXPECT_EQ(pm.GetFocusControl(), last);
    ui.Key(VK_SHIFT, true);
    ui.Tap(VK_TAB);
    ui.Key(VK_SHIFT, false);
    EXPECT_EQ(pm.GetFocusControl(), radio);
    ui.Tap(VK_SPACE);
    EXPECT_EQ(radio->GetCheck(), 1);
    EXPECT_EQ(CodesOf(4), (std::vector<UINT>{CN_CHECK}));
    EXPECT_TRUE(CodesOf(3).empty());
}

TEST_F(EditTest, ShowsTipFrameCaretAndSelection) {
    Open();
    auto* e = Make<MEdit>("MEdit", 114, CRect(20, 20, 80, 50), "TIP");
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->SetImage("img_edit.png", 4), 1);
    e->SetFont("Arial", 16, FontStyleBold);
    ui.Pump();
    // As large as one cell of img_edit.png (60 × 30): the frame is the cell.
    EXPECT_PRED2(Same, ui.Rgb(dlg, 20, 35), SkinRgb("img_edit.png", 0, 15));
    // The tip in grey while the text is empty.
    bool grey = false;
    for (int y = 20; y < 50; ++y) {
        for (int x = 28; x < 72; ++x) {
            const std::uint32_t c = ui.Rgb(dlg, x, y);
            grey = grey || (c >> 16 >= 0x70 && c >> 16 <= 0x80 && Near(c, (c >> 16) * 0x010101, 4));
        }
    }
    EXPECT_TRUE(grey);
    ui.MoveTo(dlg, 50, 35);
    EXPECT_PRED2(Same, ui.Rgb(dlg, 20, 35), SkinRgb("img_edit.png", 60, 15));
    ui.Press(dlg, 50, 35);
    ui.Release(dlg, 50, 35);
    // Editing: the pressed cell's red edge and the caret at the text's start.
    EXPECT_PRED2(Same, ui.Rgb(dlg, 20, 35), SkinRgb("img_edit.png", 120, 15));
    const CRect caret = e->Editor().CaretRect();
    EXPECT_EQ(caret.left, e->GetTextRect().left);
    EXPECT_PRED2(Same, ui.Rgb(dlg, caret.left, caret.top + caret.Height() / 2), 0xFFFFFFu);
    ui.Advance(540); // blinks off
    EXPECT_FALSE(Same(ui.Rgb(dlg, caret.left, caret.top + caret.Height() / 2), 0xFFFFFFu));
    ui.Type("HH");
    ui.Key(VK_SHIFT, true);
    ui.Tap(VK_LEFT);
    ui.Key(VK_SHIFT, false);
    // The selected character on the selection colour.
    int red = 0;
    for (int y = 20; y < 50; ++y) {
        for (int x = e->Editor().XOf(1); x < e->Editor().XOf(2); ++x) {
            red += ui.Rgb(dlg, x, y) == (Manager::GetSelectColor() & 0xFFFFFF);
        }
    }
    EXPECT_GT(red, 10);
    e->SetEnabled(0);
    ui.Pump();
    EXPECT_FALSE(e->IsEditFocused());
    EXPECT_PRED2(Same, ui.Rgb(dlg, 20, 35), SkinRgb("img_edit.png", 180, 15));
}

TEST_F(EditTest, PasswordShowsMaskCharacters) {
    Open();
    auto* plain = Make<MEdit>("MEdit", 1, CRect(20, 20, 220, 50), "");
    auto* secret = Make<MEdit>("MEdit", 2, CRect(20, 60, 220, 90), "");
    ASSERT_TRUE(plain && secret);
    plain->SetEditText("llll");
    secret->SetEditText("llll");
    secret->EnablePassWord(1);
    secret->SetPassWordChar('W');
    ui.Pump();
    const auto ink_width = [&](int top) {
        int right = 0;
        for (int y = top; y < top + 30; ++y) {
            for (int x = 20; x < 220; ++x) {
                if (ui.Rgb(dlg, x, y) != kBack) {
                    right = std::max(right, x);
                }
            }
        }
        return right;
    };
    EXPECT_GT(ink_width(60), ink_width(20) + 20); // "WWWW" is wider than "llll"
    EXPECT_EQ(secret->GetEditText(), "llll");
}

} // namespace
