#include "tools/skin/MainWindowSkins.h"

#include "tools/skin/IcoWriter.h"
#include "tools/skin/SkinPainter.h"

#include <cmath>
#include <cstdio>

namespace kovrin::skin {
namespace {

using GlyphFn = void (*)(cairo_t* cr, double cx, double cy, double r);

void Stroke(cairo_t* cr, std::uint32_t colour, double width) {
    SetRgb(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

// ---- glyphs (outlines, stroked by the caller) ----

void GlyphKeyboard(cairo_t* cr, double cx, double cy, double r) {
    RoundedRect(cr, cx - r, cy - r * 0.62, 2 * r, 1.24 * r, r * 0.18);
    for (int row = 0; row < 2; ++row) {
        for (int k = 0; k < 4; ++k) {
            const double x = cx - r * 0.62 + k * r * 0.41;
            const double y = cy - r * 0.28 + row * r * 0.34;
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x + r * 0.01, y);
        }
    }
    cairo_move_to(cr, cx - r * 0.45, cy + r * 0.36);
    cairo_line_to(cr, cx + r * 0.45, cy + r * 0.36);
}

void GlyphMacro(cairo_t* cr, double cx, double cy, double r) {
    // A record dot and steps.
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx - r * 0.55, cy - r * 0.45, r * 0.3, 0, 2 * M_PI);
    cairo_move_to(cr, cx - r * 0.05, cy - r * 0.45);
    cairo_line_to(cr, cx + r, cy - r * 0.45);
    cairo_move_to(cr, cx - r, cy + r * 0.15);
    cairo_line_to(cr, cx + r, cy + r * 0.15);
    cairo_move_to(cr, cx - r, cy + r * 0.7);
    cairo_line_to(cr, cx + r * 0.4, cy + r * 0.7);
}

void GlyphLight(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r * 0.4, 0, 2 * M_PI);
    for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4;
        cairo_move_to(cr, cx + std::cos(a) * r * 0.66, cy + std::sin(a) * r * 0.66);
        cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
    }
}

void GlyphGear(cairo_t* cr, double cx, double cy, double r) {
    const int teeth = 8;
    for (int k = 0; k < teeth * 2; ++k) {
        const double a0 = k * M_PI / teeth;
        const double a1 = (k + 1) * M_PI / teeth;
        const double rr = k % 2 == 0 ? r : r * 0.74;
        if (k == 0) {
            cairo_move_to(cr, cx + std::cos(a0) * rr, cy + std::sin(a0) * rr);
        }
        cairo_arc(cr, cx, cy, rr, a0, a1);
    }
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r * 0.3, 0, 2 * M_PI);
}

void GlyphUsb(cairo_t* cr, double cx, double cy, double r) {
    // A plug: the connector, the cable.
    RoundedRect(cr, cx - r * 0.45, cy - r, r * 0.9, r * 0.9, r * 0.1);
    cairo_move_to(cr, cx - r * 0.15, cy - r * 0.7);
    cairo_line_to(cr, cx - r * 0.15, cy - r * 0.45);
    cairo_move_to(cr, cx + r * 0.15, cy - r * 0.7);
    cairo_line_to(cr, cx + r * 0.15, cy - r * 0.45);
    cairo_move_to(cr, cx - r * 0.6, cy - r * 0.1);
    cairo_line_to(cr, cx + r * 0.6, cy - r * 0.1);
    cairo_line_to(cr, cx + r * 0.6, cy + r * 0.2);
    cairo_curve_to(cr, cx + r * 0.6, cy + r * 0.5, cx, cy + r * 0.5, cx, cy + r * 0.5);
    cairo_curve_to(cr, cx, cy + r * 0.5, cx - r * 0.6, cy + r * 0.5, cx - r * 0.6, cy + r * 0.2);
    cairo_close_path(cr);
    cairo_move_to(cr, cx, cy + r * 0.5);
    cairo_line_to(cr, cx, cy + r);
}

void GlyphWireless(cairo_t* cr, double cx, double cy, double r) {
    const double y = cy + r * 0.6;
    for (int k = 1; k <= 3; ++k) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx, y, r * 0.45 * k, M_PI * 1.25, M_PI * 1.75);
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, y, r * 0.06, 0, 2 * M_PI);
}

