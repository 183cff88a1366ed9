#pragma once
// The tooltip of a window: a small pop-up with the text on white, shown
// near the pointer, wrapped at 256 pixels.

#include "tessel/Image.h"
#include "tessel/MWindow.h"

#include <string>

namespace Tessel {

class ToolTipWindow : public MWindow {
public:
    ToolTipWindow() = default;
    ~ToolTipWindow() override;

    const char* GetWindowClassName() const override { return "tooltips_class32"; }
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Shows the text with its top-left corner at the screen point.
    void ShowAt(const std::string& text, CPoint screen);
    void Hide();
    bool Shown() const { return shown_; }
    const std::string& Text() const { return text_; }

    static constexpr int kMaxWidth = 256;

private:
    void Paint();

    std::string text_;
    bool shown_ = false;
    Bitmap buffer_;
};

} // namespace Tessel
