// The tab bar the main window uses (vertical, five tabs with pages) and its
// page containers.

#include "ControlsSupport.h"

#include "tessel/controls/input/MTabCtrl.h"
#include "tessel/controls/input/MTabLayout.h"

using namespace tessel_test;

namespace {

class TabTest : public ControlsTest {
protected:
    // The main window's bar: ids 0, 1, 2, 3, 5 with pages 50, 51, 53, 52, 54.
    void BuildBar() {
        Open(800, 600, 50, 50);
        const UINT pages[5] = {50, 51, 53, 52, 54};
        for (int i = 0; i < 5; ++i) {
            page[i] = Make<MTabLayout>("MTabLayout", pages[i], CRect(80, 50, 799, 599));
            ASSERT_NE(page[i], nullptr);
            // Something on each page to click.
            inner[i] = new Probe(page[i], 500 + i, CRect(300, 300, 340, 340));
            page[i]->AttachChild(1, inner[i]);
        }
        tab = Make<MTabCtrl>("MTabCtrl", 49, CRect(1, 60, 79, 590));
        ASSERT_NE(tab, nullptr);
        tab->SetTabType(TAB_TYPE_VERTICAL);
        tab->SetTabCtrlWidth(80);
        tab->SetTabCtrlHeight(80);
        tab->SetLeftRightPading(0, 80);
        tab->SetTopBottomPading(0, 400);
        tab->SetItemWidth(80, 80);
        tab->SetItemHeight(80, 80);
        const UINT ids[5] = {0, 1, 2, 3, 5};
        const char* icons[5] = {"icon\\tab_home.png", "icon\\tab_customkey.png",
                                "icon\\tab_macro.png", "icon\\tab_light.png",
                                "icon\\tab_config.png"};
        const char* texts[5] = {"Home", "Keys", "Macro", "Light", "Settings"};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(tab->InsertItem(ids[i], texts[i], icons[i], page[i], 4, 36), i);
        }
        tab->SetSelectItem(0);
        ui.Pump();
        dlg.notes.clear();
    }
    int VisiblePages() const {
        int n = 0;
        for (MTabLayout* p : page) {
            n += p->IsVisible() ? 1 : 0;
        }
        return n;
    }

    MTabCtrl* tab = nullptr;
    MTabLayout* page[5] = {};
    Probe* inner[5] = {};
};

TEST_F(TabTest, VerticalBarOfFiveWithPages) {
    BuildBar();
    ASSERT_EQ(tab->GetItemCount(), 5);
    const UINT ids[5] = {0, 1, 2, 3, 5};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(tab->GetItemID(i), ids[i]);
        EXPECT_EQ(tab->GetItemInfo(i)->rect, CRect(1, 60 + 80 * i, 81, 140 + 80 * i)) << i;
        EXPECT_EQ(tab->GetItemInfo(i)->cellWidth, 36);
    }
    EXPECT_EQ(tab->GetItemInfo(5), nullptr);
    EXPECT_EQ(tab->GetItemID(-1), 0u);
    EXPECT_EQ(VisiblePages(), 1);
    EXPECT_TRUE(page[0]->IsVisible());
    // The light tab (id 3, index 3) shows container 52; the macro tab container 53.
    ui.Click(dlg, 40, 60 + 80 * 3 + 40);
    EXPECT_EQ(NotesOf(49), (std::vector<Note>{{49, CN_PRESSED_ALT, 3, 0}, {49, CN_CLICKED, 3, 0}}));
    EXPECT_EQ(VisiblePages(), 1);
    EXPECT_EQ(page[3]->GetControlID(), 52u);
    EXPECT_TRUE(page[3]->IsVisible());
    tab->SetSelectItem(2);
    EXPECT_TRUE(page[2]->IsVisible());
    EXPECT_EQ(page[2]->GetControlID(), 53u);
    // Selecting the selected tab sends nothing; nor does an index out of range.
    dlg.notes.clear();
    EXPECT_EQ(tab->SetSelectItem(2), 2);
    EXPECT_EQ(tab->SetSelectItem(7), 2);
    EXPECT_TRUE(dlg.notes.empty());
    ui.Click(dlg, 40, 60 + 80 * 2 + 40);
    EXPECT_EQ(CodesOf(49), (std::vector<UINT>{CN_PRESSED_ALT}));
    // Pressing one tab and releasing over another selects nothing.
    dlg.notes.clear();
    ui.Press(dlg, 40, 100);
    ui.Release(dlg, 40, 200);
    EXPECT_EQ(CodesOf(49), (std::vector<UINT>{CN_PRESSED_ALT}));
    EXPECT_EQ(tab->GetSelectItem(), 2);
}

