// The keyboard view with the shipped 104-key layout: hit testing, clicks,
// frame selection, per-key colours, the preview animation and what the
// window shows.

#include "WidgetSupport.h"

#include "tessel/Manager.h"

#include <gtest/gtest.h>

#include <set>

using namespace tessel_test;
using kovrin::platform::MouseButton;

namespace {

constexpr UINT kViewId = 67;
constexpr std::uint32_t kWhite = 0xFFFFFF;

class KeyboardViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        layout = ShippedLayout("kovrin_bolt104");
        ASSERT_NE(layout, nullptr);
        ASSERT_TRUE(dlg.Open(1000, 360));
        dlg.ShowWindow(SW_SHOW);
        view = dynamic_cast<KeyboardCtrl*>(
            dlg.CreateControl("KeyboardCtrl", kViewId, CRect(20, 40, 980, 340), "", 1, 1));
        ASSERT_NE(view, nullptr);
        view->SetTitle("Key");
        FillKeyboard(*view, *layout);
        view->SetKeyboardCtrlMode(KBMODE_SELECT);
        ui.Pump();
    }
    void TearDown() override { dlg.DestroyWindow(); }

    const kovrin::KeyItem& Key(const std::string& name) const {
        for (const auto& k : layout->keys) {
            if (k.name == name) {
                return k;
            }
        }
        ADD_FAILURE() << "no key " << name;
        return layout->keys.front();
    }
    int IndexOf(const kovrin::KeyItem& key) const {
        return static_cast<int>(&key - layout->keys.data());
    }
    CRect Window(const kovrin::KeyItem& key) const { return view->KeyWindowRect(ToRect(key.rect)); }
    // The middle of the key's top edge, where its outline runs.
    std::uint32_t OutlineRgb(const kovrin::KeyItem& key) {
        const CRect r = Window(key);
        return ui.Rgb(dlg, r.left + r.Width() / 2, r.top);
    }
    std::vector<Note> Notes(UINT code) const {
        std::vector<Note> out;
        for (const Note& n : dlg.notes) {
            if (n.code == code) {
                out.push_back(n);
            }
        }
        return out;
    }

    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
    TestDialog dlg;
    KeyboardCtrl* view = nullptr;
    std::shared_ptr<kovrin::KeyboardLayout> layout;
};

TEST_F(KeyboardViewTest, PictureIsCentredAndKeysMapToWindowRectangles) {
    EXPECT_EQ(view->GetKeyCount(), 104);
    EXPECT_EQ(view->GetPictureOffset(), CPoint((960 - 944) / 2, 0));
    EXPECT_EQ(Window(Key("Esc")), CRect(20 + 8 + 14, 40 + 14, 20 + 8 + 50, 40 + 50));
}

TEST_F(KeyboardViewTest, HoverAndClickFindTheKeyUnderThePointer) {
    for (const char* name : {"Esc", "Space", "Backspace", "Enter", "Num", "0", "Right", "F12"}) {
        const kovrin::KeyItem& key = Key(name);
        const CRect r = Window(key);
        for (const CPoint p :
             {Centre(r), CPoint(r.left, r.top), CPoint(r.right - 1, r.bottom - 1)}) {
            ui.MoveTo(dlg, p.x, p.y);
            EXPECT_EQ(view->GetHoverItem(), IndexOf(key)) << name << " at " << p.x << "," << p.y;
        }
        dlg.notes.clear();
        ui.Click(dlg, Centre(r).x, Centre(r).y);
        ASSERT_EQ(dlg.notes.size(), 1u) << name;
        EXPECT_EQ(dlg.notes[0], (Note{kViewId, CN_CLICKED, static_cast<WPARAM>(IndexOf(key)),
                                      static_cast<LPARAM>(key.code)}))
            << name;
        EXPECT_EQ(view->GetCurrentKeyValue(), static_cast<std::uint32_t>(key.code));
    }
    // Between Esc and F1, and just outside a key's right edge.
    const CRect esc = Window(Key("Esc"));
    for (const CPoint p : {CPoint(esc.right + 10, esc.top + 5), CPoint(esc.right, esc.top + 5)}) {
        ui.MoveTo(dlg, p.x, p.y);
        EXPECT_EQ(view->GetHoverItem(), -1);
        dlg.notes.clear();
        ui.Click(dlg, p.x, p.y);
        EXPECT_EQ(dlg.notes, (std::vector<Note>{{kViewId, CN_CLICKED, 0xFFFFFFFFu, 0}}));
        EXPECT_EQ(view->GetCurrentKeyValue(), 0u);
    }
}

