#pragma once
// Conversions between the UTF-8 texts the program keeps in memory and the
// UTF-16 units some formats and limits are defined in. Invalid input never
// reads past its buffer; it decodes to U+FFFD.

#include <cstddef>
#include <string>
#include <string_view>

namespace kovrin {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Number of UTF-16 units the UTF-8 text takes.
std::size_t Utf16Length(std::string_view utf8);

bool IsValidUtf8(std::string_view bytes);

// The longest prefix of the text that fits in max_units UTF-16 units and ends
// on a character boundary.
std::string CutToUtf16Units(std::string_view utf8, std::size_t max_units);
std::u16string CutToUtf16Units(std::u16string_view utf16, std::size_t max_units);

// Longest prefix of at most max_bytes bytes that ends on a UTF-8 character boundary.
std::string_view CutToUtf8Bytes(std::string_view utf8, std::size_t max_bytes);

} // namespace kovrin
