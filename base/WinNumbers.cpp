#include "base/WinNumbers.h"

#include <limits>

namespace kovrin {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') {
        v = c - '0';
    } else if (c >= 'a' && c <= 'z') {
        v = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'Z') {
        v = c - 'A' + 10;
    }
    return v < base ? v : -1;
}

std::int32_t Parse(std::string_view text, int base) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (base == 16 && i + 1 < text.size() && text[i] == '0' &&
        (text[i + 1] == 'x' || text[i + 1] == 'X') && i + 2 < text.size() &&
        DigitValue(text[i + 2], 16) >= 0) {
        i += 2;
    }
    std::int64_t value = 0;
    bool overflow = false;
    for (; i < text.size(); ++i) {
        const int d = DigitValue(text[i], base);
        if (d < 0) {
            break;
        }
        if (!overflow) {
            value = value * base + d;
            if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) {
                overflow = true;
            }
        }
    }
    if (negative) {
        value = -value;
    }
    if (overflow || value > std::numeric_limits<std::int32_t>::max()) {
        return negative ? std::numeric_limits<std::int32_t>::min()
                        : std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

std::int32_t ParseDecimal(std::string_view text) {
    return Parse(text, 10);
}

std::int32_t ParseHex(std::string_view text) {
    return Parse(text, 16);
}

} // namespace kovrin
