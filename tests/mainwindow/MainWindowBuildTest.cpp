// The main window as built and laid out: every control with its class and
// container, the layout at several sizes, the tab bar, and the texts in both
// languages.

#include "tests/mainwindow/MainWindowTestSupport.h"

#include "app/Paths.h"
#include "mainwindow/MainWindowControls.h"

#include <functional>

namespace kovrin::test {
namespace {

using namespace Tessel;

template <class T> bool Is(MControl* c) {
    return dynamic_cast<T*>(c) != nullptr;
}

struct ControlCase {
    UINT first;
    UINT last;
    std::function<bool(MControl*)> is;
    const char* cls;
    int container; // -1: the window itself; else the page container's id
};

// Every control of the window by id range, class and where it lives.
const std::vector<ControlCase>& Controls() {
    static const std::vector<ControlCase> cases = {
        {30, 30, Is<MPicture>, "MPicture", -1},
        {31, 35, Is<CArea>, "CArea", -1},
        {36, 37, Is<MPicture>, "MPicture", -1},
        {38, 39, Is<MText>, "MText", -1},
        {40, 40, Is<MPicture>, "MPicture", -1},
        {41, 42, Is<CImageButton>, "CImageButton", -1},
        {44, 45, Is<CImageButton>, "CImageButton", -1},
        {46, 46, Is<BatteryCtrl>, "BatteryCtrl", -1},
        {47, 47, Is<MPicture>, "MPicture", -1},
        {48, 48, Is<CArea>, "CArea", -1},
        {49, 49, Is<MTabCtrl>, "MTabCtrl", -1},
        {50, 54, Is<MTabLayout>, "MTabLayout", -1},
        // Home page.
        {55, 55, Is<MText>, "MText", 50},
        {56, 56, Is<CDeviceCtrl>, "CDeviceCtrl", 50},
        {57, 58, Is<MText>, "MText", 50},
        // Key assignment page.
        {59, 59, Is<CArea>, "CArea", 51},
        {60, 64, Is<CImageButton>, "CImageButton", 51},
        {65, 65, Is<CArea>, "CArea", 51},
        {66, 66, Is<DListBox>, "DListBox", 51},
        {67, 67, Is<KeyboardCtrl>, "KeyboardCtrl", 51},
        {69, 69, Is<KeyFuncControl>, "KeyFuncControl", 51},
        // Lighting page.
        {70, 70, Is<CArea>, "CArea", 52},
        {71, 71, Is<DListBox>, "DListBox", 52},
        {72, 72, Is<KeyboardCtrl>, "KeyboardCtrl", 52},
        {73, 73, Is<CArea>, "CArea", 52},
        {74, 74, Is<MText>, "MText", 52},
        {75, 75, Is<MSlider>, "MSlider", 52},
        {76, 76, Is<MText>, "MText", 52},
        {77, 77, Is<MSlider>, "MSlider", 52},
        {78, 78, Is<MText>, "MText", 52},
        {79, 82, Is<CRadioButton>, "CRadioButton", 52},
        {83, 83, Is<MText>, "MText", 52},
        {84, 91, Is<CColorButton>, "CColorButton", 52},
        {92, 92, Is<MText>, "MText", 52},
        {93, 100, Is<CColorButton>, "CColorButton", 52},
        {101, 101, Is<MComboBox>, "MComboBox", 52},
        {102, 102, Is<MButton>, "MButton", 52},
        {103, 103, Is<CColorButton>, "CColorButton", 52},
        {104, 104, Is<CCheckButton>, "CCheckButton", 52},
        {105, 105, Is<MText>, "MText", 52},
        {106, 106, Is<CArea>, "CArea", 52},
        {107, 107, Is<CirclePalette>, "CirclePalette", 52},
        {108, 110, Is<MText>, "MText", 52},
        {111, 113, Is<MSlider>, "MSlider", 52},
        {114, 116, Is<MEdit>, "MEdit", 52},
        {117, 125, Is<CColorButton>, "CColorButton", 52},
        {126, 126, Is<MText>, "MText", 52},
        {127, 127, Is<MComboBox>, "MComboBox", 52},
        {128, 128, Is<MText>, "MText", 52},
        {129, 129, Is<MSlider>, "MSlider", 52},
        {130, 130, Is<MText>, "MText", 52},
        {131, 131, Is<MComboBox>, "MComboBox", 52},
        {132, 132, Is<MText>, "MText", 52},
        {133, 133, Is<MSlider>, "MSlider", 52},
        {134, 134, Is<MText>, "MText", 52},
        {135, 135, Is<MComboBox>, "MComboBox", 52},
        {136, 136, Is<MText>, "MText", 52},
        {137, 137, Is<MSlider>, "MSlider", 52},
        {138, 138, Is<MText>, "MText", 52},
        {139, 139, Is<MComboBox>, "MComboBox", 52},
        {140, 140, Is<MText>, "MText", 52},
        {141, 147, Is<CColorButton>, "CColorButton", 52},
        // Macro page.
        {196, 196, Is<CArea>, "CArea", 53},
        {197, 197, Is<MText>, "MText", 53},
        {198, 198, Is<DListBox>, "DListBox", 53},
        {199, 199, Is<MText>, "MText", 53},
        {200, 200, Is<MComboBox>, "MComboBox", 53},
        {201, 203, Is<CRadioButton>, "CRadioButton", 53},
        {204, 205, Is<MEdit>, "MEdit", 53},
        {206, 206, Is<MComboBox>, "MComboBox", 53},
        {207, 213, Is<MButton>, "MButton", 53},
        {214, 214, Is<MEdit>, "MEdit", 53},
        {215, 215, Is<MText>, "MText", 53},
        {216, 218, Is<CRadioButton>, "CRadioButton", 53},
        {219, 219, Is<MEdit>, "MEdit", 53},
        {220, 220, Is<MText>, "MText", 53},
        {221, 222, Is<MButton>, "MButton", 53},
        {223, 223, Is<CArea>, "CArea", 53},
        {224, 224, Is<MText>, "MText", 53},
        {225, 228, Is<MButton>, "MButton", 53},
        {229, 229, Is<CArea>, "CArea", 53},
        {230, 232, Is<MText>, "MText", 53},
        {233, 233, Is<CRecordList>, "CRecordList", 53},
        {234, 234, Is<MButton>, "MButton", 53},
        // Settings page.
        {235, 235, Is<CArea>, "CArea", 54},
        {236, 236, Is<MText>, "MText", 54},
        {237, 237, Is<MComboBox>, "MComboBox", 54},
        {238, 238, Is<CCheckButton>, "CCheckButton", 54},
        {239, 240, Is<MButton>, "MButton", 54},
        {241, 242, Is<UpgradeButton>, "UpgradeButton", 54},
        {243, 243, Is<KeyboardCtrl>, "KeyboardCtrl", 54},
    };
    return cases;
}

class MainWindowBuildTest : public MainWindowFixture {};

TEST_F(MainWindowBuildTest, EveryControlExistsWithItsClassInItsContainer) {
    Open();
    int checked = 0;
    for (const ControlCase& c : Controls()) {
        for (UINT id = c.first; id <= c.last; ++id) {
            SCOPED_TRACE("control " + std::to_string(id));
            MControl* control = dlg->GetControl(id);
            ASSERT_NE(control, nullptr);
            EXPECT_TRUE(c.is(control)) << "expected " << c.cls;
            if (c.container >= 0) {
                MControl* page = dlg->GetControl(static_cast<UINT>(c.container));
                ASSERT_NE(page, nullptr);
                EXPECT_EQ(page->GetControl(id), control) << "not in container " << c.container;
            } else {
                EXPECT_EQ(control->GetParantObject(), static_cast<MObject*>(dlg.get()));
            }
            ++checked;
        }
    }
    // The six custom light areas: a label and seven swatches each.
    for (UINT a = 0; a < 6; ++a) {
        const UINT first = 148 + 8 * a;
        EXPECT_TRUE(Is<MText>(dlg->GetControl(first))) << first;
        for (UINT k = 1; k <= 7; ++k) {
            auto* swatch = dynamic_cast<CColorButton*>(dlg->GetControl(first + k));
            ASSERT_NE(swatch, nullptr) << first + k;
            EXPECT_EQ(swatch->GetGroupName(), "IDC_LIGHT_CUSTOM_STC_AREA" + std::to_string(a + 1));
        }
    }
    EXPECT_EQ(checked, 164);
    // What the table of the window fixes besides the classes.
    EXPECT_EQ(Title(38), kDefaultProductLabel);
    EXPECT_EQ(dlg->product_label->GetTextColor(), 0xFFFF0000u);
    EXPECT_EQ(dlg->product_label->GetFontWidth(), 20);
    EXPECT_EQ(dlg->close_button->GetImagePath(), "main_sysbtn_close.png");
    EXPECT_EQ(dlg->close_button->GetImageCount(), 4);
    EXPECT_EQ(dlg->directions[0]->GetCheck(), 1);
    EXPECT_EQ(dlg->directions[1]->GetCheck(), 0);
    EXPECT_EQ(dlg->directions[2]->GetCheck(), 1);
    EXPECT_EQ(dlg->insert_kinds[0]->GetCheck(), 1);
    EXPECT_EQ(dlg->delay_kinds[0]->GetCheck(), 1);
    EXPECT_EQ(dlg->play_times->GetEditText(), "1");
    EXPECT_EQ(dlg->delay_time->GetEditText(), "10");
    EXPECT_EQ(dlg->macro_device->GetCount(), 2);
    EXPECT_EQ(dlg->macro_device->GetCurSel(), 0);
    EXPECT_EQ(dlg->insert_mouse_button->GetCount(), 3);
    EXPECT_EQ(dlg->language->GetItemText(0), "English");
    EXPECT_EQ(dlg->language->GetItemData(0), 1033);
    EXPECT_EQ(dlg->key_view->GetKeyboardCtrlMode(), KBMODE_SELECT);
    EXPECT_EQ(dlg->settings_view->GetKeyboardCtrlMode(), KBMODE_PREVIEW);
    EXPECT_EQ(dlg->key_picker->GetItemCount(), 114);
    EXPECT_EQ(Title(67), GetText(304));
}

TEST_F(MainWindowBuildTest, LayoutFollowsTheClientSizeWithTheSystemButtonsAnchoredRight) {
    Open();
    struct Size {
        int w;
        int h;
    };
    for (const Size s : {Size{1280, 720}, Size{1024, 600}, Size{1920, 1080}, Size{900, 500}}) {
        SCOPED_TRACE(std::to_string(s.w) + "x" + std::to_string(s.h));
        dlg->SetWindowPos(0, 0, s.w, s.h);
        ui.Pump();
        ASSERT_EQ(dlg->GetClientRect(), CRect(0, 0, s.w, s.h));
        const int w = s.w;
        const int h = s.h;
        const int x = (w - 360) / 2;
        const struct {
            UINT id;
            CRect rect;
        } expected[] = {
            {30, CRect(0, 0, w, h)},
            {31, CRect(0, 0, 1, h)},
            {33, CRect(w - 1, 0, w, h)},
            {32, CRect(0, 0, w, 1)},
            {34, CRect(0, h - 1, w, h)},
            {36, CRect(1, 1, w - 1, 50)},
            {38, CRect(w / 2 - 150, 10, w / 2 + 150, 40)},
            {41, CRect(w - 50, 20, w - 20, 50)},
            {42, CRect(w - 100, 20, w - 70, 50)},
            {44, CRect(w - 150, 20, w - 120, 50)},
            {55, CRect(x, 280, x + 372, 318)},
            {56, CRect(x, 318, x + 372, 580)},
            {58, CRect(10, h - 40, 170, h - 5)},
            {57, CRect(w / 2 - 350, h - 40, w / 2 + 350, h - 5)},
            {48, CRect(1, 50, 76, h - 1)},
            {49, CRect(1, 60, 79, h - 10)},
            {50, CRect(80, 50, w - 1, h - 1)},
            {54, CRect(80, 50, w - 1, h - 1)},
            {59, CRect(80, 50, 320, 100)},
            {60, CRect(110, 60, 140, 90)},
            {64, CRect(250, 60, 280, 90)},
            {65, CRect(80, 100, 320, h - 1)},
            {66, CRect(80, 100, 320, h - 1)},
            {69, CRect(340, h - 270, w - 1, h - 1)},
            {235, CRect(80, 50, 320, h - 1)},
            {236, CRect(105, 120, 260, 150)},
            {237, CRect(100, 150, 300, 188)},
            {238, CRect(100, 200, 300, 238)},
            {240, CRect(100, 360, 300, 398)},
            {241, CRect(100, 415, 300, 453)},
            {242, CRect(100, 470, 300, 508)},
            {71, CRect(80, 50, 320, h - 1)},
            {73, CRect(330, h - 280, w - 10, h - 1)},
        };
        for (const auto& e : expected) {
            EXPECT_EQ(dlg->GetControl(e.id)->GetRect(), e.rect) << "control " << e.id;
        }
        // The restore-keys button no layout of the window places is reachable.
        const CRect restore = dlg->restore_keys->GetRect();
        EXPECT_FALSE(restore.IsRectEmpty());
        EXPECT_FALSE(restore.Intersects(dlg->autorun->GetRect()));
        EXPECT_FALSE(restore.Intersects(dlg->restore_all->GetRect()));
        // Every lighting and macro control lies inside the page area (the
        // colour editor needs the width of the shipped window).
        if (w >= 1280) {
            const CRect page(80, 50, w - 1, h - 1);
            for (UINT id = 70; id <= 234; ++id) {
                if (id >= 148 && id <= 195) {
                    continue; // checked below with their groups
                }
                MControl* c = dlg->GetControl(id);
                if (c == nullptr || id == 72) {
                    continue;
                }
                CRect in;
                in.IntersectRect(c->GetRect(), page);
                EXPECT_EQ(in, c->GetRect()) << "control " << id;
            }
        }
    }
}

TEST_F(MainWindowBuildTest, TabBarHasFiveTabsWithTheirContainers) {
    Open();
    MTabCtrl* tabs = dlg->tabs;
    ASSERT_EQ(tabs->GetItemCount(), 5);
    const UINT expected_ids[5] = {0, 1, 2, 3, 5};
    const UINT containers[5] = {50, 51, 53, 52, 54};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tabs->GetItemID(i), expected_ids[i]);
        ASSERT_NE(tabs->GetItemInfo(i)->page, nullptr);
        EXPECT_EQ(tabs->GetItemInfo(i)->page->GetControlID(), containers[i]);
    }
    EXPECT_EQ(tabs->GetTabType(), TAB_TYPE_VERTICAL);
    // Selecting a tab shows its container only.
    for (int i = 1; i < 5; ++i) {
        tabs->SetSelectItem(i);
        ui.Pump();
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(dlg->pages[static_cast<std::size_t>(containers[k] - 50)]->IsVisible(), k == i)
                << "tab " << i << " container " << containers[k];
        }
    }
}

