#pragma once
// Light modes of a keyboard model as its layout lists them, and the function
// bits that say which controls and behaviours a mode has.

#include <cstdint>
#include <string>

namespace kovrin {

using LightFunctions = std::uint32_t;

inline constexpr LightFunctions LF_BRIGHTNESS = 0x001;
inline constexpr LightFunctions LF_SPEED = 0x002;
inline constexpr LightFunctions LF_DIRECTION_LR = 0x004;
inline constexpr LightFunctions LF_DIRECTION_UD = 0x008;
inline constexpr LightFunctions LF_RGB = 0x010;
inline constexpr LightFunctions LF_COLOR = 0x020;
inline constexpr LightFunctions LF_PRESETS = 0x040;
inline constexpr LightFunctions LF_PRESETS_OFF = 0x080;
inline constexpr LightFunctions LF_PER_KEY = 0x100;
inline constexpr LightFunctions LF_MUSIC = 0x200;
inline constexpr LightFunctions LF_SCREEN = 0x400;
inline constexpr LightFunctions LF_AREAS = 0x800;
inline constexpr LightFunctions kAllLightFunctions = 0xFFF;

// Colour of a new light mode entry (red + 256 x green + 65536 x blue).
inline constexpr std::uint32_t kLightModeDefaultColor = 16623632;

struct LightModeInfo {
    std::string name;  // the layout's text: decimal number of the display name
    int name_text = 0; // that number, for GetText
    int mode = 0;      // the keyboard's mode number, 1-based
    LightFunctions functions = 0;
    int brightness = 0; // the layout's default brightness
    int speed = 0;      // the layout's default speed
    int direction = 0;
    int colorful = 1;
    int color_index = 0;
    std::uint32_t color_value = kLightModeDefaultColor;
};

// Short names of the bits, separated by spaces ("brightness speed ..."); the
// bits outside kAllLightFunctions are shown as one hexadecimal value.
std::string DescribeLightFunctions(LightFunctions functions);

} // namespace kovrin
