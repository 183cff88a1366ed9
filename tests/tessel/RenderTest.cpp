#include "tessel/HeadlessSession.h"
#include "tessel/MRender.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Tessel;

namespace {

constexpr Color kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00,
                kWhite = 0xFFFFFFFF, kCyan = 0xFF00FFFF, kMagenta = 0xFFFF00FF, kGray = 0xFF808080,
                kOrange = 0xFFFF8000;

// An image of solid blocks: the colour of each block is given row by row.
ImagePtr Blocks(const std::vector<std::vector<Color>>& rows, const std::vector<int>& widths,
                const std::vector<int>& heights) {
    int w = 0;
    int h = 0;
    for (int x : widths) {
        w += x;
    }
    for (int y : heights) {
        h += y;
    }
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    int y = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        int x = 0;
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            MRender::FillSolidRect(cr, CRect(x, y, x + widths[c], y + heights[r]), rows[r][c]);
            x += widths[c];
        }
        y += heights[r];
    }
    cairo_destroy(cr);
    auto image = std::make_shared<Image>();
    image->AddFrame(s);
    return image;
}

// Nine blocks: corners 10 × 10 around a 10 × 10 centre.
ImagePtr NineGrid() {
    return Blocks({{kRed, kGreen, kBlue}, {kYellow, kWhite, kCyan}, {kMagenta, kGray, kOrange}},
                  {10, 10, 10}, {10, 10, 10});
}

// Bounding box of the pixels with any alpha.
CRect Ink(const Bitmap& b) {
    CRect r(b.Width(), b.Height(), 0, 0);
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            if ((b.Pixel(x, y) >> 24) != 0) {
                r = CRect(std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
                          std::max(r.bottom, y + 1));
            }
        }
    }
    return r;
}

class RenderTest : public ::testing::Test {
protected:
    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
};

TEST_F(RenderTest, NineGridKeepsCornersAndStretchesEdgesAndCentre) {
    Bitmap b(140, 90);
    const ImagePtr img = NineGrid();
    MRender::DrawImageFrame(b.Context(), img.get(), CRect(10, 10, 130, 80), 0, 0, 30, 30, 10);
    struct Probe {
        int x, y;
        Color expected;
    };
    const Probe probes[] = {
        {10, 10, kRed},     {19, 19, kRed},     {70, 12, kGreen},   {129, 10, kBlue},
        {120, 19, kBlue},   {12, 45, kYellow},  {70, 45, kWhite},   {20, 20, kWhite},
        {119, 69, kWhite},  {125, 45, kCyan},   {10, 79, kMagenta}, {70, 75, kGray},
        {129, 79, kOrange}, {120, 70, kOrange}, {9, 9, 0},          {130, 80, 0},
    };
    for (const Probe& p : probes) {
        EXPECT_EQ(b.Pixel(p.x, p.y), p.expected) << p.x << "," << p.y;
    }
}

TEST_F(RenderTest, NineGridWithSeparateMargins) {
    // Margins 5, 10, 5, 10 of a 30 × 30 cell: the left column of the top-left
    // corner is 5 wide, so pixel 6 of the top row belongs to the top edge.
    Bitmap b(100, 100);
    const ImagePtr img = NineGrid();
    MRender::DrawImageFrameMID(b.Context(), img.get(), CRect(0, 0, 100, 100), 0, 0, 30, 30, 5, 10,
                               5, 10);
    EXPECT_EQ(b.Pixel(2, 2), kRed);
    EXPECT_EQ(b.Pixel(97, 97), kOrange);
    EXPECT_EQ(b.Pixel(50, 50), kWhite);
}

