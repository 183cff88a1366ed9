#include "tessel/controls/input/CComboBoxWnd.h"

namespace Tessel {

bool CComboBoxWnd::Open(HWND owner, CRect screen, const std::vector<ComboItem>& items, int selected,
                        Color textColor, const FontChoice& font, unsigned scrollV,
                        unsigned scrollH) {
    if (CreatePopup(owner, screen, "ComboWnd") == nullptr) {
        return false;
    }
    SetScrollResID(scrollV, scrollH);
    const CRect client = GetClientRect();
    list_ = dynamic_cast<CComboBoxList*>(CreateControl(
        "CComboBoxList", kListId,
        CRect(client.left, client.top + 6, client.right, client.bottom - 6), "", 1, 1));
    if (list_ == nullptr) {
        return false;
    }
    list_->SetTextColor(textColor);
    list_->SetFont(font.name, font.size, font.style);
    list_->SetItems(items);
    list_->SetSelected(selected);
    return true;
}

LRESULT CComboBoxWnd::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
    if (id == kListId && code == CN_CLICKED && lParam == LIST_PICK) {
        return ForwardToParent(id, code, wParam, lParam);
    }
    return 0;
}

} // namespace Tessel
