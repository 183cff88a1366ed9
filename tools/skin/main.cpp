// kovrin_skin PROGRAM_DIR: writes every skin image of the table as PNG into
// PROGRAM_DIR/skins/theme1/ (and the library's pictures into PROGRAM_DIR/tessel/).

#include "tools/skin/GifWriter.h"
#include "tools/skin/SkinImages.h"
#include "tools/skin/StandardSkins.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM_DIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    int failures = 0;
    for (const auto& image : kovrin::skin::SkinTable()) {
        const std::filesystem::path folder = image.folder == kovrin::skin::Folder::Skin
                                                 ? root / "skins" / "theme1"
                                                 : root / "tessel";
        const std::filesystem::path path = folder / image.name;
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        cairo_surface_t* surface =
            cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
        cairo_t* cr = cairo_create(surface);
        image.draw(cr, image);
        cairo_destroy(cr);
        if (cairo_surface_write_to_png(surface, path.c_str()) != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ++failures;
        }
        cairo_surface_destroy(surface);
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
    return failures == 0 ? 0 : 1;
}
