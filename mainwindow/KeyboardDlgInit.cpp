// Building the main window: the frame, the tab bar and the five pages. Every
// control is made with an empty rectangle; UISize places them.

#include "app/Language.h"
#include "app/Paths.h"
#include "app/Settings.h"
#include "mainwindow/KeyboardDlg.h"
#include "mainwindow/MainWindowControls.h"
#include "mainwindow/MainWindowTheme.h"

#include <filesystem>

namespace kovrin {

using namespace Tessel;

namespace {

constexpr CRect kEmpty;

// A control of the window's factory: area layer or control layer.
template <class T> T* WindowArea(MDialog& dlg, const char* cls, UINT id, int visible = 1) {
    return dynamic_cast<T*>(dlg.CreateArea(cls, id, kEmpty, "", visible, 1));
}
template <class T> T* WindowControl(MDialog& dlg, const char* cls, UINT id, int visible = 1) {
    return dynamic_cast<T*>(dlg.CreateControl(cls, id, kEmpty, "", visible, 1));
}
// A control of a page's factory.
template <class T>
T* PageArea(MTabLayout* page, const char* cls, UINT id, const char* title = "", int visible = 1) {
    return page == nullptr ? nullptr
                           : dynamic_cast<T*>(page->CreateArea(cls, id, kEmpty, title, visible, 1));
}
template <class T>
T* PageControl(MTabLayout* page, const char* cls, UINT id, const char* title = "",
               int visible = 1) {
    return page == nullptr
               ? nullptr
               : dynamic_cast<T*>(page->CreateControl(cls, id, kEmpty, title, visible, 1));
}

MText* Label(MTabLayout* page, UINT id, Color colour = theme::kLabel, int size = 14,
             int visible = 1) {
    auto* t = PageArea<MText>(page, "MText", id, "", visible);
    if (t != nullptr) {
        t->SetFont("Arial", size, 0);
        t->SetTextColor(colour);
        t->SetAlignment(0, 4);
    }
    return t;
}

CArea* Panel(MTabLayout* page, UINT id) {
    auto* a = PageArea<CArea>(page, "CArea", id);
    if (a != nullptr) {
        a->SetTransparent(theme::kPanelTransparencyTop, theme::kPanelTransparencyBottom,
                          theme::kPanelColour);
    }
    return a;
}

MButton* Button(MTabLayout* page, UINT id, int visible = 1) {
    auto* b = PageControl<MButton>(page, "MButton", id, "", visible);
    if (b != nullptr) {
        b->SetImage("btn_apply.png", 4);
        b->SetFont("Arial", 14, 0);
    }
    return b;
}

MSlider* Slider(MTabLayout* page, UINT id, int maximum, int visible = 1) {
    auto* s = PageControl<MSlider>(page, "MSlider", id, "", visible);
    if (s != nullptr) {
        s->SetImage("img_slider_back.png", 1);
        s->SetThumbImage("img_thumb.png");
        s->SetMaxProgress(maximum);
        // The labels and edit boxes beside the sliders say what they mean.
        s->SetShowText(0);
    }
    return s;
}

MComboBox* Combo(MTabLayout* page, UINT id, int visible = 1) {
    auto* c = PageControl<MComboBox>(page, "MComboBox", id, "", visible);
    if (c != nullptr) {
        c->SetImage("img_combobox.png", 4);
        c->SetFont("Arial", 14, 0);
        c->SetTextColor(theme::kComboText);
    }
    return c;
}

MEdit* Edit(MTabLayout* page, UINT id, const char* text, int visible = 1) {
    auto* e = PageControl<MEdit>(page, "MEdit", id, "", visible);
    if (e != nullptr) {
        e->SetImage("img_edit.png", 4);
        e->SetTextColor(theme::kWhite);
        e->SetEditBKColor(RGB(17, 19, 24));
        e->SetEditText(text);
    }
    return e;
}

CColorButton* Swatch(MTabLayout* page, UINT id, const char* group, COLORREF colour,
                     int visible = 1) {
    auto* b = PageControl<CColorButton>(page, "CColorButton", id, "", visible);
    if (b != nullptr) {
        b->SetGroupName(group);
        b->SetColor(colour);
    }
    return b;
}

CRadioButton* Radio(MTabLayout* page, UINT id, const char* image, const char* group, int check) {
    auto* r = PageControl<CRadioButton>(page, "CRadioButton", id);
    if (r != nullptr) {
        r->SetImage(image, 8);
        r->SetGroupName(group);
        r->SetTextColor(theme::kWhite);
        r->SetFont("Arial", 14, 0);
        if (check != 0) {
            r->SetCheck(1);
        }
    }
    return r;
}

KeyboardCtrl* KeyView(MTabLayout* page, UINT id, int mode) {
    auto* v = PageControl<KeyboardCtrl>(page, "KeyboardCtrl", id);
    if (v != nullptr) {
        v->SetKeyboardCtrlMode(mode);
    }
    return v;
}

DListBox* List(MTabLayout* page, UINT id, bool editable) {
    auto* l = PageControl<DListBox>(page, "DListBox", id);
    if (l != nullptr) {
        l->SetImage("icon//icon_circle.png", 2);
        if (editable) {
            l->SetEditImage("img_edit.png", 4);
            l->EnableShowEdit(1);
        }
        l->SetTextColor(theme::kWhite);
    }
    return l;
}

} // namespace

void KeyboardDlg::InitUI(CRect client) {
    SetBackMode(BACK_MODE_FRAME, 8);
    InitFrame();
    InitTabs();
    InitHomePage();
    InitKeyPage();
    InitMacroPage();
    InitLightPage();
    InitSettingsPage();
    if (tabs != nullptr) {
        // Nothing is shown but the home page until a keyboard is found.
        tabs->SetSelectItem(0);
    }
    ReloadTexts();
    UISize(client);
}

void KeyboardDlg::InitFrame() {
    if ((background = WindowArea<MPicture>(*this, "MPicture", ids::kBackground)) != nullptr) {
        background->SetImage("main_bkg.png", 1);
        background->SetShowMode(SHOW_MODE_STRETCH);
    }
    const UINT border_ids[4] = {ids::kBorderLeft, ids::kBorderTop, ids::kBorderRight,
                                ids::kBorderBottom};
    for (std::size_t i = 0; i < borders.size(); ++i) {
        if ((borders[i] = WindowArea<CArea>(*this, "CArea", border_ids[i])) != nullptr) {
            borders[i]->SetTransparent(theme::kBorderTransparency, theme::kBorderTransparency,
                                       theme::kBorderColour);
        }
    }
    if ((page_back = WindowArea<CArea>(*this, "CArea", ids::kPageBack)) != nullptr) {
        page_back->SetTransparent(theme::kPageBackTransparency, theme::kPageBackTransparency,
                                  theme::kPageBackColour);
    }
    if ((caption = WindowArea<MPicture>(*this, "MPicture", ids::kCaption)) != nullptr) {
        caption->SetImage("pic_caption.png", 1);
        caption->SetShowMode(SHOW_MODE_STRETCH);
    }
    if ((logo = WindowArea<MPicture>(*this, "MPicture", ids::kLogo)) != nullptr) {
        logo->SetImage("logo\\logo.png", 1);
        logo->SetShowMode(SHOW_MODE_STRETCH);
    }
    if ((product_label = WindowArea<MText>(*this, "MText", ids::kProductLabel)) != nullptr) {
        product_label->SetTitle(kDefaultProductLabel);
        product_label->SetFont("Arial", 20, FontStyleBold);
        product_label->SetTextColor(theme::kProductRed);
        product_label->SetAlignment(1, 4);
    }
    if ((page_title = WindowArea<MText>(*this, "MText", ids::kPageTitle)) != nullptr) {
        page_title->SetFont("Arial", 22, 0);
        page_title->SetTextColor(theme::kWhite);
        page_title->SetAlignment(0, 4);
    }
    if ((page_icon = WindowArea<MPicture>(*this, "MPicture", ids::kPageIcon)) != nullptr) {
        page_icon->SetImage("logo\\logo.png", 1);
        page_icon->SetAlignment(1, 4);
        page_icon->SetVisible(0);
    }
    if ((battery = WindowArea<BatteryCtrl>(*this, "BatteryCtrl", ids::kBattery, 0)) != nullptr) {
        battery->SetImage("icon\\icon_battery_bkg.png", 1);
        battery->SetBatteryIcon("icon\\icon_batteryvalue.png", "icon\\icon_charge.png");
        battery->SetTextColor(theme::kBatteryText);
        battery->SetFontWidth(12);
    }
    if ((mode_icon = WindowArea<MPicture>(*this, "MPicture", ids::kModeIcon, 0)) != nullptr) {
        mode_icon->SetImage("icon\\mode_usb.png", 1);
        mode_icon->SetAlignment(1, 4);
    }
    struct SystemButton {
        CImageButton** slot;
        UINT id;
        const char* image;
    };
    for (const SystemButton& b :
         {SystemButton{&close_button, ids::kClose, "main_sysbtn_close.png"},
          SystemButton{&minimize_button, ids::kMinimize, "main_sysbtn_min.png"},
          SystemButton{&website_button, ids::kWebsite, "main_sysbtn_website.png"},
          SystemButton{&shop_button, ids::kShop, "main_sysbtn_shop.png"}}) {
        if ((*b.slot = WindowControl<CImageButton>(*this, "CImageButton", b.id)) != nullptr) {
            (*b.slot)->SetImage(b.image, 4);
        }
    }
    for (int i = 0; i < kTabCount; ++i) {
        pages[static_cast<std::size_t>(i)] = WindowControl<MTabLayout>(
            *this, "MTabLayout", ids::kHomePage + static_cast<UINT>(i), i == 0 ? 1 : 0);
    }
    if ((tab_back = WindowArea<CArea>(*this, "CArea", ids::kTabBack, 0)) != nullptr) {
        tab_back->SetTransparent(theme::kTabBarTransparencyTop, theme::kTabBarTransparencyBottom,
                                 theme::kTabBarColour);
    }
    tabs = WindowControl<MTabCtrl>(*this, "MTabCtrl", ids::kTabs, 0);
}

void KeyboardDlg::InitTabs() {
    if (tabs == nullptr) {
        return;
    }
    tabs->SetTabType(TAB_TYPE_VERTICAL);
    tabs->SetTabCtrlWidth(80);
    tabs->SetTabCtrlHeight(80);
    tabs->SetLeftRightPading(0, 80);
    tabs->SetTopBottomPading(0, 400);
    tabs->SetItemWidth(80, 80);
    tabs->SetItemHeight(80, 80);
    struct Tab {
        UINT id;
        const char* icon;
        std::size_t page; // index into pages
    };
    // The macro tab shows container 53, the lighting tab container 52.
    const Tab order[kTabCount] = {{kTabHome, "icon\\tab_home.png", 0},
                                  {kTabKeys, "icon\\tab_customkey.png", 1},
                                  {kTabMacros, "icon\\tab_macro.png", 3},
                                  {kTabLighting, "icon\\tab_light.png", 2},
                                  {kTabSettings, "icon\\tab_config.png", 4}};
    for (int i = 0; i < kTabCount; ++i) {
        const Tab& t = order[i];
        tabs->InsertItem(t.id, GetText(theme::kTabTexts[static_cast<std::size_t>(i)]), t.icon,
                         pages[t.page], 4, 36);
    }
}

void KeyboardDlg::InitHomePage() {
    MTabLayout* page = pages[0];
    if ((status = PageArea<MText>(page, "MText", ids::kStatus)) != nullptr) {
        status->SetTitle(GetText(status_text_));
        status->SetFont("Arial", 20, FontStyleBold);
        status->SetTextColor(theme::kWhite);
        status->SetAlignment(1, 4);
    }
    if ((device_selector = PageControl<CDeviceCtrl>(page, "CDeviceCtrl", ids::kDeviceSelector)) !=
        nullptr) {
        device_selector->SetImage("img_device_state.png", 2);
        device_selector->SetFont("Arial", 20, FontStyleBold);
        device_selector->SetTextColor(theme::kWhite);
    }
    if ((version_label = PageArea<MText>(page, "MText", ids::kVersionLabel)) != nullptr) {
        version_label->SetTextColor(theme::kGrey);
        version_label->SetFont("Arial", 13, 0);
        version_label->SetAlignment(0, 4);
    }
    if ((legal_label = PageArea<MText>(page, "MText", ids::kLegalLabel)) != nullptr) {
        legal_label->SetTextColor(theme::kGrey);
        legal_label->SetFont("Arial", 13, 0);
        legal_label->SetAlignment(1, 4);
    }
}

void KeyboardDlg::InitKeyPage() {
    MTabLayout* page = pages[1];
    profile_bar = Panel(page, ids::kProfileBar);
    const char* images[5] = {"imgbtn_add.png", "imgbtn_del.png", "imgbtn_edit.png",
                             "imgbtn_import.png", "imgbtn_export.png"};
    for (std::size_t i = 0; i < profile_buttons.size(); ++i) {
        auto* b = PageControl<CImageButton>(page, "CImageButton",
                                            ids::kProfileAdd + static_cast<UINT>(i));
        if (b != nullptr) {
            b->SetImage(images[i], 4);
        }
        profile_buttons[i] = b;
    }
    profile_list_back = Panel(page, ids::kProfileListBack);
    profile_list = List(page, ids::kProfileList, true);
    key_view = KeyView(page, ids::kKeyView, KBMODE_SELECT);
    if ((key_picker = PageControl<KeyFuncControl>(page, "KeyFuncControl", ids::kKeyPicker)) !=
        nullptr) {
        key_picker->SetImage("img_customkey.png", 4);
        key_picker->SetTextColor(theme::kWhite);
        key_picker->SetFontWidth(10);
        key_picker->InitItemInfo();
    }
}

void KeyboardDlg::InitMacroPage() {
    MTabLayout* page = pages[3];
    macro_panel = Panel(page, ids::kMacroPanel);
    macro_list_label = Label(page, ids::kMacroListLabel, theme::kWhite, 16);
    macro_list = List(page, ids::kMacroList, true);
    macro_editor_label = Label(page, ids::kMacroEditorLabel, theme::kWhite, 16);
    record_back = Panel(page, ids::kRecordBack);
    insert_back = Panel(page, ids::kInsertBack);
    if ((macro_device = Combo(page, ids::kMacroDevice)) != nullptr) {
        for (int text : theme::kMacroDeviceTexts) {
            macro_device->AddItem(GetText(text));
        }
        macro_device->SetCurSel(0);
    }
    for (std::size_t i = 0; i < insert_kinds.size(); ++i) {
        insert_kinds[i] = Radio(page, ids::kInsertKey + static_cast<UINT>(i), "btn_radiobox.png",
                                "MACRO_EVENT", i == 0 ? 1 : 0);
    }
    insert_key = Edit(page, ids::kInsertKeyField, "");
    insert_delay = Edit(page, ids::kInsertDelayField, "10", 0);
    if ((insert_mouse_button = Combo(page, ids::kInsertMouseButton, 0)) != nullptr) {
        for (int text : theme::kMouseButtonTexts) {
            insert_mouse_button->AddItem(GetText(text));
        }
        insert_mouse_button->SetCurSel(0);
    }
    if ((insert_button = Button(page, ids::kInsertButton)) != nullptr) {
        insert_button->SetIconImage("icon\\icon_insert.png", 1);
    }
    for (std::size_t i = 0; i < macro_buttons.size(); ++i) {
        macro_buttons[i] = Button(page, ids::kMacroAdd + static_cast<UINT>(i));
    }
    play_times_label = Label(page, ids::kPlayTimesLabel);
    if ((play_times = Edit(page, ids::kPlayTimes, "1")) != nullptr) {
        play_times->SetNumberOnly(1);
        play_times->SetLimitText(2);
    }
    for (std::size_t i = 0; i < delay_kinds.size(); ++i) {
        delay_kinds[i] = Radio(page, ids::kDelayRecorded + static_cast<UINT>(i), "btn_radiobox.png",
                               "DELAY_TIME", i == 0 ? 1 : 0);
    }
    if ((delay_time = Edit(page, ids::kDelayTime, "10")) != nullptr) {
        delay_time->SetNumberOnly(1);
        delay_time->SetLimitText(5);
    }
    delay_label = Label(page, ids::kDelayLabel, theme::kGrey);
    record_start = Button(page, ids::kRecordStart);
    record_stop = Button(page, ids::kRecordStop);
    record_heading = Label(page, ids::kRecordHeading, theme::kWhite, 16);
    for (std::size_t i = 0; i < record_columns.size(); ++i) {
        record_columns[i] = Label(page, ids::kRecordColumnKey + static_cast<UINT>(i), theme::kGrey);
    }
    record_list = PageControl<CRecordList>(page, "CRecordList", ids::kRecordList);
    if (record_list != nullptr) {
        record_list->SetTextColor(theme::kWhite);
    }
    const char* move_icons[3] = {"icon\\icon_up.png", "icon\\icon_down.png",
                                 "icon\\icon_remove.png"};
    for (std::size_t i = 0; i < record_moves.size(); ++i) {
        if ((record_moves[i] = Button(page, ids::kRecordUp + static_cast<UINT>(i))) != nullptr) {
            record_moves[i]->SetIconImage(move_icons[i], 1);
        }
    }
    // Part of the insert panel; it has no action.
    if ((button_225 = Button(page, ids::kNothing225, 0)) != nullptr) {
        button_225->SetIconImage("icon\\icon_insert.png", 1);
    }
    record_save = Button(page, ids::kRecordSave);
}

void KeyboardDlg::InitLightPage() {
    MTabLayout* page = pages[2];
    light_panel = Panel(page, ids::kLightPanel);
    light_settings = Panel(page, ids::kLightSettings);
    editor_back = PageArea<CArea>(page, "CArea", ids::kEditorBack);
    if (editor_back != nullptr) {
        editor_back->SetTransparent(60, 60, theme::kPageBackColour);
    }
    if ((light_mode_list = List(page, ids::kLightModeList, false)) != nullptr) {
        light_mode_list->SetItemHeight(40);
    }
    light_view = KeyView(page, ids::kLightView, KBMODE_PREVIEW);
    const UINT label_ids[3] = {ids::kBrightnessLabel, ids::kSpeedLabel, ids::kDirectionLabel};
    for (std::size_t i = 0; i < light_labels.size(); ++i) {
        light_labels[i] = Label(page, label_ids[i]);
    }
    brightness = Slider(page, ids::kBrightness, 4);
    speed = Slider(page, ids::kSpeed, 4);
    const char* arrows[4] = {"btn_direction_left.png", "btn_direction_right.png",
                             "btn_direction_top.png", "btn_direction_bottom.png"};
    for (std::size_t i = 0; i < directions.size(); ++i) {
        directions[i] =
            Radio(page, ids::kDirectionLeft + static_cast<UINT>(i), arrows[i],
                  i < 2 ? "IDC_LIGHT_STC_DIRECTION1" : "IDC_LIGHT_STC_DIRECTION2", i % 2 == 0);
    }
    if ((effect_combo = Combo(page, ids::kEffectCombo)) != nullptr) {
        effect_combo->SetTextColor(theme::kWhite);
    }
    effect_apply = Button(page, ids::kEffectApply);
    preset_label = Label(page, ids::kPresetLabel);
    for (std::size_t i = 0; i < presets.size(); ++i) {
        const COLORREF c = i == 0 ? 0 : theme::kPresetColors[i - 1];
        presets[i] =
            Swatch(page, ids::kPresetFirst + static_cast<UINT>(i), "IDC_LIGHT_STC_COLORS", c);
        if (i == 0 && presets[i] != nullptr) {
            presets[i]->SetImage("btn_colorful.png", 1);
        }
    }
    preset_off_label = Label(page, ids::kPresetOffLabel);
    for (std::size_t i = 0; i < presets_off.size(); ++i) {
        const COLORREF c = i == 0 ? 0 : theme::kPresetColors[i - 1];
        presets_off[i] =
            Swatch(page, ids::kPresetOffFirst + static_cast<UINT>(i), "IDC_LIGHT_STC_COLORSS", c);
    }
    if ((current_colour = Swatch(page, ids::kCurrentColour, "", 0x0000FF)) != nullptr) {
        current_colour->SetVisibleBorder(true);
    }
    if ((multicolour = PageControl<CCheckButton>(page, "CCheckButton", ids::kMulticolour)) !=
        nullptr) {
        multicolour->SetImage("btn_checkbox.png", 8);
        multicolour->SetTextColor(theme::kWhite);
        multicolour->SetFont("Arial", 14, 0);
    }
    editor_label = Label(page, ids::kEditorLabel, theme::kWhite);
    if ((colour_wheel = PageControl<CirclePalette>(page, "CirclePalette", ids::kColourWheel)) !=
        nullptr) {
        colour_wheel->SetImage("img_circlepalette.png", 1);
    }
    const char* channels[3] = {"R", "G", "B"};
    for (std::size_t i = 0; i < 3; ++i) {
        if ((rgb_labels[i] = Label(page, ids::kRedLabel + static_cast<UINT>(i))) != nullptr) {
            rgb_labels[i]->SetTitle(channels[i]);
        }
        rgb_sliders[i] = Slider(page, ids::kRedSlider + static_cast<UINT>(i), 255);
        if ((rgb_edits[i] = Edit(page, ids::kRedEdit + static_cast<UINT>(i), "0")) != nullptr) {
            rgb_edits[i]->SetNumberOnly(1);
            rgb_edits[i]->SetLimitText(3);
        }
    }
    for (std::size_t i = 0; i < default_colours.size(); ++i) {
        const COLORREF c = i == 0 || i == 8 ? 0 : theme::kPresetColors[i - 1];
        default_colours[i] = Swatch(page, ids::kDefaultColourFirst + static_cast<UINT>(i),
                                    "IDC_LIGHT_STC_DEFAULTCOLOR", c);
        if (default_colours[i] != nullptr) {
            default_colours[i]->SetVisibleBorder(true);
        }
    }
    // The music controls (two sets, by protocol family) and the custom areas
    // belong to their light modes: hidden until such a mode is shown.
    for (std::size_t i = 0; i < music_labels.size(); ++i) {
        music_labels[i] =
            Label(page, ids::kMusicFirst + 2 * static_cast<UINT>(i), theme::kLabel, 14, 0);
    }
    const UINT combo_ids[4] = {127, 131, 135, 139};
    for (std::size_t i = 0; i < music_combos.size(); ++i) {
        music_combos[i] = Combo(page, combo_ids[i], 0);
    }
    const UINT slider_ids[3] = {129, 133, 137};
    const int slider_max[3] = {200, 100, 200};
    for (std::size_t i = 0; i < music_sliders.size(); ++i) {
        music_sliders[i] = Slider(page, slider_ids[i], slider_max[i], 0);
    }
    music_colour_label = Label(page, ids::kMusicColourLabel, theme::kLabel, 14, 0);
    for (std::size_t i = 0; i < music_colours.size(); ++i) {
        music_colours[i] = Swatch(page, ids::kMusicColourFirst + static_cast<UINT>(i),
                                  "IDC_LIGHT_STC_MUSICCOLORS", theme::kPresetColors[i], 0);
    }
    for (std::size_t a = 0; a < area_labels.size(); ++a) {
        const UINT first = ids::kAreaFirst + 8 * static_cast<UINT>(a);
        area_labels[a] = Label(page, first, theme::kLabel, 14, 0);
        const std::string group = "IDC_LIGHT_CUSTOM_STC_AREA" + std::to_string(a + 1);
        for (std::size_t k = 0; k < 7; ++k) {
            area_colours[a][k] = Swatch(page, first + 1 + static_cast<UINT>(k), group.c_str(),
                                        theme::kPresetColors[k], 0);
        }
    }
}

void KeyboardDlg::InitSettingsPage() {
    MTabLayout* page = pages[4];
    settings_panel = Panel(page, ids::kSettingsPanel);
    language_label = Label(page, ids::kLanguageLabel, theme::kWhite, 16);
    if ((language = Combo(page, ids::kLanguage)) != nullptr) {
        language->SetTextColor(theme::kWhite);
        InitLanguageList();
    }
    if ((autorun = PageControl<CCheckButton>(page, "CCheckButton", ids::kAutorun)) != nullptr) {
        autorun->SetImage("btn_checkbox.png", 8);
        autorun->SetTextColor(theme::kWhite);
        autorun->SetFont("Arial", 14, 0);
    }
    restore_keys = Button(page, ids::kRestoreKeys);
    restore_all = Button(page, ids::kRestoreAll);
    for (auto [slot, id] : {std::pair{&software_update, ids::kSoftwareUpdate},
                            std::pair{&firmware_update, ids::kFirmwareUpdate}}) {
        if ((*slot = PageControl<UpgradeButton>(page, "UpgradeButton", id)) != nullptr) {
            (*slot)->SetImage("btn_apply.png", 4);
            (*slot)->SetTextColor(theme::kWhite);
        }
    }
    settings_view = KeyView(page, ids::kSettingsView, KBMODE_PREVIEW);
}

void KeyboardDlg::InitLanguageList() {
    language->DelAllItems();
    for (const theme::LanguageChoice& choice : theme::kLanguages) {
        std::error_code ec;
        if (choice.lcid == kDefaultLanguageId ||
            std::filesystem::exists(LanguageFilePath(choice.lcid), ec)) {
            language->AddItem(choice.name, choice.lcid);
        }
    }
    language->SelectData(LanguageId());
}

void KeyboardDlg::ReloadTexts() {
    for (const theme::TextBinding& b : theme::kTextBindings) {
        auto* c = dynamic_cast<MControlFont*>(GetPaintManager().GetControl(b.id));
        if (c == nullptr) {
            continue;
        }
        if (b.tooltip) {
            c->SetTooltip(GetText(b.text).c_str());
        } else {
            c->SetTitle(GetText(b.text));
            c->UpdateControl(1);
        }
    }
    if (close_button != nullptr) {
        close_button->SetTooltip(GetText(CloseTooltipText()).c_str());
    }
    if (tabs != nullptr) {
        for (int i = 0; i < tabs->GetItemCount() && i < kTabCount; ++i) {
            tabs->SetItemText(i, GetText(theme::kTabTexts[static_cast<std::size_t>(i)]));
        }
    }
    if (macro_device != nullptr) {
        for (std::size_t i = 0; i < theme::kMacroDeviceTexts.size(); ++i) {
            macro_device->SetItemText(static_cast<int>(i), GetText(theme::kMacroDeviceTexts[i]));
        }
    }
    if (insert_mouse_button != nullptr) {
        for (std::size_t i = 0; i < theme::kMouseButtonTexts.size(); ++i) {
            insert_mouse_button->SetItemText(static_cast<int>(i),
                                             GetText(theme::kMouseButtonTexts[i]));
        }
    }
    if (key_picker != nullptr) {
        for (const theme::FunctionText& f : theme::kFunctionTexts) {
            key_picker->SetItemDesc(f.code, GetText(f.text));
        }
    }
    if (status != nullptr) {
        status->SetTitle(GetText(status_text_));
        status->UpdateControl(1);
    }
    if (page_title != nullptr) {
        page_title->SetTitle(page_title_text_ != 0 ? GetText(page_title_text_) : std::string());
        page_title->UpdateControl(1);
    }
    GetPaintManager().Invalidate();
}

} // namespace kovrin
