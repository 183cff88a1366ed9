#pragma once
// Images the widgets load straight from the skin folder (not through a
// window's image cache): key icons, keyboard pictures, battery parts.

#include "tessel/Image.h"

#include <string>

namespace Tessel {

// The file's full path: the skin folder + name, with backslashes and doubled
// slashes of the name made single slashes.
std::string SkinFilePath(const std::string& name);
// Null when the name is empty or the file is missing or no image.
ImagePtr LoadSkinImage(const std::string& name);

} // namespace Tessel
