#pragma once
// Skin images of the standard and input controls, menus, message box and
// wait dialog, and the animations (GIF) among them.

#include "tools/skin/SkinImages.h"

#include <vector>

namespace kovrin::skin {

struct SkinAnimation;
using FrameFn = void (*)(cairo_t* cr, const SkinAnimation& animation, int frame);

struct SkinAnimation {
    Folder folder;
    const char* name;
    int width;
    int height;
    int frames;
    int delay_cs;
    std::uint32_t background; // 0xRRGGBB the frame's coverage blends from
    std::uint32_t colour;     // and to
    FrameFn draw;             // draws frame i's coverage (alpha) onto a cleared surface
};

const std::vector<SkinImage>& StandardSkinImages();
const std::vector<SkinAnimation>& StandardAnimations();

} // namespace kovrin::skin
