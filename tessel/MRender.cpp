#include "tessel/MRender.h"

#include "tessel/FontRegistry.h"

#include <pango/pangocairo.h>

#include <cmath>

namespace Tessel {
namespace {

// Draws src (a rectangle of the surface) scaled onto dst. Edges are padded
// from the rectangle itself, so neighbouring cells never bleed in.
void Blit(cairo_t* cr, cairo_surface_t* surface, double sx, double sy, double sw, double sh,
          double dx, double dy, double dw, double dh, double alpha = 1.0) {
    if (surface == nullptr || sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) {
        return;
    }
    cairo_surface_t* part = cairo_surface_create_for_rectangle(surface, sx, sy, sw, sh);
    cairo_save(cr);
    cairo_rectangle(cr, dx, dy, dw, dh);
    cairo_clip(cr);
    cairo_translate(cr, dx, dy);
    const bool same = dw == sw && dh == sh;
    if (!same) {
        cairo_scale(cr, dw / sw, dh / sh);
    }
    cairo_set_source_surface(cr, part, 0, 0);
    cairo_pattern_t* pattern = cairo_get_source(cr);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, same ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    if (alpha >= 1.0) {
        cairo_paint(cr);
    } else {
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_restore(cr);
    cairo_surface_destroy(part);
}

// The caller holds the registry's lock.
PangoLayout* NewLayout(FontRegistry& fonts, const FontChoice& font) {
    PangoLayout* layout = pango_layout_new(fonts.Context());
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, fonts.Resolve(font.name).c_str());
    pango_font_description_set_absolute_size(desc, std::max(1, font.size) * PANGO_SCALE);
    pango_font_description_set_weight(
        desc, (font.style & FontStyleBold) != 0 ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(
        desc, (font.style & FontStyleItalic) != 0 ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    if ((font.style & (FontStyleUnderline | FontStyleStrikeout)) != 0) {
        PangoAttrList* attrs = pango_attr_list_new();
        if ((font.style & FontStyleUnderline) != 0) {
            pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        }
        if ((font.style & FontStyleStrikeout) != 0) {
            pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
        }
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
    }
    return layout;
}

} // namespace

void MRender::SetSource(cairo_t* cr, Color c) {
    cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                          (c & 0xFF) / 255.0, ((c >> 24) & 0xFF) / 255.0);
}

void MRender::DrawImage(cairo_t* cr, const Image* image, int x, int y, int frame) {
    if (image == nullptr || image->FrameCount() == 0) {
        return;
    }
    Blit(cr, image->Surface(frame), 0, 0, image->Width(), image->Height(), x, y, image->Width(),
         image->Height());
}

void MRender::DrawImage(cairo_t* cr, const Image* image, const CRect& dst, const CRect& src,
                        double alpha, int frame) {
    if (image == nullptr || image->FrameCount() == 0) {
        return;
    }
    CRect s;
    if (!s.IntersectRect(src, CRect(0, 0, image->Width(), image->Height()))) {
        return;
    }
    Blit(cr, image->Surface(frame), s.left, s.top, s.Width(), s.Height(), dst.left, dst.top,
         dst.Width(), dst.Height(), alpha);
}

void MRender::DrawImageCell(cairo_t* cr, const Image* image, int cell, int count,
                            const CRect& dst) {
    if (image == nullptr) {
        return;
    }
    count = std::max(count, 1);
    cell = std::clamp(cell, 0, count - 1);
    const int w = image->Width() / count;
    if (w <= 0) {
        return;
    }
    DrawImage(cr, image, dst, CRect(cell * w, 0, cell * w + w, image->Height()));
}

void MRender::DrawImageFrame(cairo_t* cr, const Image* image, const CRect& dst, int sx, int sy,
                             int sw, int sh, int corner) {
    DrawImageFrameMID(cr, image, dst, sx, sy, sw, sh, corner, corner, corner, corner);
}

void MRender::DrawImageFrameMID(cairo_t* cr, const Image* image, const CRect& dst, int sx, int sy,
                                int sw, int sh, int l, int t, int r, int b) {
    if (image == nullptr || image->FrameCount() == 0) {
        return;
    }
    cairo_surface_t* s = image->Surface();
    const int dl = dst.left;
    const int dt = dst.top;
    const int dw = dst.Width();
    const int dh = dst.Height();
    struct Patch {
        int sx, sy, sw, sh, dx, dy, dw, dh;
    };
    // Source rectangles beyond the image are clipped by Blit's sub-surface;
    // patches with no size are skipped rather than drawn.
    const Patch patches[9] = {
        {sx, sy, l, t, dl, dt, l, t},                                             // top-left
        {sx, sy + t, l, sh - t - b, dl, dt + t, l, dh - t - b},                   // left
        {sx, sy + sh - b, l, b, dl, dt + dh - b, l, b},                           // bottom-left
        {sx + l, sy, sw - l - r, t, dl + l, dt, dw - l - r, t},                   // top
        {sx + sw - r, sy, r, t, dl + dw - r, dt, r, t},                           // top-right
        {sx + sw - r, sy + t, r, sh - t - b, dl + dw - r, dt + t, r, dh - t - b}, // right
        {sx + sw - r, sy + sh - b, r, b, dl + dw - r, dt + dh - b, r, b},         // bottom-right
        {sx + l, sy + sh - b, sw - l - r, b, dl + l, dt + dh - b, dw - l - r, b}, // bottom
        {sx + l, sy + t, sw - l - r, sh - t - b, dl + l, dt + t, dw - l - r, dh - t - b}, // centre
    };
    for (const Patch& p : patches) {
        if (p.sw <= 0 || p.sh <= 0 || p.dw <= 0 || p.dh <= 0) {
            continue;
        }
        CRect src;
        if (!src.IntersectRect(CRect(p.sx, p.sy, p.sx + p.sw, p.sy + p.sh),
                               CRect(0, 0, image->Width(), image->Height()))) {
            continue;
        }
        Blit(cr, s, src.left, src.top, src.Width(), src.Height(), p.dx, p.dy, p.dw, p.dh);
    }
}

void MRender::DrawImageTiled(cairo_t* cr, const Image* image, const CRect& dst) {
    if (image == nullptr || image->FrameCount() == 0 || dst.IsRectEmpty()) {
        return;
    }
    cairo_save(cr);
    cairo_rectangle(cr, dst.left, dst.top, dst.Width(), dst.Height());
    cairo_clip(cr);
    cairo_set_source_surface(cr, image->Surface(), dst.left, dst.top);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_REPEAT);
    cairo_paint(cr);
    cairo_restore(cr);
}

int MRender::TransitionAlpha(int i, int n, int startPercent, int endPercent) {
    const int a0 = 255 * (100 - startPercent) / 100;
    const int a1 = 255 * (100 - endPercent) / 100;
    if (n <= 0) {
        return ((a0 % 256) + 256) % 256;
    }
    const int a = static_cast<int>(a0 + static_cast<double>(i) * (a1 - a0) / n);
    return ((a % 256) + 256) % 256;
}

int MRender::DrawVerticalTransition(cairo_t* dst, cairo_surface_t* src, const CRect& dstRect,
                                    const CRect& srcRect, int startPercent, int endPercent) {
    const int n = dstRect.Height();
    int alpha = 0;
    for (int i = 0; i < n && i < srcRect.Height(); ++i) {
        alpha = TransitionAlpha(i, n, startPercent, endPercent);
        Blit(dst, src, srcRect.left, srcRect.top + i, srcRect.Width(), 1, dstRect.left,
             dstRect.top + i, dstRect.Width(), 1, alpha / 255.0);
    }
    return alpha;
}

int MRender::DrawHorizontalTransition(cairo_t* dst, cairo_surface_t* src, const CRect& dstRect,
                                      const CRect& srcRect, int startPercent, int endPercent) {
    const int n = dstRect.Width();
    int alpha = 0;
    for (int i = 0; i < n && i < srcRect.Width(); ++i) {
        alpha = TransitionAlpha(i, n, startPercent, endPercent);
        Blit(dst, src, srcRect.left + i, srcRect.top, 1, srcRect.Height(), dstRect.left + i,
             dstRect.top, 1, dstRect.Height(), alpha / 255.0);
    }
    return alpha;
}

void MRender::FillSolidRect(cairo_t* cr, const CRect& rect, Color color) {
    if (rect.IsRectEmpty()) {
        return;
    }
    cairo_save(cr);
    SetSource(cr, color);
    cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_fill(cr);
    cairo_restore(cr);
}

void MRender::FillSolidRect(cairo_t* cr, const CRect& rect, COLORREF color, int alpha) {
    FillSolidRect(cr, rect,
                  (static_cast<Color>(std::clamp(alpha, 0, 255)) << 24) |
                      (ColorRefToArgb(color) & 0x00FFFFFF));
}

void MRender::ClearRect(cairo_t* cr, const CRect& rect) {
    if (rect.IsRectEmpty()) {
        return;
    }
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_fill(cr);
    cairo_restore(cr);
}

void MRender::DrawRectangle(cairo_t* cr, const CRect& rect, Color color, int width) {
    if (rect.IsRectEmpty() || width <= 0) {
        return;
    }
    cairo_save(cr);
    SetSource(cr, color);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
    if (rect.Width() > 2 * width && rect.Height() > 2 * width) {
        cairo_rectangle(cr, rect.left + width, rect.top + width, rect.Width() - 2 * width,
                        rect.Height() - 2 * width);
    }
    cairo_fill(cr);
    cairo_restore(cr);
}

void MRender::DrawLine(cairo_t* cr, int x1, int y1, int x2, int y2, Color color, double width) {
    cairo_save(cr);
    SetSource(cr, color);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    // Pixel centres, so one-pixel lines cover whole pixels.
    cairo_move_to(cr, x1 + 0.5, y1 + 0.5);
    cairo_line_to(cr, x2 + 0.5, y2 + 0.5);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void MRender::DrawGradient(cairo_t* cr, const CRect& rect, Color from, Color to, bool vertical) {
    if (rect.IsRectEmpty()) {
        return;
    }
    cairo_pattern_t* p = vertical ? cairo_pattern_create_linear(0, rect.top, 0, rect.bottom)
                                  : cairo_pattern_create_linear(rect.left, 0, rect.right, 0);
    auto stop = [p](double at, Color c) {
        cairo_pattern_add_color_stop_rgba(p, at, ((c >> 16) & 0xFF) / 255.0,
                                          ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                                          ((c >> 24) & 0xFF) / 255.0);
    };
    stop(0, from);
    stop(1, to);
    cairo_save(cr);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(p);
}

void MRender::DrawRoundRectange(cairo_t* cr, int x, int y, int w, int h, int k, Color penColor,
                                double penWidth, bool fill, Color fillColor) {
    if (w <= 0 || h <= 0) {
        return;
    }
    double rx = k > 0 ? static_cast<double>(w) / k / 2 : 0;
    double ry = k > 0 ? static_cast<double>(h) / k / 2 : 0;
    if (std::abs(rx - ry) > 10) {
        rx = ry = std::min(rx, ry);
    }
    rx = std::min(rx, w / 2.0);
    ry = std::min(ry, h / 2.0);
    auto corner = [cr](double cx, double cy, double ex, double ey, double start) {
        if (ex <= 0 || ey <= 0) {
            cairo_line_to(cr, cx, cy);
            return;
        }
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, ex, ey);
        cairo_arc(cr, 0, 0, 1, start, start + M_PI / 2);
        cairo_restore(cr);
    };
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, x + rx, y);
    cairo_line_to(cr, x + w - rx, y);
    corner(x + w - rx, y + ry, rx, ry, -M_PI / 2);
    cairo_line_to(cr, x + w, y + h - ry);
    corner(x + w - rx, y + h - ry, rx, ry, 0);
    cairo_line_to(cr, x + rx, y + h);
    corner(x + rx, y + h - ry, rx, ry, M_PI / 2);
    cairo_line_to(cr, x, y + ry);
    corner(x + rx, y + ry, rx, ry, M_PI);
    cairo_close_path(cr);
    if (fill) {
        SetSource(cr, fillColor);
        cairo_fill_preserve(cr);
    }
    if (penWidth > 0) {
        SetSource(cr, penColor);
        cairo_set_line_width(cr, penWidth);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
    cairo_restore(cr);
}

void MRender::DrawText(cairo_t* cr, const std::string& text, const FontChoice& font,
                       const CRect& rect, Color color, const TextFormat& format) {
    if (text.empty() || rect.IsRectEmpty()) {
        return;
    }
    FontRegistry& fonts = FontRegistry::Instance();
    std::lock_guard lock(fonts.Lock());
    PangoLayout* layout = NewLayout(fonts, font);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    const bool sized = format.wrap || format.ellipsis;
    if (sized) {
        pango_layout_set_width(layout, rect.Width() * PANGO_SCALE);
        pango_layout_set_alignment(layout, format.align == 1   ? PANGO_ALIGN_CENTER
                                           : format.align == 2 ? PANGO_ALIGN_RIGHT
                                                               : PANGO_ALIGN_LEFT);
        if (format.wrap) {
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
        }
        if (format.ellipsis) {
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
            if (format.wrap) {
                pango_layout_set_height(layout, rect.Height() * PANGO_SCALE);
            }
        }
    }
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    double x = rect.left;
    if (!sized) {
        if (format.align == 1) {
            x += (rect.Width() - logical.width) / 2.0;
        } else if (format.align == 2) {
            x += rect.Width() - logical.width;
        }
        x = std::floor(x);
    }
    double y = rect.top;
    if (format.valign == 4) {
        y += std::floor((rect.Height() - logical.height) / 2.0);
    } else if (format.valign == 8) {
        y += rect.Height() - logical.height;
    }
    cairo_save(cr);
    cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_clip(cr);
    pango_cairo_update_context(cr, fonts.Context());
    pango_layout_context_changed(layout);
    SetSource(cr, color);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
    g_object_unref(layout);
}

CSize MRender::GetTextBounds(const FontChoice& font, const TextFormat&, const std::string& text) {
    FontRegistry& fonts = FontRegistry::Instance();
    std::lock_guard lock(fonts.Lock());
    PangoLayout* layout = NewLayout(fonts, font);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    PangoRectangle ink;
    PangoRectangle logical;
    pango_layout_get_extents(layout, &ink, &logical);
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    PangoRectangle line;
    pango_layout_iter_get_line_extents(iter, nullptr, &line);
    pango_layout_iter_free(iter);
    g_object_unref(layout);
    const double line_height = static_cast<double>(line.height) / PANGO_SCALE;
    const int width = static_cast<int>(std::ceil(static_cast<double>(ink.width) / PANGO_SCALE));
    const int height = line_height == std::floor(line_height) ? static_cast<int>(line_height) + 1
                                                              : static_cast<int>(line_height + 4);
    return {width, height};
}

CSize MRender::MeasureText(const FontChoice& font, const std::string& text, int maxWidth) {
    FontRegistry& fonts = FontRegistry::Instance();
    std::lock_guard lock(fonts.Lock());
    PangoLayout* layout = NewLayout(fonts, font);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    if (maxWidth > 0) {
        pango_layout_set_width(layout, maxWidth * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    return {logical.width, logical.height};
}

std::vector<int> MRender::GetCharOffsets(const FontChoice& font, const std::string& text) {
    FontRegistry& fonts = FontRegistry::Instance();
    std::lock_guard lock(fonts.Lock());
    PangoLayout* layout = NewLayout(fonts, font);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    std::vector<int> out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) {
            continue; // inside a character
        }
        PangoRectangle pos;
        pango_layout_index_to_pos(layout, static_cast<int>(i), &pos);
        out.push_back(PANGO_PIXELS(pos.x));
    }
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    out.push_back(out.empty() ? 0 : std::max(logical.width, out.back()));
    if (!out.empty()) {
        out.front() = 0;
    }
    g_object_unref(layout);
    return out;
}

} // namespace Tessel