TEST_F(KeyboardViewTest, RightClickReportsTheKeyOrNone) {
    const kovrin::KeyItem& key = Key("Q");
    const CPoint c = Centre(Window(key));
    ui.MoveTo(dlg, c.x, c.y);
    ui.Click(dlg, c.x, c.y, MouseButton::Right);
    ASSERT_EQ(Notes(CN_RCLICK).size(), 1u);
    EXPECT_EQ(Notes(CN_RCLICK)[0], (Note{kViewId, CN_RCLICK, static_cast<WPARAM>(IndexOf(key)),
                                         static_cast<LPARAM>(key.code)}));
    EXPECT_EQ(view->GetSelectItem(), IndexOf(key));
    ui.MoveTo(dlg, 30, 330);
    ui.Click(dlg, 30, 330, MouseButton::Right);
    ASSERT_EQ(Notes(CN_RCLICK).size(), 2u);
    EXPECT_EQ(Notes(CN_RCLICK)[1], (Note{kViewId, CN_RCLICK, 0xFFFFFFFFu, 0}));
    EXPECT_EQ(view->GetCurrentKeyValue(), 0u);
}

TEST_F(KeyboardViewTest, FrameSelectionChecksEveryKeyTheFrameTouches) {
    view->EnableFrameSelect(1);
    // From the gap above Q to the middle of D: Q W E and A S D.
    const CRect q = Window(Key("Q"));
    const CRect d = Window(Key("D"));
    const CPoint from(q.left + 8, q.top - 2); // right of Caps Lock
    const CPoint to = Centre(d);
    ui.Press(dlg, from.x, from.y, MouseButton::Right);
    ui.MoveTo(dlg, from.x + 10, from.y + 10); // within 20 pixels: ignored
    EXPECT_FALSE(view->IsFrameActive());
    ui.MoveTo(dlg, to.x, to.y);
    EXPECT_TRUE(view->IsFrameActive());
    const CRect frame(from.x, from.y, to.x, to.y);
    EXPECT_EQ(view->GetFrameRect(), frame);
    ui.Release(dlg, to.x, to.y, MouseButton::Right);
    EXPECT_EQ(Notes(CN_FRAMESELECT), (std::vector<Note>{{kViewId, CN_FRAMESELECT, 0, 0}}));
    EXPECT_TRUE(Notes(CN_RCLICK).empty());
    EXPECT_FALSE(view->IsFrameActive());

    std::set<std::string> checked;
    for (const KEY_INFO& k : view->GetKeyItems()) {
        if (k.check != 0) {
            checked.insert(k.label);
        }
        EXPECT_EQ(k.check != 0, view->KeyWindowRect(k.rect).Intersects(frame)) << k.label;
    }
    EXPECT_EQ(checked, (std::set<std::string>{"Q", "W", "E", "A", "S", "D"}));
    EXPECT_EQ(view->GetCheckItemCount(), 6);
    // The marks show as white outlines.
    EXPECT_EQ(OutlineRgb(Key("W")), kWhite);
    EXPECT_NE(OutlineRgb(Key("R")), kWhite);

    // A frame lower than 6 pixels selects nothing.
    ui.Press(dlg, from.x, from.y, MouseButton::Right);
    ui.MoveTo(dlg, from.x + 200, from.y + 3);
    EXPECT_TRUE(view->IsFrameActive());
    ui.Release(dlg, from.x + 200, from.y + 3, MouseButton::Right);
    EXPECT_EQ(view->GetCheckItemCount(), 0);
}

TEST_F(KeyboardViewTest, CheckedHoveredAndSelectedKeysAreOutlinedInWhite) {
    const kovrin::KeyItem& checked = Key("F5");
    const kovrin::KeyItem& plain = Key("F6");
    view->SetKeyCheck(static_cast<std::uint32_t>(checked.code), 1);
    view->Redraw();
    ui.Pump();
    EXPECT_EQ(OutlineRgb(checked), kWhite);
    const std::uint32_t before = OutlineRgb(plain);
    EXPECT_NE(before, kWhite);
    const CPoint c = Centre(Window(plain));
    ui.MoveTo(dlg, c.x, c.y); // hovered
    EXPECT_EQ(OutlineRgb(plain), kWhite);
    ui.MoveTo(dlg, 30, 330);
    EXPECT_EQ(OutlineRgb(plain), before);
    view->ResetAllItemCheck();
    ui.Pump();
    EXPECT_EQ(OutlineRgb(checked), before);
}

