#pragma once
// One entry of a MenuWnd: its title after the text margin, an optional icon
// in the margin, a hover image or colour behind it while hovered or pressed.
// A release inside after a press sends CN_CLICKED (0, 0). A separator is a
// thin line drawn from its image (or a plain line without one).

#include "tessel/ImgResInfo.h"
#include "tessel/MControlFont.h"

#include <string>

namespace Tessel {

class MenuWnd;

class MenuItem : public MControlFont {
public:
    MenuItem(MObject* parent, UINT id, CRect rect, const char* title, int visible, int enabled);

    const char* GetClassNameW() const override { return "MenuItem"; }
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    void DrawControl(HDC& dc, CRect clip) override;

    int GetCheck() const { return check_; }
    void SetCheck(int check);
    void SetControlCheck(int check) { check_ = check != 0 ? 1 : 0; }
    void SetCheckable(int on) { checkable_ = on != 0; }
    const std::string& GetGroupName() const { return group_; }
    void SetGroupName(const std::string& name) { group_ = name; }
    const std::string& GetValue() const { return value_; }
    void SetValue(const std::string& value) { value_ = value; }
    void SetSeparator(int on);
    bool IsSeparator() const { return separator_; }
    bool IsPopup() const { return popup_ != nullptr; }
    bool IsHover() const { return state_ == 1; }
    int GetState() const { return state_; }
    MenuWnd* GetPopupMenu() const { return popup_; }
    void SetPopupMenu(MenuWnd* menu) { popup_ = menu; }
    void SetFrameWidth(int width);
    void SetTextMargin(int margin);
    int GetTextMargin() const { return margin_; }
    void SetHoverColor(Color color);
    void SetHoverImage(ImgResInfo* image);
    void SetCheckImage(ImgResInfo* image);

private:
    void DrawCell(HDC strip, int cell, const CRect& r);

    int state_ = 0;
    int check_ = 0;
    bool pressed_ = false;
    bool checkable_ = false;
    bool separator_ = false;
    MenuWnd* popup_ = nullptr;
    int margin_ = 30;
    int frame_width_ = 0;
    ImgResInfo* hover_image_ = nullptr;
    ImgResInfo* check_image_ = nullptr;
    std::string group_ = "Menu Group";
    std::string value_;
    Color hover_color_ = 0xFFC95100;
};

} // namespace Tessel
