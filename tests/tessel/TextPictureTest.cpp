// Labels, pictures and the animated picture.

#include "ControlsSupport.h"

#include "tessel/controls/standard/CGifPicture.h"
#include "tessel/controls/standard/MPicture.h"
#include "tessel/controls/standard/MText.h"

using namespace tessel_test;

namespace {

using TextPictureTest = ControlsTest;

// Columns of the rectangle holding any pixel other than the background.
std::vector<int> InkColumns(const HeadlessSession& ui, const MWindow& w, CRect r,
                            std::uint32_t back) {
    std::vector<int> cols;
    for (int x = r.left; x < r.right; ++x) {
        for (int y = r.top; y < r.bottom; ++y) {
            if (ui.Rgb(w, x, y) != back) {
                cols.push_back(x);
                break;
            }
        }
    }
    return cols;
}

TEST_F(TextPictureTest, MarkTextIsDrawnInItsColourAndAMissingOneIsPlain) {
    Open();
    auto* marked = Make<MText>("MText", 1, CRect(10, 10, 390, 40), "Press Fn and F1");
    auto* plain = Make<MText>("MText", 2, CRect(10, 50, 390, 80), "Press Fn and F1");
    auto* missing = Make<MText>("MText", 3, CRect(10, 90, 390, 120), "Press Fn and F1");
    ASSERT_TRUE(marked && plain && missing);
    EXPECT_FALSE(marked->IsEnabled()); // labels are built disabled
    marked->SetMarkText("Fn", 0xFFED801B, 0);
    missing->SetMarkText("Ctrl", 0xFFED801B, 0);
    ui.Pump();
    const auto orange = [&](CRect r) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                n += Near(ui.Rgb(dlg, x, y), 0xED801B, 40);
            }
        }
        return n;
    };
    EXPECT_GT(orange(marked->GetRect()), 10);
    EXPECT_EQ(orange(missing->GetRect()), 0);
    // The missing mark draws exactly the plain title.
    const auto a = InkColumns(ui, dlg, CRect(10, 50, 390, 80), kBack);
    const auto b = InkColumns(ui, dlg, CRect(10, 90, 390, 120), kBack);
    EXPECT_EQ(a, b);
    // The marked title is spread: 2 pixels before and after the match.
    const auto m = InkColumns(ui, dlg, CRect(10, 10, 390, 40), kBack);
    ASSERT_FALSE(m.empty());
    ASSERT_FALSE(a.empty());
    EXPECT_NEAR(m.back(), a.back() + 4, 1);
    // A start index after the match: no mark.
    marked->SetMarkText("Fn", 0xFFED801B, 8);
    ui.Pump();
    EXPECT_EQ(orange(marked->GetRect()), 0);
}

TEST_F(TextPictureTest, TitlesAreShownAsPlainText) {
    Open();
    auto* markup = Make<MText>("MText", 1, CRect(10, 10, 390, 40), "<b>x</b> &amp;");
    auto* plain = Make<MText>("MText", 2, CRect(10, 50, 390, 80), "x &");
    ASSERT_TRUE(markup && plain);
    ui.Pump();
    // The tags and the entity are drawn as they stand, not interpreted.
    const auto tagged = InkColumns(ui, dlg, CRect(10, 10, 390, 40), kBack);
    const auto bare = InkColumns(ui, dlg, CRect(10, 50, 390, 80), kBack);
    ASSERT_FALSE(tagged.empty());
    ASSERT_FALSE(bare.empty());
    EXPECT_GT(tagged.back() - tagged.front(), 3 * (bare.back() - bare.front()));
}

TEST_F(TextPictureTest, BackShadowAndWrapping) {
    Open();
    auto* t = Make<MText>("MText", 1, CRect(10, 10, 110, 90), "one two three four five six");
    ASSERT_NE(t, nullptr);
    t->EnableTextBack(1, 0xFF203040);
    ui.Pump();
    EXPECT_EQ(ui.Rgb(dlg, 12, 12), 0x203040u);
    // One line is clipped at the right; several lines wrap inside.
    const auto rows_with_ink = [&] {
        int rows = 0;
        for (int y = 10; y < 90; ++y) {
            for (int x = 10; x < 110; ++x) {
                if (ui.Rgb(dlg, x, y) != 0x203040u) {
                    ++rows;
                    break;
                }
            }
        }
        return rows;
    };
    const int single = rows_with_ink();
    t->EnableMultiLine(1);
    ui.Pump();
    EXPECT_GE(rows_with_ink(), single * 2); // two lines
    t->EnableShadow(1, 0xFF000000);
    ui.Pump();
    bool black = false;
    for (int y = 10; y < 90 && !black; ++y) {
        for (int x = 10; x < 110 && !black; ++x) {
            black = ui.Rgb(dlg, x, y) == 0;
        }
    }
    EXPECT_TRUE(black);
}

