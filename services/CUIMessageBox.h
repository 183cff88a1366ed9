#pragma once
// The program's message box in its own look: a caption, a message and one
// button (type 0: "OK", text 20) or two (type 4: "Confirm" 23 and "Cancel"
// 25, texts of the current language). Any other type has no buttons and is
// closed only from outside.

#include "tessel/MDialog.h"

#include <string>

namespace kovrin {

class CUIMessageBox : public Tessel::MDialog {
public:
    CUIMessageBox(std::string caption, std::string message, int type);

    // Runs a message box modally over `owner` (may be null) and returns 1
    // when the first button was pressed, 2 otherwise: the second button, a
    // close from outside, or a box that could not be shown.
    static int Show(const std::string& message, Tessel::MWindow* owner, const std::string& caption,
                    int type);

    void InitUI(Tessel::CRect client) override;
    Tessel::LRESULT OnMessage(Tessel::UINT id, Tessel::UINT code, Tessel::WPARAM wParam,
                              Tessel::LPARAM lParam) override;

    // Creates the window (380 × 200, centred on the owner), not shown.
    bool CreateOver(Tessel::MWindow* owner);
    // The modal result as callers use it.
    static int ResultOf(Tessel::UINT modalResult) { return modalResult == 1 ? 1 : 2; }

    static constexpr Tessel::UINT kCaptionId = 31;
    static constexpr Tessel::UINT kMessageId = 32;
    static constexpr Tessel::UINT kConfirmId = 33;
    static constexpr Tessel::UINT kCancelId = 34;
    static constexpr int kWidth = 380;
    static constexpr int kHeight = 200;

private:
    std::string caption_;
    std::string message_;
    int type_;
};

} // namespace kovrin