TEST_F(KeyboardViewTest, CustomColourModeTogglesAClickedKey) {
    view->SetKeyboardCtrlMode(KBMODE_CUSTOM);
    view->ResetAllItemsColor(0);
    view->SetCustomColor(RGB(0, 200, 0));
    const kovrin::KeyItem& key = Key("G");
    const auto value = static_cast<std::uint32_t>(key.code);
    const CPoint c = Centre(Window(key));
    ui.Pump();
    EXPECT_EQ(OutlineRgb(key), 0x000000u);

    ui.MoveTo(dlg, c.x, c.y);
    ui.Click(dlg, c.x, c.y);
    EXPECT_EQ(view->GetKeyColor(value), RGB(0, 200, 0));
    EXPECT_EQ(OutlineRgb(key), 0x00C800u);
    EXPECT_EQ(view->GetKeyColor(static_cast<std::uint32_t>(Key("H").code)), 0u);
    ui.Click(dlg, c.x, c.y);
    EXPECT_EQ(view->GetKeyColor(value), 0u);
    EXPECT_EQ(OutlineRgb(key), 0x000000u);
    EXPECT_EQ(Notes(CN_CLICKED).size(), 2u);

    // Outside mode 103 a click leaves the colour alone.
    view->SetKeyboardCtrlMode(KBMODE_LIVE);
    ui.Click(dlg, c.x, c.y);
    EXPECT_EQ(view->GetKeyColor(value), 0u);
}

TEST_F(KeyboardViewTest, LiveModeShowsEachKeysColour) {
    view->SetKeyboardCtrlMode(KBMODE_LIVE);
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 128, 0)};
    const char* names[] = {"A", "Enter", "Space"};
    for (int i = 0; i < 3; ++i) {
        view->SetKeyColor(static_cast<std::uint32_t>(Key(names[i]).code), colours[i]);
    }
    view->Redraw();
    ui.Pump();
    for (int i = 0; i < 3; ++i) {
        const COLORREF c = colours[i];
        EXPECT_EQ(OutlineRgb(Key(names[i])), GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c))
            << names[i];
    }
    // Untouched keys keep the default colour.
    EXPECT_EQ(OutlineRgb(Key("B")), 0xFFE100u);
}

TEST_F(KeyboardViewTest, PreviewAdvancesOnTheAnimationTick) {
    view->SetKeyboardCtrlMode(KBMODE_PREVIEW);
    const int n = view->GetKeyCount();
    // Three frames: key 0 at full, none and half alpha.
    std::vector<std::uint8_t> data(static_cast<std::size_t>(3 * n), 255);
    data[static_cast<std::size_t>(n)] = 0;
    data[static_cast<std::size_t>(2 * n)] = 128;
    view->SetLightModeData(data.data(), static_cast<int>(data.size()));
    EXPECT_EQ(view->GetPreviewFrames(), 3);
    view->SetLightSpeed(3); // two ticks per frame
    EXPECT_EQ(view->GetPreviewStep(), 2);
    ASSERT_NE(dlg.SetMTimer(10), 0u);
    ui.Pump();
    const kovrin::KeyItem& esc = layout->keys[0];
    EXPECT_EQ(OutlineRgb(esc), 0x00FFFFu);

    const int expected_frames[] = {0, 0, 1, 1, 2, 2, 0, 0};
    for (int tick = 0; tick < 8; ++tick) {
        EXPECT_EQ(view->GetPreviewFrame(), expected_frames[tick]) << "tick " << tick;
        ui.Advance(10);
    }
    // Frame 1: key 0 not outlined; frame 2: half-bright cyan.
    while (view->GetPreviewFrame() != 1) {
        ui.Advance(10);
    }
    ui.Pump();
    EXPECT_FALSE(NearRgb(OutlineRgb(esc), 0x00FFFF, 100));
    while (view->GetPreviewFrame() != 2) {
        ui.Advance(10);
    }
    ui.Pump();
    const std::uint32_t half = OutlineRgb(esc);
    EXPECT_GT(half & 0xFF, 0x40u);
    EXPECT_LT(half & 0xFF, 0xD0u);
    EXPECT_EQ(OutlineRgb(layout->keys[1]), 0x00FFFFu);
}

