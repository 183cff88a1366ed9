#pragma once
// The controls of the main window, by control id. The window creates them
// all once and deletes them with itself; these are plain pointers, null when a
// class could not be built.

#include "tessel/TesselTypes.h"

#include <array>

namespace Tessel {
class BatteryCtrl;
class CArea;
class CCheckButton;
class CColorButton;
class CDeviceCtrl;
class CImageButton;
class CRadioButton;
class CRecordList;
class CirclePalette;
class DListBox;
class KeyFuncControl;
class KeyboardCtrl;
class MButton;
class MComboBox;
class MEdit;
class MPicture;
class MSlider;
class MTabCtrl;
class MTabLayout;
class MText;
class UpgradeButton;
} // namespace Tessel

namespace kovrin {

// Control ids of the main window.
namespace ids {
// Frame.
inline constexpr Tessel::UINT kBackground = 30;
inline constexpr Tessel::UINT kBorderLeft = 31;
inline constexpr Tessel::UINT kBorderTop = 32;
inline constexpr Tessel::UINT kBorderRight = 33;
inline constexpr Tessel::UINT kBorderBottom = 34;
inline constexpr Tessel::UINT kPageBack = 35;
inline constexpr Tessel::UINT kCaption = 36;
inline constexpr Tessel::UINT kLogo = 37;
inline constexpr Tessel::UINT kProductLabel = 38;
inline constexpr Tessel::UINT kPageTitle = 39;
inline constexpr Tessel::UINT kPageIcon = 40;
inline constexpr Tessel::UINT kClose = 41;
inline constexpr Tessel::UINT kMinimize = 42;
inline constexpr Tessel::UINT kNothing43 = 43;
inline constexpr Tessel::UINT kWebsite = 44;
inline constexpr Tessel::UINT kShop = 45;
inline constexpr Tessel::UINT kBattery = 46;
inline constexpr Tessel::UINT kModeIcon = 47;
inline constexpr Tessel::UINT kTabBack = 48;
inline constexpr Tessel::UINT kTabs = 49;
inline constexpr Tessel::UINT kHomePage = 50;
inline constexpr Tessel::UINT kKeyPage = 51;
inline constexpr Tessel::UINT kLightPage = 52;
inline constexpr Tessel::UINT kMacroPage = 53;
inline constexpr Tessel::UINT kSettingsPage = 54;
// Home page.
inline constexpr Tessel::UINT kStatus = 55;
inline constexpr Tessel::UINT kDeviceSelector = 56;
inline constexpr Tessel::UINT kLegalLabel = 57;
inline constexpr Tessel::UINT kVersionLabel = 58;
// Key assignment page.
inline constexpr Tessel::UINT kProfileBar = 59;
inline constexpr Tessel::UINT kProfileAdd = 60;
inline constexpr Tessel::UINT kProfileDelete = 61;
inline constexpr Tessel::UINT kProfileRename = 62;
inline constexpr Tessel::UINT kProfileImport = 63;
inline constexpr Tessel::UINT kProfileExport = 64;
inline constexpr Tessel::UINT kProfileListBack = 65;
inline constexpr Tessel::UINT kProfileList = 66;
inline constexpr Tessel::UINT kKeyView = 67;
inline constexpr Tessel::UINT kKeyPicker = 69;
// Lighting page.
inline constexpr Tessel::UINT kLightPanel = 70;
inline constexpr Tessel::UINT kLightModeList = 71;
inline constexpr Tessel::UINT kLightView = 72;
inline constexpr Tessel::UINT kLightSettings = 73;
inline constexpr Tessel::UINT kBrightnessLabel = 74;
inline constexpr Tessel::UINT kBrightness = 75;
inline constexpr Tessel::UINT kSpeedLabel = 76;
inline constexpr Tessel::UINT kSpeed = 77;
inline constexpr Tessel::UINT kDirectionLabel = 78;
inline constexpr Tessel::UINT kDirectionLeft = 79;
inline constexpr Tessel::UINT kDirectionRight = 80;
inline constexpr Tessel::UINT kDirectionUp = 81;
inline constexpr Tessel::UINT kDirectionDown = 82;
inline constexpr Tessel::UINT kPresetLabel = 83;
inline constexpr Tessel::UINT kPresetFirst = 84; // 84..91
inline constexpr Tessel::UINT kPresetOffLabel = 92;
inline constexpr Tessel::UINT kPresetOffFirst = 93; // 93..100
inline constexpr Tessel::UINT kEffectCombo = 101;
inline constexpr Tessel::UINT kEffectApply = 102;
inline constexpr Tessel::UINT kCurrentColour = 103;
inline constexpr Tessel::UINT kMulticolour = 104;
inline constexpr Tessel::UINT kEditorLabel = 105;
inline constexpr Tessel::UINT kEditorBack = 106;
inline constexpr Tessel::UINT kColourWheel = 107;
inline constexpr Tessel::UINT kRedLabel = 108;           // 108..110
inline constexpr Tessel::UINT kRedSlider = 111;          // 111..113
inline constexpr Tessel::UINT kRedEdit = 114;            // 114..116
inline constexpr Tessel::UINT kDefaultColourFirst = 117; // 117..125
inline constexpr Tessel::UINT kMusicFirst = 126;         // 126..139
inline constexpr Tessel::UINT kMusicColourLabel = 140;
inline constexpr Tessel::UINT kMusicColourFirst = 141; // 141..147
inline constexpr Tessel::UINT kAreaFirst = 148;        // 148..195: label + 7 swatches per area
// Macro page.
inline constexpr Tessel::UINT kMacroPanel = 196;
inline constexpr Tessel::UINT kMacroListLabel = 197;
inline constexpr Tessel::UINT kMacroList = 198;
inline constexpr Tessel::UINT kMacroEditorLabel = 199;
inline constexpr Tessel::UINT kMacroDevice = 200;
inline constexpr Tessel::UINT kInsertKey = 201;
inline constexpr Tessel::UINT kInsertMouse = 202;
inline constexpr Tessel::UINT kInsertDelay = 203;
inline constexpr Tessel::UINT kInsertKeyField = 204;
inline constexpr Tessel::UINT kInsertDelayField = 205;
inline constexpr Tessel::UINT kInsertMouseButton = 206;
inline constexpr Tessel::UINT kInsertButton = 207;
inline constexpr Tessel::UINT kMacroAdd = 208;
inline constexpr Tessel::UINT kMacroDelete = 209;
inline constexpr Tessel::UINT kMacroCopy = 210;
inline constexpr Tessel::UINT kMacroImport = 211;
inline constexpr Tessel::UINT kMacroExport = 212;
inline constexpr Tessel::UINT kMacroRename = 213;
inline constexpr Tessel::UINT kPlayTimes = 214;
inline constexpr Tessel::UINT kPlayTimesLabel = 215;
inline constexpr Tessel::UINT kDelayRecorded = 216;
inline constexpr Tessel::UINT kDelayNone = 217;
inline constexpr Tessel::UINT kDelayFixed = 218;
inline constexpr Tessel::UINT kDelayTime = 219;
inline constexpr Tessel::UINT kDelayLabel = 220;
inline constexpr Tessel::UINT kRecordStart = 221;
inline constexpr Tessel::UINT kRecordStop = 222;
inline constexpr Tessel::UINT kRecordBack = 223;
inline constexpr Tessel::UINT kRecordHeading = 224;
inline constexpr Tessel::UINT kNothing225 = 225;
inline constexpr Tessel::UINT kRecordUp = 226;
inline constexpr Tessel::UINT kRecordDown = 227;
inline constexpr Tessel::UINT kRecordDelete = 228;
inline constexpr Tessel::UINT kInsertBack = 229;
inline constexpr Tessel::UINT kRecordColumnKey = 230;
inline constexpr Tessel::UINT kRecordColumnAction = 231;
inline constexpr Tessel::UINT kRecordColumnDelay = 232;
inline constexpr Tessel::UINT kRecordList = 233;
inline constexpr Tessel::UINT kRecordSave = 234;
// Settings page.
inline constexpr Tessel::UINT kSettingsPanel = 235;
inline constexpr Tessel::UINT kLanguageLabel = 236;
inline constexpr Tessel::UINT kLanguage = 237;
inline constexpr Tessel::UINT kAutorun = 238;
inline constexpr Tessel::UINT kRestoreKeys = 239;
inline constexpr Tessel::UINT kRestoreAll = 240;
inline constexpr Tessel::UINT kSoftwareUpdate = 241;
inline constexpr Tessel::UINT kFirmwareUpdate = 242;
inline constexpr Tessel::UINT kSettingsView = 243;
} // namespace ids

// Item ids of the main tab bar, in tab order (index 0 to 4).
inline constexpr Tessel::UINT kTabHome = 0;
inline constexpr Tessel::UINT kTabKeys = 1;
inline constexpr Tessel::UINT kTabMacros = 2;
inline constexpr Tessel::UINT kTabLighting = 3;
inline constexpr Tessel::UINT kTabSettings = 5;
inline constexpr int kTabCount = 5;

struct KeyboardDef {
    // Frame.
    Tessel::MPicture* background = nullptr;
    std::array<Tessel::CArea*, 4> borders{}; // left, top, right, bottom (ids 31, 32, 33, 34)
    Tessel::CArea* page_back = nullptr;
    Tessel::MPicture* caption = nullptr;
    Tessel::MPicture* logo = nullptr;
    Tessel::MText* product_label = nullptr;
    Tessel::MText* page_title = nullptr;
    Tessel::MPicture* page_icon = nullptr;
    Tessel::BatteryCtrl* battery = nullptr;
    Tessel::MPicture* mode_icon = nullptr;
    Tessel::CImageButton* close_button = nullptr;
    Tessel::CImageButton* minimize_button = nullptr;
    Tessel::CImageButton* website_button = nullptr;
    Tessel::CImageButton* shop_button = nullptr;
    std::array<Tessel::MTabLayout*, kTabCount> pages{}; // containers 50..54
    Tessel::CArea* tab_back = nullptr;
    Tessel::MTabCtrl* tabs = nullptr;

