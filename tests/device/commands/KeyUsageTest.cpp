// Key usages, family B delay bytes and the built-in shortcut sequences.

#include "device/KeyUsage.h"

#include <gtest/gtest.h>

#include <vector>

namespace kovrin {
namespace {

TEST(KeyUsageTest, TableRowsAndRuns) {
    struct Case {
        int virtual_key;
        int usage;
    };
    const Case cases[] = {
        {'A', 0x04},
        {'Z', 0x1D},
        {'1', 0x1E},
        {'9', 0x26},
        {'0', 0x27},
        {0x70, 0x3A},
        {0x7B, 0x45},
        {0x7C, 0x68},
        {0x87, 0x73},
        {0x61, 0x59},
        {0x69, 0x61},
        {0x60, 0x62},
        {0x0D, 0x28},
        {0x1B, 0x29},
        {0x08, 0x2A},
        {0x09, 0x2B},
        {0x20, 0x2C},
        {0xBD, 0x2D},
        {0xBB, 0x2E},
        {0xDB, 0x2F},
        {0xDD, 0x30},
        {0xDC, 0x31},
        {666, 0x32},
        {0xBA, 0x33},
        {0xDE, 0x34},
        {0xC0, 0x35},
        {0xBC, 0x36},
        {0xBE, 0x37},
        {0xBF, 0x38},
        {0x14, 0x39},
        {0x2C, 0x46},
        {0x91, 0x47},
        {0x13, 0x48},
        {0x2D, 0x49},
        {0x24, 0x4A},
        {0x21, 0x4B},
        {0x2E, 0x4C},
        {0x23, 0x4D},
        {0x22, 0x4E},
        {0x27, 0x4F},
        {0x25, 0x50},
        {0x28, 0x51},
        {0x26, 0x52},
        {0x90, 0x53},
        {0x6F, 0x54},
        {0x6A, 0x55},
        {0x6D, 0x56},
        {0x6B, 0x57},
        {0x6C, 0x58},
        {0x6E, 0x63},
        {0xE2, 0x64},
        {0x5D, 0x65},
        {0xFE, 0xAF},
        {0x88, 0x88},
        {0x8B, 0x8B},
        {0xA2, 0xE0},
        {0xA0, 0xE1},
        {0xA4, 0xE2},
        {0x5B, 0xE3},
        {0xA3, 0xE4},
        {0xA1, 0xE5},
        {0xA5, 0xE6},
        {0x5C, 0xE7},
        {0xB5, 0xE8},
        {0xAE, 0xE9},
        {0xAF, 0xEA},
        {0xAD, 0xEB},
        {0xB2, 0xEC},
        {0xB1, 0xED},
        {0xB3, 0xEE},
        {0xB0, 0xEF},
        {0xB4, 0xF0},
        {0xAC, 0xF1},
        {0xB7, 0xF2},
        {0xA6, 0xF3},
        {0xA7, 0xF4},
        {0xA9, 0xF5},
        {0xA8, 0xF6},
        {0xAA, 0xF7},
        {0xAB, 0xF8},
        {0xB6, 0xF9},
        // No usage: unlisted codes, codes beyond a byte, negative codes.
        {0x10, 0x00},
        {0x40, 0x00},
        {0xFF, 0x00},
        {0x141, 0x00},
        {-1, 0x00},
        {665, 0x00},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyUsage(c.virtual_key), c.usage) << "virtual key " << c.virtual_key;
    }
}

TEST(KeyUsageTest, DelayByte) {
    struct Case {
        int release;
        int delay;
        int byte;
    };
    const Case cases[] = {
        {0, 10, 0x01},    {1, 10, 0x81},      {0, 100, 0x0A},  {0, 500, 0x2A},  {0, 1000, 0x34},
        {0, 2000, 0x54},  {1, 5000, 0xE5},    {0, 0, 0x01},    {0, -50, 0x01},  {1, 0, 0x81},
        {0, 11, 0x01},    {0, 19, 0x01},      {0, 20, 0x02},   {0, 310, 0x1F},  {0, 311, 0x26},
        {0, 1550, 0x3F},  {0, 1551, 0x4F},    {0, 3100, 0x5F}, {0, 3101, 0x63}, {0, 31000, 0x7F},
        {1, 99999, 0xFF}, {0, 1 << 30, 0x7F},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DelayByte(c.release, c.delay), c.byte)
            << "release " << c.release << ", " << c.delay << " ms";
    }
}

TEST(KeyUsageTest, ShortcutSequences) {
    using Steps = std::vector<ShortcutStep>;
    const auto seq = [](int value) {
        const auto s = ShortcutSequence(value);
        return Steps(s.begin(), s.end());
    };
    EXPECT_EQ(seq(1), (Steps{{0xE0, false}, {0x04, false}, {0x04, true}, {0xE0, true}}));
    EXPECT_EQ(seq(10), (Steps{{0xE2, false}, {0x2B, false}, {0x2B, true}, {0xE2, true}}));
    EXPECT_EQ(seq(12), (Steps{{0xE0, false}, {0x1A, false}, {0x1A, true}, {0xE0, true}}));
    EXPECT_EQ(seq(13), (Steps{{0xE2, false},
                              {0x2C, false},
                              {0x1B, false},
                              {0x1B, true},
                              {0x2C, true},
                              {0xE2, true}}));
    EXPECT_EQ(seq(14)[2], (ShortcutStep{0x11, false}));
    EXPECT_EQ(seq(15), (Steps{{0xE2, false}, {0x3D, false}, {0x3D, true}, {0xE2, true}}));
    const int second_keys[] = {0x04, 0x06, 0x1B, 0x19, 0x1D, 0x16, 0x08, 0x0F, 0x07, 0x2B, 0x10};
    for (int v = 1; v <= 11; ++v) {
        EXPECT_EQ(seq(v).size(), 4u) << v;
        EXPECT_EQ(seq(v)[1].usage, second_keys[v - 1]) << v;
    }
    for (int v : {0, 16, -1, 1000}) {
        EXPECT_TRUE(seq(v).empty()) << v;
    }
}

} // namespace
} // namespace kovrin
