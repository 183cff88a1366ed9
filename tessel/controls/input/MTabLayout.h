#pragma once
// A page container for a tab control. A point belongs to it only where one
// of its children is, so presses on empty page area reach the window.

#include "tessel/MPanel.h"

namespace Tessel {

class MTabLayout : public MPanel {
public:
    MTabLayout(MObject* parent, UINT id, CRect rect, int visible)
        : MPanel(parent, id, rect, visible, 1, 1) {}

    int OnCheckMouseResponse(UINT flags, CPoint pt) override;
};

} // namespace Tessel
