// The slider's value from the pointer and back, the scroll bars' thumb
// arithmetic, and the edge cases where either has no room to work with.

#include "ControlsSupport.h"

#include "tessel/MScroll.h"
#include "tessel/controls/standard/MSlider.h"

using namespace tessel_test;

namespace {

using SliderTest = ControlsTest;

TEST_F(SliderTest, ValueFromThePointerAndBack) {
    Open(400, 200);
    // 236 wide with the default 36-pixel thumb: 200 pixels of free track.
    auto* s = Make<MSlider>("MSlider", 75, CRect(50, 50, 286, 106));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetMinProgress(), 0);
    EXPECT_EQ(s->GetMaxProgress(), 10);
    struct Case {
        int x; // from the control's left
        int value;
    };
    // value = (x - left) * (max - min + 1) / free: the top value comes 18
    // pixels before the end of the free track.
    for (const Case& c : {Case{0, 0}, Case{18, 0}, Case{19, 1}, Case{100, 5}, Case{181, 9},
                          Case{182, 10}, Case{199, 10}, Case{235, 10}}) {
        EXPECT_EQ(s->ValueAt(50 + c.x), c.value) << c.x;
    }
    struct Back {
        int value;
        int offset;
    };
    for (const Back& b : {Back{0, 0}, Back{5, 100}, Back{10, 200}}) {
        s->SetProgress(b.value);
        EXPECT_EQ(s->ThumbOffset(), b.offset) << b.value;
    }
    // SetProgress: limited to the maximum; negative and unchanged values ignored.
    EXPECT_EQ(s->SetProgress(25), 10);
    EXPECT_EQ(s->SetProgress(-3), 10);
    s->SetMinProgress(2);
    EXPECT_EQ(s->SetProgress(1), 2);
}

TEST_F(SliderTest, DragSendsScrollAndReleaseAndWheelSendClicked) {
    Open(400, 200);
    auto* s = Make<MSlider>("MSlider", 75, CRect(50, 50, 286, 106));
    ASSERT_NE(s, nullptr);
    ui.MoveTo(dlg, 60, 60);
    EXPECT_TRUE(s->IsHover());
    ui.Press(dlg, 60, 60); // on the thumb (value 0, offset 0): value stays 0, drag starts
    EXPECT_TRUE(s->IsDragging());
    EXPECT_TRUE(dlg.notes.empty());
    ui.MoveTo(dlg, 150, 60);
    ui.MoveTo(dlg, 151, 60); // same value: no second notice
    ui.MoveTo(dlg, 500, 60); // past the end: the maximum
    ui.Release(dlg, 500, 60);
    EXPECT_EQ(
        NotesOf(75),
        (std::vector<Note>{{75, CN_SCROLL, 5, 0}, {75, CN_SCROLL, 10, 0}, {75, CN_CLICKED, 0, 0}}));
    EXPECT_FALSE(s->IsDragging());
    dlg.notes.clear();
    // A press off the thumb jumps to the pointer without dragging.
    ui.Click(dlg, 110, 60);
    EXPECT_EQ(s->GetProgress(), 3);
    EXPECT_EQ(CodesOf(75), (std::vector<UINT>{CN_SCROLL, CN_CLICKED}));
    dlg.notes.clear();
    ui.Wheel(dlg, -120, 110, 60); // toward the user: down
    EXPECT_EQ(s->GetProgress(), 2);
    ui.Wheel(dlg, 120, 110, 60);
    ui.Wheel(dlg, 120, 110, 60);
    EXPECT_EQ(s->GetProgress(), 4);
    EXPECT_EQ(CodesOf(75), (std::vector<UINT>{CN_CLICKED, CN_CLICKED, CN_CLICKED}));
}

TEST_F(SliderTest, NoDivisionByZero) {
    Open(400, 200);
    // Empty range, a track no wider than the thumb, no rectangle yet.
    auto* flat = Make<MSlider>("MSlider", 1, CRect(10, 10, 200, 60));
    auto* narrow = Make<MSlider>("MSlider", 2, CRect(10, 70, 40, 120));
    auto* none = Make<MSlider>("MSlider", 3, CRect());
    ASSERT_TRUE(flat && narrow && none);
    flat->SetMinProgress(4);
    flat->SetMaxProgress(4);
    EXPECT_EQ(flat->GetProgress(), 4);
    EXPECT_EQ(flat->ThumbOffset(), 0);
    EXPECT_EQ(flat->ValueAt(150), 4);
    narrow->SetProgress(7);
    EXPECT_EQ(narrow->ThumbOffset(), 0);
    EXPECT_EQ(narrow->ValueAt(30), 0);
    EXPECT_EQ(none->ThumbOffset(), 0);
    ui.Click(dlg, 100, 30);
    ui.Click(dlg, 20, 90);
    ui.Wheel(dlg, 120, 100, 30);
    EXPECT_EQ(flat->GetProgress(), 4);
}

