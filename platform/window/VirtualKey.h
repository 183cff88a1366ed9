#pragma once
// Virtual-key codes as the keyboard layer and the UI above it number keys.
// The values are the established numbering the keyboard tables are written in.

namespace kovrin::platform {

enum VirtualKey : unsigned {
    kVkLButton = 0x01,
    kVkRButton = 0x02,
    kVkCancel = 0x03,
    kVkMButton = 0x04,
    kVkBack = 0x08,
    kVkTab = 0x09,
    kVkClear = 0x0C,
    kVkReturn = 0x0D,
    kVkShift = 0x10,
    kVkControl = 0x11,
    kVkMenu = 0x12, // Alt
    kVkPause = 0x13,
    kVkCapital = 0x14,
    kVkEscape = 0x1B,
    kVkSpace = 0x20,
    kVkPrior = 0x21,
    kVkNext = 0x22,
    kVkEnd = 0x23,
    kVkHome = 0x24,
    kVkLeft = 0x25,
    kVkUp = 0x26,
    kVkRight = 0x27,
    kVkDown = 0x28,
    kVkSnapshot = 0x2C,
    kVkInsert = 0x2D,
    kVkDelete = 0x2E,
    kVk0 = 0x30, // '0'..'9' are 0x30..0x39
    kVkA = 0x41, // 'A'..'Z' are 0x41..0x5A
    kVkLWin = 0x5B,
    kVkRWin = 0x5C,
    kVkApps = 0x5D,
    kVkNumpad0 = 0x60, // ..0x69
    kVkMultiply = 0x6A,
    kVkAdd = 0x6B,
    kVkSeparator = 0x6C,
    kVkSubtract = 0x6D,
    kVkDecimal = 0x6E,
    kVkDivide = 0x6F,
    kVkF1 = 0x70, // ..F24 = 0x87
    kVkNumLock = 0x90,
    kVkScroll = 0x91,
    kVkLShift = 0xA0,
    kVkRShift = 0xA1,
    kVkLControl = 0xA2,
    kVkRControl = 0xA3,
    kVkLMenu = 0xA4,
    kVkRMenu = 0xA5,
    kVkBrowserBack = 0xA6,
    kVkBrowserForward = 0xA7,
    kVkBrowserRefresh = 0xA8,
    kVkBrowserStop = 0xA9,
    kVkBrowserSearch = 0xAA,
    kVkBrowserFavorites = 0xAB,
    kVkBrowserHome = 0xAC,
    kVkVolumeMute = 0xAD,
    kVkVolumeDown = 0xAE,
    kVkVolumeUp = 0xAF,
    kVkMediaNextTrack = 0xB0,
    kVkMediaPrevTrack = 0xB1,
    kVkMediaStop = 0xB2,
    kVkMediaPlayPause = 0xB3,
    kVkLaunchMail = 0xB4,
    kVkLaunchMediaSelect = 0xB5,
    kVkLaunchApp1 = 0xB6,
    kVkLaunchApp2 = 0xB7,
    kVkOem1 = 0xBA,      // ;:
    kVkOemPlus = 0xBB,   // =+
    kVkOemComma = 0xBC,  // ,<
    kVkOemMinus = 0xBD,  // -_
    kVkOemPeriod = 0xBE, // .>
    kVkOem2 = 0xBF,      // /?
    kVkOem3 = 0xC0,      // `~
    kVkOem4 = 0xDB,      // [{
    kVkOem5 = 0xDC,      // \|
    kVkOem6 = 0xDD,      // ]}
    kVkOem7 = 0xDE,      // '"
    kVkOem102 = 0xE2,    // the extra key beside left Shift
};

} // namespace kovrin::platform
