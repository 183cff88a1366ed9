#pragma once
// One key of the keyboard view.

#include "tessel/Image.h"
#include "tessel/TesselTypes.h"

#include <cstdint>
#include <string>

namespace Tessel {

struct KEY_INFO {
    int index = 0;              // position in the key list (order of AddKeyItem)
    std::uint32_t keyValue = 0; // the key's identity for every per-key operation
    std::string label;          // drawn on the key in the key-map mode
    std::string name;           // the key's name in its tip
    std::string tipTitle;       // SetTipKey; empty by default
    std::string tipText;        // SetTipKey; empty by default
    CRect rect;                 // on the keyboard picture
    int check = 0;              // the key is marked
    COLORREF color = 0x00E1FF;  // the key's colour (COLORREF)
    ImagePtr icon;              // optional, from the skin folder
    int iconWidth = 0;
    int iconHeight = 0;
};

inline constexpr COLORREF kDefaultKeyColor = 0x00E1FF;

} // namespace Tessel