TEST_F(MainWindowBuildTest, TabChangeSetsThePageTitleAndIcon) {
    Open();
    const struct {
        int index;
        int text;
        const char* icon;
    } cases[] = {{1, 51, "icon\\icon_keyboard.png"},
                 {2, 52, "icon\\icon_macro.png"},
                 {3, 53, "icon\\icon_lightmode.png"},
                 {4, 56, "icon\\icon_config.png"}};
    for (const auto& c : cases) {
        dlg->tabs->SetSelectItem(c.index);
        ui.Pump();
        EXPECT_EQ(dlg->SelectedTab(), c.index);
        EXPECT_EQ(Title(39), GetText(c.text));
        EXPECT_EQ(dlg->page_icon->GetImagePath(), c.icon);
        EXPECT_TRUE(Visible(dlg->page_icon));
        EXPECT_TRUE(Visible(dlg->tabs));
    }
    // The home tab empties the title and hides the bar and the page area.
    dlg->tabs->SetSelectItem(0);
    ui.Pump();
    EXPECT_EQ(dlg->SelectedTab(), 0);
    EXPECT_EQ(Title(39), "");
    EXPECT_FALSE(Visible(dlg->page_icon));
    EXPECT_FALSE(Visible(dlg->tabs));
    for (std::size_t i = 1; i < dlg->pages.size(); ++i) {
        EXPECT_FALSE(Visible(dlg->pages[i]));
    }
}

