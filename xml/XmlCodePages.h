#pragma once
// Encoding names, code page numbers and the conversions between UTF-16 and
// the byte encodings of files.

#include <string>
#include <string_view>

namespace kovrin {

// Code page numbers as the stored files' encodings are known by.
constexpr int kCodePageAnsi = 0; // stands for windows-1252
constexpr int kCodePageUtf16Le = 1200;
constexpr int kCodePageUtf16Be = 1201;
constexpr int kCodePageUtf32Le = 12000;
constexpr int kCodePageUtf32Be = 12001;
constexpr int kCodePageUtf32 = 65005; // any name starting with "UTF-32"
constexpr int kCodePageUtf8 = 65001;

// 65005 for names starting with "UTF-32", 0 for the empty name, -1 for names
// of 100 characters or more and for unknown names; otherwise the code page of
// the name, looked up without regard to ASCII case.
int CodePageForName(std::string_view name);

// Bytes in the named encoding to UTF-16. Unknown or empty names mean
// windows-1252. Bytes that do not form a character become U+FFFD. UTF-16 and
// UTF-32 names are read as UTF-8: text whose encoding declaration could be
// read as 8-bit text is not in a 16- or 32-bit form.
std::u16string DecodeBytes(std::string_view bytes, std::string_view encoding);

// UTF-16 to the named encoding (unknown or empty names: windows-1252).
// Characters the target cannot hold are written as its '?', and loss is set
// when the code page is one that reports that. UTF-16 names give UTF-16LE or
// UTF-16BE units without a mark; the caller writes the mark.
std::string EncodeText(std::u16string_view text, std::string_view encoding, bool* loss);

// Whether a conversion to this code page reports characters it could not hold.
bool ReportsConversionLoss(int code_page);

// UTF-8 to UTF-16; each byte of a malformed sequence becomes U+FFFD.
std::u16string DecodeUtf8(std::string_view utf8);

} // namespace kovrin
