#pragma once
// A colour swatch that behaves like a radio button within its group (the
// swatches of the same parent with the same group name): a press checks it
// and unchecks the others, then sends CN_PRESSED (0, 0); the release inside
// after it sends CN_CLICKED (0, 0). An image set with SetImage replaces the
// colour fill.

#include "tessel/MControlFont.h"

#include <string>

namespace Tessel {

class CColorButton : public MControlFont {
public:
    CColorButton(MObject* parent, UINT id, CRect rect, int visible, int enabled);

    const char* GetClassNameW() const override { return "ColorButton"; }

    // COLORREF.
    void SetColor(COLORREF colour);
    COLORREF GetColor() const { return colour_; }
    // While enabled: checks or unchecks, resetting the group when it changed.
    // Returns the check.
    int SetCheck(int check);
    // The same, enabled or not, leaving the group alone.
    void SetControlCheck(int check);
    int GetCheck() const { return check_; }
    // Unchecks the other enabled, visible swatches of the group; 1, or 0
    // without a parent.
    int ResetGroupCheck();
    void SetGroupName(const std::string& name) { group_ = name; }
    const std::string& GetGroupName() const { return group_; }
    void SetVisibleBorder(bool on);
    int GetState() const { return state_; }
    // The strip cell shown: 2 while checked, else the state.
    int ShownCell() const { return check_ != 0 ? 2 : state_; }

    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    void DrawControl(HDC& dc, CRect clip) override;

    static constexpr Color kHoverOutline = 0xFFF5F5F5;
    static constexpr Color kDisabledOutline = 0xFF808080;

private:
    void DrawCell(cairo_t* cr, int cell);

    int state_ = 0;
    COLORREF colour_ = 0xFFFFFF;
    int check_ = 0;
    bool border_ = false;
    std::string group_;
};

} // namespace Tessel
