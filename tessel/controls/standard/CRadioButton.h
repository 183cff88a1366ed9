#pragma once
// A radio button in a named group. Its group is every sibling of the class
// "RadioButton" with the same group name (exact compare, default empty) in
// its parent's control layer, or the window's when the parent is a window.
// Checking one unchecks the others of its group, hidden ones included.

#include "tessel/controls/standard/MCheckBase.h"

#include <string>

namespace Tessel {

class CRadioButton : public MCheckBase {
public:
    CRadioButton(MObject* parent, UINT id, CRect rect, const char* title, int visible, int enabled)
        : MCheckBase(parent, id, rect, title, visible, enabled) {}

    const char* GetClassNameW() const override { return "RadioButton"; }

    // Sets the check; a change to on unchecks the group. Returns the check.
    int SetCheck(int check);
    // Sets the check without touching the group.
    void SetControlCheck(int check) { ApplyCheck(check); }
    // Unchecks the other buttons of the group.
    void ResetGroupCheck();
    void SetGroupName(const std::string& name) { group_ = name; }
    const std::string& GetGroupName() const { return group_; }

protected:
    int OnClick() override;
    void OnSpace() override;

private:
    std::string group_;
};

} // namespace Tessel
