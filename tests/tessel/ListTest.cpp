// The lists: layout and scrolling, selection and its notifications,
// renaming and delay editing (through a stand-in editor), swapping.

#include "WidgetSupport.h"

#include "tessel/MScroll.h"
#include "tessel/Manager.h"
#include "tessel/controls/lists/CEditWindow.h"
#include "tessel/controls/lists/CRecordList.h"
#include "tessel/controls/lists/DListBox.h"

#include <gtest/gtest.h>

using namespace tessel_test;
using kovrin::platform::MouseButton;

namespace {

constexpr UINT kListId = 66;

// Records what the list asks of its editor; the test types by setting text.
class FakeEditor : public ListEditor {
public:
    void Open(const CRect& r, const std::string& t) override {
        open = true;
        rect = r;
        text = t;
        ++opened;
    }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    std::string GetText() const override { return text; }

    bool open = false;
    int opened = 0;
    CRect rect;
    std::string text;
};

template <class Base> class WithFakeEditor : public Base {
public:
    using Base::Base;
    FakeEditor* fake = nullptr;
    ListEditorStyle style;

protected:
    std::unique_ptr<ListEditor> CreateEditor(const ListEditorStyle& s) override {
        style = s;
        auto e = std::make_unique<FakeEditor>();
        fake = e.get();
        return e;
    }
};

using TestDList = WithFakeEditor<DListBox>;
using TestRecords = WithFakeEditor<CRecordList>;

class ListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dlg.Open(500, 400));
        dlg.ShowWindow(SW_SHOW);
        page = new MPanel(&dlg, 51, CRect(0, 0, 500, 400), 1);
        dlg.AddControl(page);
    }
    void TearDown() override { dlg.DestroyWindow(); }

    template <class L> L* Add(CRect r) {
        auto* list = new L(page, kListId, r, 1);
        page->AttachChild(1, list);
        list->SetRect(r);
        ui.Pump();
        return list;
    }
    std::vector<Note> Codes(std::initializer_list<UINT> codes) const {
        std::vector<Note> out;
        for (const Note& n : dlg.notes) {
            if (std::find(codes.begin(), codes.end(), n.code) != codes.end()) {
                out.push_back(n);
            }
        }
        return out;
    }
    void ClickRow(CListBase* list, int row, int dx = 60, MouseButton b = MouseButton::Left) {
        const CRect r = list->GetRowWindowRect(row);
        ASSERT_FALSE(r.IsRectEmpty()) << "row " << row << " not visible";
        ui.MoveTo(dlg, r.left + dx, r.top + r.Height() / 2);
        ui.Click(dlg, r.left + dx, r.top + r.Height() / 2, b);
    }

    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
    TestDialog dlg;
    MPanel* page = nullptr;
};

TEST_F(ListTest, BarAppearsWhenRowsOutgrowTheView) {
    auto* list = Add<DListBox>(CRect(20, 20, 220, 180)); // 160 high
    for (int i = 0; i < 3; ++i) {
        list->AddString("Profile " + std::to_string(i), i + 1, 0);
    }
    ui.Pump();
    EXPECT_FALSE(list->IsBarShown());
    EXPECT_EQ(list->GetViewWidth(), 200);
    for (int i = 3; i < 6; ++i) {
        list->AddString("Profile " + std::to_string(i), i + 1, 0);
    }
    ui.Pump();
    EXPECT_TRUE(list->IsBarShown());
    EXPECT_EQ(list->GetViewWidth(), 193);
    EXPECT_EQ(list->GetScrollVertical()->GetScrollMaxRange(), 6 * 32);
    // The view scrolled to the end: the last row is whole at the bottom.
    EXPECT_EQ(list->GetLastVisible(), 5);
    EXPECT_EQ(list->GetRowWindowRect(5).bottom, 180);

    list->DeleteAllItems();
    ui.Pump();
    EXPECT_FALSE(list->IsBarShown());
    EXPECT_EQ(list->GetItemCount(), 0);
}

