#pragma once
// The widgets' skin images and the keyboard pictures drawn from the layouts.

#include "tools/skin/SkinImages.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kovrin {
struct KeyboardLayout;
}

namespace kovrin::skin {

const std::vector<SkinImage>& WidgetSkinTable();

// The colour wheel's colour (0xRRGGBB) at a hue angle in degrees and a
// saturation of 0 (white) to 1.
std::uint32_t WheelColour(double hueDegrees, double saturation);

// Draws the layout's keyboard picture (its keyboard width × height) into
// path: a dark body with one key cap per key at its rectangle, labelled with
// the key's name. False when the layout names no picture or it cannot be
// written.
bool DrawKeyboardPicture(const KeyboardLayout& layout, const std::string& path);

} // namespace kovrin::skin
