#include "tools/skin/SkinImages.h"

#include "tools/skin/MainWindowSkins.h"
#include "tools/skin/SkinPainter.h"
#include "tools/skin/StandardSkins.h"
#include "tools/skin/WidgetSkins.h"

#include <cmath>

namespace kovrin::skin {
namespace {

// The window background: a dark vertical gradient, a faint diagonal weave,
// and a red glow along the top edge.
void MainBackground(cairo_t* cr, const SkinImage& img) {
    FillGradient(cr, 0, 0, img.width, img.height, kBase, kBaseLow);
    cairo_save(cr);
    SetRgb(cr, 0xFFFFFF, 0.018);
    cairo_set_line_width(cr, 1);
    for (int x = -img.height; x < img.width; x += 12) {
        cairo_move_to(cr, x, img.height);
        cairo_line_to(cr, x + img.height, 0);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
    cairo_pattern_t* glow = cairo_pattern_create_linear(0, 0, 0, 60);
    cairo_pattern_add_color_stop_rgba(glow, 0, 0.88, 0.13, 0.18, 0.22);
    cairo_pattern_add_color_stop_rgba(glow, 1, 0.88, 0.13, 0.18, 0.0);
    cairo_set_source(cr, glow);
    cairo_rectangle(cr, 0, 0, img.width, 60);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    SetRgb(cr, kRed);
    cairo_rectangle(cr, 0, 0, img.width, 2);
    cairo_fill(cr);
}

// The caption bar: a slightly raised strip with a red rule below it.
void Caption(cairo_t* cr, const SkinImage& img) {
    FillGradient(cr, 0, 0, img.width, img.height, 0x1B1E25, 0x14161B, 0.92);
    SetRgb(cr, kRed, 0.85);
    cairo_rectangle(cr, 0, img.height - 1, img.width, 1);
    cairo_fill(cr);
}

// Four cells (normal, hover, pressed, disabled) of an "×" system button.
void SysClose(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    for (int i = 0; i < 4; ++i) {
        const double x = i * w;
        if (i == 1 || i == 2) {
            RoundedRect(cr, x + 1, 1, w - 2, img.height - 2, 4);
            SetRgb(cr, i == 1 ? kRed : kRedDark);
            cairo_fill(cr);
        }
        SetRgb(cr, i == 3 ? kMuted : kText);
        cairo_set_line_width(cr, 2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        const double c = w / 2.0;
        const double d = w * 0.2;
        const double cy = img.height / 2.0;
        cairo_move_to(cr, x + c - d, cy - d);
        cairo_line_to(cr, x + c + d, cy + d);
        cairo_move_to(cr, x + c + d, cy - d);
        cairo_line_to(cr, x + c - d, cy + d);
        cairo_stroke(cr);
    }
}

// Four cells of a "–" system button.
void SysMin(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    for (int i = 0; i < 4; ++i) {
        const double x = i * w;
        if (i == 1 || i == 2) {
            RoundedRect(cr, x + 1, 1, w - 2, img.height - 2, 4);
            SetRgb(cr, i == 1 ? kPanelHigh : kEdge);
            cairo_fill(cr);
        }
        SetRgb(cr, i == 3 ? kMuted : kText);
        cairo_set_line_width(cr, 2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, x + w * 0.3, img.height / 2.0 + 0.5);
        cairo_line_to(cr, x + w * 0.7, img.height / 2.0 + 0.5);
        cairo_stroke(cr);
    }
}

// Four cells of a push button face, drawn to be stretched as a nine-grid
// with corners of 10 pixels.
void PushButton(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    for (int i = 0; i < 4; ++i) {
        ButtonFace(cr, i * w, w, img.height, 6, static_cast<State>(i));
    }
}

// The product mark: a red hexagon with a keycap inside.
void Logo(cairo_t* cr, const SkinImage& img) {
    const double cx = img.width / 2.0;
    const double cy = img.height / 2.0;
    const double r = std::min(img.width, img.height) / 2.0 - 1;
    for (int k = 0; k < 6; ++k) {
        const double a = M_PI / 6 + k * M_PI / 3;
        (k == 0 ? cairo_move_to : cairo_line_to)(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, img.height);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.20, 0.25);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.55, 0.06, 0.10);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    RoundedRect(cr, cx - r * 0.42, cy - r * 0.42, r * 0.84, r * 0.84, r * 0.15);
    SetRgb(cr, kBase, 0.9);
    cairo_fill(cr);
    RoundedRect(cr, cx - r * 0.28, cy - r * 0.32, r * 0.56, r * 0.5, r * 0.08);
    SetRgb(cr, kRed);
    cairo_fill(cr);
}

// A square pad that lights up: normal, hover, pressed, disabled.
void DemoPad(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    for (int i = 0; i < 4; ++i) {
        const double x = i * w;
        ButtonFace(cr, x, w, img.height, 10, static_cast<State>(i));
        const double cx = x + w / 2.0;
        const double cy = img.height / 2.0;
        const double r = std::min(w, img.height) * 0.22;
        cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
        SetRgb(cr, i == 3 ? kMuted : i == 2 ? kText : kRed, i == 0 ? 0.75 : 1.0);
        cairo_fill(cr);
    }
}

// Vertical scroll bar: four cells of 7 pixels (normal, hover, pressed, disabled).
void ScrollVertical(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    const std::uint32_t colours[4] = {0x4A4F5C, 0x6A7080, kRed, 0x2A2D35};
    for (int i = 0; i < 4; ++i) {
        RoundedRect(cr, i * w + 1, 0, w - 2, img.height, (w - 2) / 2.0);
        SetRgb(cr, colours[i]);
        cairo_fill(cr);
    }
}

// Horizontal scroll bar thumb.
void ScrollHorizontal(cairo_t* cr, const SkinImage& img) {
    RoundedRect(cr, 0, 6, img.width, img.height - 12, (img.height - 12) / 2.0);
    SetRgb(cr, 0x4A4F5C);
    cairo_fill(cr);
}

} // namespace

const std::vector<SkinImage>& SkinTable() {
    static const std::vector<SkinImage> table = [] {
        std::vector<SkinImage> t = {
            {Folder::Skin, "main_bkg.png", 1280, 720, 1, MainBackground},
            {Folder::Skin, "pic_caption.png", 1280, 49, 1, Caption},
            {Folder::Skin, "main_sysbtn_close.png", 120, 30, 4, SysClose},
            {Folder::Skin, "main_sysbtn_min.png", 120, 30, 4, SysMin},
            {Folder::Skin, "btn_apply.png", 480, 36, 4, PushButton},
            {Folder::Skin, "logo/logo.png", 48, 48, 1, Logo},
            {Folder::Skin, "demo_pad.png", 384, 96, 4, DemoPad},
            {Folder::Library, "101.png", 22, 20, 1, ScrollHorizontal},
            {Folder::Library, "102.png", 28, 239, 4, ScrollVertical},
        };
        // Each group of controls draws its own images.
        for (const auto* more :
             {&StandardSkinImages(), &WidgetSkinTable(), &MainWindowSkinImages()}) {
            t.insert(t.end(), more->begin(), more->end());
        }
        return t;
    }();
    return table;
}

} // namespace kovrin::skin
