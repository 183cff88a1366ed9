#pragma once
// A horizontal slider: a track image of two rows (filled part above, empty
// track below), a thumb of four cells and, optionally, the title and value
// below. Dragging sends CN_SCROLL (wParam = value) at each change; the
// release and the wheel send CN_CLICKED.

#include "tessel/ImgResInfo.h"
#include "tessel/MControlFont.h"

namespace Tessel {

class MSlider : public MControlFont {
public:
    MSlider(MObject* parent, UINT id, CRect rect, int visible, int enabled);

    void DrawControl(HDC& dc, CRect clip) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlScroll(int step, UINT direction, CPoint pt) override;

    // Limited to the range; negative and unchanged values are ignored.
    // Returns the value.
    int SetProgress(int value);
    int GetProgress() const { return value_; }
    void SetMaxProgress(int maximum);
    int GetMaxProgress() const { return max_; }
    void SetMinProgress(int minimum);
    int GetMinProgress() const { return min_; }
    // The thumb (four cells) from the skin folder; false when it cannot be loaded.
    bool SetThumbImage(const char* fileName);
    void SetShowText(int on);
    void SetScale(int scale) { scale_ = scale; }
    int GetScale() const { return scale_; }

    // The thumb's left edge relative to the control.
    int ThumbOffset() const;
    // The value a pointer at window x stands for.
    int ValueAt(int x) const;
    CSize ThumbSize() const;
    bool IsDragging() const { return dragging_; }
    bool IsHover() const { return hover_; }

private:
    bool SetValue(int value); // clamps; true when it changed

    int value_ = 0;
    int min_ = 0;
    int max_ = 10;
    ImgResInfo* thumb_ = nullptr;
    bool show_text_ = true;
    int scale_ = 1;
    bool dragging_ = false;
    bool hover_ = false;
};

} // namespace Tessel
