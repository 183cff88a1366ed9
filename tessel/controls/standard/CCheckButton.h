#pragma once
// A check box. A click toggles the check and sends CN_CLICKED (0, 0); Space
// while focused toggles it and sends CN_CHECK (0, new check).

#include "tessel/controls/standard/MCheckBase.h"

namespace Tessel {

class CCheckButton : public MCheckBase {
public:
    CCheckButton(MObject* parent, UINT id, CRect rect, const char* title, int visible, int enabled)
        : MCheckBase(parent, id, rect, title, visible, enabled) {}

    // Sets the check (0 or 1) and returns it; a disabled box keeps its check.
    int SetCheck(int check);

protected:
    int OnClick() override { return check_ != 0 ? 0 : 1; }
    void OnSpace() override;
};

} // namespace Tessel