TEST_F(MainWindowBuildTest, CloseButtonTipFollowsTheCloseBehaviour) {
    // Before the window: the settings file exists after the first read.
    EXPECT_EQ(RegReadInt("exit_mode"), 0);
    ASSERT_TRUE(RegWriteString("exit_mode", "2"));
    Open();
    EXPECT_EQ(dlg->close_button->GetTooltip(), GetText(172));
    const struct {
        const char* value;
        int text;
    } cases[] = {{"1", 171}, {"2", 172}, {"0", 171}, {"x", 171}};
    for (const auto& c : cases) {
        ASSERT_TRUE(RegWriteString("exit_mode", c.value));
        // The tray's settings command reads the behaviour again.
        dlg->SendMessageW(WM_COMMAND, 0, ID_TRAY_SETTINGS);
        EXPECT_EQ(dlg->close_button->GetTooltip(), GetText(c.text)) << c.value;
    }
    EXPECT_TRUE(exits.empty());
}

TEST_F(MainWindowBuildTest, LanguageChoiceReloadsEveryTextAndIsStored) {
    Open();
    dlg->tabs->SetSelectItem(1);
    ui.Pump();
    const std::string chinese = LanguageFilePath(2052);
    const auto text_in = [&](int lcid, int id) {
        return ReadLanguageText(LanguageFilePath(lcid), kDialogSection, id);
    };
    ASSERT_NE(text_in(1033, 51), text_in(2052, 51));
    ASSERT_EQ(dlg->language->GetCount(), 2);
    for (int lcid : {2052, 1033}) {
        SCOPED_TRACE(lcid);
        ASSERT_EQ(dlg->language->SelectData(lcid), 1);
        EXPECT_EQ(dlg->OnMessage(ids::kLanguage, CN_CLICKED, 0, 0), 1);
        EXPECT_EQ(LanguageId(), lcid);
        EXPECT_EQ(RegReadInt("LCID"), lcid);
        EXPECT_EQ(dlg->tabs->GetItemInfo(1)->text, text_in(lcid, 51));
        EXPECT_EQ(Title(39), text_in(lcid, 51)); // the page title
        EXPECT_EQ(Title(55), text_in(lcid, 61)); // the status
        EXPECT_EQ(Title(67), text_in(lcid, 304));
        EXPECT_EQ(Title(236), text_in(lcid, 150));
        EXPECT_EQ(dlg->minimize_button->GetTooltip(), text_in(lcid, 2));
        EXPECT_EQ(dlg->close_button->GetTooltip(), text_in(lcid, 171));
        EXPECT_EQ(dlg->macro_device->GetItemText(1), text_in(lcid, 303));
    }
    // Another window asking for the texts again gets the current language.
    SetLanguageId(2052);
    dlg->SendMessageW(WM_RELOAD_TEXTS, 0, 0);
    EXPECT_EQ(Title(236), text_in(2052, 150));
}

} // namespace
} // namespace kovrin::test
