// The combo box and its drop-down: placement, picks and their
// notifications, closing, and what the box shows.

#include "ControlsSupport.h"

#include "tessel/MScroll.h"
#include "tessel/controls/input/CComboBoxWnd.h"
#include "tessel/controls/input/MComboBox.h"

using namespace tessel_test;
using kovrin::platform::MouseButton;

namespace {

class ComboTest : public ControlsTest {
protected:
    MComboBox* MakeCombo(int items, CRect rect = CRect(20, 250, 220, 288)) {
        auto* c = Make<MComboBox>("MComboBox", 101, rect);
        if (c != nullptr) {
            for (int i = 0; i < items; ++i) {
                c->AddItem("Effect " + std::to_string(i), 100 + i);
            }
        }
        return c;
    }
    // A click at a screen point.
    void ClickScreen(int x, int y) {
        ui.System().MoveMouse(x, y);
        ui.System().Press(MouseButton::Left, x, y);
        ui.System().Release(MouseButton::Left, x, y);
        ui.Pump();
        ui.Advance(600);
    }
    static CRect PopupRect(MComboBox* c) {
        return c->GetPopup() != nullptr ? c->GetPopup()->GetWindowRect() : CRect();
    }
};

TEST_F(ComboTest, OpensBelowAndPicksWithOneNotification) {
    Open(400, 300, 100, 100);
    MComboBox* c = MakeCombo(3);
    ASSERT_NE(c, nullptr);
    c->SetCurSel(0);
    int sel_when_told = -2;
    std::string title_when_told;
    dlg.notes.clear();
    ui.Click(dlg, 100, 270);
    ASSERT_TRUE(c->IsOpen());
    EXPECT_TRUE(dlg.notes.empty()); // opening tells the dialog nothing
    // x = left + 4, width - 10, directly below; 3 rows of 30 and 12.
    EXPECT_EQ(PopupRect(c), CRect(124, 388, 314, 490));
    EXPECT_EQ(c->GetPopup()->GetWindowTextW(), "ComboWnd");
    EXPECT_EQ(c->GetState(), 1);
    // The dialog's handler sees the new selection already made.
    struct Spy : MObject {
        MComboBox* combo = nullptr;
        int* sel = nullptr;
        std::string* title = nullptr;
        MObject* next = nullptr;
        LRESULT OnBaseMessage(UINT id, UINT code, WPARAM w, LPARAM l) override {
            *sel = combo->GetCurSel();
            *title = combo->GetTitle();
            return next->OnBaseMessage(id, code, w, l);
        }
    } spy;
    spy.combo = c;
    spy.sel = &sel_when_told;
    spy.title = &title_when_told;
    spy.next = &dlg;
    c->SetParent(&spy);
    ClickScreen(150, 388 + 6 + 2 * 30 + 15); // the third row
    EXPECT_EQ(NotesOf(101), (std::vector<Note>{{101, CN_CLICKED, 2, 0}}));
    EXPECT_EQ(sel_when_told, 2);
    EXPECT_EQ(title_when_told, "Effect 2");
    EXPECT_FALSE(c->IsOpen());
    ui.Pump();
    EXPECT_EQ(c->GetPopup()->GetSafeHwnd(), nullptr);
    EXPECT_EQ(c->GetCurData(), 102);
    c->SetParent(&dlg);
}

TEST_F(ComboTest, OpensAboveNearTheBottomOfTheWorkArea) {
    // The work area ends at 1040: a list below the control would pass it.
    Open(400, 300, 100, 700);
    MComboBox* c = MakeCombo(8);
    ASSERT_NE(c, nullptr);
    ui.Click(dlg, 100, 270);
    ASSERT_TRUE(c->IsOpen());
    // 8 items: 5 rows shown, 162 high, ending at the control's top.
    EXPECT_EQ(PopupRect(c), CRect(124, 950 - 162, 314, 950));
    CComboBoxList* list = c->GetPopup()->GetList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetRect().Height(), 150);
    EXPECT_TRUE(list->GetScrollVertical()->IsVisible());
    // The wheel scrolls the rows: the row under a point moves on.
    const CPoint in_list(150, 950 - 162 + 6 + 15);
    ui.System().MoveMouse(in_list.x, in_list.y);
    ui.Pump();
    const CPoint local = c->GetPopup()->ScreenToClient(in_list);
    EXPECT_EQ(list->RowAt(local), 0);
    ui.System().Wheel(-120, in_list.x, in_list.y);
    ui.Pump();
    EXPECT_GT(list->RowAt(local), 0);
    ClickScreen(in_list.x, in_list.y);
    EXPECT_EQ(NotesOf(101).size(), 1u);
    EXPECT_GT(c->GetCurSel(), 0);
}