TEST_F(ListTest, InsertStringReturnsWhereTheRowWent) {
    auto* list = Add<DListBox>(CRect(20, 20, 220, 300));
    EXPECT_EQ(list->InsertString(7, "first", 0, 1), 0); // an empty list appends
    EXPECT_EQ(list->AddString("second", 2, 0), 1);
    EXPECT_EQ(list->InsertString(0, "zero", 0, 9), 0);
    EXPECT_EQ(list->InsertString(1, "one", 0, 8), 1);
    EXPECT_EQ(list->InsertString(4, "bad", 0, 7), -1);
    EXPECT_EQ(list->InsertString(-2, "bad", 0, 7), -1);
    EXPECT_EQ(list->InsertString(-1, "last", 0, 6), 4);
    const char* expected[] = {"zero", "one", "first", "second", "last"};
    ASSERT_EQ(list->GetItemCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list->GetItemText(i), expected[i]);
    }
    EXPECT_EQ(list->FindString("first"), 2);
    EXPECT_EQ(list->FindString("First"), -1);
    EXPECT_EQ(list->FindItemData(8), 1);
    EXPECT_EQ(list->SetCurData(2), 3);
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_EQ(list->GetCurData(), 2);
    EXPECT_EQ(list->SetCurData(99), -1);
    EXPECT_EQ(list->GetItemData(5), 0);
    EXPECT_EQ(list->GetItemText(-1), "");
    EXPECT_EQ(list->SetCurSel(5), 0);
    EXPECT_EQ(list->SetCurSel(-1), 1);
    EXPECT_EQ(list->ModifyItemString(9, "x"), 0);
    EXPECT_EQ(list->DeleteItem(5), 0);
    EXPECT_EQ(list->DeleteItem(0), 1);
    EXPECT_EQ(list->GetItemText(0), "one");
}

TEST_F(ListTest, PressClickAndRightClickOnRows) {
    auto* list = Add<DListBox>(CRect(20, 20, 220, 300));
    for (int i = 0; i < 4; ++i) {
        list->AddString("Macro " + std::to_string(i), 100 + i, 0);
    }
    ui.Pump();
    ClickRow(list, 2);
    EXPECT_EQ(Codes({CN_PRESSED, CN_CLICKED}),
              (std::vector<Note>{{kListId, CN_PRESSED, 2, 0}, {kListId, CN_CLICKED, 2, 0}}));
    EXPECT_EQ(list->GetCurSel(), 2);
    // The selected row is filled with the selection colour.
    ui.MoveTo(dlg, 400, 350);
    const CRect row = list->GetRowWindowRect(2);
    const Color select = Manager::GetSelectColor();
    EXPECT_EQ(ui.Rgb(dlg, row.left + 10, row.top + 3), select & 0xFFFFFF);
    EXPECT_NE(ui.Rgb(dlg, row.left + 10, row.top - 3), select & 0xFFFFFF);

    dlg.notes.clear();
    ClickRow(list, 1, 60, MouseButton::Right);
    EXPECT_EQ(Codes({CN_RCLICK}), (std::vector<Note>{{kListId, CN_RCLICK, 1, 0}}));
    // Below the rows: the selection goes and -1 is reported.
    dlg.notes.clear();
    ui.MoveTo(dlg, 60, 280);
    ui.Click(dlg, 60, 280, MouseButton::Right);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(Codes({CN_RCLICK}), (std::vector<Note>{{kListId, CN_RCLICK, 0xFFFFFFFFu, 0}}));
}

