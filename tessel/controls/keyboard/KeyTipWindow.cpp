#include "tessel/controls/keyboard/KeyboardCtrl.h"

namespace Tessel {

std::unique_ptr<KeyTipSink> MakeKeyTipWindow() {
    return nullptr; // the tip window comes with the pop-up windows
}

} // namespace Tessel
