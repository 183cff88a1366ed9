// kovrin_skin PROGRAM_DIR [LAYOUT_DIR]: writes every skin image of the tables
// as PNG into PROGRAM_DIR/skins/theme1/ (and the library's pictures into
// PROGRAM_DIR/tessel/); with LAYOUT_DIR also the keyboard picture of each
// layout file there, into PROGRAM_DIR/skins/theme1/keyboard/.

#include "device/KeyboardLayout.h"
#include "device/LayoutLoader.h"
#include "tools/skin/GifWriter.h"
#include "tools/skin/MainWindowSkins.h"
#include "tools/skin/SkinImages.h"
#include "tools/skin/StandardSkins.h"
#include "tools/skin/WidgetSkins.h"
#include "xml/XmlDocument.h"

#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

bool WriteImage(const fs::path& root, const kovrin::skin::SkinImage& image) {
    const fs::path folder =
        image.folder == kovrin::skin::Folder::Skin ? root / "skins" / "theme1" : root / "tessel";
    const fs::path path = folder / image.name;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
    cairo_t* cr = cairo_create(surface);
    image.draw(cr, image);
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    if (!ok) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
    }
    cairo_surface_destroy(surface);
    return ok;
}

// The picture of one layout file; a file without a picture is left out.
bool WriteKeyboardPicture(const fs::path& root, const fs::path& file) {
    kovrin::XmlDocument doc;
    if (!doc.LoadFile(file.string()) || !doc.FindElement("device.info")) {
        std::fprintf(stderr, "cannot read layout %s\n", file.c_str());
        return false;
    }
    kovrin::KeyboardLayout layout;
    std::vector<std::string> warnings;
    kovrin::ReadLayout(doc, layout, warnings);
    if (layout.keyboard_image.empty()) {
        return true;
    }
    if (layout.keyboard_image.find_first_of("/\\") != std::string::npos ||
        layout.keyboard_image == "..") {
        std::fprintf(stderr, "%s: picture name %s is not a plain file name\n", file.c_str(),
                     layout.keyboard_image.c_str());
        return false;
    }
    const fs::path path = root / "skins" / "theme1" / "keyboard" / layout.keyboard_image;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (!kovrin::skin::DrawKeyboardPicture(layout, path.string())) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s PROGRAM_DIR [LAYOUT_DIR]\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];
    int failures = 0;
    for (const auto& image : kovrin::skin::SkinTable()) {
        failures += WriteImage(root, image) ? 0 : 1;
    }
    failures += kovrin::skin::WriteProgramIcon(root) ? 0 : 1;
    if (argc == 3) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(argv[2], ec)) {
            if (entry.path().extension() == ".xml") {
                failures += WriteKeyboardPicture(root, entry.path()) ? 0 : 1;
            }
        }
        if (ec) {
            std::fprintf(stderr, "cannot list %s\n", argv[2]);
            ++failures;
        }
    }
    for (const auto& anim : kovrin::skin::StandardAnimations()) {
        const std::filesystem::path folder =
            anim.folder == kovrin::skin::Folder::Skin ? root / "skins" / "theme1" : root / "tessel";
        const std::filesystem::path path = folder / anim.name;
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        kovrin::skin::GifAnimation gif;
        gif.width = anim.width;
        gif.height = anim.height;
        gif.delay_cs = anim.delay_cs;
        gif.background = anim.background;
        gif.colour = anim.colour;
        for (int i = 0; i < anim.frames; ++i) {
            cairo_surface_t* surface =
                cairo_image_surface_create(CAIRO_FORMAT_ARGB32, anim.width, anim.height);
            cairo_t* cr = cairo_create(surface);
            anim.draw(cr, anim, i);
            cairo_destroy(cr);
            gif.frames.push_back(surface);
        }
        if (!kovrin::skin::WriteGif(path, gif)) {
            ++failures;
        }
        for (cairo_surface_t* s : gif.frames) {
            cairo_surface_destroy(s);
        }
    }
    // Frees the font caches of the legends, so leak checkers see only real leaks.
    cairo_debug_reset_static_data();
    FcFini();
    return failures == 0 ? 0 : 1;
}
