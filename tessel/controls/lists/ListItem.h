#pragma once
// The rows of the lists.

#include "tessel/TesselTypes.h"

#include <cstdint>
#include <string>

namespace Tessel {

// A row of DListBox.
struct ListItem {
    std::string text;
    int image = -1;        // kept for the owner; DListBox draws its own row mark
    std::int32_t data = 0; // the owner's item data (profile or macro id)
    CRect rect;            // on the list's drawing surface, set at every draw
};

// Record types as the macro step list shows them.
inline constexpr int kRecordKeyDown = 2;
inline constexpr int kRecordKeyUp = 3;
// The longest delay a macro step holds, in milliseconds.
inline constexpr int kMaxRecordDelay = 31000;

// A row of CRecordList: one macro step.
struct RecordItem {
    std::string text; // the key's name
    int type = 0;     // 2 key down, 3 key up, others shown as nothing
    int value = 0;    // the owner's value (the key's virtual-key code)
    int delay = 0;    // milliseconds after this step
    CRect rect;
};

} // namespace Tessel
