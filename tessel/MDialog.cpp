#include "tessel/MDialog.h"

namespace Tessel {
namespace {
CPoint PointOf(LPARAM l) {
    return {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
}
} // namespace

MDialog::MDialog() = default;

MDialog::~MDialog() {
    if (GetSafeHwnd() != nullptr) {
        // Destroyed without DestroyWindow: the controls still go first.
        pm_.DestroyData();
    }
}

LRESULT MDialog::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        OnCreate();
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCACTIVATE:
        OnNcActivate(static_cast<int>(wParam));
        break;
    case WM_TIMER:
        OnTimer(static_cast<UINT>(wParam));
        break;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_MOUSEHOVER:
        OnMouseHover(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        break;
    case WM_MOUSEWHEEL:
        OnMouseWheel(LOWORD(wParam), static_cast<std::int16_t>(HIWORD(wParam)), PointOf(lParam));
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_RBUTTONDOWN:
        OnRButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_RBUTTONUP:
        OnRButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_RBUTTONDBLCLK:
        OnRButtonDblClk(static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), static_cast<UINT>(lParam & 0xFFFF),
                  static_cast<UINT>(lParam >> 16));
        break;
    case WM_USER_CLOSE_WINDOW:
        return OnUserCloseWindow(wParam, lParam);
    default:
        break;
    }
    if (const LRESULT r = pm_.OnWindowMessage(msg, wParam, lParam); r != 0) {
        return r;
    }
    return DefWindowProc(msg, wParam, lParam);
}

int MDialog::OnInitDialog() {
    if (GetSafeHwnd() != nullptr) {
        pm_.Init(this);
        client_ = GetClientRect();
    }
    InitUI(client_);
    return 1;
}

void MDialog::OnDestroyMessage(HWND hwnd) {
    if (hwnd == this) {
        pm_.DestroyData();
    }
    PostNcDestroy();
}

CPoint MDialog::GetAirBladderPoint(MControl* control, unsigned type) {
    if (control == nullptr) {
        return {};
    }
    const CRect r = control->GetRect();
    const int x = type == 0 ? r.left : type == 1 ? r.left + r.Width() / 2 : r.right;
    return ClientToScreen({x, r.bottom});
}

LRESULT MDialog::OnUserCloseWindow(WPARAM wParam, LPARAM lParam) {
    PostMessageW(WM_CLOSE, wParam, lParam);
    return 1;
}

LRESULT MDialog::OnCreate() {
    return 1;
}

LRESULT MDialog::OnSize(UINT type, int, int) {
    if (type != SIZE_MINIMIZED) {
        SetupBackTranslucent();
    }
    client_ = GetClientRect();
    if (client_.Width() > 1 && client_.Height() > 1) {
        UISize(client_);
    }
    pm_.Invalidate();
    return 0;
}

void MDialog::SetupBackTranslucent() {
    if (alpha_ != 255 || colour_key_ != 0xFFFFFF) {
        pm_.SetLayeredWindow(1);
    }
}

} // namespace Tessel