TEST_F(ListTest, RenameCommitsAfterThePressOfTheNextRowWithTheEditedRowsIndex) {
    auto* list = Add<TestDList>(CRect(20, 20, 220, 300));
    list->SetFontWidth(14);
    for (const char* name : {"Default", "Game", "Work"}) {
        list->AddString(name, 0, 0);
    }
    ui.Pump();
    list->ShowEdit(); // nothing selected: refused
    EXPECT_EQ(list->GetEditItem(), -1);
    ClickRow(list, 1);
    list->ShowEdit(); // editing not enabled: refused
    EXPECT_EQ(list->GetEditItem(), -1);
    list->EnableShowEdit(1);
    dlg.notes.clear();
    list->ShowEdit();
    ASSERT_NE(list->fake, nullptr);
    EXPECT_TRUE(list->fake->open);
    EXPECT_EQ(list->fake->text, "Game");
    EXPECT_EQ(list->GetEditItem(), 1);
    EXPECT_EQ(list->style.limit, 10);
    EXPECT_EQ(list->style.background, 0x351806u);
    EXPECT_FALSE(list->style.digitsOnly);
    const CRect row = list->GetRowWindowRect(1);
    EXPECT_EQ(list->fake->rect, CRect(row.left + 50, row.top + (32 - 14 - 6) / 2 - 1,
                                      row.right - 10, row.top + (32 - 14 - 6) / 2 - 1 + 20));
    EXPECT_EQ(Codes({CN_TEXTCHANGED}), (std::vector<Note>{{kListId, CN_TEXTCHANGED, 0, 0}}));

    // A press on the edited row keeps editing.
    list->fake->text = "Racing";
    dlg.notes.clear();
    ClickRow(list, 1);
    EXPECT_TRUE(list->fake->open);
    EXPECT_TRUE(Codes({CN_EDITEND}).empty());
    // A press on another row: its CN_PRESSED, then the rename of row 1.
    dlg.notes.clear();
    ClickRow(list, 2);
    EXPECT_EQ(Codes({CN_PRESSED, CN_EDITEND}),
              (std::vector<Note>{{kListId, CN_PRESSED, 2, 0}, {kListId, CN_EDITEND, 0, 1}}));
    EXPECT_FALSE(list->fake->open);
    EXPECT_EQ(list->GetItemText(1), "Racing");
    EXPECT_EQ(list->GetItemText(2), "Work");
    EXPECT_EQ(list->GetEditItem(), -1);

    // The same text again ends without CN_EDITEND.
    list->ShowEdit();
    dlg.notes.clear();
    list->HideEdit(1);
    EXPECT_TRUE(Codes({CN_EDITEND}).empty());
}

TEST_F(ListTest, LosingFocusEndsTheRename) {
    auto* list = Add<TestDList>(CRect(20, 20, 220, 300));
    auto* other = new Probe(&dlg, 9, CRect(300, 20, 400, 60));
    dlg.AddControl(other);
    list->EnableShowEdit(1);
    list->AddString("Default", 0, 0);
    list->AddString("Game", 0, 0);
    ui.Pump();
    ClickRow(list, 0);
    list->ShowEdit();
    list->fake->text = "Home";
    dlg.notes.clear();
    ui.MoveTo(dlg, 350, 40);
    ui.Click(dlg, 350, 40);
    EXPECT_EQ(Codes({CN_EDITEND}), (std::vector<Note>{{kListId, CN_EDITEND, 0, 0}}));
    EXPECT_EQ(list->GetItemText(0), "Home");
}

TEST_F(ListTest, RowsMovingUnderAnOpenEditorKeepTheRightRow) {
    auto* list = Add<TestDList>(CRect(20, 20, 220, 300));
    list->EnableShowEdit(1);
    for (const char* name : {"A", "B", "C"}) {
        list->AddString(name, 0, 0);
    }
    ui.Pump();
    list->SetCurSel(2);
    list->ShowEdit();
    list->fake->text = "C2";
    list->InsertString(0, "new", 0, 0);
    EXPECT_EQ(list->GetEditItem(), 3);
    EXPECT_TRUE(list->SwapItem(3, 1));
    EXPECT_EQ(list->GetEditItem(), 1);
    dlg.notes.clear();
    list->HideEdit(1);
    EXPECT_EQ(Codes({CN_EDITEND}), (std::vector<Note>{{kListId, CN_EDITEND, 0, 1}}));
    EXPECT_EQ(list->GetItemText(1), "C2");
    // Deleting the edited row drops the edit.
    list->SetCurSel(0);
    list->ShowEdit();
    list->fake->text = "gone";
    EXPECT_EQ(list->DeleteItem(0), 1);
    EXPECT_FALSE(list->fake->open);
    EXPECT_EQ(list->GetEditItem(), -1);
    EXPECT_EQ(list->FindString("gone"), -1);
}

TEST_F(ListTest, WheelScrollsLongListsOnly) {
    auto* list = Add<DListBox>(CRect(20, 20, 220, 180));
    for (int i = 0; i < 3; ++i) {
        list->AddString("row", 0, 0);
    }
    ui.Pump();
    EXPECT_EQ(list->OnControlScroll(1, 1, CPoint(50, 50)), 0);
    for (int i = 0; i < 20; ++i) {
        list->AddString("row " + std::to_string(i), 0, 0);
    }
    ui.Pump();
    EXPECT_EQ(list->GetLastVisible(), 22);
    ui.Wheel(dlg, 120, 60, 60); // away from the user: up
    ui.Pump();
    EXPECT_EQ(list->GetScrollVertical()->GetScrollCurrentPos(), 23 * 32 - 100);
    EXPECT_LT(list->GetLastVisible(), 22);
}

