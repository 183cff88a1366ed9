#pragma once
// A bar of tabs, each with an icon, a text and a page container that is
// shown exactly while its tab is selected. Tabs run across (type 0) or down
// (type 1). A press on a tab sends CN_PRESSED_ALT (wParam = index); the
// release over it selects it, which sends CN_CLICKED (wParam = index).

#include "tessel/ImgResInfo.h"
#include "tessel/MControlFont.h"

#include <string>
#include <vector>

namespace Tessel {

enum TAB_TYPE { TAB_TYPE_HORIZONTAL = 0, TAB_TYPE_VERTICAL = 1 };

struct TabItemInfo {
    int visible = 1;
    ImgResInfo* image = nullptr;
    int cellWidth = 0;
    int cellHeight = 0;
    int count = 3;
    CRect rect; // window coordinates; empty while hidden
    std::string text;
    UINT id = 0;
    CRect badge;
    int state = 0; // 0 normal, 1 hover, 2 pressed
    std::string tooltip;
    MControl* page = nullptr;
};

class MTabCtrl : public MControlFont {
public:
    MTabCtrl(MObject* parent, UINT id, CRect rect, int visible, int enabled);

    void DrawControl(HDC& dc, CRect clip) override;
    void SetControlRect(CRect rect) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

    // Appends a tab; the icon comes from the skin folder in `count` cells
    // (-1: 3). Its width is `width`, else the icon cell's, else the item
    // width. Returns the new index.
    int InsertItem(UINT id, const std::string& text, const std::string& iconFile, MControl* page,
                   int count = -1, int width = 0);
    bool DeleteItem(int index);
    int GetItemCount() const { return static_cast<int>(items_.size()); }
    // Null out of range.
    const TabItemInfo* GetItemInfo(int index) const;
    // 0 out of range.
    UINT GetItemID(int index) const;
    bool SetItemText(int index, const std::string& text);
    bool SetItemVisible(int index, int visible);
    int GetItemVisible(int index) const;
    // Ignored when equal to the selection or out of range; returns the
    // selection before.
    int SetSelectItem(int index);
    int GetSelectItem() const { return selected_; }
    int GetHoverItem() const { return hover_; }
    void SetItemWidth(int maximum, int minimum, int refresh = 1);
    void SetItemHeight(int maximum, int minimum, int refresh = 1);
    void SetTabCtrlWidth(int width);
    void SetTabCtrlHeight(int height);
    int GetCtrlWidth() const;
    int GetCtrlHeight() const;
    void SetLeftRightPading(int left, int right);
    void SetTopBottomPading(int top, int bottom);
    void SetTabType(TAB_TYPE type);
    TAB_TYPE GetTabType() const { return type_; }
    // Stored; tab changes are not animated.
    void EnableAnimateChangeTab(int on) { animate_change_ = on != 0; }
    void SetTabTooltip(int index, const std::string& text);
    void ClearTabTooltip();
    // A page container made through the window's factory, with run-timer set.
    MControl* CreatePanel(const char* cls, UINT id, CRect rect);
    // Lays the tabs out and shows the selected tab's page only.
    void RefreshItems();

private:
    int TabAt(CPoint pt) const;
    void ShowPages();
    void DrawStrip(HDC strip, int cell, int w, int h);

    std::vector<TabItemInfo> items_;
    TAB_TYPE type_ = TAB_TYPE_HORIZONTAL;
    int item_w_max_ = 1 << 20;
    int item_w_min_ = 0;
    int item_h_max_ = 1 << 20;
    int item_h_min_ = 0;
    int ctrl_w_ = 0;
    int ctrl_h_ = 0;
    int pad_left_ = 0;
    int pad_right_ = 0;
    int pad_top_ = 0;
    int pad_bottom_ = 0;
    int hover_ = -1;
    int pressed_ = -1;
    int selected_ = -1;
    int previous_ = -1;
    bool animate_change_ = false;
};

} // namespace Tessel
