#include "TestSupport.h"

#include "tessel/ControlFactory.h"
#include "tessel/MPanel.h"
#include "tessel/MScroll.h"
#include "tessel/controls/CArea.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tessel_test;

namespace {

bool Listed(FactoryScope scope, const std::string& name) {
    const auto names = ControlFactory::Names(scope);
    return std::find(names.begin(), names.end(), name) != names.end();
}

class ObjectModelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dlg.Open()); }
    void TearDown() override { dlg.DestroyWindow(); }
    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
    TestDialog dlg;
};

TEST_F(ObjectModelTest, FactoryAcceptsExactlyItsTable) {
    EXPECT_EQ(ControlFactory::Names(FactoryScope::Window).size(), 37u);
    EXPECT_EQ(ControlFactory::Names(FactoryScope::Panel).size(), 40u);
    EXPECT_TRUE(Listed(FactoryScope::Window, "BatteryCtrl"));
    EXPECT_FALSE(Listed(FactoryScope::Panel, "BatteryCtrl"));
    EXPECT_TRUE(Listed(FactoryScope::Panel, "DListBox"));
    EXPECT_FALSE(Listed(FactoryScope::Window, "DListBox"));

    MControl* area = dlg.CreateArea("CArea", 5, CRect(0, 0, 10, 10), "", 1, 1);
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->GetManager(), &dlg.GetPaintManager());
    EXPECT_EQ(area->GetParantObject(), static_cast<MObject*>(&dlg));
    MControl* control = dlg.CreateControl("CArea", 6, CRect(0, 0, 10, 10), "", 1, 1);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(dlg.GetPaintManager().GetAreas(), std::vector<MControl*>{area});
    EXPECT_EQ(dlg.GetControls(), std::vector<MControl*>{control});

    // Wrong case, empty, unknown and not yet built names give null and add nothing.
    for (const char* cls : {"carea", "", "CAREA", "NoSuchControl", "MProgress", "CColorPalette"}) {
        EXPECT_EQ(dlg.CreateControl(cls, 7, CRect(0, 0, 5, 5), "", 1, 1), nullptr) << cls;
        EXPECT_EQ(dlg.CreateArea(cls, 7, CRect(0, 0, 5, 5), "", 1, 1), nullptr) << cls;
    }
    EXPECT_EQ(dlg.CreateControl(nullptr, 7, CRect(), "", 1, 1), nullptr);
    EXPECT_EQ(dlg.GetControls().size(), 1u);
    EXPECT_EQ(dlg.GetPaintManager().GetAreas().size(), 1u);

    // Another layer value builds the control but attaches it nowhere.
    MControl* loose = dlg.GetPaintManager().CreateControl(5, &dlg, "CArea", 8, CRect(), "", 1, 1);
    ASSERT_NE(loose, nullptr);
    EXPECT_EQ(dlg.GetControls().size(), 1u);
    delete loose;
    EXPECT_EQ(dlg.GetControl(6), control);
    EXPECT_EQ(dlg.GetControl(5), area);
}

TEST_F(ObjectModelTest, PanelFactoryAndLookup) {
    auto* panel = new MPanel(&dlg, 20, CRect(0, 0, 100, 100), 1);
    dlg.AddControl(panel);
    EXPECT_EQ(panel->GetScrollVertical()->GetControlID(), 1u);
    EXPECT_EQ(panel->GetScrollHorizontal()->GetControlID(), 2u);
    EXPECT_EQ(panel->GetControls().at(0), panel->GetScrollVertical());
    MControl* inner = panel->CreateControl("CArea", 21, CRect(10, 10, 20, 20), "", 1, 1);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->GetManager(), &dlg.GetPaintManager());
    EXPECT_EQ(inner->GetParantObject(), static_cast<MObject*>(panel));
    EXPECT_EQ(panel->CreateControl("BatteryCtrl", 22, CRect(), "", 1, 1), nullptr);
    EXPECT_EQ(dlg.GetControl(21), inner); // found inside the panel
    EXPECT_TRUE(panel->RemoveControl(inner));
    EXPECT_EQ(dlg.GetControl(21), nullptr);
}

TEST(PositionItem, MapsOntoTheSpan) {
    struct Case {
        FS_POSITION_ITEM item;
        int expected;
    };
    const Case cases[] = {
        {{0, 0, 10.7f}, 110}, {{0, 1, 10.7f}, 189},  {{1, 0, 5.0f}, 155}, {{1, 1, 5.0f}, 145},
        {{2, 0, 25.0f}, 125}, {{2, 0, 150.0f}, 200}, {{3, 0, 1.0f}, 0},   {{-1, 0, 1.0f}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PositionItem2Value(c.item, 100, 200), c.expected)
            << c.item.type << " " << c.item.fromEnd << " " << c.item.value;
    }
}

