#pragma once
// Reading and writing XML files in their encodings.

#include "xml/XmlLog.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kovrin {

// Reads the file and decodes it to UTF-16: byte-order marks first, then the
// encoding declaration (or an HTML meta charset) in the first 1,024 bytes,
// then UTF-8 for files that start with '<', then a UTF-8 test of the content;
// anything else is windows-1252. Zero units are dropped. The byte-order-mark
// flag found replaces the one in flags. Logs what it did; false when the file
// cannot be read.
bool DecodeFile(const std::string& path, std::u16string& text, XmlLog& log, std::uint32_t& flags);

// Encodes the text as the byte-order-mark flag in flags says, else as the
// text declares (UTF-8 when it declares nothing), and replaces the file with
// it. The file is never left half written. Logs what it did.
bool EncodeFile(const std::string& path, std::u16string_view text, std::uint32_t flags,
                XmlLog& log);

// The encoding an XML declaration at the very start of the text names, or for
// HTML the charset of a Content-Type meta element in the head; empty if none.
std::string DeclaredEncoding(std::u16string_view text);
std::string DeclaredEncoding(std::string_view utf8);

} // namespace kovrin
