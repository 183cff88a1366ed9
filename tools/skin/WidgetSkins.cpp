// Skin images of the keyboard view's neighbours: the key function picker's
// cells and icons, list row icons, the device selector's rows, the battery
// gauge, the multi-colour swatch and the colour wheel.

#include "tools/skin/WidgetSkins.h"

#include "tools/skin/SkinPainter.h"

#include <algorithm>
#include <cmath>

namespace kovrin::skin {
namespace {

constexpr std::uint32_t kKeyFace = 0x262A33;
constexpr std::uint32_t kKeyFaceHigh = 0x323744;
constexpr std::uint32_t kGreen = 0x35C46A;

void Stroke(cairo_t* cr, std::uint32_t rgb, double width) {
    SetRgb(cr, rgb);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

// Four key-cap cells of the function picker: normal, hover, marked, disabled.
// Drawn for stretching and for nine-grids with 8-pixel corners.
void FunctionKeyCells(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    const int h = img.height;
    for (int i = 0; i < 4; ++i) {
        const double x = i * w;
        std::uint32_t face = kKeyFace;
        std::uint32_t edge = kEdge;
        if (i == 1) {
            face = kKeyFaceHigh;
            edge = kRed;
        } else if (i == 2) {
            face = kRedDark;
            edge = kRed;
        } else if (i == 3) {
            face = 0x1A1C22;
            edge = 0x24272F;
        }
        RoundedRect(cr, x + 0.5, 0.5, w - 1, h - 1, 4);
        SetRgb(cr, face);
        cairo_fill_preserve(cr);
        SetRgb(cr, edge);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        // A lighter top lip, as on a key cap.
        SetRgb(cr, 0xFFFFFF, i == 3 ? 0.02 : 0.06);
        cairo_rectangle(cr, x + 3, 2, w - 6, 2);
        cairo_fill(cr);
    }
}

// ---- 20 × 20 function icons, light strokes on transparent ----

void IconPc(cairo_t* cr, const SkinImage&) {
    RoundedRect(cr, 3, 4, 14, 9, 1.5);
    Stroke(cr, kText, 1.5);
    cairo_move_to(cr, 10, 13);
    cairo_line_to(cr, 10, 16);
    cairo_move_to(cr, 6.5, 16.5);
    cairo_line_to(cr, 13.5, 16.5);
    Stroke(cr, kText, 1.5);
}

void IconCalculator(cairo_t* cr, const SkinImage&) {
    RoundedRect(cr, 4.5, 2.5, 11, 15, 1.5);
    Stroke(cr, kText, 1.5);
    cairo_rectangle(cr, 7, 5, 6, 3);
    SetRgb(cr, kText);
    cairo_fill(cr);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            cairo_rectangle(cr, 6.5 + c * 2.6, 10 + r * 3, 1.6, 1.6);
        }
    }
    cairo_fill(cr);
}

void IconEmail(cairo_t* cr, const SkinImage&) {
    cairo_rectangle(cr, 3, 5, 14, 10);
    Stroke(cr, kText, 1.5);
    cairo_move_to(cr, 3.5, 5.5);
    cairo_line_to(cr, 10, 11);
    cairo_line_to(cr, 16.5, 5.5);
    Stroke(cr, kText, 1.5);
}

void Triangle(cairo_t* cr, double x, double y, double w, double h, bool right) {
    if (right) {
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + w, y + h / 2);
        cairo_line_to(cr, x, y + h);
    } else {
        cairo_move_to(cr, x + w, y);
        cairo_line_to(cr, x, y + h / 2);
        cairo_line_to(cr, x + w, y + h);
    }
    cairo_close_path(cr);
    SetRgb(cr, kText);
    cairo_fill(cr);
}

void IconPlayPause(cairo_t* cr, const SkinImage&) {
    Triangle(cr, 3, 5, 7, 10, true);
    cairo_rectangle(cr, 12, 5, 2, 10);
    cairo_rectangle(cr, 15.5, 5, 2, 10);
    cairo_fill(cr);
}

void IconPrevious(cairo_t* cr, const SkinImage&) {
    cairo_rectangle(cr, 3, 5, 2, 10);
    SetRgb(cr, kText);
    cairo_fill(cr);
    Triangle(cr, 5, 5, 6, 10, false);
    Triangle(cr, 11, 5, 6, 10, false);
}

void IconNext(cairo_t* cr, const SkinImage&) {
    Triangle(cr, 3, 5, 6, 10, true);
    Triangle(cr, 9, 5, 6, 10, true);
    cairo_rectangle(cr, 15, 5, 2, 10);
    cairo_fill(cr);
}