TEST_F(KeyboardViewTest, PreviewDataAndSpeedEdges) {
    const int n = view->GetKeyCount();
    std::vector<std::uint8_t> data(static_cast<std::size_t>(n - 1), 9);
    view->SetLightModeData(data.data(), n - 1);
    EXPECT_EQ(view->GetPreviewFrames(), 0);
    view->SetLightModeData(nullptr, -5);
    EXPECT_EQ(view->GetPreviewFrames(), 0);
    // Without data nothing animates.
    view->SetKeyboardCtrlMode(KBMODE_PREVIEW);
    dlg.SetMTimer(10);
    ui.Advance(100);
    EXPECT_EQ(view->GetPreviewFrame(), 0);
    struct Case {
        int speed;
        int step;
    };
    for (const Case c : {Case{0, 5}, Case{4, 1}, Case{2, 3}, Case{7, 1}, Case{-1, 1}}) {
        view->SetLightSpeed(c.speed);
        EXPECT_EQ(view->GetPreviewStep(), c.step) << c.speed;
    }
}

TEST_F(KeyboardViewTest, PerKeyOperationsAffectOnlyTheFirstKeyOfAValue) {
    view->ClearItem();
    view->AddKeyItem("A", "first", 4, CRect(0, 0, 30, 30), "");
    view->AddKeyItem("A2", "second", 4, CRect(40, 0, 70, 30), "");
    view->SetKeyColor(4, 0x123456);
    view->SetKeyCheck(4, 1);
    view->SetTipKey(4, "title", "text");
    view->SetKeyDesc(4, "renamed");
    const auto keys = view->GetKeyItems();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].color, 0x123456u);
    EXPECT_EQ(keys[1].color, kDefaultKeyColor);
    EXPECT_EQ(keys[0].check, 1);
    EXPECT_EQ(keys[1].check, 0);
    EXPECT_EQ(keys[0].tipTitle, "title");
    EXPECT_TRUE(keys[1].tipTitle.empty());
    EXPECT_EQ(keys[0].label, "renamed");
    EXPECT_EQ(keys[0].name, "renamed");
    EXPECT_EQ(keys[1].label, "A2");
    EXPECT_EQ(view->GetKeyColor(99), 0u);
    view->SetKeyColor(99, 1); // no key: nothing happens
    view->SetAllSelectColor(0x00FF00);
    EXPECT_EQ(view->GetKeyItems()[0].color, 0x00FF00u);
    EXPECT_EQ(view->GetKeyItems()[1].color, kDefaultKeyColor);
    view->SetLightModeColor(1, 0x0000FF);
    EXPECT_EQ(view->GetKeyColor(4), 0xFFFFFFu);
    view->SetLightModeColor(0, 0x0000FF);
    EXPECT_EQ(view->GetKeyColor(4), 0x0000FFu);
    view->SetMusicBrightness(255); // unchanged: colours stay
    EXPECT_EQ(view->GetKeyColor(4), 0x0000FFu);
    view->SetMusicBrightness(100);
    EXPECT_EQ(view->GetKeyColor(4), 0xFFFF00u);
    view->ResetTipKey();
    EXPECT_TRUE(view->GetKeyItems()[0].tipTitle.empty());
}

TEST_F(KeyboardViewTest, KeyMapModeDrawsBlackKeysWithoutThePicture) {
    view->SetKeyboardCtrlMode(KBMODE_KEYMAP);
    ui.Pump();
    const CRect r = Window(Key("Space"));
    EXPECT_EQ(ui.Rgb(dlg, r.left + 3, r.top + 3), 0x000000u);
    // The label is drawn in white over a grey shadow.
    bool white = false;
    bool grey = false;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            const std::uint32_t c = ui.Rgb(dlg, x, y);
            white = white || NearRgb(c, kWhite, 0x30);
            grey = grey || NearRgb(c, 0x505050, 0x08);
        }
    }
    EXPECT_TRUE(white);
    EXPECT_TRUE(grey);
}

