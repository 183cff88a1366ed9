#pragma once
// The root of every Tessel object that takes part in notifications: windows
// (their object part), panels and controls.

#include "tessel/TesselTypes.h"

#include <cstring>

namespace Tessel {

class MControl;

class MObject {
public:
    virtual ~MObject() = default;

    // True when GetClassNameW equals name (exact, case-sensitive).
    virtual bool IsClass(const char* name) const {
        const char* mine = GetClassNameW();
        return mine != nullptr && name != nullptr && std::strcmp(mine, name) == 0;
    }
    virtual const char* GetClassNameW() const { return nullptr; }
    virtual const char* GetObjectClass() const { return nullptr; }
    virtual const char* BaseObjectClassName() const { return nullptr; }
    // A child's notification: its control id, a CN_ code and two values.
    virtual LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
        (void)id;
        (void)code;
        (void)wParam;
        (void)lParam;
        return 0;
    }
    // A child asks for `rect` to be repainted; with redraw its cached drawing is stale.
    virtual LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control) {
        (void)rect;
        (void)redraw;
        (void)control;
        return 0;
    }
};

// Notification codes a control sends to its parent.
enum ControlNotify : UINT {
    CN_PRESSED = 1,
    CN_CLICKED = 2,
    CN_DBLCLICK = 3,
    CN_RCLICK = 5,
    CN_CHECK = 7,
    CN_SCROLL = 8,
    CN_PRESSED_ALT = 9,
    CN_KEYDOWN = 14,
    CN_FRAMESELECT = 24,
    CN_TEXTCHANGED = 26,
    CN_COLOR = 27,
    CN_VALUE = 28,
    CN_EDITEND = 29,
    CN_EDITBEGIN = 30,
    CN_EDITCLICK = 31,
};

// A combo box's list reports a pick with this lParam.
inline constexpr LPARAM LIST_PICK = 19;

// A position relative to a span: type 0 from the start (or end), 1 from the
// middle, 2 a percentage.
struct FS_POSITION_ITEM {
    int type = 0;
    int fromEnd = 0;
    float value = 0;
};

int PositionItem2Value(const FS_POSITION_ITEM& item, int a, int b);

} // namespace Tessel
