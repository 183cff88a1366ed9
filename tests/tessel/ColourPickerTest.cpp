// The colour swatches and their groups, and the colour wheel.

#include "WidgetSupport.h"

#include "tessel/controls/colour/CColorButton.h"
#include "tessel/controls/colour/CirclePalette.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tessel_test;

namespace {

class ColourTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dlg.Open(640, 400));
        dlg.ShowWindow(SW_SHOW);
    }
    void TearDown() override { dlg.DestroyWindow(); }

    CColorButton* Swatch(MObject* parent, UINT id, CRect r, const std::string& group,
                         COLORREF colour) {
        CColorButton* b = nullptr;
        if (auto* panel = dynamic_cast<MPanel*>(parent)) {
            b = dynamic_cast<CColorButton*>(panel->CreateControl("CColorButton", id, r, "", 1, 1));
        } else {
            b = dynamic_cast<CColorButton*>(dlg.CreateControl("CColorButton", id, r, "", 1, 1));
        }
        EXPECT_NE(b, nullptr);
        b->SetGroupName(group);
        b->SetColor(colour);
        return b;
    }

    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
    TestDialog dlg;
};

TEST_F(ColourTest, SwatchesOfAGroupBehaveLikeRadioButtons) {
    auto* red = Swatch(&dlg, 84, CRect(20, 20, 44, 44), "IDC_LIGHT_STC_COLORS", RGB(255, 0, 0));
    auto* green = Swatch(&dlg, 85, CRect(50, 20, 74, 44), "IDC_LIGHT_STC_COLORS", RGB(0, 255, 0));
    auto* blue = Swatch(&dlg, 86, CRect(80, 20, 104, 44), "IDC_LIGHT_STC_COLORS", RGB(0, 0, 255));
    auto* other = Swatch(&dlg, 93, CRect(20, 60, 44, 84), "IDC_LIGHT_STC_COLORSS", RGB(9, 9, 9));
    EXPECT_STREQ(red->GetClassNameW(), "ColorButton");
    other->SetCheck(1);
    EXPECT_EQ(green->SetCheck(1), 1);
    EXPECT_EQ(other->GetCheck(), 1); // another group

    ui.MoveTo(dlg, 30, 30);
    ui.Click(dlg, 30, 30);
    EXPECT_EQ(dlg.notes, (std::vector<Note>{{84, CN_PRESSED, 0, 0}, {84, CN_CLICKED, 0, 0}}));
    EXPECT_EQ(red->GetCheck(), 1);
    EXPECT_EQ(green->GetCheck(), 0);
    EXPECT_EQ(blue->GetCheck(), 0);
    EXPECT_EQ(other->GetCheck(), 1);
    // A checked swatch shows its pressed look while the mouse is elsewhere.
    ui.MoveTo(dlg, 300, 300);
    EXPECT_EQ(red->ShownCell(), 2);
    EXPECT_EQ(ui.Rgb(dlg, 21, 32), 0xF5F5F5u);             // the outline
    EXPECT_EQ(ui.Rgb(dlg, 32, 32), 0xFF0000u);             // the colour
    EXPECT_EQ(ui.Rgb(dlg, 51, 32), ui.Rgb(dlg, 300, 300)); // no outline on a plain swatch
    EXPECT_EQ(ui.Rgb(dlg, 53, 32), 0x00FF00u);

    // Disabled: SetCheck changes nothing; SetControlCheck still does.
    blue->SetEnabled(0);
    EXPECT_EQ(blue->SetCheck(1), 0);
    EXPECT_EQ(blue->GetCheck(), 0);
    blue->SetControlCheck(1);
    EXPECT_EQ(blue->GetCheck(), 1);
    EXPECT_EQ(red->GetCheck(), 1); // left alone
    // A disabled partner keeps its check when the group is reset.
    green->SetCheck(1);
    EXPECT_EQ(red->GetCheck(), 0);
    EXPECT_EQ(blue->GetCheck(), 1);
    // Disabled swatches take no press.
    dlg.notes.clear();
    ui.Click(dlg, 90, 30);
    EXPECT_TRUE(dlg.notes.empty());
}