TEST_F(KeyboardViewTest, WithoutAPictureTheOutlineModesDrawOnlyTheBackground) {
    const CRect esc = Window(Key("Esc"));
    view->SetKeyboardCtrlMode(KBMODE_LIVE);
    view->ResetAllItemsColor(RGB(255, 0, 0));
    ui.Pump();
    EXPECT_EQ(OutlineRgb(Key("Esc")), 0xFF0000u);
    EXPECT_FALSE(view->SetKeyboardImage("keyboard/no_such_picture.png"));
    EXPECT_FALSE(view->HasKeyboardImage());
    ui.Pump();
    EXPECT_NE(OutlineRgb(Key("Esc")), 0xFF0000u);
    EXPECT_EQ(ui.Rgb(dlg, esc.left + 5, esc.top + 5), ui.Rgb(dlg, 5, 345));
}

class RecordingTips : public KeyTipSink {
public:
    struct Shown {
        std::string name, title, text;
        CPoint anchor;
        bool operator==(const Shown&) const = default;
    };
    void Show(const std::string& name, const std::string& title, const std::string& text,
              CPoint anchor) override {
        shown.push_back({name, title, text, anchor});
    }
    void Hide() override { ++hidden; }
    std::vector<Shown> shown;
    int hidden = 0;
};

TEST_F(KeyboardViewTest, TipsNameTheKeyAndItsAssignment) {
    RecordingTips tips;
    view->SetTipSink(&tips);
    const kovrin::KeyItem& key = Key("Tab");
    const CRect r = Window(key);
    ui.MoveTo(dlg, r.left + 3, r.top + 3);
    ui.MoveTo(dlg, r.left + 6, r.top + 6);
    EXPECT_TRUE(tips.shown.empty()); // tips are off
    view->EnableKBTips(true);
    ui.MoveTo(dlg, r.left + 8, r.top + 8);
    const CPoint anchor = dlg.ClientToScreen(CPoint(r.left + r.Width() / 2, r.top));
    ASSERT_EQ(tips.shown.size(), 1u);
    EXPECT_EQ(tips.shown[0], (RecordingTips::Shown{key.desc, "Key", key.desc, anchor}));
    view->SetTipKey(static_cast<std::uint32_t>(key.code), "Macro", "Greeting");
    ui.MoveTo(dlg, r.left + 9, r.top + 9);
    ASSERT_EQ(tips.shown.size(), 2u);
    EXPECT_EQ(tips.shown[1], (RecordingTips::Shown{key.desc, "Macro", "Greeting", anchor}));
    const int hidden = tips.hidden;
    ui.MoveTo(dlg, 30, 330);
    EXPECT_GT(tips.hidden, hidden);
    view->SetTipSink(nullptr);
}

TEST_F(KeyboardViewTest, TipsShowInTheTipWindowAboveTheKey) {
    view->EnableKBTips(true);
    const std::string title = "KeyboardTip Window";
    const kovrin::KeyItem& key = Key("Space");
    const CRect r = Window(key);
    ui.MoveTo(dlg, r.left + 20, r.top + 10);
    EXPECT_TRUE(Manager::FindWindows("LumoClient", &title).empty()); // not before a rest on it
    ui.MoveTo(dlg, r.left + 22, r.top + 10);
    const auto tips = Manager::FindWindows("LumoClient", &title);
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_TRUE(tips[0]->IsWindowVisible());
    const CPoint anchor = dlg.ClientToScreen(CPoint(r.left + r.Width() / 2, r.top));
    EXPECT_EQ(tips[0]->GetWindowRect(),
              CRect(anchor.x - 95, anchor.y - 100, anchor.x + 95, anchor.y));
    // Off the key it goes; back on the same key it shows again.
    ui.MoveTo(dlg, 30, 330);
    EXPECT_FALSE(tips[0]->IsWindowVisible());
    ui.MoveTo(dlg, r.left + 20, r.top + 10);
    ui.MoveTo(dlg, r.left + 22, r.top + 10);
    EXPECT_TRUE(tips[0]->IsWindowVisible());
    view->EnableKBTips(false);
    EXPECT_FALSE(tips[0]->IsWindowVisible());
}

TEST(KeyboardViewFactory, BuildsInWindowsAndPanels) {
    HeadlessSession ui(KOVRIN_BUILD_PROGRAM_DIR);
    TestDialog dlg;
    ASSERT_TRUE(dlg.Open());
    auto* panel = new MPanel(&dlg, 20, CRect(0, 0, 300, 200), 1);
    dlg.AddControl(panel);
    EXPECT_NE(
        dynamic_cast<KeyboardCtrl*>(panel->CreateControl("KeyboardCtrl", 72, CRect(), "", 1, 1)),
        nullptr);
    dlg.DestroyWindow();
}

} // namespace