// Counts the redraw requests its children make.
class Parent : public MObject {
public:
    LRESULT OnControlUpdate(CRect rect, int redraw, MControl*) override {
        requests.push_back({rect, redraw});
        return 0;
    }
    std::vector<std::pair<CRect, int>> requests;
};

TEST(MControlState, RedrawRequestsOnlyWhenSomethingChanges) {
    Parent parent;
    Probe probe(&parent, 3, CRect(10, 10, 20, 20));
    EXPECT_TRUE(probe.IsClass("FSControl"));
    EXPECT_FALSE(probe.IsClass("fscontrol"));
    probe.SetVisible(1);
    probe.SetEnabled(1);
    EXPECT_TRUE(parent.requests.empty());
    probe.SetRect(CRect(30, 30, 40, 40));
    ASSERT_EQ(parent.requests.size(), 1u);
    EXPECT_EQ(parent.requests[0].first, CRect(10, 10, 40, 40));
    EXPECT_EQ(parent.requests[0].second, 1);
    probe.SetVisible(0);
    EXPECT_EQ(parent.requests.size(), 2u);
    probe.SetVisible(1, 0);
    EXPECT_EQ(parent.requests.size(), 2u);
    probe.SetEnabled(0);
    EXPECT_EQ(parent.requests.size(), 3u);
    probe.SetCursorEx("nonsense");
    EXPECT_FALSE(probe.HasCursor());
    probe.SetCursorEx("hand");
    EXPECT_EQ(probe.GetCursorKind(), kovrin::platform::CursorKind::Hand);
}

TEST_F(ObjectModelTest, DialogClassAndParentVisibility) {
    EXPECT_TRUE(dlg.IsClass("MDialog"));
    auto* panel = new MPanel(&dlg, 20, CRect(0, 0, 100, 100), 1);
    dlg.AddControl(panel);
    auto* child = new Probe(panel, 21, CRect(10, 10, 20, 20));
    panel->AttachChild(1, child);
    EXPECT_TRUE(child->IsParentVisible());
    panel->SetVisible(0);
    EXPECT_FALSE(child->IsParentVisible());
}

// Logs the points its moves arrive at.
class PointProbe : public Probe {
public:
    using Probe::Probe;
    int OnControlMouseMove(UINT, CPoint pt) override {
        points.push_back(pt);
        return 0;
    }
    std::vector<CPoint> points;
};

TEST_F(ObjectModelTest, ScrolledPanelShiftsPointsExceptForItsScrollBars) {
    auto* panel = new MPanel(&dlg, 20, CRect(0, 0, 100, 100), 1);
    dlg.AddControl(panel);
    auto* bar_like = new PointProbe(panel, 1, CRect(0, 0, 100, 400));
    auto* content = new PointProbe(panel, 50, CRect(0, 0, 100, 400));
    panel->AttachChild(1, bar_like);
    panel->AttachChild(1, content);
    panel->SetVirtualHeight(400);
    EXPECT_TRUE(panel->GetScrollVertical()->IsVisible());
    panel->GetScrollVertical()->SetScrollCurrentPos(200); // half of the range 400
    EXPECT_EQ(panel->GetScrollOffsetY(), 150);
    panel->OnMouseMove(0, CPoint(50, 60));
    ASSERT_FALSE(bar_like->points.empty());
    ASSERT_FALSE(content->points.empty());
    EXPECT_EQ(bar_like->points.back(), CPoint(50, 60));
    EXPECT_EQ(content->points.back(), CPoint(50, 210));
    // Without scrolling the points pass unchanged.
    panel->SetEnableScroll(0);
    panel->OnMouseMove(0, CPoint(50, 60));
    EXPECT_EQ(content->points.back(), CPoint(50, 60));
}

TEST_F(ObjectModelTest, ScrollBarThumbLengths) {
    CScrollVertical tall(&dlg, 1, CRect(0, 0, 7, 200), 1);
    tall.SetScrollMaxRange(1000);
    EXPECT_EQ(tall.GetThumbRect().Height(), 100);
    CScrollVertical short_bar(&dlg, 1, CRect(0, 0, 7, 120), 1);
    short_bar.SetScrollMaxRange(1000);
    EXPECT_EQ(short_bar.GetThumbRect().Height(), 70);
    EXPECT_TRUE(short_bar.ScrollRow(3));
    EXPECT_EQ(short_bar.GetScrollCurrentPos(), 30);
    EXPECT_TRUE(short_bar.ScrollRow(-10));
    EXPECT_EQ(short_bar.GetScrollCurrentPos(), 0);
    EXPECT_FALSE(short_bar.ScrollRow(-1));
}

} // namespace
