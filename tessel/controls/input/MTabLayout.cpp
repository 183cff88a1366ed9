#include "tessel/controls/input/MTabLayout.h"

#include "tessel/MScroll.h"

namespace Tessel {

int MTabLayout::OnCheckMouseResponse(UINT, CPoint pt) {
    CPoint shifted = pt;
    OnMousePointChange(shifted);
    int hit = 0;
    ForEachChild(1, [&](MControl* c) {
        const bool bar = c == vscroll_ || c == hscroll_;
        if (c->IsVisible() && c->GetRresponse() && c->PtInRect(bar ? pt : shifted)) {
            hit = 1;
        }
        return hit == 0;
    });
    return hit;
}

} // namespace Tessel