void Speaker(cairo_t* cr) {
    cairo_move_to(cr, 2.5, 8);
    cairo_line_to(cr, 5.5, 8);
    cairo_line_to(cr, 9.5, 4.5);
    cairo_line_to(cr, 9.5, 15.5);
    cairo_line_to(cr, 5.5, 12);
    cairo_line_to(cr, 2.5, 12);
    cairo_close_path(cr);
    SetRgb(cr, kText);
    cairo_fill(cr);
}

void IconVolumeDown(cairo_t* cr, const SkinImage&) {
    Speaker(cr);
    cairo_move_to(cr, 12.5, 10);
    cairo_line_to(cr, 17.5, 10);
    Stroke(cr, kText, 1.6);
}

void IconVolumeUp(cairo_t* cr, const SkinImage&) {
    Speaker(cr);
    cairo_move_to(cr, 12.5, 10);
    cairo_line_to(cr, 17.5, 10);
    cairo_move_to(cr, 15, 7.5);
    cairo_line_to(cr, 15, 12.5);
    Stroke(cr, kText, 1.6);
}

void IconMute(cairo_t* cr, const SkinImage&) {
    Speaker(cr);
    cairo_move_to(cr, 12.5, 7.5);
    cairo_line_to(cr, 17.5, 12.5);
    cairo_move_to(cr, 17.5, 7.5);
    cairo_line_to(cr, 12.5, 12.5);
    Stroke(cr, kRed, 1.6);
}

void IconHome(cairo_t* cr, const SkinImage&) {
    cairo_move_to(cr, 3, 10);
    cairo_line_to(cr, 10, 3.5);
    cairo_line_to(cr, 17, 10);
    Stroke(cr, kText, 1.6);
    cairo_move_to(cr, 5.5, 9);
    cairo_line_to(cr, 5.5, 16.5);
    cairo_line_to(cr, 14.5, 16.5);
    cairo_line_to(cr, 14.5, 9);
    Stroke(cr, kText, 1.6);
}

void IconSearch(cairo_t* cr, const SkinImage&) {
    cairo_arc(cr, 8.5, 8.5, 5, 0, 2 * M_PI);
    Stroke(cr, kText, 1.6);
    cairo_move_to(cr, 12.3, 12.3);
    cairo_line_to(cr, 17, 17);
    Stroke(cr, kText, 2.2);
}

// Two 16 × 16 cells of the list row mark: a ring, and a filled red dot for
// the selected row.
void RowMark(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    cairo_arc(cr, w / 2.0, img.height / 2.0, w / 2.0 - 3, 0, 2 * M_PI);
    Stroke(cr, kMuted, 1.5);
    cairo_arc(cr, w + w / 2.0, img.height / 2.0, w / 2.0 - 2.5, 0, 2 * M_PI);
    SetRgb(cr, kRed);
    cairo_fill_preserve(cr);
    Stroke(cr, 0xFF6A74, 1);
}

// Two cells of a device row, stretched as a nine-grid with 12-pixel corners:
// 0 a listed model that is not present (dim), 1 a present model.
void DeviceRow(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    const int h = img.height;
    RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 8);
    SetRgb(cr, 0x17191E);
    cairo_fill_preserve(cr);
    SetRgb(cr, 0x2A2D35);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    RoundedRect(cr, w + 0.5, 0.5, w - 1, h - 1, 8);
    FillGradient(cr, w, 0, w, h, kPanelHigh, kPanel);
    RoundedRect(cr, w + 0.5, 0.5, w - 1, h - 1, 8);
    SetRgb(cr, kRed);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    RoundedRect(cr, w + 4, 10, 3, h - 20, 1.5);
    SetRgb(cr, kRed);
    cairo_fill(cr);
}

// Battery gauge: the body (frame) and the level fill share one size, so the
// fill's first columns line up with the body's inside.
void BatteryBody(cairo_t* cr, const SkinImage& img) {
    RoundedRect(cr, 1, 1, img.width - 6, img.height - 2, 3);
    SetRgb(cr, kText, 0.9);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_rectangle(cr, img.width - 4.5, img.height / 2.0 - 3, 3, 6);
    SetRgb(cr, kText, 0.9);
    cairo_fill(cr);
}

void BatteryLevel(cairo_t* cr, const SkinImage& img) {
    cairo_rectangle(cr, 3, 3, img.width - 10, img.height - 6);
    SetRgb(cr, kGreen, 0.85);
    cairo_fill(cr);
}

void ChargeBolt(cairo_t* cr, const SkinImage& img) {
    const double w = img.width;
    const double h = img.height;
    cairo_move_to(cr, w * 0.62, 0.5);
    cairo_line_to(cr, w * 0.1, h * 0.56);
    cairo_line_to(cr, w * 0.48, h * 0.56);
    cairo_line_to(cr, w * 0.36, h - 0.5);
    cairo_line_to(cr, w * 0.9, h * 0.42);
    cairo_line_to(cr, w * 0.52, h * 0.42);
    cairo_close_path(cr);
    SetRgb(cr, 0xFFC83C);
    cairo_fill(cr);
}