TEST_F(SliderTest, ThumbAndTrackShowTheirCells) {
    Open(400, 200);
    auto* s = Make<MSlider>("MSlider", 75, CRect(50, 50, 286, 106));
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->SetImage("img_slider_back.png", 1), 1);
    ASSERT_TRUE(s->SetThumbImage("img_thumb.png"));
    s->SetProgress(5); // thumb at offset 100
    ui.Pump();
    // The thumb's middle, normal then hovered; the filled track left of the
    // thumb, the empty track right of it.
    EXPECT_PRED2(Same, ui.Rgb(dlg, 50 + 100 + 18, 50 + 18), SkinRgb("img_thumb.png", 18, 18));
    const std::uint32_t filled = ui.Rgb(dlg, 50 + 60, 50 + 15 + 3);
    const std::uint32_t empty = ui.Rgb(dlg, 50 + 180, 50 + 15 + 3);
    EXPECT_GT(filled >> 16, 0x90u) << std::hex << filled; // red
    EXPECT_PRED2(Same, empty, SkinRgb("img_slider_back.png", 150, 9));
    ui.MoveTo(dlg, 50 + 100 + 18, 50 + 18);
    EXPECT_PRED2(Same, ui.Rgb(dlg, 50 + 100 + 18, 50 + 18), SkinRgb("img_thumb.png", 36 + 18, 18));
    s->SetEnabled(0);
    ui.Pump();
    EXPECT_PRED2(Same, ui.Rgb(dlg, 50 + 100 + 18, 50 + 18),
                 SkinRgb("img_thumb.png", 3 * 36 + 18, 18));
}

using ScrollTest = ControlsTest;

TEST_F(ScrollTest, ThumbLengthPositionAndDrag) {
    Open(400, 400);
    auto* bar = new CScrollVertical(&dlg, 1, CRect(380, 0, 387, 200), 1);
    dlg.AddControl(bar);
    bar->SetScrollMaxRange(1000);
    // Page: the height (200 × 10 is not below 1000); thumb max(page/range ×
    // track, 100) = 100.
    EXPECT_EQ(bar->GetThumbRect().Height(), 100);
    bar->SetRect(CRect(380, 0, 387, 120));
    EXPECT_EQ(bar->GetThumbRect().Height(), 70); // a short track: track - 50
    bar->SetRect(CRect(380, 0, 387, 200));
    bar->SetScrollCurrentPos(500);
    EXPECT_EQ(bar->GetThumbRect().top, 50);
    bar->SetScrollFinalPos();
    EXPECT_EQ(bar->GetThumbRect().bottom, 200);
    EXPECT_TRUE(bar->IsNeeded());
    // Dragging the thumb by 25 pixels from the top: 25 × 1000 / 100.
    bar->SetScrollCurrentPos(0);
    ui.Press(dlg, 383, 10);
    EXPECT_TRUE(bar->IsChangeing());
    ui.MoveTo(dlg, 383, 35);
    ui.Release(dlg, 383, 35);
    EXPECT_EQ(bar->GetScrollCurrentPos(), 250);
    EXPECT_EQ(NotesOf(1), (std::vector<Note>{{1, CN_SCROLL, 250, 0}}));
    // ScrollRow moves by the line step, clamped.
    EXPECT_TRUE(bar->ScrollRow(3));
    EXPECT_EQ(bar->GetScrollCurrentPos(), 280);
    EXPECT_TRUE(bar->ScrollRow(-100));
    EXPECT_FALSE(bar->ScrollRow(-1));
    EXPECT_EQ(bar->GetScrollCurrentPos(), 0);
}

TEST_F(ScrollTest, NoDivisionByZero) {
    Open(400, 400);
    struct Case {
        CRect rect;
        int range;
    };
    // No layout yet, an empty range, a track shorter than any thumb.
    for (const Case& c : {Case{CRect(), 1000}, Case{CRect(0, 0, 7, 200), 0},
                          Case{CRect(0, 0, 7, 30), 1000}, Case{CRect(0, 0, 7, 1), 5}}) {
        auto* bar = new CScrollVertical(&dlg, 1, c.rect, 1);
        dlg.AddControl(bar);
        bar->SetScrollMaxRange(c.range);
        bar->SetScrollCurrentPos(c.range / 2);
        bar->SetArrowSize(20);
        bar->SetScrollSize(0, 10);
        const CRect thumb = bar->GetThumbRect();
        if (!thumb.IsRectEmpty()) {
            EXPECT_GE(thumb.top, c.rect.top);
            EXPECT_LE(thumb.bottom, c.rect.bottom);
        }
        ui.Press(dlg, 3, c.rect.top + 1);
        ui.MoveTo(dlg, 3, c.rect.top + 50);
        ui.Release(dlg, 3, c.rect.top + 50);
        EXPECT_GE(bar->GetScrollCurrentPos(), 0);
        EXPECT_LE(bar->GetScrollCurrentPos(), c.range);
        dlg.GetPaintManager().RemoveControl(bar);
    }
}

} // namespace
