#pragma once
// A picture in one of six show modes: own size placed by the alignment,
// tiled, stretched, nine-grid with square corners, nine-grid with four
// margins, or a part of the image stretched over the control.

#include "tessel/MControlFont.h"

namespace Tessel {

enum enumShowMode {
    SHOW_MODE_NORMAL = 0,
    SHOW_MODE_TILE = 1,
    SHOW_MODE_STRETCH = 2,
    SHOW_MODE_FRAME = 3,
    SHOW_MODE_FRAME_MID = 4,
    SHOW_MODE_CUSTOM = 5,
};

class MPicture : public MControlFont {
public:
    MPicture(MObject* parent, UINT id, CRect rect, int visible, int enabled);

    void DrawControl(HDC& dc, CRect clip) override;

    // Returns 1 when something changed (and repaints), else 0.
    int SetShowMode(enumShowMode mode, int value = 4);
    enumShowMode GetShowMode() const { return mode_; }
    void SetShowModeMID(int left, int top, int right, int bottom);
    // The part of the image mode 5 shows (image coordinates).
    void SetCustomRect(CRect rect);

private:
    enumShowMode mode_ = SHOW_MODE_NORMAL;
    int value_ = 4;
    CRect margins_;
    CRect custom_;
};

} // namespace Tessel