TEST_F(ListTest, RecordListShowsStepsAndEditsTheDelay) {
    auto* list = Add<TestRecords>(CRect(20, 20, 460, 300));
    EXPECT_FALSE(list->UpdateDelayTime(50));
    EXPECT_EQ(list->AddString("Ctrl", kRecordKeyDown, 162, 0), 0);
    EXPECT_EQ(list->AddString("C", kRecordKeyDown, 67, 0), 1);
    EXPECT_EQ(list->AddString("C", kRecordKeyUp, 67, 0), 2);
    EXPECT_TRUE(list->UpdateDelayTime(120));
    EXPECT_EQ(list->GetRecordItems().back().delay, 120);
    EXPECT_EQ(list->GetViewWidth(), 440 - 7); // the bar's room is always kept
    ui.Pump();

    // A press on the name column selects; on the delay column of a row it
    // also opens the editor.
    ClickRow(list, 1, 50);
    EXPECT_EQ(Codes({CN_PRESSED}), (std::vector<Note>{{kListId, CN_PRESSED, 1, 0}}));
    EXPECT_EQ(list->fake, nullptr);
    ClickRow(list, 2, 350);
    ASSERT_NE(list->fake, nullptr);
    EXPECT_TRUE(list->fake->open);
    EXPECT_EQ(list->fake->text, "120");
    EXPECT_TRUE(list->style.digitsOnly);
    EXPECT_EQ(list->style.limit, 5);
    EXPECT_EQ(list->style.align, 1u);
    const CRect row = list->GetRowWindowRect(2);
    EXPECT_EQ(list->fake->rect.left, 20 + 300);
    EXPECT_EQ(list->fake->rect.right, 20 + 420);
    EXPECT_EQ(list->fake->rect.Height(), list->GetFontWidth() + 3);
    EXPECT_EQ(list->fake->rect.top, row.top + (41 - list->GetFontWidth()) / 2 - 3);

    struct Case {
        std::string typed;
        int stored;
        bool notified;
    };
    const Case cases[] = {{"250", 250, true}, {"250", 250, false},    {"99999", 31000, true},
                          {"", 10, true},     {"31001", 31000, true}, {"0", 0, true},
                          {"12ab", 12, true}, {"x", 0, true}};
    for (const Case& c : cases) {
        list->SetCurSel(2);
        list->ShowEdit();
        ASSERT_TRUE(list->fake->open);
        list->fake->text = c.typed;
        dlg.notes.clear();
        list->HideEdit(1);
        EXPECT_EQ(list->GetRecordItems()[2].delay, c.stored) << "'" << c.typed << "'";
        EXPECT_EQ(Codes({CN_EDITEND}).size(), c.notified ? 1u : 0u) << "'" << c.typed << "'";
        if (c.notified) {
            EXPECT_EQ(Codes({CN_EDITEND})[0], (Note{kListId, CN_EDITEND, 0, 2}));
        }
    }
    // Right clicks report rows only.
    dlg.notes.clear();
    ClickRow(list, 0, 50, MouseButton::Right);
    ui.MoveTo(dlg, 60, 290);
    ui.Click(dlg, 60, 290, MouseButton::Right);
    EXPECT_EQ(Codes({CN_RCLICK}), (std::vector<Note>{{kListId, CN_RCLICK, 0, 0}}));
    EXPECT_EQ(list->GetCurSel(), -1);
}

