#include "base/WinNumbers.h"

#include <gtest/gtest.h>

using namespace kovrin;

TEST(WinNumbers, DecimalLikeTheCRuntime) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"42", 42},
        {"  -17x", -17},
        {"+8", 8},
        {"", 0},
        {"abc", 0},
        {"0x10", 0},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999999999999", -2147483647 - 1},
        {"\t 12 34", 12},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDecimal(c.text), c.value) << c.text;
    }
}

TEST(WinNumbers, HexWithOrWithoutPrefix) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"0x1A", 26},
        {"1a", 26},
        {"0X0d", 13},
        {"FF01", 0xFF01},
        {"0x", 0},
        {"0xg", 0},
        {"-0x10", -16},
        {"7FFFFFFF", 0x7FFFFFFF},
        {"80000000", 0x7FFFFFFF},
        {"zz", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseHex(c.text), c.value) << c.text;
    }
}