TEST_F(ColourTest, GroupsDoNotReachIntoOtherParents) {
    auto* a = Swatch(&dlg, 117, CRect(20, 20, 44, 44), "G", RGB(1, 2, 3));
    auto* panel = new MPanel(&dlg, 70, CRect(200, 0, 600, 200), 1);
    dlg.AddControl(panel);
    auto* b = Swatch(panel, 118, CRect(220, 20, 244, 44), "G", RGB(4, 5, 6));
    b->SetCheck(1);
    a->SetCheck(1);
    EXPECT_EQ(b->GetCheck(), 1);
    auto* hidden = Swatch(&dlg, 119, CRect(50, 20, 74, 44), "G", RGB(7, 8, 9));
    hidden->SetCheck(1); // unchecks a
    EXPECT_EQ(a->GetCheck(), 0);
    hidden->SetVisible(0);
    a->SetCheck(1);
    EXPECT_EQ(hidden->GetCheck(), 1);
    CColorButton loose(nullptr, 1, CRect(0, 0, 10, 10), 1, 1);
    EXPECT_EQ(loose.ResetGroupCheck(), 0);
}

TEST_F(ColourTest, HoverOutlineAndTheColourfulImage) {
    auto* plain = Swatch(&dlg, 94, CRect(20, 20, 44, 44), "P", RGB(0, 0, 255));
    auto* colourful = Swatch(&dlg, 95, CRect(60, 20, 84, 44), "P", RGB(0, 0, 255));
    ASSERT_EQ(colourful->SetImage("btn_colorful.png", 1), 1);
    auto* bordered = Swatch(&dlg, 96, CRect(100, 20, 124, 44), "Q", RGB(255, 255, 255));
    bordered->SetVisibleBorder(true);
    ui.Pump();
    EXPECT_EQ(ui.Rgb(dlg, 21, 32), ui.Rgb(dlg, 300, 300)); // no outline yet
    ui.MoveTo(dlg, 30, 30);
    EXPECT_EQ(plain->GetState(), 1);
    EXPECT_EQ(ui.Rgb(dlg, 21, 32), 0xF5F5F5u);
    ui.MoveTo(dlg, 300, 300);
    EXPECT_EQ(ui.Rgb(dlg, 21, 32), ui.Rgb(dlg, 300, 300));
    // The image replaces the fill: red at one corner, magenta at the other.
    EXPECT_TRUE(NearRgb(ui.Rgb(dlg, 60, 20), 0xFF0000, 0x40));
    EXPECT_TRUE(NearRgb(ui.Rgb(dlg, 83, 43), 0xFF00FF, 0x40));
    EXPECT_EQ(ui.Rgb(dlg, 100, 20), 0xEBEBEBu);
    EXPECT_EQ(ui.Rgb(dlg, 101, 21), 0x050505u);
    EXPECT_EQ(ui.Rgb(dlg, 112, 32), 0xFFFFFFu);
}

// Hue in degrees of a COLORREF.
double Hue(COLORREF c) {
    const double r = GetRValue(c) / 255.0;
    const double g = GetGValue(c) / 255.0;
    const double b = GetBValue(c) / 255.0;
    const double mx = std::max({r, g, b});
    const double mn = std::min({r, g, b});
    const double d = mx - mn;
    if (d <= 0) {
        return 0;
    }
    double h = 0;
    if (mx == r) {
        h = std::fmod((g - b) / d, 6.0);
    } else if (mx == g) {
        h = (b - r) / d + 2;
    } else {
        h = (r - g) / d + 4;
    }
    h *= 60;
    return h < 0 ? h + 360 : h;
}

double HueDistance(double a, double b) {
    const double d = std::fabs(a - b);
    return std::min(d, 360 - d);
}

class WheelTest : public ColourTest {
protected:
    void SetUp() override {
        ColourTest::SetUp();
        wheel = dynamic_cast<CirclePalette*>(
            dlg.CreateControl("CirclePalette", 107, CRect(100, 100, 240, 240), "", 1, 1));
        ASSERT_NE(wheel, nullptr);
        ASSERT_EQ(wheel->SetImage("img_circlepalette.png", 1), 1);
        ui.Pump();
    }
    std::vector<Note> Codes(UINT code) const {
        std::vector<Note> out;
        for (const Note& n : dlg.notes) {
            if (n.code == code) {
                out.push_back(n);
            }
        }
        return out;
    }
    CPoint At(double degrees, double radius) const {
        const double a = degrees * M_PI / 180;
        return {170 + static_cast<int>(std::lround(radius * std::cos(a))),
                170 - static_cast<int>(std::lround(radius * std::sin(a)))};
    }
    CirclePalette* wheel = nullptr;
};

