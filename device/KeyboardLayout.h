#pragma once
// A keyboard model's layout: its pages, firmware tool, lighting limits and
// modes, the keyboard picture and every key on it, and the maps the device
// commands use. A layout is built whole by the loader (LayoutLoader.h) and
// then only read.

#include "device/LightModes.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kovrin {

// The device type whose layout the program loads at start.
inline constexpr int kStartDeviceType = 201;

// Page flags (the layout's `menu` element).
inline constexpr std::uint32_t kPageKeys = 0x01;      // key page and its keyboard view
inline constexpr std::uint32_t kPageMacros = 0x02;    // macro page
inline constexpr std::uint32_t kPageLighting = 0x04;  // lighting page and its keyboard view
inline constexpr std::uint32_t kPageThirdView = 0x40; // third keyboard view page
inline constexpr std::uint32_t kDefaultPageFlags = 0x7F;

inline constexpr int kMatrixRows = 8;
inline constexpr int kMatrixColumns = 32;
inline constexpr std::uint8_t kNoKey = 0xFF;

// Key codes by matrix position, kMatrixRows x kMatrixColumns, row-major;
// kNoKey where there is no key.
class KeyMatrix {
public:
    using Cells = std::array<std::uint8_t, kMatrixRows * kMatrixColumns>;

    KeyMatrix() { Clear(); }

    void Clear() { cells_.fill(kNoKey); }

    // kNoKey outside the matrix.
    std::uint8_t At(int row, int column) const {
        return Inside(row, column) ? cells_[Index(row, column)] : kNoKey;
    }

    // False, with nothing written, outside the matrix.
    bool Set(int row, int column, std::uint8_t code) {
        if (!Inside(row, column)) {
            return false;
        }
        cells_[Index(row, column)] = code;
        return true;
    }

    const Cells& cells() const { return cells_; }

    static bool Inside(int row, int column) {
        return row >= 0 && row < kMatrixRows && column >= 0 && column < kMatrixColumns;
    }

    bool operator==(const KeyMatrix&) const = default;

private:
    static std::size_t Index(int row, int column) {
        return static_cast<std::size_t>(row * kMatrixColumns + column);
    }

    Cells cells_{};
};

struct KeyRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const KeyRect&) const = default;
};

// One key of the keyboard picture, as the keyboard views show it.
struct KeyItem {
    std::string name; // label drawn on the key
    std::string desc; // description shown as the key's name
    int code = 0;     // key code (HID keyboard usage), one byte on the wire
    KeyRect rect;     // on the keyboard picture
    std::string icon; // optional icon, relative to the skin folder
    int key_index = 0;
    int light_index = 0;    // read from the file; the maps use key_index
    std::string row_col;    // as written in the file
    bool in_matrix = false; // whether the key took a matrix cell
};

struct LightSettings {
    bool rgb_keyboard = false;
    int default_mode = 0;
    int default_brightness = 0;
    int default_speed = 0;
    int brightness_max = 4; // slider maximum; the minimum is always 1
    int speed_max = 4;
};

struct KeyboardLayout {
    int device_type = kStartDeviceType;
    std::string model_name;  // names the model's database
    std::string layout_name; // file name without ".xml"

    std::uint32_t page_flags = kDefaultPageFlags;
    bool sleep_time = false;

    std::string firmware_version;
    std::string firmware_file; // under the firmware folder
    std::string firmware_url;

    LightSettings light;
    std::vector<LightModeInfo> light_modes;

    // The keyboard views: position and size of the picture in the window.
    bool has_keyboard = false;
    int keyboard_x = 0;
    int keyboard_y = 0;
    int keyboard_width = 0;
    int keyboard_height = 0;
    std::string keyboard_image; // file name under the skin's keyboard folder
    int row_count = 0;          // 0 to kMatrixRows
    int col_count = 0;          // 0 to kMatrixColumns

    KeyMatrix matrix;
    std::map<int, int> key_index_map;   // key code -> key index
    std::map<int, int> light_index_map; // key code -> light index (same numbers)
    std::vector<KeyItem> keys;

    bool ShowsPage(std::uint32_t page) const { return (page_flags & page) != 0; }
    bool FirmwareButtonVisible() const {
        return !firmware_version.empty() && !firmware_file.empty();
    }
    KeyRect KeyboardRect() const;
    // "keyboard/" + image, relative to the skin folder; empty without an image.
    std::string KeyboardPicturePath() const;
    std::optional<int> KeyIndexOf(int code) const;
    std::optional<int> LightIndexOf(int code) const;
    const KeyItem* FindKey(int code) const;
};

} // namespace kovrin
