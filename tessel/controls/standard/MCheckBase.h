#pragma once
// What check boxes and radio buttons share: eight looks (normal, hover,
// pressed, disabled, each with the check off and then on), an image of eight
// cells drawn unscaled at the left with the title beside it, the mouse state
// machine, and Space while focused.

#include "tessel/MControlFont.h"

namespace Tessel {

class MCheckBase : public MControlFont {
public:
    MCheckBase(MObject* parent, UINT id, CRect rect, const char* title, int visible, int enabled);

    void DrawControl(HDC& dc, CRect clip) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlKeyDown(UINT key, UINT repeat, UINT modifier) override;
    void SetControlEnabled(int enabled) override;

    int GetCheck() const { return check_; }
    // 0..3 with the check off, 4..7 with it on: normal, hover, pressed, disabled.
    int GetState() const { return state_; }

protected:
    // A release inside after a press; returns the check to show.
    virtual int OnClick() = 0;
    // Space while focused.
    virtual void OnSpace() = 0;
    // Sets the check and the matching resting state; repaints when the look changed.
    void ApplyCheck(int check);
    void SetLook(int look); // 0 normal, 1 hover, 2 pressed, 3 disabled

    int check_ = 0;
    int state_ = 0;
};

} // namespace Tessel