TEST_F(TextPictureTest, PictureShowModes) {
    Open(400, 300);
    auto* p = Make<MPicture>("MPicture", 30, CRect(20, 20, 120, 80));
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->GetRresponse());                   // pictures take no mouse input
    ASSERT_EQ(p->SetImage("logo\\logo.png", 1), 1);    // 48 × 48
    EXPECT_EQ(p->SetShowMode(SHOW_MODE_NORMAL, 4), 0); // unchanged
    p->SetAlignment(1, 4);
    ui.Pump();
    // Own size, centred: (20 + 26, 20 + 6).
    EXPECT_PRED2(Same, ui.Rgb(dlg, 46 + 24, 26 + 24), SkinRgb("logo/logo.png", 24, 24));
    EXPECT_EQ(ui.Rgb(dlg, 35, 50), kBack);
    EXPECT_EQ(p->SetShowMode(SHOW_MODE_TILE, 4), 1);
    ui.Pump();
    EXPECT_PRED2(Same, ui.Rgb(dlg, 20 + 48 + 24, 20 + 5), SkinRgb("logo/logo.png", 24, 5));
    p->SetShowMode(SHOW_MODE_STRETCH, 4);
    ui.Pump();
    EXPECT_NE(ui.Rgb(dlg, 35, 50), kBack); // now spread over the whole control
    p->SetShowMode(SHOW_MODE_CUSTOM, 4);
    p->SetCustomRect(CRect(20, 20, 28, 28)); // the inside of the mark only
    ui.Pump();
    EXPECT_PRED2(Same, ui.Rgb(dlg, 21, 21), SkinRgb("logo/logo.png", 20, 20));
    EXPECT_PRED2(Same, ui.Rgb(dlg, 118, 78), SkinRgb("logo/logo.png", 27, 27));
}

TEST_F(TextPictureTest, GifAdvancesEveryFifthTickAndRefusesStillImages) {
    Open(400, 300);
    dlg.SetMTimer(10);
    auto* still = Make<CGifPicture>("CGifPicture", 1, CRect(10, 10, 58, 58));
    auto* gif = Make<CGifPicture>("CGifPicture", 30, CRect(100, 10, 200, 110));
    ASSERT_TRUE(still && gif);
    ASSERT_EQ(still->SetImage("logo\\logo.png", 1), 1);
    EXPECT_EQ(still->GetFrameCount(), 1);
    EXPECT_EQ(still->SetRunState(1, 0), 0);
    EXPECT_FALSE(still->IsAnimate());
    ASSERT_EQ(gif->SetImage("loading.gif", 1), 1);
    EXPECT_EQ(gif->GetFrameCount(), 12);
    EXPECT_EQ(gif->SetRunState(1, 3), 1);
    EXPECT_EQ(gif->GetFrame(), 3);
    ui.Advance(40); // four ticks
    EXPECT_EQ(gif->GetFrame(), 3);
    ui.Advance(10);
    EXPECT_EQ(gif->GetFrame(), 4);
    ui.Advance(8 * 50);
    EXPECT_EQ(gif->GetFrame(), 0); // wraps
    // The leading dot at the top of the ring in frame 0.
    ui.Pump();
    EXPECT_TRUE(Near(ui.Rgb(dlg, 150, 10 + 18), 0xE0202F, 30)) << std::hex << ui.Rgb(dlg, 150, 28);
    gif->SetVisible(0);
    ui.Advance(100);
    EXPECT_EQ(gif->GetFrame(), 0); // hidden: no ticks
    gif->SetVisible(1);
    gif->SetRunState(0, 0);
    ui.Advance(100);
    EXPECT_EQ(gif->GetFrame(), 0);
}

} // namespace
