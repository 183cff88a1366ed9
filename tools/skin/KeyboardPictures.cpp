// The keyboard pictures: one per shipped layout, drawn from its key
// rectangles so every key of the layout sits on a key cap of the picture.

#include "device/KeyboardLayout.h"
#include "tools/skin/SkinPainter.h"
#include "tools/skin/WidgetSkins.h"

#include <cairo.h>

#include <algorithm>

namespace kovrin::skin {
namespace {

constexpr std::uint32_t kBodyTop = 0x1A1D24;
constexpr std::uint32_t kBodyBottom = 0x0E1014;
constexpr std::uint32_t kCapTop = 0x2C313B;
constexpr std::uint32_t kCapBottom = 0x20242C;
constexpr std::uint32_t kCapEdge = 0x3A404C;
constexpr std::uint32_t kLegend = 0xC9CCD6;

void Body(cairo_t* cr, int width, int height) {
    RoundedRect(cr, 0.5, 0.5, width - 1, height - 1, 10);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    FillGradient(cr, 0, 0, width, height, kBodyTop, kBodyBottom);
    cairo_restore(cr);
    SetRgb(cr, 0x2E323C);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // A thin red light strip along the top edge.
    SetRgb(cr, kRed, 0.8);
    cairo_rectangle(cr, 12, 3, width - 24, 1.5);
    cairo_fill(cr);
}

// The legend fitted into the cap: a smaller size for longer names.
void Legend(cairo_t* cr, const std::string& text, const KeyRect& r) {
    if (text.empty()) {
        return;
    }
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    double size = std::min(12.0, r.Height() * 0.34);
    cairo_text_extents_t ext;
    for (;;) {
        cairo_set_font_size(cr, size);
        cairo_text_extents(cr, text.c_str(), &ext);
        if (ext.width <= r.Width() - 8 || size <= 6) {
            break;
        }
        size -= 0.5;
    }
    SetRgb(cr, kLegend);
    // One baseline for every legend of a size, whatever its letters.
    cairo_move_to(cr, r.left + (r.Width() - ext.width) / 2 - ext.x_bearing,
                  r.top + (r.Height() - 2) / 2.0 + size * 0.36);
    cairo_show_text(cr, text.c_str());
}

void Cap(cairo_t* cr, const KeyItem& key) {
    const KeyRect& r = key.rect;
    if (r.Width() <= 4 || r.Height() <= 4) {
        return;
    }
    // The cap fills the key rectangle inset by 2 pixels; the view's outline
    // of a key runs along the rectangle's edge, over the gap.
    const double x = r.left + 2;
    const double y = r.top + 2;
    const double w = r.Width() - 4;
    const double h = r.Height() - 4;
    RoundedRect(cr, x, y, w, h, 4);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    FillGradient(cr, x, y, w, h, kCapTop, kCapBottom);
    cairo_restore(cr);
    SetRgb(cr, kCapEdge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    SetRgb(cr, 0x000000, 0.35);
    cairo_rectangle(cr, x + 3, y + h - 3, w - 6, 2);
    cairo_fill(cr);
    Legend(cr, key.name, r);
}

} // namespace

bool DrawKeyboardPicture(const KeyboardLayout& layout, const std::string& path) {
    if (layout.keyboard_image.empty() || layout.keyboard_width <= 0 ||
        layout.keyboard_height <= 0) {
        return false;
    }
    cairo_surface_t* surface = cairo_image_surface_create(
        CAIRO_FORMAT_ARGB32, layout.keyboard_width, layout.keyboard_height);
    cairo_t* cr = cairo_create(surface);
    Body(cr, layout.keyboard_width, layout.keyboard_height);
    for (const KeyItem& key : layout.keys) {
        Cap(cr, key);
    }
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

} // namespace kovrin::skin
