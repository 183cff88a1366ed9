#pragma once
// The tip window of the keyboard view: a 190 × 100 layered pop-up centred
// above an anchor point, showing a key's name, a title and a text over a
// nine-grid background image. It never takes the focus.

#include "tessel/Image.h"
#include "tessel/MWindow.h"
#include "tessel/PaintManager.h"

#include <string>

namespace Tessel {

class CKeyboardTips : public MWindow {
public:
    CKeyboardTips() = default;
    ~CKeyboardTips() override;

    const char* GetWindowClassName() const override { return "LumoClient"; }
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The background (skin folder); false when it cannot be loaded.
    bool LoadBKImage(const std::string& fileName);
    void SetBackMode(enumBackMode mode, int value) {
        back_mode_ = mode;
        back_value_ = value;
    }
    // Nothing when all four equal the ones shown. An empty name stores them
    // and shows nothing; otherwise the tip moves to (pt.x - 95, pt.y - 100)
    // and shows (created on first use, owned by `owner`).
    void SetAirBladderMsg(const std::string& name, const std::string& title,
                          const std::string& text, CPoint pt, HWND owner = nullptr);
    void Hide();
    bool Shown() const { return shown_; }
    int PaintCount() const { return paints_; }

    static constexpr int kWidth = 190;
    static constexpr int kHeight = 100;

private:
    void Paint();

    std::string name_;
    std::string title_;
    std::string text_;
    CPoint anchor_{-1, -1};
    bool stored_ = false;
    ImagePtr back_;
    enumBackMode back_mode_ = BACK_MODE_FRAME;
    int back_value_ = 6;
    std::string family_;
    bool shown_ = false;
    int paints_ = 0;
    Bitmap buffer_;
};

} // namespace Tessel
