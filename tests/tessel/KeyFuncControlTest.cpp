// The key function picker: its item table, clicks and the clicked item's
// data, marks and tooltips.

#include "WidgetSupport.h"

#include "tessel/controls/keyboard/KeyFuncControl.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace tessel_test;

namespace {

constexpr UINT kPickerId = 69;

class KeyFuncTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dlg.Open(980, 320));
        dlg.ShowWindow(SW_SHOW);
        auto* page = new MPanel(&dlg, 51, CRect(0, 0, 980, 320), 1);
        dlg.AddControl(page);
        picker = dynamic_cast<KeyFuncControl*>(
            page->CreateControl("KeyFuncControl", kPickerId, CRect(20, 30, 960, 300), "", 1, 1));
        ASSERT_NE(picker, nullptr);
        picker->SetTextColor(0xFFFFFFFF);
        ASSERT_EQ(picker->SetImage("img_customkey.png", 4), 1);
        picker->SetFontWidth(10);
        picker->InitItemInfo();
        ui.Pump();
    }
    void TearDown() override { dlg.DestroyWindow(); }

    int Find(int code) const {
        const auto items = picker->GetItems();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].code == code) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    CRect Window(int index) const {
        CRect r = picker->GetItems().at(static_cast<std::size_t>(index)).rect;
        r.OffsetRect(20, 30);
        return r;
    }

    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
    TestDialog dlg;
    KeyFuncControl* picker = nullptr;
};

TEST_F(KeyFuncTest, OffersEveryAssignableFunctionOnce) {
    const auto items = picker->GetItems();
    ASSERT_EQ(items.size(), 114u);
    std::set<int> codes;
    std::map<std::string, int> labels;
    int icons = 0;
    for (const KeyFuncItem& item : items) {
        EXPECT_TRUE(codes.insert(item.code).second) << "code " << item.code << " twice";
        ++labels[item.label];
        EXPECT_EQ(item.value2, 0);
        EXPECT_EQ(item.value3, 0);
        EXPECT_FALSE(item.rect.IsRectEmpty());
        if (item.code > 231) {
            EXPECT_NE(item.icon, nullptr) << item.code; // every skin icon loads
            EXPECT_TRUE(item.label.empty());
            ++icons;
        } else {
            EXPECT_EQ(item.icon, nullptr);
            EXPECT_GE(item.code, 4);
        }
    }
    EXPECT_EQ(icons, 11);
    EXPECT_EQ(labels["Shift"], 2);
    EXPECT_EQ(labels["Enter"], 2);
    EXPECT_EQ(labels["-"], 2);
    EXPECT_EQ(labels["Alt"], 2);
    // The keypad digits carry the keypad usages; the main row its own.
    for (int code = 89; code <= 98; ++code) {
        EXPECT_GE(Find(code), 0) << code;
    }
    EXPECT_EQ(items[static_cast<std::size_t>(Find(98))].label, "0");
    EXPECT_EQ(items[static_cast<std::size_t>(Find(39))].label, "0");
    EXPECT_EQ(items[static_cast<std::size_t>(Find(88))].rect, CRect(867, 175, 903, 236));
    EXPECT_EQ(items[static_cast<std::size_t>(Find(44))].rect, CRect(159, 208, 383, 236));
    for (int code : {232, 236, 243, 248, 500}) {
        EXPECT_EQ(Find(code), -1) << code;
    }
}

