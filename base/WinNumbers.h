#pragma once
// Number parsing with the semantics the stored files were written for:
// leading white space skipped, an optional sign, as many digits as follow,
// 32-bit results clamped on overflow, 0 when no digit follows. Never throws.

#include <cstdint>
#include <string_view>

namespace kovrin {

// Decimal, like the C runtime's _wtoi.
std::int32_t ParseDecimal(std::string_view text);

// Hexadecimal with or without a "0x"/"0X" prefix, like wcstol(text, nullptr, 16)
// with a 32-bit long.
std::int32_t ParseHex(std::string_view text);

} // namespace kovrin
