#include "tessel/menus/MPopupWnd.h"

namespace Tessel {

MPopupWnd::MPopupWnd() {
    SetBackTranslucent(0xF1F1F1, 255);
    SetPopupGrab(true);
}

HWND MPopupWnd::CreatePopup(HWND owner, CRect screen, const char* title) {
    return Create(owner, title, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, screen);
}

LRESULT MPopupWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCACTIVATE && wParam == 0 && GetSafeHwnd() != nullptr) {
        CloseWindow();
    } else if (msg == WM_DESTROY && notify_close_) {
        SendMessageToParent(CN_POPUP_CLOSED, 0, 0);
    }
    return MDialog::OnWindowMessage(msg, wParam, lParam);
}

LRESULT MPopupWnd::ForwardToParent(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
    if (auto* control = dynamic_cast<MControl*>(parent_object_)) {
        return control->OnMessage(id, code, wParam, lParam);
    }
    if (auto* dialog = dynamic_cast<MDialog*>(parent_object_)) {
        return dialog->OnMessage(id, code, wParam, lParam);
    }
    return parent_object_ != nullptr ? parent_object_->OnBaseMessage(id, code, wParam, lParam) : 0;
}

LRESULT MPopupWnd::SendMessageToParent(UINT code, WPARAM wParam, LPARAM lParam) {
    return ForwardToParent(0, code, wParam, lParam);
}

} // namespace Tessel
