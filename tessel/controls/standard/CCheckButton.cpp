#include "tessel/controls/standard/CCheckButton.h"

namespace Tessel {

int CCheckButton::SetCheck(int check) {
    if (!enabled_) {
        return check_;
    }
    ApplyCheck(check);
    return check_;
}

void CCheckButton::OnSpace() {
    check_ = check_ != 0 ? 0 : 1;
    SetLook(state_ % 4);
    SendMessageW(CN_CHECK, 0, check_);
}

} // namespace Tessel
