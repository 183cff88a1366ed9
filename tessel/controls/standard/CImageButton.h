#pragma once
// A button drawn from unscaled image cells with an optional icon centred on
// it; its title is not drawn (it serves as the button's tip).

#include "tessel/controls/standard/MButton.h"

namespace Tessel {

// Where a button shows its title as a balloon while hovered: 0 nowhere,
// 1 at its right edge, 2 at its left edge.
enum AIRBLADDER_MODE { AIRBLADDER_NONE = 0, AIRBLADDER_RIGHT = 1, AIRBLADDER_LEFT = 2 };

class CImageButton : public MButton {
public:
    CImageButton(MObject* parent, UINT id, CRect rect, const char* title, int visible, int enabled);

    void SetAlrBladderMode(AIRBLADDER_MODE mode) { balloon_mode_ = mode; }
    AIRBLADDER_MODE GetAlrBladderMode() const { return balloon_mode_; }

protected:
    void DrawCell(HDC strip, int cell, const CRect& cellRect) override;

private:
    AIRBLADDER_MODE balloon_mode_ = AIRBLADDER_NONE;
};

} // namespace Tessel
