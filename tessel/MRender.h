#pragma once
// Drawing primitives every control uses, on cairo and pango: images whole,
// by state cell, stretched and as nine-grids; fills, frames, lines, rounded
// rectangles and alpha ramps; plain text with alignment, ellipsis and word
// wrap, and text measurement. All operations take a cairo context whose
// target is an image surface.

#include "tessel/Image.h"
#include "tessel/TesselTypes.h"

#include <cairo.h>

#include <string>
#include <vector>

namespace Tessel {

// Controls draw through a cairo context on the window's back buffer.
using HDC = cairo_t*;

// Font style bits.
inline constexpr int FontStyleBold = 1;
inline constexpr int FontStyleItalic = 2;
inline constexpr int FontStyleUnderline = 4;
inline constexpr int FontStyleStrikeout = 8;

struct FontChoice {
    std::string name = "Arial";
    int size = 14; // pixels
    int style = 0;
};

// Horizontal 0 left, 1 centre, 2 right; vertical 0 top, 4 centre, 8 bottom.
struct TextFormat {
    unsigned align = 0;
    unsigned valign = 0;
    bool wrap = false;     // break lines at words to fit the width
    bool ellipsis = false; // end a line that does not fit with "…"
};

class MRender {
public:
    static ImagePtr LoadImageFromFile(const std::string& path) { return LoadImageFile(path); }

    // The image (or one frame of it) at its own size.
    static void DrawImage(cairo_t* cr, const Image* image, int x, int y, int frame = 0);
    // Source rectangle of the image scaled onto the destination rectangle.
    static void DrawImage(cairo_t* cr, const Image* image, const CRect& dst, const CRect& src,
                          double alpha = 1.0, int frame = 0);
    // Cell `cell` of an image of `count` equal cells side by side (a count of
    // 0 or below counts as 1; a cell out of range is the last one), scaled
    // onto dst.
    static void DrawImageCell(cairo_t* cr, const Image* image, int cell, int count,
                              const CRect& dst);
    // Nine-grid of the source cell onto dst with square corners.
    static void DrawImageFrame(cairo_t* cr, const Image* image, const CRect& dst, int sx, int sy,
                               int sw, int sh, int corner);
    // Nine-grid with four margins. Patches that would have no size are skipped.
    static void DrawImageFrameMID(cairo_t* cr, const Image* image, const CRect& dst, int sx, int sy,
                                  int sw, int sh, int left, int top, int right, int bottom);
    // The image tiled from the top-left corner of dst, clipped to it.
    static void DrawImageTiled(cairo_t* cr, const Image* image, const CRect& dst);

    // Alpha of row (or column) i of n for a ramp from startPercent to endPercent
    // transparency: A0 + i × (A1 − A0) / n, modulo 256.
    static int TransitionAlpha(int i, int n, int startPercent, int endPercent);
    // Copies src (its srcRect) onto dstRect of dst with the ramp applied per
    // row (vertical) or column (horizontal). Returns the last alpha used.
    static int DrawVerticalTransition(cairo_t* dst, cairo_surface_t* src, const CRect& dstRect,
                                      const CRect& srcRect, int startPercent, int endPercent);
    static int DrawHorizontalTransition(cairo_t* dst, cairo_surface_t* src, const CRect& dstRect,
                                        const CRect& srcRect, int startPercent, int endPercent);

    // Solid fills (ARGB, blended over what is there) and replacing fills.
    static void FillSolidRect(cairo_t* cr, const CRect& rect, Color color);
    static void FillSolidRect(cairo_t* cr, const CRect& rect, COLORREF color, int alpha);
    static void ClearRect(cairo_t* cr, const CRect& rect);
    // A frame of `width` pixels inside the rectangle.
    static void DrawRectangle(cairo_t* cr, const CRect& rect, Color color, int width = 1);
    static void DrawLine(cairo_t* cr, int x1, int y1, int x2, int y2, Color color,
                         double width = 1.0);
    static void DrawGradient(cairo_t* cr, const CRect& rect, Color from, Color to, bool vertical);
    // Rounded rectangle of roundness divisor k (radii w / k / 2 and h / k / 2).
    static void DrawRoundRectange(cairo_t* cr, int x, int y, int w, int h, int k, Color penColor,
                                  double penWidth, bool fill, Color fillColor);

    // Plain text (never markup) in rect, clipped to it.
    static void DrawText(cairo_t* cr, const std::string& text, const FontChoice& font,
                         const CRect& rect, Color color, const TextFormat& format = {});
    // Width: the text's ink width rounded up; height: the line height + 1, or
    // + 4 when the line height has a fraction, truncated.
    static CSize GetTextBounds(const FontChoice& font, const TextFormat& format,
                               const std::string& text);
    // Logical size of the text laid out in one line, or wrapped at maxWidth.
    static CSize MeasureText(const FontChoice& font, const std::string& text, int maxWidth = -1);
    // The x offsets of the character boundaries of the text laid out in one
    // line: one value per code point start plus the end (the first is 0).
    static std::vector<int> GetCharOffsets(const FontChoice& font, const std::string& text);

    // A value whose colour bits are all zero gets 1 added.
    static Color CheckAlphaColor(Color c) { return (c & 0x00FFFFFF) == 0 ? c + 1 : c; }
    static void SetSource(cairo_t* cr, Color c);
};

} // namespace Tessel