TEST_F(RenderTest, NineGridLargerThanItsDestinationSkipsEmptyPatchesAndDrawsTheRest) {
    // Corners of 25 in a 40 × 40 destination leave the edges and centre with
    // negative sizes: they are skipped and every corner (drawn after them) shows.
    Bitmap b(40, 40);
    const ImagePtr img =
        Blocks({{kRed, kGreen, kBlue}, {kYellow, kWhite, kCyan}, {kMagenta, kGray, kOrange}},
               {25, 10, 25}, {25, 10, 25});
    MRender::DrawImageFrame(b.Context(), img.get(), CRect(0, 0, 40, 40), 0, 0, 60, 60, 25);
    EXPECT_EQ(cairo_status(b.Context()), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(b.Pixel(0, 0), kRed);
    EXPECT_EQ(b.Pixel(0, 39), kMagenta);
    EXPECT_EQ(b.Pixel(39, 0), kBlue);
    EXPECT_EQ(b.Pixel(39, 39), kOrange); // the last patch still drawn
    // The later corners overlap the earlier ones.
    EXPECT_EQ(b.Pixel(20, 20), kOrange);
    // A corner of 0 draws only the stretched centre.
    Bitmap c(20, 20);
    MRender::DrawImageFrame(c.Context(), img.get(), CRect(0, 0, 20, 20), 25, 25, 10, 10, 0);
    EXPECT_EQ(c.Pixel(0, 0), kWhite);
    EXPECT_EQ(c.Pixel(19, 19), kWhite);
}

TEST_F(RenderTest, StripCellsAreSelectedByIndex) {
    const ImagePtr strip = Blocks({{kRed, kGreen, kBlue, kGray}}, {8, 8, 8, 8}, {8});
    struct Case {
        int cell;
        int count;
        Color expected;
    };
    const Case cases[] = {
        {0, 4, kRed},  {1, 4, kGreen}, {2, 4, kBlue},
        {3, 4, kGray}, {9, 4, kGray}, // beyond the last cell: the last one
        {-3, 4, kRed},
    };
    for (const Case& c : cases) {
        Bitmap b(16, 16);
        MRender::DrawImageCell(b.Context(), strip.get(), c.cell, c.count, CRect(0, 0, 16, 16));
        EXPECT_EQ(b.Pixel(0, 0), c.expected) << c.cell;
        EXPECT_EQ(b.Pixel(15, 15), c.expected) << c.cell; // scaled, no bleeding
    }
    // A count of 0 (or below) counts as 1: the whole strip is the cell.
    for (int count : {0, -2}) {
        Bitmap b(32, 8);
        MRender::DrawImageCell(b.Context(), strip.get(), 0, count, CRect(0, 0, 32, 8));
        EXPECT_EQ(b.Pixel(1, 4), kRed);
        EXPECT_EQ(b.Pixel(30, 4), kGray);
    }
}

TEST_F(RenderTest, TransparencyRampAlphas) {
    const int expected[10] = {255, 229, 204, 178, 153, 127, 102, 76, 51, 25};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(MRender::TransitionAlpha(i, 10, 0, 100), expected[i]) << i;
    }
    EXPECT_EQ(MRender::TransitionAlpha(3, 10, 50, 50), 127);
    // Transparency beyond 100 % wraps around, modulo 256.
    EXPECT_EQ(MRender::TransitionAlpha(0, 10, 200, 200), 1);

    // White rows blended onto nothing carry exactly those alphas.
    Bitmap src(4, 10);
    MRender::FillSolidRect(src.Context(), CRect(0, 0, 4, 10), kWhite);
    src.Flush();
    Bitmap dst(4, 10);
    const int last = MRender::DrawVerticalTransition(
        dst.Context(), src.Surface(), CRect(0, 0, 4, 10), CRect(0, 0, 4, 10), 0, 100);
    EXPECT_EQ(last, 25);
    for (int i = 0; i < 10; ++i) {
        const std::uint32_t a = static_cast<std::uint32_t>(expected[i]);
        EXPECT_EQ(dst.Pixel(2, i), a << 24 | a << 16 | a << 8 | a) << i;
    }
    Bitmap h(10, 2);
    MRender::DrawHorizontalTransition(h.Context(), src.Surface(), CRect(0, 0, 10, 2),
                                      CRect(0, 0, 4, 2), 0, 100);
    EXPECT_EQ(h.Pixel(0, 0) >> 24, 255u);
    EXPECT_EQ(h.Pixel(3, 1) >> 24, 178u);
    EXPECT_EQ(h.Pixel(5, 1), 0u); // the source is only 4 columns wide
}