TEST_F(ListTest, RecordSwapAndDeleteKeepTheOrderTheOwnerSaves) {
    auto* list = Add<CRecordList>(CRect(20, 20, 460, 300));
    for (int i = 0; i < 4; ++i) {
        list->AddString("K" + std::to_string(i), kRecordKeyDown, 65 + i, i * 10);
    }
    EXPECT_TRUE(list->SwapItem(0, 1));
    EXPECT_FALSE(list->SwapItem(2, 2));
    EXPECT_FALSE(list->SwapItem(3, 4));
    EXPECT_FALSE(list->SwapItem(-1, 0));
    auto items = list->GetRecordItems();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, "K1");
    EXPECT_EQ(items[1].text, "K0");
    EXPECT_EQ(items[0].delay, 10);
    EXPECT_EQ(list->DeleteItem(1), 1);
    items = list->GetRecordItems();
    EXPECT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].text, "K2");
}

TEST(ListFactory, ListsAreBuiltInPanelsOnly) {
    HeadlessSession ui(KOVRIN_BUILD_PROGRAM_DIR);
    TestDialog dlg;
    ASSERT_TRUE(dlg.Open());
    EXPECT_EQ(dlg.CreateControl("DListBox", 66, CRect(), "", 1, 1), nullptr);
    EXPECT_EQ(dlg.CreateControl("CRecordList", 233, CRect(), "", 1, 1), nullptr);
    auto* panel = new MPanel(&dlg, 20, CRect(0, 0, 300, 200), 1);
    dlg.AddControl(panel);
    EXPECT_NE(dynamic_cast<DListBox*>(panel->CreateControl("DListBox", 66, CRect(), "", 1, 1)),
              nullptr);
    EXPECT_NE(
        dynamic_cast<CRecordList*>(panel->CreateControl("CRecordList", 233, CRect(), "", 1, 1)),
        nullptr);
    dlg.DestroyWindow();
}

} // namespace

// ---- with the real editor ----

namespace {

class ListEditingTest : public ListTest {
protected:
    CEditWindow* Editor(CListBase* list) {
        return list->GetEditor() != nullptr
                   ? dynamic_cast<CEditWindow*>(list->GetEditor()->Control())
                   : nullptr;
    }
    void Erase(int n) {
        for (int i = 0; i < n; ++i) {
            ui.Tap(VK_BACK);
        }
    }
};

TEST_F(ListEditingTest, TypingRenamesTheRowAndThePressOnAnotherRowCommitsIt) {
    auto* list = Add<DListBox>(CRect(20, 20, 220, 300));
    list->SetFontWidth(14);
    ASSERT_EQ(list->SetEditImage("img_edit.png", 4), 1);
    list->EnableShowEdit(1);
    for (const char* name : {"Default", "Game", "Work"}) {
        list->AddString(name, 0, 0);
    }
    ui.Pump();
    ClickRow(list, 1);
    list->ShowEdit();
    ui.Pump();
    CEditWindow* edit = Editor(list);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->IsOpen());
    EXPECT_EQ(dlg.GetPaintManager().GetFocusControl(), edit);
    EXPECT_EQ(edit->Editor().Caret(), 4u); // at the end of "Game"
    // The field covers the row in the list's edit colours.
    const CRect field = edit->GetRect();
    EXPECT_EQ(ui.Rgb(dlg, field.right - 2, field.top + 2), 0x061835u);

    dlg.notes.clear();
    Erase(4);
    ui.Type("Racing");
    EXPECT_EQ(edit->GetText(), "Racing");
    EXPECT_EQ(list->GetTitle(), "Racing");
    EXPECT_EQ(Codes({CN_TEXTCHANGED}).size(), 10u); // one per change
    EXPECT_EQ(list->GetItemText(1), "Game");        // not before the edit ends

    dlg.notes.clear();
    ClickRow(list, 2);
    EXPECT_EQ(Codes({CN_PRESSED, CN_EDITEND}),
              (std::vector<Note>{{kListId, CN_PRESSED, 2, 0}, {kListId, CN_EDITEND, 0, 1}}));
    EXPECT_EQ(list->GetItemText(1), "Racing");
    EXPECT_FALSE(edit->IsOpen());
    EXPECT_EQ(dlg.GetPaintManager().GetFocusControl(), list);
}

