#include "base/Utf.h"

#include <cstdint>

namespace kovrin {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 character at text[pos]; advances pos past what was used.
// Malformed input yields U+FFFD and consumes one byte.
char32_t DecodeOne(std::string_view text, std::size_t& pos) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    int extra;
    char32_t cp;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (text.size() - pos <= static_cast<std::size_t>(extra)) {
        ++pos;
        return kReplacement;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += extra + 1;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t cp = DecodeOne(utf8, pos);
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() + utf16.size() / 2);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        units += DecodeOne(utf8, pos) >= 0x10000 ? 2 : 1;
    }
    return units;
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t before = pos;
        if (DecodeOne(bytes, pos) == kReplacement) {
            // U+FFFD itself is valid when encoded as EF BF BD.
            if (pos - before != 3) {
                return false;
            }
        }
    }
    return true;
}

std::string CutToUtf16Units(std::string_view utf8, std::size_t max_units) {
    std::size_t units = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t next = pos;
        const std::size_t width = DecodeOne(utf8, next) >= 0x10000 ? 2 : 1;
        if (units + width > max_units) {
            break;
        }
        units += width;
        pos = next;
    }
    return std::string(utf8.substr(0, pos));
}

std::u16string CutToUtf16Units(std::u16string_view utf16, std::size_t max_units) {
    if (utf16.size() <= max_units) {
        return std::u16string(utf16);
    }
    std::size_t cut = max_units;
    // Never leave the high half of a surrogate pair at the end.
    if (cut > 0 && utf16[cut - 1] >= 0xD800 && utf16[cut - 1] <= 0xDBFF) {
        --cut;
    }
    return std::u16string(utf16.substr(0, cut));
}

std::string_view CutToUtf8Bytes(std::string_view utf8, std::size_t max_bytes) {
    if (utf8.size() <= max_bytes) {
        return utf8;
    }
    std::size_t cut = max_bytes;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return utf8.substr(0, cut);
}

} // namespace kovrin
