#include "tools/skin/SkinPainter.h"

#include <cmath>

namespace kovrin::skin {

void SetRgb(cairo_t* cr, std::uint32_t rgb, double alpha) {
    cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                          (rgb & 0xFF) / 255.0, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min(r, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void FillGradient(cairo_t* cr, double x, double y, double w, double h, std::uint32_t top,
                  std::uint32_t bottom, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    auto stop = [p, alpha](double at, std::uint32_t c) {
        cairo_pattern_add_color_stop_rgba(p, at, ((c >> 16) & 0xFF) / 255.0,
                                          ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0, alpha);
    };
    stop(0, top);
    stop(1, bottom);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void ButtonFace(cairo_t* cr, double x, double w, double h, double radius, State s) {
    std::uint32_t top = kPanelHigh;
    std::uint32_t bottom = kPanel;
    std::uint32_t edge = kEdge;
    double alpha = 1.0;
    switch (s) {
    case State::Normal:
        break;
    case State::Hover:
        top = 0x353A46;
        bottom = 0x262A33;
        edge = kRed;
        break;
    case State::Pressed:
        top = kRedDark;
        bottom = 0x7A0F19;
        edge = kRed;
        break;
    case State::Disabled:
        top = 0x1A1C22;
        bottom = 0x16181D;
        edge = 0x24272F;
        alpha = 0.8;
        break;
    }
    cairo_save(cr);
    RoundedRect(cr, x + 0.5, 0.5, w - 1, h - 1, radius);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgba(p, 0, ((top >> 16) & 0xFF) / 255.0,
                                      ((top >> 8) & 0xFF) / 255.0, (top & 0xFF) / 255.0, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, ((bottom >> 16) & 0xFF) / 255.0,
                                      ((bottom >> 8) & 0xFF) / 255.0, (bottom & 0xFF) / 255.0,
                                      alpha);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetRgb(cr, edge, alpha);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_restore(cr);
}

} // namespace kovrin::skin
