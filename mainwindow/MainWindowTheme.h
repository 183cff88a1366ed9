#pragma once
// The main window's look: the colours and transparencies of its panels and
// texts, and the texts every control shows, by language text number.

#include "tessel/TesselTypes.h"

#include <array>
#include <span>

namespace kovrin::theme {

// Panel areas: COLORREF (0x00BBGGRR) and the transparency ramp in percent.
inline constexpr Tessel::COLORREF kPanelColour = 0x1B1714; // RGB 20, 23, 27
inline constexpr int kPanelTransparencyTop = 15;
inline constexpr int kPanelTransparencyBottom = 35;
inline constexpr Tessel::COLORREF kPageBackColour = 0x100C0A;
inline constexpr int kPageBackTransparency = 55;
inline constexpr Tessel::COLORREF kTabBarColour = 0x737373;
inline constexpr int kTabBarTransparencyTop = 82;
inline constexpr int kTabBarTransparencyBottom = 92;
inline constexpr Tessel::COLORREF kBorderColour = 0x0000FF;
inline constexpr int kBorderTransparency = 50;

// Text colours (0xAARRGGBB).
inline constexpr Tessel::Color kWhite = 0xFFFFFFFF;
inline constexpr Tessel::Color kProductRed = 0xFFFF0000;
inline constexpr Tessel::Color kGrey = 0xFF969696;
inline constexpr Tessel::Color kLabel = 0xFFB8BCC8;
inline constexpr Tessel::Color kComboText = 0xFFE6E6E6;
inline constexpr Tessel::Color kBatteryText = 0xFFE8E9ED;

// The seven preset colours (COLORREF): red, green, blue, yellow, magenta,
// cyan, white.
inline constexpr std::array<Tessel::COLORREF, 7> kPresetColors = {
    0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

// What a control shows of the language file: its title or its tooltip.
struct TextBinding {
    Tessel::UINT id;
    int text;
    bool tooltip = false;
};

// Every fixed text of the window; the texts that follow state (the close
// button's tooltip, the status, the page title) are set where the state
// changes.
inline constexpr TextBinding kTextBindings[] = {
    {42, 2, true},  {44, 5, true}, {60, 28, true}, {61, 30, true}, {62, 29, true}, {63, 26, true},
    {64, 27, true}, {67, 304},     {74, 82},       {76, 83},       {78, 85},       {102, 87},
    {104, 90},      {197, 300},    {199, 301},     {201, 305},     {202, 306},     {203, 310},
    {208, 311},     {209, 312},    {210, 31},      {211, 26},      {212, 27},      {213, 33},
    {215, 316},     {216, 317},    {217, 318},     {218, 319},     {221, 321},     {222, 322},
    {230, 305},     {232, 310},    {234, 329},     {236, 150},     {238, 151},     {239, 152},
    {240, 153},     {241, 156},    {242, 157},
};

// Texts of the tab items in tab order.
inline constexpr std::array<int, 5> kTabTexts = {50, 51, 52, 53, 56};

// Item texts of the macro page's two choice boxes.
inline constexpr std::array<int, 2> kMacroDeviceTexts = {302, 303};
inline constexpr std::array<int, 3> kMouseButtonTexts = {307, 308, 309};

// Description texts of the key function picker's multimedia and launch
// functions (codes 232 to 249).
struct FunctionText {
    int code;
    int text;
};
inline constexpr FunctionText kFunctionTexts[] = {
    {232, 272}, {233, 235}, {234, 234}, {235, 236}, {236, 231}, {237, 232},
    {238, 230}, {239, 233}, {240, 271}, {241, 273}, {242, 270}, {243, 276},
    {244, 277}, {245, 275}, {246, 274}, {247, 279}, {248, 278}, {249, 252},
};

// Texts that follow state.
inline constexpr int kTextConnected = 60;
inline constexpr int kTextNoKeyboard = 61;
inline constexpr int kTextTrayMenuSettings = 10;
inline constexpr int kTextTrayMenuExit = 11;
inline constexpr int kTextCloseHides = 171;
inline constexpr int kTextCloseQuits = 172;

// The languages offered, when their file is there.
struct LanguageChoice {
    int lcid;
    const char* name;
};
inline constexpr LanguageChoice kLanguages[] = {{1033, "English"}, {2052, "简体中文"}};

} // namespace kovrin::theme