    // Home page.
    Tessel::MText* status = nullptr;
    Tessel::CDeviceCtrl* device_selector = nullptr;
    Tessel::MText* legal_label = nullptr;
    Tessel::MText* version_label = nullptr;

    // Key assignment page.
    Tessel::CArea* profile_bar = nullptr;
    std::array<Tessel::CImageButton*, 5> profile_buttons{}; // 60..64
    Tessel::CArea* profile_list_back = nullptr;
    Tessel::DListBox* profile_list = nullptr;
    Tessel::KeyboardCtrl* key_view = nullptr;
    Tessel::KeyFuncControl* key_picker = nullptr;

    // Lighting page.
    Tessel::CArea* light_panel = nullptr;
    Tessel::DListBox* light_mode_list = nullptr;
    Tessel::KeyboardCtrl* light_view = nullptr;
    Tessel::CArea* light_settings = nullptr;
    std::array<Tessel::MText*, 3> light_labels{}; // 74, 76, 78
    Tessel::MSlider* brightness = nullptr;
    Tessel::MSlider* speed = nullptr;
    std::array<Tessel::CRadioButton*, 4> directions{}; // 79..82
    Tessel::MText* preset_label = nullptr;
    std::array<Tessel::CColorButton*, 8> presets{}; // 84..91
    Tessel::MText* preset_off_label = nullptr;
    std::array<Tessel::CColorButton*, 8> presets_off{}; // 93..100
    Tessel::MComboBox* effect_combo = nullptr;
    Tessel::MButton* effect_apply = nullptr;
    Tessel::CColorButton* current_colour = nullptr;
    Tessel::CCheckButton* multicolour = nullptr;
    Tessel::MText* editor_label = nullptr;
    Tessel::CArea* editor_back = nullptr;
    Tessel::CirclePalette* colour_wheel = nullptr;
    std::array<Tessel::MText*, 3> rgb_labels{};             // 108..110
    std::array<Tessel::MSlider*, 3> rgb_sliders{};          // 111..113
    std::array<Tessel::MEdit*, 3> rgb_edits{};              // 114..116
    std::array<Tessel::CColorButton*, 9> default_colours{}; // 117..125
    std::array<Tessel::MText*, 7> music_labels{};           // 126, 128, ..., 138
    std::array<Tessel::MComboBox*, 4> music_combos{};       // 127, 131, 135, 139
    std::array<Tessel::MSlider*, 3> music_sliders{};        // 129, 133, 137
    Tessel::MText* music_colour_label = nullptr;
    std::array<Tessel::CColorButton*, 7> music_colours{}; // 141..147
    std::array<Tessel::MText*, 6> area_labels{};          // 148, 156, ..., 188
    std::array<std::array<Tessel::CColorButton*, 7>, 6> area_colours{};

