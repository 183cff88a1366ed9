#include "device/KeyUsage.h"

#include <algorithm>
#include <array>

namespace kovrin {

namespace {

constexpr int kIsoKeyCode = 666;

struct UsageRow {
    std::uint8_t virtual_key;
    std::uint8_t usage;
};

// Rows that are not part of a run of consecutive codes.
constexpr UsageRow kSingleUsages[] = {
    {0x0D, 0x28}, {0x1B, 0x29}, {0x08, 0x2A}, {0x09, 0x2B}, {0x20, 0x2C}, {0xBD, 0x2D},
    {0xBB, 0x2E}, {0xDB, 0x2F}, {0xDD, 0x30}, {0xDC, 0x31}, {0xBA, 0x33}, {0xDE, 0x34},
    {0xC0, 0x35}, {0xBC, 0x36}, {0xBE, 0x37}, {0xBF, 0x38}, {0x14, 0x39}, {0x2C, 0x46},
    {0x91, 0x47}, {0x13, 0x48}, {0x2D, 0x49}, {0x24, 0x4A}, {0x21, 0x4B}, {0x2E, 0x4C},
    {0x23, 0x4D}, {0x22, 0x4E}, {0x27, 0x4F}, {0x25, 0x50}, {0x28, 0x51}, {0x26, 0x52},
    {0x90, 0x53}, {0x6F, 0x54}, {0x6A, 0x55}, {0x6D, 0x56}, {0x6B, 0x57}, {0x6C, 0x58},
    {0x6E, 0x63}, {0xE2, 0x64}, {0x5D, 0x65}, {0xFE, 0xAF}, {0x88, 0x88}, {0x89, 0x89},
    {0x8A, 0x8A}, {0x8B, 0x8B}, {0xA2, 0xE0}, {0xA0, 0xE1}, {0xA4, 0xE2}, {0x5B, 0xE3},
    {0xA3, 0xE4}, {0xA1, 0xE5}, {0xA5, 0xE6}, {0x5C, 0xE7}, {0xB5, 0xE8}, {0xAE, 0xE9},
    {0xAF, 0xEA}, {0xAD, 0xEB}, {0xB2, 0xEC}, {0xB1, 0xED}, {0xB3, 0xEE}, {0xB0, 0xEF},
    {0xB4, 0xF0}, {0xAC, 0xF1}, {0xB7, 0xF2}, {0xA6, 0xF3}, {0xA7, 0xF4}, {0xA9, 0xF5},
    {0xA8, 0xF6}, {0xAA, 0xF7}, {0xAB, 0xF8}, {0xB6, 0xF9},
};

struct UsageRun {
    std::uint8_t first_key;
    std::uint8_t last_key;
    std::uint8_t first_usage;
};

constexpr UsageRun kUsageRuns[] = {
    {0x41, 0x5A, 0x04}, // A..Z
    {0x31, 0x39, 0x1E}, // 1..9
    {0x30, 0x30, 0x27}, // 0
    {0x70, 0x7B, 0x3A}, // F1..F12
    {0x7C, 0x87, 0x68}, // F13..F24
    {0x61, 0x69, 0x59}, // keypad 1..9
    {0x60, 0x60, 0x62}, // keypad 0
};

constexpr std::array<std::uint8_t, 256> BuildUsageTable() {
    std::array<std::uint8_t, 256> table{};
    for (const UsageRun& run : kUsageRuns) {
        for (int k = run.first_key; k <= run.last_key; ++k) {
            table[static_cast<std::size_t>(k)] =
                static_cast<std::uint8_t>(run.first_usage + (k - run.first_key));
        }
    }
    for (const UsageRow& row : kSingleUsages) {
        table[row.virtual_key] = row.usage;
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kUsageTable = BuildUsageTable();

constexpr ShortcutStep Down(std::uint8_t usage) {
    return {usage, false};
}
constexpr ShortcutStep Up(std::uint8_t usage) {
    return {usage, true};
}

// Two keys: first down, second down, second up, first up.
constexpr std::array<ShortcutStep, 4> Chord(std::uint8_t first, std::uint8_t second) {
    return {Down(first), Down(second), Up(second), Up(first)};
}

// Left menu + space, then a third key.
constexpr std::array<ShortcutStep, 6> MenuSpaceThen(std::uint8_t third) {
    return {Down(0xE2), Down(0x2C), Down(third), Up(third), Up(0x2C), Up(0xE2)};
}

constexpr std::array<std::array<ShortcutStep, 4>, 13> kChords = {
    Chord(0xE0, 0x04), // 1 ctrl + a
    Chord(0xE0, 0x06), // 2 ctrl + c
    Chord(0xE0, 0x1B), // 3 ctrl + x
    Chord(0xE0, 0x19), // 4 ctrl + v
    Chord(0xE0, 0x1D), // 5 ctrl + z
    Chord(0xE0, 0x16), // 6 ctrl + s
    Chord(0xE3, 0x08), // 7 windows + e
    Chord(0xE3, 0x0F), // 8 windows + l
    Chord(0xE3, 0x07), // 9 windows + d
    Chord(0xE2, 0x2B), // 10 alt + tab
    Chord(0xE3, 0x10), // 11 windows + m
    Chord(0xE0, 0x1A), // 12 ctrl + w
    Chord(0xE2, 0x3D), // 15 alt + F4
};

constexpr std::array<ShortcutStep, 6> kMenuSpaceX = MenuSpaceThen(0x1B); // 13
constexpr std::array<ShortcutStep, 6> kMenuSpaceN = MenuSpaceThen(0x11); // 14

} // namespace

std::uint8_t KeyUsage(int virtual_key) {
    if (virtual_key == kIsoKeyCode) {
        return 0x32;
    }
    if (virtual_key < 0 || virtual_key >= static_cast<int>(kUsageTable.size())) {
        return 0;
    }
    return kUsageTable[static_cast<std::size_t>(virtual_key)];
}

std::uint8_t DelayByte(int release, int delay_ms) {
    const int base = release ? 0x80 : 0x00;
    const int m = std::clamp(delay_ms, 0, 31000);
    if (m <= 10) {
        return static_cast<std::uint8_t>(base + 1);
    }
    int range = 0;
    int count = 0;
    if (m <= 310) {
        range = 0;
        count = m / 10;
    } else if (m <= 1550) {
        range = 1;
        count = m / 50;
    } else if (m <= 3100) {
        range = 2;
        count = m / 100;
    } else {
        range = 3;
        count = m / 1000;
    }
    const int byte = base + range * 32 + count;
    return static_cast<std::uint8_t>(byte <= 1 ? 1 : byte);
}

std::span<const ShortcutStep> ShortcutSequence(int value) {
    if (value >= 1 && value <= 12) {
        return kChords[static_cast<std::size_t>(value - 1)];
    }
    switch (value) {
    case 13:
        return kMenuSpaceX;
    case 14:
        return kMenuSpaceN;
    case 15:
        return kChords[12];
    default:
        return {};
    }
}

} // namespace kovrin
