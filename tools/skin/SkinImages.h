#pragma once
// The table of skin images: every picture the windows name, with its file
// name, size, number of state cells and the function that draws it.

#include <cairo.h>

#include <string>
#include <vector>

namespace kovrin::skin {

enum class Folder {
    Skin,    // <program>/skins/theme1/<name>
    Library, // <program>/tessel/<name>: the library's built-in pictures
};

struct SkinImage;
// Draws the whole image (all cells) onto a cleared surface of its size.
using DrawFn = void (*)(cairo_t* cr, const SkinImage& image);

struct SkinImage {
    Folder folder;
    const char* name; // may contain sub-folders, separated by '/'
    int width;        // whole image
    int height;
    int cells; // state cells side by side
    DrawFn draw;

    int CellWidth() const { return width / (cells <= 0 ? 1 : cells); }
};

const std::vector<SkinImage>& SkinTable();

} // namespace kovrin::skin
