#pragma once
// Plain types shared by the window backends and the UI library.

#include <cstdint>
#include <string>
#include <vector>

namespace kovrin::platform {

struct Point {
    int x = 0;
    int y = 0;
};

// left, top, right, bottom; right and bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

Rect UnionRect(const Rect& a, const Rect& b);     // empty rects are ignored
Rect IntersectRect(const Rect& a, const Rect& b); // empty when they do not meet

enum class WindowKind {
    TopLevel, // borderless application window
    Dialog,   // borderless window owned by another (stays above it)
    Popup,    // menus, drop-downs, tips: no window manager involvement
};

struct WindowOptions {
    WindowKind kind = WindowKind::TopLevel;
    class NativeWindow* owner = nullptr;
    Rect rect{0, 0, 800, 600}; // screen coordinates of the client area
    std::string title;
    bool alpha = false;        // per-pixel alpha wanted (ARGB visual)
    bool topmost = false;      // keep above other windows
    bool tool = false;         // not listed in task bars
    bool grab_pointer = false; // popups: grab the pointer while shown, report outside presses
};

enum class CursorKind { Arrow, Wait, Cross, SizeWE, SizeNS, Hand, Help };

enum class ShowCommand { Hide, Show, ShowNoActivate, Minimize, Restore, Maximize };

// Modifier and button state carried by input events.
enum ModifierBits : unsigned {
    kModShift = 1u << 0,
    kModControl = 1u << 1,
    kModAlt = 1u << 2,
    kModLeft = 1u << 3,
    kModRight = 1u << 4,
    kModMiddle = 1u << 5,
};

enum class EventType {
    MouseMove,
    ButtonDown,
    ButtonUp,
    ButtonDoubleClick, // replaces the ButtonDown of a second quick press
    Wheel,
    MouseEnter,
    MouseLeave,
    KeyDown,
    KeyUp,
    Char,     // text typed; one event per key press that produced text
    GotFocus, // the window got the keyboard focus (it is the active window)
    LostFocus,
    Moved,        // x, y = new client origin on the screen
    Resized,      // width, height = new client size
    CloseRequest, // the user or window manager asked to close
    OutsidePress, // popup with a pointer grab: a press landed outside it
    Mapped,       // shown on screen
    Unmapped,     // hidden or minimised
    CaptureLost,  // the mouse capture ended without the window asking
    // Another process asked the window to come to the front.
    ShowRequest,
    // A window message from another process: message, wparam, lparam.
    ForeignMessage,
};

enum class MouseButton { Left = 1, Middle = 2, Right = 3 };

struct Event {
    EventType type = EventType::MouseMove;
    int x = 0; // client coordinates (pointer events), or position (Moved)
    int y = 0;
    int width = 0; // Resized
    int height = 0;
    MouseButton button = MouseButton::Left;
    int wheel_delta = 0;       // +120 away from the user, -120 toward
    unsigned vk = 0;           // KeyDown / KeyUp
    unsigned scan = 0;         // hardware key code
    unsigned repeat = 1;       // KeyDown auto-repeat count
    bool was_down = false;     // KeyDown: the key was already down (auto-repeat)
    unsigned modifiers = 0;    // ModifierBits
    std::uint64_t time_ms = 0; // event time on the loop clock
    std::string text;          // Char: UTF-8 text
    unsigned message = 0;      // ForeignMessage
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
};

// A 32-bit premultiplied ARGB picture (cairo's CAIRO_FORMAT_ARGB32 layout).
struct PixelView {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride_pixels = 0; // pixels per row
};

// An icon in one size, straight (not premultiplied) ARGB.
struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};

} // namespace kovrin::platform
