#pragma once
// Window message numbers, flags and key codes of Tessel's window model. The
// numbers are the long-established ones the application's own messages
// (WM_USER + n) and key tables are counted from.

#include "platform/window/VirtualKey.h"
#include "tessel/TesselTypes.h"

namespace Tessel {

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;
inline constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr UINT WM_NCCREATE = 0x0081;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCACTIVATE = 0x0086;
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_CTLCOLOREDIT = 0x0133;
inline constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
inline constexpr UINT WM_DEVICECHANGE = 0x0219;
inline constexpr UINT WM_MOUSEHOVER = 0x02A1;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;

// A dialog's close request (wParam = the modal result).
inline constexpr UINT WM_USER_CLOSE_WINDOW = WM_USER + 66; // 1090

// Modal results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Mouse message wParam flags.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

inline constexpr int WHEEL_DELTA = 120;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// WM_SIZE wParam.
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_ACTIVATE wParam.
inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;

// Hit-test codes (WM_NCLBUTTONDOWN wParam).
inline constexpr WPARAM HTCLIENT = 1;
inline constexpr WPARAM HTCAPTION = 2;

// WM_SYSCOMMAND wParam.
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_RESTORE = 0xF120;
inline constexpr WPARAM SC_CLOSE = 0xF060;

// Key codes.
inline constexpr UINT VK_LBUTTON = kovrin::platform::kVkLButton;
inline constexpr UINT VK_RBUTTON = kovrin::platform::kVkRButton;
inline constexpr UINT VK_MBUTTON = kovrin::platform::kVkMButton;
inline constexpr UINT VK_BACK = kovrin::platform::kVkBack;
inline constexpr UINT VK_TAB = kovrin::platform::kVkTab;
inline constexpr UINT VK_RETURN = kovrin::platform::kVkReturn;
inline constexpr UINT VK_SHIFT = kovrin::platform::kVkShift;
inline constexpr UINT VK_CONTROL = kovrin::platform::kVkControl;
inline constexpr UINT VK_MENU = kovrin::platform::kVkMenu;
inline constexpr UINT VK_PAUSE = kovrin::platform::kVkPause;
inline constexpr UINT VK_CAPITAL = kovrin::platform::kVkCapital;
inline constexpr UINT VK_ESCAPE = kovrin::platform::kVkEscape;
inline constexpr UINT VK_SPACE = kovrin::platform::kVkSpace;
inline constexpr UINT VK_PRIOR = kovrin::platform::kVkPrior;
inline constexpr UINT VK_NEXT = kovrin::platform::kVkNext;
inline constexpr UINT VK_END = kovrin::platform::kVkEnd;
inline constexpr UINT VK_HOME = kovrin::platform::kVkHome;
inline constexpr UINT VK_LEFT = kovrin::platform::kVkLeft;
inline constexpr UINT VK_UP = kovrin::platform::kVkUp;
inline constexpr UINT VK_RIGHT = kovrin::platform::kVkRight;
inline constexpr UINT VK_DOWN = kovrin::platform::kVkDown;
inline constexpr UINT VK_SNAPSHOT = kovrin::platform::kVkSnapshot;
inline constexpr UINT VK_INSERT = kovrin::platform::kVkInsert;
inline constexpr UINT VK_DELETE = kovrin::platform::kVkDelete;
inline constexpr UINT VK_LWIN = kovrin::platform::kVkLWin;
inline constexpr UINT VK_RWIN = kovrin::platform::kVkRWin;
inline constexpr UINT VK_APPS = kovrin::platform::kVkApps;
inline constexpr UINT VK_NUMPAD0 = kovrin::platform::kVkNumpad0;
inline constexpr UINT VK_F1 = kovrin::platform::kVkF1;
inline constexpr UINT VK_F4 = kovrin::platform::kVkF1 + 3;
inline constexpr UINT VK_NUMLOCK = kovrin::platform::kVkNumLock;
inline constexpr UINT VK_SCROLL = kovrin::platform::kVkScroll;
inline constexpr UINT VK_LSHIFT = kovrin::platform::kVkLShift;
inline constexpr UINT VK_RSHIFT = kovrin::platform::kVkRShift;
inline constexpr UINT VK_LCONTROL = kovrin::platform::kVkLControl;
inline constexpr UINT VK_RCONTROL = kovrin::platform::kVkRControl;
inline constexpr UINT VK_LMENU = kovrin::platform::kVkLMenu;
inline constexpr UINT VK_RMENU = kovrin::platform::kVkRMenu;

// Modifier values passed to controls with key events: Alt 18, else Shift 16,
// each or-ed with Ctrl 17.
inline constexpr UINT KEYMOD_NONE = 0;
inline constexpr UINT KEYMOD_SHIFT = 16;
inline constexpr UINT KEYMOD_CTRL = 17;
inline constexpr UINT KEYMOD_ALT = 18;

struct MINMAXINFO {
    CPoint ptReserved;
    CPoint ptMaxSize;
    CPoint ptMaxPosition;
    CPoint ptMinTrackSize;
    CPoint ptMaxTrackSize;
};

} // namespace Tessel
