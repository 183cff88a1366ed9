#pragma once
// An owned pop-up window with its own control tree, drawn and routed by its
// paint manager as a dialog's. It grabs the pointer while shown and closes
// itself when deactivated, which a press outside it does. It does not delete
// itself: its creator owns the object.

#include "tessel/MDialog.h"

namespace Tessel {

// Sent to the pop-up's parent object when the pop-up window is destroyed.
inline constexpr UINT CN_POPUP_CLOSED = 22;

class MPopupWnd : public MDialog {
public:
    MPopupWnd();

    const char* GetClassNameW() const override { return "PopupWnd"; }
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Creates the window at a screen rectangle, owned by `owner`, not yet shown.
    HWND CreatePopup(HWND owner, CRect screen, const char* title);
    // Asks the window to close at the loop's next turn.
    void CloseWindow() { PostMessageW(WM_CLOSE, 0, 0); }

    // The object whose OnMessage hears of this pop-up; null for none.
    void SetParentObject(MObject* parent) { parent_object_ = parent; }
    MObject* GetParentObject() const { return parent_object_; }
    // Calls the parent object's OnMessage(0, code, wParam, lParam); 0 without one.
    LRESULT SendMessageToParent(UINT code, WPARAM wParam, LPARAM lParam);

protected:
    // Calls the parent object's OnMessage(id, code, wParam, lParam).
    LRESULT ForwardToParent(UINT id, UINT code, WPARAM wParam, LPARAM lParam);

    MObject* parent_object_ = nullptr;
    bool notify_close_ = true; // CN_POPUP_CLOSED to the parent when destroyed
};

} // namespace Tessel
