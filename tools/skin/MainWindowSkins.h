#pragma once
// Skin images of the main window: the page and connection icons, the shop
// button, the macro step buttons' icons, the application icon in the sizes
// the desktop uses, and the program icon file (Kovrin.ico).

#include "tools/skin/SkinImages.h"

#include <filesystem>
#include <vector>

namespace kovrin::skin {

const std::vector<SkinImage>& MainWindowSkinImages();

// The application icon drawn at one size onto a cleared surface.
void DrawApplicationIcon(cairo_t* cr, int size);

// The sizes Kovrin.ico holds.
inline constexpr int kProgramIconSizes[] = {16, 24, 32, 48, 64};

// Writes <root>/skins/theme1/Kovrin.ico.
bool WriteProgramIcon(const std::filesystem::path& root);

} // namespace kovrin::skin