TEST_F(WheelTest, PressesAtKnownAnglesPickTheirHues) {
    EXPECT_EQ(wheel->GetSelectColor(), 0x0000FFu);
    EXPECT_EQ(wheel->GetThumbRect(), CRect(200, 130, 210, 140));
    for (const double angle : {0.0, 60.0, 120.0, 180.0, 240.0, 300.0, 30.0, 200.0}) {
        const CPoint p = At(angle, 55);
        dlg.notes.clear();
        ui.MoveTo(dlg, p.x, p.y);
        ui.Click(dlg, p.x, p.y);
        const COLORREF c = wheel->GetSelectColor();
        EXPECT_LT(HueDistance(Hue(c), angle), 4.0) << angle << " gave " << Hue(c);
        // Near the rim: strongly saturated.
        const int lo = std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
        EXPECT_LT(lo, 80) << angle;
        EXPECT_EQ(Codes(CN_COLOR), (std::vector<Note>{{107, CN_COLOR, 0, static_cast<LPARAM>(c)}}));
        EXPECT_EQ(Codes(CN_CLICKED),
                  (std::vector<Note>{{107, CN_CLICKED, 0, static_cast<LPARAM>(c)}}));
        EXPECT_EQ(wheel->GetThumbRect(), CRect(p.x - 5, p.y - 5, p.x + 5, p.y + 5));
    }
    // The centre is white.
    ui.Click(dlg, 170, 170);
    const COLORREF centre = wheel->GetSelectColor();
    EXPECT_GT(std::min({GetRValue(centre), GetGValue(centre), GetBValue(centre)}), 230u);
}

TEST_F(WheelTest, TheColourComesFromTheWheelNotFromWhatIsDrawnOverIt) {
    // Where the thumb's white ring is drawn now (its top edge).
    const CRect thumb = wheel->GetThumbRect();
    const CPoint ring(thumb.left + 4, thumb.top);
    ui.Pump();
    COLORREF expected = 0;
    ASSERT_TRUE(wheel->ColourAt(ring, expected));
    const std::uint32_t wheel_rgb =
        GetRValue(expected) << 16 | GetGValue(expected) << 8 | GetBValue(expected);
    EXPECT_FALSE(NearRgb(ui.Rgb(dlg, ring.x, ring.y), wheel_rgb, 0x30)); // the ring shows there
    ui.Click(dlg, ring.x, ring.y);
    const COLORREF c = wheel->GetSelectColor();
    EXPECT_EQ(c, expected);
    const double angle = std::atan2(170.0 - ring.y, ring.x - 170.0) * 180 / M_PI;
    EXPECT_LT(HueDistance(Hue(c), angle < 0 ? angle + 360 : angle), 5.0);
}

TEST_F(WheelTest, OutOfReachAndSmallDragsChangeNothing) {
    // 70 pixels from the centre: no move, yet the release reports the colour.
    const CPoint far = At(90, 70);
    ui.Click(dlg, far.x, far.y);
    EXPECT_TRUE(Codes(CN_COLOR).empty());
    EXPECT_EQ(Codes(CN_CLICKED), (std::vector<Note>{{107, CN_CLICKED, 0, 0x0000FF}}));
    EXPECT_EQ(wheel->GetThumbRect(), CRect(200, 130, 210, 140));
    EXPECT_EQ(wheel->GetDistanse(far), 70);

    // A press on the thumb's centre grabs it without moving it.
    dlg.notes.clear();
    ui.MoveTo(dlg, 205, 135);
    ui.Press(dlg, 205, 135);
    EXPECT_EQ(wheel->GetState(), 2);
    EXPECT_TRUE(Codes(CN_COLOR).empty());
    ui.MoveTo(dlg, 208, 135);
    EXPECT_TRUE(Codes(CN_COLOR).empty());
    ui.MoveTo(dlg, 211, 135);
    ASSERT_EQ(Codes(CN_COLOR).size(), 1u);
    COLORREF expected = 0;
    ASSERT_TRUE(wheel->ColourAt(CPoint(211, 135), expected));
    EXPECT_EQ(Codes(CN_COLOR)[0].lParam, static_cast<LPARAM>(expected));
    ui.Release(dlg, 211, 135);
    EXPECT_EQ(wheel->GetState(), 1);
    EXPECT_EQ(Codes(CN_CLICKED).size(), 1u);

    // A new rectangle puts the thumb back to its start.
    wheel->SetRect(CRect(300, 100, 440, 240));
    EXPECT_EQ(wheel->GetThumbRect(), CRect(400, 130, 410, 140));
}

} // namespace
