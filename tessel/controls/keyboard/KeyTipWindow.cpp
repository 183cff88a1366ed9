// The keyboard view's tips in their own pop-up window.

#include "tessel/controls/keyboard/KeyboardCtrl.h"
#include "tessel/menus/CKeyboardTips.h"

namespace Tessel {
namespace {

class KeyTipWindow : public KeyTipSink {
public:
    explicit KeyTipWindow(MWindow* owner) : owner_(owner) {
        tips_.LoadBKImage("img_tip_bk.png");
        tips_.SetBackMode(BACK_MODE_FRAME, 6);
    }
    void Show(const std::string& name, const std::string& title, const std::string& text,
              CPoint anchor) override {
        tips_.SetAirBladderMsg(name, title, text, anchor, owner_);
    }
    void Hide() override {
        tips_.Hide();
        // Forgets the tip shown, so the same key shows it again next time.
        tips_.SetAirBladderMsg("", "", "", CPoint(-1, -1), owner_);
    }

private:
    MWindow* owner_;
    CKeyboardTips tips_;
};

} // namespace

std::unique_ptr<KeyTipSink> MakeKeyTipWindow(MWindow* owner) {
    return std::make_unique<KeyTipWindow>(owner);
}

} // namespace Tessel
