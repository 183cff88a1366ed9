#pragma once
// A combo box's drop-down: a pop-up window titled "ComboWnd" holding one
// CComboBoxList. Picks of the list go to the combo box (the parent object).

#include "tessel/controls/input/CComboBoxList.h"
#include "tessel/menus/MPopupWnd.h"

namespace Tessel {

class CComboBoxWnd : public MPopupWnd {
public:
    // Creates the window at the screen rectangle with the list filling it
    // less 6 pixels at the top and bottom; not yet shown. The scroll bar
    // images are the library's resources of those ids.
    bool Open(HWND owner, CRect screen, const std::vector<ComboItem>& items, int selected,
              Color textColor, const FontChoice& font, unsigned scrollV = 102,
              unsigned scrollH = 101);

    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;

    CComboBoxList* GetList() const { return list_; }

    static constexpr UINT kListId = 1000;

private:
    CComboBoxList* list_ = nullptr;
};

} // namespace Tessel