TEST_F(ComboTest, APressOutsideClosesWithoutAPick) {
    Open(400, 300, 100, 100);
    MComboBox* c = MakeCombo(3);
    ASSERT_NE(c, nullptr);
    auto* under = new Probe(&dlg, 7, CRect(300, 20, 380, 80));
    dlg.AddControl(under);
    ui.Click(dlg, 100, 270);
    ASSERT_TRUE(c->IsOpen());
    dlg.notes.clear();
    ui.Click(dlg, 340, 50); // on a control of the dialog
    EXPECT_FALSE(c->IsOpen());
    EXPECT_TRUE(dlg.notes.empty()); // neither a pick nor the control's click
    EXPECT_EQ(c->GetCurSel(), -1);
    // The box opens again afterwards.
    ui.Click(dlg, 100, 270);
    EXPECT_TRUE(c->IsOpen());
}

TEST_F(ComboTest, APickBeyondTheItemsDoesNothing) {
    Open(400, 300, 100, 100);
    MComboBox* c = MakeCombo(3);
    ASSERT_NE(c, nullptr);
    c->SetCurSel(1);
    ui.Click(dlg, 100, 270);
    ASSERT_TRUE(c->IsOpen());
    // The items change while the list is open; its last row is gone.
    c->DelAllItems();
    c->AddItem("Only");
    dlg.notes.clear();
    ClickScreen(150, 388 + 6 + 2 * 30 + 15);
    EXPECT_TRUE(dlg.notes.empty());
    EXPECT_EQ(c->GetCurSel(), -1);
    EXPECT_FALSE(c->IsOpen());
    EXPECT_EQ(c->OnMessage(CComboBoxWnd::kListId, CN_CLICKED, 5, LIST_PICK), 1);
    EXPECT_TRUE(dlg.notes.empty());
}

TEST_F(ComboTest, ItemOperations) {
    Open();
    MComboBox* c = MakeCombo(3);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->SetCurSel(3), 0);
    EXPECT_EQ(c->GetCurSel(), -1);
    EXPECT_EQ(c->SetCurSel(1), 1);
    EXPECT_EQ(c->GetTitle(), "Effect 1");
    EXPECT_EQ(c->InsertItem(0, "First", 7), 0);
    EXPECT_EQ(c->GetCurSel(), 2); // follows its item
    EXPECT_EQ(c->InsertItem(9, "Nowhere"), -1);
    EXPECT_EQ(c->InsertItem(-1, "Last", 9), 4);
    EXPECT_EQ(c->FindData(9), 4);
    EXPECT_EQ(c->FindData(55), -1);
    EXPECT_EQ(c->SelectData(55), 0);
    EXPECT_EQ(c->SelectData(7), 1);
    EXPECT_EQ(c->GetTitle(), "First");
    EXPECT_TRUE(c->DeleteItem(0));
    EXPECT_EQ(c->GetCurSel(), -1);
    EXPECT_EQ(c->GetTitle(), "");
    EXPECT_EQ(c->SetCurSel(-1), 1);
    EXPECT_EQ(c->GetCurData(), 0);
    // An empty box does not open.
    c->DelAllItems();
    ui.Click(dlg, 100, 270);
    EXPECT_FALSE(c->IsOpen());
}

TEST_F(ComboTest, ShowsTheCellOfItsState) {
    Open();
    // One cell of img_combobox.png is 200 × 38: the nine-grid is the cell.
    MComboBox* c = MakeCombo(2, CRect(20, 40, 220, 78));
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->SetBackImage("img_combobox.png", 4), 1);
    ui.Pump();
    // The chevron's column and a plain spot of the face.
    const auto cell = [&](int i) {
        for (auto [x, y] : {std::pair{183, 19}, std::pair{166, 19}, std::pair{6, 30}}) {
            EXPECT_PRED2(Same, ui.Rgb(dlg, 20 + x, 40 + y),
                         SkinRgb("img_combobox.png", i * 200 + x, y))
                << "cell " << i << " at " << x;
        }
    };
    cell(0);
    ui.MoveTo(dlg, 100, 60);
    cell(1);
    ui.Press(dlg, 100, 60);
    ui.Release(dlg, 100, 60);
    ASSERT_TRUE(c->IsOpen());
    cell(2); // open: the pressed cell
    ClickScreen(5, 5);
    ui.Pump();
    c->SetEnabled(0);
    ui.Pump();
    cell(3);
}

} // namespace
