// The program's message box: its buttons, texts and results.

#include "TestSupport.h"
#include "XSupport.h"

#include "app/Language.h"
#include "app/Paths.h"
#include "services/CUIMessageBox.h"
#include "tessel/Manager.h"
#include "tessel/controls/standard/MButton.h"

#include <gtest/gtest.h>

using namespace tessel_test;
using kovrin::CUIMessageBox;
using kovrin::platform::MouseButton;

namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        kovrin::SetProgramFolder(KOVRIN_BUILD_PROGRAM_DIR);
        kovrin::SetLanguageId(1033);
        ASSERT_TRUE(owner.Open(900, 600, 200, 100));
        owner.ShowWindow(SW_SHOW);
        ui.Pump();
    }
    void TearDown() override {
        kovrin::SetLanguageId(1033);
        owner.DestroyWindow();
    }

    static CUIMessageBox* OpenBox() {
        const std::string title = "MessageBox";
        const auto found = Manager::FindWindows("LumoClient", &title);
        return found.size() == 1 ? dynamic_cast<CUIMessageBox*>(found[0]) : nullptr;
    }

    // While the box runs: checks it with `look` and then clicks the control
    // of that id (none for 0).
    void WhenShown(UINT click, std::function<void(CUIMessageBox&)> look = {}) {
        PostToUi([this, click, look] {
            CUIMessageBox* box = OpenBox();
            ASSERT_NE(box, nullptr);
            if (look) {
                look(*box);
            }
            if (click == 0) {
                return;
            }
            MControl* button = box->GetControl(click);
            ASSERT_NE(button, nullptr);
            const CPoint c = box->ClientToScreen(button->GetRect().CenterPoint());
            ui.System().MoveMouse(c.x, c.y);
            ui.System().Press(MouseButton::Left, c.x, c.y);
            ui.System().Release(MouseButton::Left, c.x, c.y);
        });
    }

    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
    TestDialog owner;
};

std::string TitleOf(CUIMessageBox& box, UINT id) {
    auto* c = dynamic_cast<MControlFont*>(box.GetControl(id));
    return c != nullptr ? c->GetTitle() : "<none>";
}

TEST_F(MessageBoxTest, TwoButtonsAnswerOneAndTwo) {
    struct Case {
        UINT button;
        int result;
    };
    for (const Case& c : {Case{CUIMessageBox::kConfirmId, 1}, Case{CUIMessageBox::kCancelId, 2}}) {
        WhenShown(c.button, [](CUIMessageBox& box) {
            EXPECT_EQ(TitleOf(box, CUIMessageBox::kCaptionId), "Restore");
            EXPECT_EQ(TitleOf(box, CUIMessageBox::kMessageId), "Restore every key?");
            EXPECT_EQ(TitleOf(box, CUIMessageBox::kConfirmId), "Confirm");
            EXPECT_EQ(TitleOf(box, CUIMessageBox::kCancelId), "Cancel");
            // Buttons at (c - 120 .. c - 20) and (c + 20 .. c + 120), 30 high, 10 above the bottom.
            EXPECT_EQ(box.GetControl(CUIMessageBox::kConfirmId)->GetRect(),
                      CRect(70, 160, 170, 190));
            EXPECT_EQ(box.GetControl(CUIMessageBox::kCancelId)->GetRect(),
                      CRect(210, 160, 310, 190));
            // Centred on its owner.
            EXPECT_EQ(box.GetWindowRect().CenterPoint(), CPoint(650, 400));
        });
        EXPECT_EQ(CUIMessageBox::Show("Restore every key?", &owner, "Restore", 4), c.result);
        EXPECT_EQ(OpenBox(), nullptr);
        EXPECT_TRUE(owner.IsWindowEnabled());
    }
}

TEST_F(MessageBoxTest, OneButtonAnswersOne) {
    WhenShown(CUIMessageBox::kConfirmId, [](CUIMessageBox& box) {
        EXPECT_EQ(TitleOf(box, CUIMessageBox::kConfirmId), "OK");
        EXPECT_EQ(box.GetControl(CUIMessageBox::kCancelId), nullptr);
        EXPECT_EQ(box.GetControl(CUIMessageBox::kConfirmId)->GetRect(), CRect(60, 160, 320, 190));
    });
    EXPECT_EQ(CUIMessageBox::Show("Saved.", &owner, "Export", 0), 1);
}

TEST_F(MessageBoxTest, ClosedFromOutsideIsNeverAConfirmation) {
    // No buttons: only a close request ends it; whatever it carries, the
    // answer is "cancelled".
    for (WPARAM code : {WPARAM{2}, WPARAM{0}}) {
        WhenShown(0, [code](CUIMessageBox& box) {
            EXPECT_EQ(box.GetControl(CUIMessageBox::kConfirmId), nullptr);
            box.PostMessageW(WM_CLOSE, code, 0);
        });
        EXPECT_EQ(CUIMessageBox::Show("Busy", &owner, "Wait", 7), 2) << code;
    }
}

TEST_F(MessageBoxTest, MissingLanguageTextLeavesTheButtonBlank) {
    kovrin::SetLanguageId(4242); // no such language file
    WhenShown(CUIMessageBox::kCancelId, [](CUIMessageBox& box) {
        EXPECT_EQ(TitleOf(box, CUIMessageBox::kConfirmId), "");
        EXPECT_EQ(TitleOf(box, CUIMessageBox::kCancelId), "");
    });
    EXPECT_EQ(CUIMessageBox::Show("?", &owner, "?", 4), 2);
}

TEST_F(MessageBoxTest, ShowsItsBackgroundAndButtons) {
    WhenShown(CUIMessageBox::kConfirmId, [this](CUIMessageBox& box) {
        ui.Pump();
        // The red rule on top of the background image, the button faces.
        EXPECT_TRUE(Near(ui.Rgb(box, 190, 1), 0xE0202F, 30)) << std::hex << ui.Rgb(box, 190, 1);
        const std::uint32_t face = ui.Rgb(box, 75, 175);
        EXPECT_TRUE(Near(face, 0x262A33, 24)) << std::hex << face;
    });
    EXPECT_EQ(CUIMessageBox::Show("Look", &owner, "Look", 4), 1);
}

} // namespace