void GlyphBluetooth(cairo_t* cr, double cx, double cy, double r) {
    cairo_move_to(cr, cx - r * 0.5, cy - r * 0.45);
    cairo_line_to(cr, cx + r * 0.45, cy + r * 0.45);
    cairo_line_to(cr, cx, cy + r);
    cairo_line_to(cr, cx, cy - r);
    cairo_line_to(cr, cx + r * 0.45, cy - r * 0.45);
    cairo_line_to(cr, cx - r * 0.5, cy + r * 0.45);
}

void GlyphCart(cairo_t* cr, double cx, double cy, double r) {
    cairo_move_to(cr, cx - r, cy - r * 0.8);
    cairo_line_to(cr, cx - r * 0.65, cy - r * 0.8);
    cairo_line_to(cr, cx - r * 0.35, cy + r * 0.35);
    cairo_line_to(cr, cx + r * 0.75, cy + r * 0.35);
    cairo_line_to(cr, cx + r, cy - r * 0.45);
    cairo_line_to(cr, cx - r * 0.55, cy - r * 0.45);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx - r * 0.25, cy + r * 0.8, r * 0.14, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx + r * 0.6, cy + r * 0.8, r * 0.14, 0, 2 * M_PI);
}

void GlyphUp(cairo_t* cr, double cx, double cy, double r) {
    cairo_move_to(cr, cx, cy + r);
    cairo_line_to(cr, cx, cy - r);
    cairo_move_to(cr, cx - r * 0.7, cy - r * 0.3);
    cairo_line_to(cr, cx, cy - r);
    cairo_line_to(cr, cx + r * 0.7, cy - r * 0.3);
}

void GlyphDown(cairo_t* cr, double cx, double cy, double r) {
    cairo_move_to(cr, cx, cy - r);
    cairo_line_to(cr, cx, cy + r);
    cairo_move_to(cr, cx - r * 0.7, cy + r * 0.3);
    cairo_line_to(cr, cx, cy + r);
    cairo_line_to(cr, cx + r * 0.7, cy + r * 0.3);
}

void GlyphRemove(cairo_t* cr, double cx, double cy, double r) {
    cairo_move_to(cr, cx - r * 0.75, cy - r * 0.75);
    cairo_line_to(cr, cx + r * 0.75, cy + r * 0.75);
    cairo_move_to(cr, cx + r * 0.75, cy - r * 0.75);
    cairo_line_to(cr, cx - r * 0.75, cy + r * 0.75);
}

void GlyphInsert(cairo_t* cr, double cx, double cy, double r) {
    // A step pushed into a list.
    cairo_move_to(cr, cx - r, cy - r * 0.7);
    cairo_line_to(cr, cx + r, cy - r * 0.7);
    cairo_move_to(cr, cx - r, cy + r * 0.7);
    cairo_line_to(cr, cx + r, cy + r * 0.7);
    cairo_move_to(cr, cx - r * 0.6, cy);
    cairo_line_to(cr, cx + r * 0.6, cy);
    cairo_move_to(cr, cx, cy - r * 0.35);
    cairo_line_to(cr, cx, cy + r * 0.35);
}

// ---- images ----

// A single glyph in the text colour: page and connection icons, the icons of
// the macro page's step buttons.
template <GlyphFn Glyph> void PlainIcon(cairo_t* cr, const SkinImage& img) {
    const double r = std::min(img.width, img.height) * 0.38;
    Glyph(cr, img.width / 2.0, img.height / 2.0, r);
    Stroke(cr, kText, std::max(1.5, img.height / 12.0));
}

// A red glyph, for the page icon beside the page title.
template <GlyphFn Glyph> void AccentIcon(cairo_t* cr, const SkinImage& img) {
    const double r = std::min(img.width, img.height) * 0.4;
    Glyph(cr, img.width / 2.0, img.height / 2.0, r);
    Stroke(cr, kRed, std::max(1.5, img.height / 11.0));
}

