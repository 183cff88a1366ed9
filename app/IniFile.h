#pragma once
// Initialisation files: "[section]" headers and "key=value" lines. Section
// and key names compare without regard to ASCII case; values are trimmed and
// lose one pair of surrounding quotes. Lines starting with ';' are comments.

#include <optional>
#include <string>
#include <string_view>

namespace kovrin {

// The file's bytes as UTF-8: a UTF-8 mark is dropped, UTF-16LE/BE with a mark
// are converted, anything else is taken as UTF-8.
std::string DecodeIniBytes(std::string_view bytes);

// Value of key in the first section of that name; nullopt when either is missing.
std::optional<std::string> IniLookup(std::string_view text, std::string_view section,
                                     std::string_view key);

// The text with key set to value in the section: the first existing line of
// the key is replaced, otherwise a line is added at the section's end (and
// the section is added at the end of the text when missing). New lines end
// like the file's lines; the other lines are kept as they are.
std::string IniSet(std::string_view text, std::string_view section, std::string_view key,
                   std::string_view value);

} // namespace kovrin
