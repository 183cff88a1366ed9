#pragma once
// Character escaping for XML text and attribute values.

#include <string>
#include <string_view>

namespace kovrin {

// Attribute mode replaces < & > ' " with entity references; text mode only < & >.
std::u16string EncodeEntities(std::u16string_view text, bool attribute_mode);
std::string EncodeEntities(std::string_view utf8, bool attribute_mode);

// Replaces character references (&#65; &#x41;) and the named HTML 4 entities
// plus &apos;. Names are looked up without regard to case; where two names
// differ only in case, the one spelled with capitals wins (&eacute; gives
// U+00C9). Anything that is not a complete, known reference is kept as written,
// and so are references to 0, to surrogates and beyond U+10FFFF.
std::u16string DecodeEntities(std::u16string_view text);
std::string DecodeEntities(std::string_view utf8);

// Code point of a named entity (case-folded lookup), 0 when unknown.
char32_t EntityCodePoint(std::u16string_view name);

} // namespace kovrin