TEST_F(RenderTest, TextStaysInsideItsRectangle) {
    const FontChoice font{"Arial", 14, 0};
    struct Case {
        std::string text;
        TextFormat format;
        CRect rect;
    };
    TextFormat ellipsis;
    ellipsis.ellipsis = true;
    TextFormat wrap;
    wrap.wrap = true;
    TextFormat centred;
    centred.align = 1;
    centred.valign = 4;
    const Case cases[] = {
        {"Hello Tessel", {}, CRect(20, 20, 180, 44)},
        {"A text far too long for the narrow box it is given", ellipsis, CRect(10, 10, 110, 34)},
        {"A text far too long for the narrow box it is given", {}, CRect(10, 10, 110, 34)},
        {"A text far too long for one line, so it wraps", wrap, CRect(10, 10, 110, 110)},
        {"Mid", centred, CRect(0, 0, 200, 120)},
        {"<b>not markup</b> &amp;", {}, CRect(0, 0, 200, 30)},
    };
    for (const Case& c : cases) {
        Bitmap b(240, 140);
        MRender::DrawText(b.Context(), c.text, font, c.rect, kWhite, c.format);
        const CRect ink = Ink(b);
        ASSERT_FALSE(ink.IsRectEmpty()) << c.text;
        EXPECT_GE(ink.left, c.rect.left) << c.text;
        EXPECT_GE(ink.top, c.rect.top) << c.text;
        EXPECT_LE(ink.right, c.rect.right) << c.text;
        EXPECT_LE(ink.bottom, c.rect.bottom) << c.text;
    }
}

TEST_F(RenderTest, TextAlignmentWrapAndEllipsisShapeTheInk) {
    const FontChoice font{"Arial", 14, 0};
    const CRect rect(0, 0, 200, 100);
    auto ink_of = [&](const std::string& text, TextFormat f, CRect r) {
        Bitmap b(220, 200);
        MRender::DrawText(b.Context(), text, font, r, kWhite, f);
        return Ink(b);
    };
    TextFormat centre;
    centre.align = 1;
    centre.valign = 4;
    const CRect c = ink_of("Centre", centre, rect);
    EXPECT_NEAR(c.left - rect.left, rect.right - c.right, 3);
    EXPECT_NEAR(c.top - rect.top, rect.bottom - c.bottom, 6);
    TextFormat right;
    right.align = 2;
    right.valign = 8;
    const CRect r = ink_of("Right", right, rect);
    EXPECT_GE(r.right, rect.right - 3);
    EXPECT_GE(r.bottom, rect.bottom - 6);

    const std::string long_text = "one two three four five six seven eight nine ten";
    TextFormat wrap;
    wrap.wrap = true;
    const CRect one_line = ink_of("one", {}, CRect(0, 0, 100, 200));
    const CRect wrapped = ink_of(long_text, wrap, CRect(0, 0, 100, 200));
    EXPECT_GT(wrapped.Height(), 3 * one_line.Height());
    TextFormat dots;
    dots.ellipsis = true;
    const CRect cut = ink_of(long_text, dots, CRect(0, 0, 100, 30));
    EXPECT_LE(cut.right, 100);
    EXPECT_GT(cut.right, 80); // the line runs up to the ellipsis at the end
}

TEST_F(RenderTest, TextBoundsCoverTheInk) {
    const FontChoice font{"Arial", 14, 0};
    const CSize bounds = MRender::GetTextBounds(font, {}, "Bounds");
    Bitmap b(200, 60);
    MRender::DrawText(b.Context(), "Bounds", font, CRect(0, 0, 200, 60), kWhite);
    const CRect ink = Ink(b);
    EXPECT_GE(bounds.cx + 1, ink.Width());
    EXPECT_LE(bounds.cx, ink.Width() + 2);
    EXPECT_GE(bounds.cy, ink.Height());
    // Wider fonts and bold text measure wider.
    EXPECT_GT(MRender::GetTextBounds({"Arial", 28, 0}, {}, "Bounds").cx, bounds.cx);
    EXPECT_GT(MRender::GetTextBounds({"Arial", 14, FontStyleBold}, {}, "Bounds").cx, bounds.cx);
}

TEST_F(RenderTest, RoundRectangleLeavesCornersOpenAndFillsInside) {
    Bitmap b(60, 40);
    MRender::DrawRoundRectange(b.Context(), 0, 0, 60, 40, 2, kRed, 1, true, kBlue);
    EXPECT_EQ(b.Pixel(0, 0), 0u);
    EXPECT_EQ(b.Pixel(30, 20), kBlue);
    EXPECT_EQ(b.Pixel(30, 0) & 0xFF000000, 0xFF000000u); // the outline on the top edge
    EXPECT_EQ(MRender::CheckAlphaColor(0xFF000000), 0xFF000001u);
    EXPECT_EQ(MRender::CheckAlphaColor(0xFF000100), 0xFF000100u);
}

} // namespace