    // Macro page.
    Tessel::CArea* macro_panel = nullptr;
    Tessel::MText* macro_list_label = nullptr;
    Tessel::DListBox* macro_list = nullptr;
    Tessel::MText* macro_editor_label = nullptr;
    Tessel::MComboBox* macro_device = nullptr;
    std::array<Tessel::CRadioButton*, 3> insert_kinds{}; // 201..203
    Tessel::MEdit* insert_key = nullptr;
    Tessel::MEdit* insert_delay = nullptr;
    Tessel::MComboBox* insert_mouse_button = nullptr;
    Tessel::MButton* insert_button = nullptr;
    std::array<Tessel::MButton*, 6> macro_buttons{}; // 208..213
    Tessel::MEdit* play_times = nullptr;
    Tessel::MText* play_times_label = nullptr;
    std::array<Tessel::CRadioButton*, 3> delay_kinds{}; // 216..218
    Tessel::MEdit* delay_time = nullptr;
    Tessel::MText* delay_label = nullptr;
    Tessel::MButton* record_start = nullptr;
    Tessel::MButton* record_stop = nullptr;
    Tessel::CArea* record_back = nullptr;
    Tessel::MText* record_heading = nullptr;
    Tessel::MButton* button_225 = nullptr;
    std::array<Tessel::MButton*, 3> record_moves{}; // 226 up, 227 down, 228 delete
    Tessel::CArea* insert_back = nullptr;
    std::array<Tessel::MText*, 3> record_columns{}; // 230..232
    Tessel::CRecordList* record_list = nullptr;
    Tessel::MButton* record_save = nullptr;

    // Settings page.
    Tessel::CArea* settings_panel = nullptr;
    Tessel::MText* language_label = nullptr;
    Tessel::MComboBox* language = nullptr;
    Tessel::CCheckButton* autorun = nullptr;
    Tessel::MButton* restore_keys = nullptr;
    Tessel::MButton* restore_all = nullptr;
    Tessel::UpgradeButton* software_update = nullptr;
    Tessel::UpgradeButton* firmware_update = nullptr;
    Tessel::KeyboardCtrl* settings_view = nullptr;
};

} // namespace kovrin
