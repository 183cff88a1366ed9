#include "platform/window/VirtualKey.h"
#include "platform/x11/X11Internal.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

namespace kovrin::platform::x11 {

unsigned KeysymToVk(unsigned long ks) {
    if (ks >= XK_a && ks <= XK_z) {
        return kVkA + static_cast<unsigned>(ks - XK_a);
    }
    if (ks >= XK_A && ks <= XK_Z) {
        return kVkA + static_cast<unsigned>(ks - XK_A);
    }
    if (ks >= XK_0 && ks <= XK_9) {
        return kVk0 + static_cast<unsigned>(ks - XK_0);
    }
    if (ks >= XK_F1 && ks <= XK_F24) {
        return kVkF1 + static_cast<unsigned>(ks - XK_F1);
    }
    if (ks >= XK_KP_0 && ks <= XK_KP_9) {
        return kVkNumpad0 + static_cast<unsigned>(ks - XK_KP_0);
    }
    struct Pair {
        unsigned long keysym;
        unsigned vk;
    };
    static constexpr Pair kTable[] = {
        {XK_BackSpace, kVkBack},
        {XK_Tab, kVkTab},
        {XK_ISO_Left_Tab, kVkTab},
        {XK_Clear, kVkClear},
        {XK_Return, kVkReturn},
        {XK_KP_Enter, kVkReturn},
        {XK_Shift_L, kVkShift},
        {XK_Shift_R, kVkShift},
        {XK_Control_L, kVkControl},
        {XK_Control_R, kVkControl},
        {XK_Alt_L, kVkMenu},
        {XK_Alt_R, kVkMenu},
        {XK_ISO_Level3_Shift, kVkMenu},
        {XK_Pause, kVkPause},
        {XK_Caps_Lock, kVkCapital},
        {XK_Escape, kVkEscape},
        {XK_space, kVkSpace},
        {XK_Prior, kVkPrior},
        {XK_Next, kVkNext},
        {XK_End, kVkEnd},
        {XK_Home, kVkHome},
        {XK_Left, kVkLeft},
        {XK_Up, kVkUp},
        {XK_Right, kVkRight},
        {XK_Down, kVkDown},
        {XK_KP_Prior, kVkPrior},
        {XK_KP_Next, kVkNext},
        {XK_KP_End, kVkEnd},
        {XK_KP_Home, kVkHome},
        {XK_KP_Left, kVkLeft},
        {XK_KP_Up, kVkUp},
        {XK_KP_Right, kVkRight},
        {XK_KP_Down, kVkDown},
        {XK_KP_Insert, kVkInsert},
        {XK_KP_Delete, kVkDelete},
        {XK_Print, kVkSnapshot},
        {XK_Insert, kVkInsert},
        {XK_Delete, kVkDelete},
        {XK_Super_L, kVkLWin},
        {XK_Super_R, kVkRWin},
        {XK_Menu, kVkApps},
        {XK_KP_Multiply, kVkMultiply},
        {XK_KP_Add, kVkAdd},
        {XK_KP_Separator, kVkSeparator},
        {XK_KP_Subtract, kVkSubtract},
        {XK_KP_Decimal, kVkDecimal},
        {XK_KP_Divide, kVkDivide},
        {XK_Num_Lock, kVkNumLock},
        {XK_Scroll_Lock, kVkScroll},
        {XK_semicolon, kVkOem1},
        {XK_equal, kVkOemPlus},
        {XK_comma, kVkOemComma},
        {XK_minus, kVkOemMinus},
        {XK_period, kVkOemPeriod},
        {XK_slash, kVkOem2},
        {XK_grave, kVkOem3},
        {XK_bracketleft, kVkOem4},
        {XK_backslash, kVkOem5},
        {XK_bracketright, kVkOem6},
        {XK_apostrophe, kVkOem7},
        {XK_less, kVkOem102},
        {XF86XK_Back, kVkBrowserBack},
        {XF86XK_Forward, kVkBrowserForward},
        {XF86XK_Refresh, kVkBrowserRefresh},
        {XF86XK_Stop, kVkBrowserStop},
        {XF86XK_Search, kVkBrowserSearch},
        {XF86XK_Favorites, kVkBrowserFavorites},
        {XF86XK_HomePage, kVkBrowserHome},
        {XF86XK_AudioMute, kVkVolumeMute},
        {XF86XK_AudioLowerVolume, kVkVolumeDown},
        {XF86XK_AudioRaiseVolume, kVkVolumeUp},
        {XF86XK_AudioNext, kVkMediaNextTrack},
        {XF86XK_AudioPrev, kVkMediaPrevTrack},
        {XF86XK_AudioStop, kVkMediaStop},
        {XF86XK_AudioPlay, kVkMediaPlayPause},
        {XF86XK_AudioPause, kVkMediaPlayPause},
        {XF86XK_Mail, kVkLaunchMail},
        {XF86XK_AudioMedia, kVkLaunchMediaSelect},
        {XF86XK_MyComputer, kVkLaunchApp1},
        {XF86XK_Calculator, kVkLaunchApp2},
    };
    for (const Pair& p : kTable) {
        if (p.keysym == ks) {
            return p.vk;
        }
    }
    return 0;
}

} // namespace kovrin::platform::x11
