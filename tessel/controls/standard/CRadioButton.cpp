#include "tessel/controls/standard/CRadioButton.h"

#include "tessel/PaintManager.h"

namespace Tessel {

int CRadioButton::SetCheck(int check) {
    const int before = check_;
    ApplyCheck(check);
    if (check_ != before && check_ != 0) {
        ResetGroupCheck();
    }
    return check_;
}

void CRadioButton::ResetGroupCheck() {
    std::vector<MControl*> siblings;
    if (auto* parent = dynamic_cast<MControl*>(parent_)) {
        siblings = parent->GetControls();
    } else if (manager_ != nullptr) {
        siblings = manager_->GetControls();
    }
    for (MControl* c : siblings) {
        auto* other = dynamic_cast<CRadioButton*>(c);
        if (other == nullptr || other == this || !c->IsClass("RadioButton")) {
            continue;
        }
        if (other->group_ == group_ && other->check_ != 0) {
            other->ApplyCheck(0);
        }
    }
}

int CRadioButton::OnClick() {
    ResetGroupCheck();
    return 1;
}

void CRadioButton::OnSpace() {
    check_ = 1;
    SetLook(state_ % 4);
    ResetGroupCheck();
    SendMessageW(CN_CHECK, 0, check_);
}

} // namespace Tessel