TEST_F(ListEditingTest, RenameKeepsTenCharactersAndEnterAndEscapeEndIt) {
    auto* list = Add<DListBox>(CRect(20, 20, 220, 300));
    list->EnableShowEdit(1);
    list->AddString("Macro 1", 0, 0);
    ui.Pump();
    list->SetCurSel(0);
    list->ShowEdit();
    CEditWindow* edit = Editor(list);
    ASSERT_NE(edit, nullptr);
    Erase(7);
    ui.Type("ABCDEFGHIJKLMNO");
    EXPECT_EQ(edit->GetText(), "ABCDEFGHIJ");
    dlg.notes.clear();
    ui.Tap(VK_RETURN);
    EXPECT_EQ(Codes({CN_EDITEND}), (std::vector<Note>{{kListId, CN_EDITEND, 0, 0}}));
    EXPECT_EQ(list->GetItemText(0), "ABCDEFGHIJ");

    list->ShowEdit();
    ui.Type("xyz");
    dlg.notes.clear();
    ui.Tap(VK_ESCAPE);
    EXPECT_FALSE(edit->IsOpen());
    EXPECT_TRUE(Codes({CN_EDITEND}).empty());
    EXPECT_EQ(list->GetItemText(0), "ABCDEFGHIJ");
}

TEST_F(ListEditingTest, ClicksInsideTheFieldKeepEditing) {
    auto* list = Add<DListBox>(CRect(20, 20, 220, 300));
    list->EnableShowEdit(1);
    list->AddString("Default", 0, 0);
    list->AddString("Game", 0, 0);
    ui.Pump();
    list->SetCurSel(1);
    list->ShowEdit();
    CEditWindow* edit = Editor(list);
    ASSERT_NE(edit, nullptr);
    const CRect field = edit->GetRect();
    ui.Click(dlg, field.left + 4, field.top + field.Height() / 2);
    EXPECT_TRUE(edit->IsOpen());
    EXPECT_EQ(edit->Editor().Caret(), 0u);
    ui.Type("My ");
    EXPECT_EQ(edit->GetText(), "My Game");
    // A click outside the list ends the rename.
    dlg.notes.clear();
    ui.Click(dlg, 400, 350);
    EXPECT_FALSE(edit->IsOpen());
    EXPECT_EQ(Codes({CN_EDITEND}), (std::vector<Note>{{kListId, CN_EDITEND, 0, 1}}));
    EXPECT_EQ(list->GetItemText(1), "My Game");
}

TEST_F(ListEditingTest, DelayEditTakesDigitsAndIsClampedWhenItEnds) {
    auto* list = Add<CRecordList>(CRect(20, 20, 460, 300));
    list->AddString("A", kRecordKeyDown, 65, 120);
    list->AddString("A", kRecordKeyUp, 65, 0);
    ui.Pump();
    ClickRow(list, 0, 350);
    CEditWindow* edit = Editor(list);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(edit->IsOpen());
    EXPECT_EQ(edit->GetText(), "120");
    ui.Type("x9y9");
    EXPECT_EQ(edit->GetText(), "12099"); // digits only, five at most
    ui.Type("7");
    EXPECT_EQ(edit->GetText(), "12099");
    Erase(5);
    ui.Type("45000");
    dlg.notes.clear();
    ui.Tap(VK_RETURN);
    EXPECT_EQ(list->GetRecordItems()[0].delay, kMaxRecordDelay);
    EXPECT_EQ(Codes({CN_EDITEND}), (std::vector<Note>{{kListId, CN_EDITEND, 0, 0}}));

    // Emptied: 10.
    ClickRow(list, 1, 350);
    ASSERT_TRUE(edit->IsOpen());
    Erase(1);
    ui.Tap(VK_RETURN);
    EXPECT_EQ(list->GetRecordItems()[1].delay, 10);
}

TEST_F(ListEditingTest, ScrollingTheRecordListEndsTheDelayEdit) {
    auto* list = Add<CRecordList>(CRect(20, 20, 460, 200));
    for (int i = 0; i < 12; ++i) {
        list->AddString("K", kRecordKeyDown, 75, i);
    }
    ui.Pump();
    ClickRow(list, list->GetLastVisible(), 350);
    CEditWindow* edit = Editor(list);
    ASSERT_NE(edit, nullptr);
    ui.Type("5");
    dlg.notes.clear();
    ui.Wheel(dlg, 120, 100, 100);
    EXPECT_FALSE(edit->IsOpen());
    EXPECT_EQ(Codes({CN_EDITEND}).size(), 1u);
    EXPECT_EQ(list->GetRecordItems()[11].delay, 115);
}

} // namespace