TEST_F(KeyFuncTest, ClickReportsTheItemAndItsData) {
    int unused = 7;
    int code = -1;
    int v2 = -1;
    int v3 = -1;
    std::string label = "unchanged";
    EXPECT_FALSE(picker->GetCurItemData(unused, code, v2, v3, label));
    EXPECT_EQ(code, -1);
    EXPECT_EQ(label, "unchanged");

    picker->SetItemDesc(249, "My Computer");
    struct Case {
        int code;
        std::string label;
    };
    for (const Case& c : {Case{20, "Q"}, Case{249, "My Computer"}, Case{229, "Shift"},
                          Case{99, "."}, Case{44, "Space"}}) {
        const int index = Find(c.code);
        const CPoint p = Centre(Window(index));
        dlg.notes.clear();
        ui.MoveTo(dlg, p.x, p.y);
        ui.Click(dlg, p.x, p.y);
        ASSERT_EQ(dlg.notes.size(), 1u) << c.label;
        EXPECT_EQ(dlg.notes[0], (Note{kPickerId, CN_CLICKED, static_cast<WPARAM>(index), 0}));
        // Read after the pointer has left the picker, as a handler may.
        ui.MoveTo(dlg, 5, 5);
        EXPECT_EQ(picker->GetHoverItem(), -1);
        ASSERT_TRUE(picker->GetCurItemData(unused, code, v2, v3, label));
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(label, c.label);
        EXPECT_EQ(v2, 0);
        EXPECT_EQ(v3, 0);
        EXPECT_EQ(unused, 7);
    }
    // A click without a move before it still reads the clicked item.
    const CPoint esc = Centre(Window(Find(41)));
    ui.Click(dlg, esc.x, esc.y);
    ASSERT_TRUE(picker->GetCurItemData(unused, code, v2, v3, label));
    EXPECT_EQ(code, 41);
    // A click between items selects nothing.
    ui.Click(dlg, 20 + 60, 30 + 50);
    EXPECT_FALSE(picker->GetCurItemData(unused, code, v2, v3, label));
}

TEST_F(KeyFuncTest, MarkingByDataMarksOneItemUntilCleared) {
    picker->SetItemCheckByItemData(225, 0, 0);
    const int shift = Find(225);
    EXPECT_EQ(picker->GetMarkedItem(), shift);
    int marked = 0;
    for (int i = 0; i < picker->GetItemCount(); ++i) {
        marked += picker->ItemState(i) == 2 ? 1 : 0;
    }
    EXPECT_EQ(marked, 1);
    ui.Pump();
    // The marked cell is the red one of the strip; its neighbour is not.
    const CRect r = Window(shift);
    EXPECT_TRUE(NearRgb(ui.Rgb(dlg, r.left + 4, r.top + 8), 0x9E1320, 0x10));
    const CRect z = Window(Find(29));
    EXPECT_FALSE(NearRgb(ui.Rgb(dlg, z.left + 4, z.top + 8), 0x9E1320, 0x30));

    picker->SetItemCheckByItemData(225, 1, 0); // other values: no item
    EXPECT_EQ(picker->GetMarkedItem(), -1);
    picker->SetItemCheckByItemData(225, 0, 0);
    picker->SetItemCheckByItemData(0, 0, 0);
    EXPECT_EQ(picker->GetMarkedItem(), -1);
    EXPECT_EQ(picker->GetSelectedItem(), -1);
    ui.Pump();
    EXPECT_FALSE(NearRgb(ui.Rgb(dlg, r.left + 4, r.top + 8), 0x9E1320, 0x30));
}

TEST_F(KeyFuncTest, OnlyMultimediaItemsShowTheirDescriptionAsTooltip) {
    picker->SetItemDesc(242, "Calculator");
    const CPoint cal = Centre(Window(Find(242)));
    ui.MoveTo(dlg, cal.x, cal.y);
    ui.MoveTo(dlg, cal.x + 1, cal.y);
    EXPECT_EQ(dlg.GetPaintManager().GetTooltipText(), "Calculator");
    EXPECT_EQ(dlg.GetPaintManager().GetTooltipOwner(), picker);
    const CPoint w = Centre(Window(Find(26)));
    ui.MoveTo(dlg, w.x, w.y);
    ui.MoveTo(dlg, w.x + 1, w.y);
    EXPECT_TRUE(dlg.GetPaintManager().GetTooltipText().empty());
}

TEST_F(KeyFuncTest, DisabledPickerIgnoresTheMouse) {
    picker->SetEnabled(0);
    const CPoint q = Centre(Window(Find(20)));
    ui.MoveTo(dlg, q.x, q.y);
    ui.Click(dlg, q.x, q.y);
    EXPECT_EQ(picker->GetHoverItem(), -1);
    EXPECT_TRUE(dlg.notes.empty());
}

} // namespace