TEST_F(TabTest, HiddenTabsAndAVanishingSelection) {
    BuildBar();
    tab->SetSelectItem(4);
    EXPECT_TRUE(tab->SetItemVisible(4, 0));
    EXPECT_EQ(tab->GetItemVisible(4), 0);
    EXPECT_TRUE(tab->GetItemInfo(4)->rect.IsRectEmpty());
    EXPECT_EQ(tab->GetSelectItem(), 3); // moved to the last visible tab
    EXPECT_TRUE(page[3]->IsVisible());
    EXPECT_FALSE(page[4]->IsVisible());
    EXPECT_TRUE(tab->SetItemVisible(1, 0));
    EXPECT_EQ(tab->GetItemInfo(2)->rect.top, 60 + 80); // the others close up
    EXPECT_TRUE(tab->DeleteItem(3));
    EXPECT_EQ(tab->GetSelectItem(), 2);
    EXPECT_FALSE(tab->DeleteItem(9));
}

TEST_F(TabTest, EmptyPageAreaBelongsToTheWindow) {
    BuildBar();
    // On the page's own control the page takes the press; elsewhere the
    // window does (it starts dragging itself).
    ui.Click(dlg, 320, 320);
    EXPECT_EQ(inner[0]->log.size() >= 2 ? inner[0]->log[inner[0]->log.size() - 2] : "", "down");
    EXPECT_EQ(page[0]->OnCheckMouseResponse(0, {500, 500}), 0);
    EXPECT_EQ(page[0]->OnCheckMouseResponse(0, {320, 320}), 1);
    ui.Press(dlg, 500, 500);
    EXPECT_TRUE(ui.Window(dlg)->InMoveDrag());
    ui.Release(dlg, 500, 500);
}

TEST_F(TabTest, DrawsIconsAndTextsByState) {
    BuildBar();
    ui.MoveTo(dlg, 40, 60 + 80 + 40); // hover tab 1
    // Icon cell of each state: 0 for a plain tab, 1 hovered, 2 selected; the
    // icon centred at top + (80 - 36 - 25) / 2 = top + 9.
    const auto icon_cell = [&](int index, int cell) {
        const int top = 60 + 80 * index + 9;
        const int left = 1 + (80 - 36) / 2;
        int same = 0;
        int inked = 0;
        for (int y = 0; y < 36; ++y) {
            for (int x = 0; x < 36; ++x) {
                const std::uint32_t want = SkinRgb("icon/tab_home.png", cell * 36 + x, y);
                if (index != 0) {
                    continue;
                }
                inked += want != kBack;
                same += Same(ui.Rgb(dlg, left + x, top + y), want);
            }
        }
        return index != 0 || (inked > 20 && same == 36 * 36);
    };
    EXPECT_TRUE(icon_cell(0, 2)); // tab 0 is selected
    tab->SetSelectItem(1);
    ui.MoveTo(dlg, 40, 60 + 3 * 80 + 40);
    ui.MoveTo(dlg, 40, 60 + 40); // hover tab 0, not selected
    EXPECT_TRUE(icon_cell(0, 1));
    ui.MoveTo(dlg, 400, 300);
    EXPECT_TRUE(icon_cell(0, 0));
    // The text under the icon: white normally, red when selected.
    const auto text_colour = [&](int index) {
        const int top = 60 + 80 * index + 36 + (80 - 36 - 20) / 2 + 3;
        std::uint32_t best = 0;
        for (int y = top; y < top + 20; ++y) {
            for (int x = 10; x < 70; ++x) {
                const std::uint32_t c = ui.Rgb(dlg, x, y);
                if ((c >> 16) + (c >> 8 & 0xFF) + (c & 0xFF) >
                    (best >> 16) + (best >> 8 & 0xFF) + (best & 0xFF)) {
                    best = c;
                }
            }
        }
        return best;
    };
    EXPECT_TRUE(Near(text_colour(0), 0xFFFFFF, 60)) << std::hex << text_colour(0);
    const std::uint32_t red = text_colour(1);
    EXPECT_GT(red >> 16, 0xC0u) << std::hex << red;
    EXPECT_LT(red >> 8 & 0xFF, 0x40u) << std::hex << red;
}

TEST_F(TabTest, NoTabsDrawNothing) {
    Open();
    auto* empty = Make<MTabCtrl>("MTabCtrl", 49, CRect(10, 10, 90, 290));
    ASSERT_NE(empty, nullptr);
    ui.Pump();
    for (int y = 10; y < 290; y += 7) {
        EXPECT_EQ(ui.Rgb(dlg, 50, y), kBack);
    }
    EXPECT_EQ(empty->SetSelectItem(0), -1);
    ui.Click(dlg, 50, 50);
    EXPECT_TRUE(dlg.notes.empty());
}

} // namespace