// The multi-colour swatch: a rainbow sweep.
void Colourful(cairo_t* cr, const SkinImage& img) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, img.width, img.height);
    const double stops[][3] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}};
    for (int i = 0; i < 6; ++i) {
        cairo_pattern_add_color_stop_rgb(p, i / 5.0, stops[i][0], stops[i][1], stops[i][2]);
    }
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
}

// The colour wheel: hue by angle (0 at the right, counter-clockwise),
// saturation by distance from the centre, full value; transparent outside.
void ColourWheel(cairo_t* cr, const SkinImage& img) {
    cairo_surface_t* target = cairo_get_target(cr);
    cairo_surface_flush(target);
    auto* data = cairo_image_surface_get_data(target);
    const int stride = cairo_image_surface_get_stride(target);
    const double cx = img.width / 2.0;
    const double cy = img.height / 2.0;
    const double radius = std::min(cx, cy);
    for (int y = 0; y < img.height; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < img.width; ++x) {
            const double dx = x + 0.5 - cx;
            const double dy = cy - (y + 0.5);
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r > radius) {
                row[x] = 0;
                continue;
            }
            const auto rgb = WheelColour(std::atan2(dy, dx) * 180 / M_PI, r / radius);
            // Soften the rim over its last pixel.
            const double a = std::clamp(radius - r, 0.0, 1.0);
            const auto premul = [a](std::uint32_t c) {
                return static_cast<std::uint32_t>(std::lround(c * a));
            };
            row[x] = premul(255) << 24 | premul(rgb >> 16 & 0xFF) << 16 |
                     premul(rgb >> 8 & 0xFF) << 8 | premul(rgb & 0xFF);
        }
    }
    cairo_surface_mark_dirty(target);
}

} // namespace

std::uint32_t WheelColour(double hueDegrees, double saturation) {
    double h = std::fmod(hueDegrees, 360.0);
    if (h < 0) {
        h += 360.0;
    }
    const double s = std::clamp(saturation, 0.0, 1.0);
    const double c = s;
    const double hp = h / 60.0;
    const double x = c * (1 - std::fabs(std::fmod(hp, 2.0) - 1));
    double r = 0;
    double g = 0;
    double b = 0;
    if (hp < 1) {
        r = c, g = x;
    } else if (hp < 2) {
        r = x, g = c;
    } else if (hp < 3) {
        g = c, b = x;
    } else if (hp < 4) {
        g = x, b = c;
    } else if (hp < 5) {
        r = x, b = c;
    } else {
        r = c, b = x;
    }
    const double m = 1 - c;
    const auto byte = [m](double v) {
        return static_cast<std::uint32_t>(std::lround((v + m) * 255));
    };
    return byte(r) << 16 | byte(g) << 8 | byte(b);
}

const std::vector<SkinImage>& WidgetSkinTable() {
    static const std::vector<SkinImage> table = {
        {Folder::Skin, "img_customkey.png", 144, 28, 4, FunctionKeyCells},
        {Folder::Skin, "icon/icon_pc.png", 20, 20, 1, IconPc},
        {Folder::Skin, "icon/icon_cal.png", 20, 20, 1, IconCalculator},
        {Folder::Skin, "icon/icon_email.png", 20, 20, 1, IconEmail},
        {Folder::Skin, "icon/icon_playpause.png", 20, 20, 1, IconPlayPause},
        {Folder::Skin, "icon/icon_pre.png", 20, 20, 1, IconPrevious},
        {Folder::Skin, "icon/icon_next.png", 20, 20, 1, IconNext},
        {Folder::Skin, "icon/icon_vol_down.png", 20, 20, 1, IconVolumeDown},
        {Folder::Skin, "icon/icon_vol_up.png", 20, 20, 1, IconVolumeUp},
        {Folder::Skin, "icon/icon_vol_mute.png", 20, 20, 1, IconMute},
        {Folder::Skin, "icon/icon_home.png", 20, 20, 1, IconHome},
        {Folder::Skin, "icon/icon_web_search.png", 20, 20, 1, IconSearch},
        {Folder::Skin, "icon/icon_circle.png", 32, 16, 2, RowMark},
        {Folder::Skin, "img_device_state.png", 120, 38, 2, DeviceRow},
        {Folder::Skin, "icon/icon_battery_bkg.png", 40, 20, 1, BatteryBody},
        {Folder::Skin, "icon/icon_batteryvalue.png", 40, 20, 1, BatteryLevel},
        {Folder::Skin, "icon/icon_charge.png", 12, 20, 1, ChargeBolt},
        {Folder::Skin, "btn_colorful.png", 24, 24, 1, Colourful},
        {Folder::Skin, "img_circlepalette.png", 140, 140, 1, ColourWheel},
    };
    return table;
}

} // namespace kovrin::skin