// Four cells of a caption button (normal, hover, pressed, disabled), as the
// other system buttons of the caption.
template <GlyphFn Glyph> void CaptionButton(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    const std::uint32_t colours[4] = {kText, kRed, 0xFFFFFF, kMuted};
    for (int i = 0; i < 4; ++i) {
        const double x = i * w;
        if (i == 1 || i == 2) {
            RoundedRect(cr, x + 1, 1, w - 2, img.height - 2, 4);
            SetRgb(cr, i == 1 ? kPanelHigh : kRedDark);
            cairo_fill(cr);
        }
        Glyph(cr, x + w / 2.0, img.height / 2.0, std::min(w, img.height) * 0.3);
        Stroke(cr, colours[i], 2);
    }
}

void ApplicationIcon(cairo_t* cr, const SkinImage& img) {
    DrawApplicationIcon(cr, std::min(img.width, img.height));
}

} // namespace

void DrawApplicationIcon(cairo_t* cr, int size) {
    const double s = size;
    // A dark rounded tile with a red rule on top and a red keycap.
    RoundedRect(cr, s * 0.04, s * 0.04, s * 0.92, s * 0.92, s * 0.2);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    FillGradient(cr, 0, 0, s, s, kPanelHigh, kBaseLow);
    SetRgb(cr, kRed);
    cairo_rectangle(cr, 0, 0, s, s * 0.1);
    cairo_fill(cr);
    cairo_restore(cr);
    SetRgb(cr, kEdge);
    cairo_set_line_width(cr, std::max(1.0, s / 48));
    cairo_stroke(cr);
    // The keycap: its skirt, then its top.
    const double c = s / 2;
    RoundedRect(cr, c - s * 0.27, c - s * 0.2, s * 0.54, s * 0.5, s * 0.08);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, c - s * 0.2, 0, c + s * 0.3);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.20, 0.25);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.55, 0.06, 0.10);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    RoundedRect(cr, c - s * 0.19, c - s * 0.16, s * 0.38, s * 0.32, s * 0.05);
    SetRgb(cr, 0xFF5A66);
    cairo_fill(cr);
}

const std::vector<SkinImage>& MainWindowSkinImages() {
    static const std::vector<SkinImage> table = {
        {Folder::Skin, "icon/icon_keyboard.png", 24, 24, 1, AccentIcon<GlyphKeyboard>},
        {Folder::Skin, "icon/icon_macro.png", 24, 24, 1, AccentIcon<GlyphMacro>},
        {Folder::Skin, "icon/icon_lightmode.png", 24, 24, 1, AccentIcon<GlyphLight>},
        {Folder::Skin, "icon/icon_config.png", 24, 24, 1, AccentIcon<GlyphGear>},
        {Folder::Skin, "icon/mode_usb.png", 24, 24, 1, PlainIcon<GlyphUsb>},
        {Folder::Skin, "icon/mode_wireless.png", 24, 24, 1, PlainIcon<GlyphWireless>},
        {Folder::Skin, "icon/mode_bluetooth.png", 24, 24, 1, PlainIcon<GlyphBluetooth>},
        {Folder::Skin, "icon/icon_up.png", 20, 20, 1, PlainIcon<GlyphUp>},
        {Folder::Skin, "icon/icon_down.png", 20, 20, 1, PlainIcon<GlyphDown>},
        {Folder::Skin, "icon/icon_remove.png", 20, 20, 1, PlainIcon<GlyphRemove>},
        {Folder::Skin, "icon/icon_insert.png", 20, 20, 1, PlainIcon<GlyphInsert>},
        {Folder::Skin, "main_sysbtn_shop.png", 120, 30, 4, CaptionButton<GlyphCart>},
        {Folder::Skin, "logo/app_48.png", 48, 48, 1, ApplicationIcon},
        {Folder::Skin, "logo/app_128.png", 128, 128, 1, ApplicationIcon},
        {Folder::Skin, "logo/app_256.png", 256, 256, 1, ApplicationIcon},
    };
    return table;
}

bool WriteProgramIcon(const std::filesystem::path& root) {
    const std::filesystem::path path = root / "skins" / "theme1" / "Kovrin.ico";
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::vector<cairo_surface_t*> pictures;
    for (int size : kProgramIconSizes) {
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(s);
        DrawApplicationIcon(cr, size);
        cairo_destroy(cr);
        pictures.push_back(s);
    }
    const bool ok = WriteIco(path.string(), pictures);
    for (cairo_surface_t* s : pictures) {
        cairo_surface_destroy(s);
    }
    if (!ok) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
    }
    return ok;
}

} // namespace kovrin::skin
