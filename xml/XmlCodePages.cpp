#include "xml/XmlCodePages.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace kovrin {
namespace {

struct NamedCodePage {
    std::string_view name;
    int code_page;
};

constexpr NamedCodePage kNames[] = {
#include "xml/XmlCodePageNames.inc"
};

constexpr std::size_t kMaxNameLength = 100;

const std::vector<NamedCodePage>& SortedNames() {
    static const std::vector<NamedCodePage> table = [] {
        std::vector<NamedCodePage> t(std::begin(kNames), std::end(kNames));
        std::sort(t.begin(), t.end(),
                  [](const NamedCodePage& a, const NamedCodePage& b) { return a.name < b.name; });
        return t;
    }();
    return table;
}

struct IconvName {
    int code_page;
    const char* name;
};

// How the C library's converter knows each code page.
constexpr IconvName kIconvNames[] = {
    {37, "IBM037"},         {437, "IBM437"},         {500, "IBM500"},
    {708, "ASMO-708"},      {737, "CP737"},          {775, "IBM775"},
    {850, "IBM850"},        {852, "IBM852"},         {855, "IBM855"},
    {857, "IBM857"},        {858, "IBM858"},         {860, "IBM860"},
    {861, "IBM861"},        {862, "IBM862"},         {863, "IBM863"},
    {864, "IBM864"},        {865, "IBM865"},         {866, "IBM866"},
    {869, "IBM869"},        {870, "IBM870"},         {874, "WINDOWS-874"},
    {875, "CP875"},         {932, "CP932"},          {936, "CP936"},
    {949, "CP949"},         {950, "CP950"},          {1026, "IBM1026"},
    {1047, "IBM1047"},      {1140, "IBM1140"},       {1141, "IBM1141"},
    {1142, "IBM1142"},      {1143, "IBM1143"},       {1144, "IBM1144"},
    {1145, "IBM1145"},      {1146, "IBM1146"},       {1147, "IBM1147"},
    {1148, "IBM1148"},      {1149, "IBM1149"},       {1250, "CP1250"},
    {1251, "CP1251"},       {1252, "CP1252"},        {1253, "CP1253"},
    {1254, "CP1254"},       {1255, "CP1255"},        {1256, "CP1256"},
    {1257, "CP1257"},       {1258, "CP1258"},        {1361, "JOHAB"},
    {10000, "MACINTOSH"},   {10007, "MAC-CYRILLIC"}, {10029, "MAC-CENTRALEUROPE"},
    {10079, "MAC-IS"},      {20127, "ASCII"},        {20273, "IBM273"},
    {20277, "IBM277"},      {20278, "IBM278"},       {20280, "IBM280"},
    {20284, "IBM284"},      {20285, "IBM285"},       {20290, "IBM290"},
    {20297, "IBM297"},      {20420, "IBM420"},       {20423, "IBM423"},
    {20424, "IBM424"},      {20866, "KOI8-R"},       {20871, "IBM871"},
    {20880, "IBM880"},      {20905, "IBM905"},       {21866, "KOI8-U"},
    {28591, "ISO-8859-1"},  {28592, "ISO-8859-2"},   {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},  {28595, "ISO-8859-5"},   {28596, "ISO-8859-6"},
    {28597, "ISO-8859-7"},  {28598, "ISO-8859-8"},   {28599, "ISO-8859-9"},
    {28603, "ISO-8859-13"}, {28605, "ISO-8859-15"},  {38598, "ISO-8859-8"},
    {50220, "ISO-2022-JP"}, {50221, "ISO-2022-JP"},  {50225, "ISO-2022-KR"},
    {51932, "EUC-JP"},      {51936, "EUC-CN"},       {51949, "EUC-KR"},
    {54936, "GB18030"},     {65000, "UTF-7"},
};

constexpr const char* kAnsiIconvName = "CP1252";

const char* IconvNameFor(int code_page) {
    for (const IconvName& n : kIconvNames) {
        if (n.code_page == code_page) {
            return n.name;
        }
    }
    return kAnsiIconvName;
}

enum class Form { Utf8, Utf16Le, Utf16Be, Utf32Le, Utf32Be, Iconv };

Form FormOf(std::string_view encoding, int code_page) {
    switch (code_page) {
    case kCodePageUtf8:
        return Form::Utf8;
    case kCodePageUtf16Le:
        return Form::Utf16Le;
    case kCodePageUtf16Be:
        return Form::Utf16Be;
    case kCodePageUtf32Le:
        return Form::Utf32Le;
    case kCodePageUtf32Be:
        return Form::Utf32Be;
    case kCodePageUtf32:
        return encoding.size() >= 8 &&
                       (encoding.substr(6, 2) == "BE" || encoding.substr(6, 2) == "be")
                   ? Form::Utf32Be
                   : Form::Utf32Le;
    default:
        return Form::Iconv;
    }
}

// Closes the converter descriptor when it goes out of scope.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

void AppendLe16(std::string& out, char16_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

std::u16string FromLe16Bytes(std::string_view bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return out;
}

// Converts everything from in, appending to out, then flushes the
// converter's state. on_error(errno) is called for each character the
// converter refuses and must move `in` past it.
template <typename OnError>
void RunIconv(Converter& cd, char*& in, std::size_t& in_left, std::string& out, OnError on_error) {
    char buffer[16384];
    for (;;) {
        char* op = buffer;
        std::size_t out_left = sizeof buffer;
        const bool flushing = in_left == 0;
        const std::size_t r = flushing ? iconv(cd.get(), nullptr, nullptr, &op, &out_left)
                                       : iconv(cd.get(), &in, &in_left, &op, &out_left);
        const int error = errno;
        out.append(buffer, static_cast<std::size_t>(op - buffer));
        if (r != static_cast<std::size_t>(-1)) {
            if (flushing) {
                return;
            }
            continue;
        }
        if (error == E2BIG) {
            continue;
        }
        if (flushing) {
            return;
        }
        on_error(error);
    }
}

std::u16string IconvDecode(std::string_view bytes, const char* from) {
    Converter cd("UTF-16LE", from);
    if (!cd.valid()) {
        // Every name in the table is known to the C library; should one be
        // missing, read the bytes as Latin-1 rather than lose them.
        return std::u16string(reinterpret_cast<const unsigned char*>(bytes.data()),
                              reinterpret_cast<const unsigned char*>(bytes.data()) + bytes.size());
    }
    std::string out;
    out.reserve(bytes.size() * 2);
    char* in = const_cast<char*>(bytes.data());
    std::size_t in_left = bytes.size();
    RunIconv(cd, in, in_left, out, [&](int error) {
        // EILSEQ: a byte that starts no character; EINVAL: a character cut
        // off by the end of the data.
        AppendLe16(out, 0xFFFD);
        if (error == EILSEQ) {
            ++in;
            --in_left;
        } else {
            in_left = 0;
        }
    });
    return FromLe16Bytes(out);
}

std::string IconvEncode(std::u16string_view text, const char* to, bool* loss) {
    Converter cd(to, "UTF-16LE");
    std::string source;
    source.reserve(text.size() * 2);
    for (const char16_t u : text) {
        AppendLe16(source, u);
    }
    if (!cd.valid()) {
        return {};
    }
    // The target's own '?' stands for characters it cannot hold.
    std::string replacement = "?";
    {
        Converter q(to, "UTF-16LE");
        char question[2] = {'?', '\0'};
        char* qin = question;
        std::size_t qin_left = 2;
        char qout[16];
        char* qop = qout;
        std::size_t qout_left = sizeof qout;
        if (q.valid() &&
            iconv(q.get(), &qin, &qin_left, &qop, &qout_left) != static_cast<std::size_t>(-1)) {
            replacement.assign(qout, static_cast<std::size_t>(qop - qout));
        }
    }
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    char* in = source.data();
    std::size_t in_left = source.size();
    RunIconv(cd, in, in_left, out, [&](int) {
        // The character at `in` has no equivalent, or is a lone surrogate.
        std::size_t skip = 2;
        if (in_left >= 4) {
            const auto* p = reinterpret_cast<const unsigned char*>(in);
            const unsigned high = p[0] | (p[1] << 8);
            const unsigned low = p[2] | (p[3] << 8);
            if (high >= 0xD800 && high <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF) {
                skip = 4;
            }
        }
        skip = std::min(skip, in_left);
        in += skip;
        in_left -= skip;
        out += replacement;
        *loss = true;
    });
    return out;
}

std::string Utf32Encode(std::u16string_view text, bool big_endian) {
    std::string out;
    out.reserve(text.size() * 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        for (int b = 0; b < 4; ++b) {
            const int shift = big_endian ? 24 - 8 * b : 8 * b;
            out.push_back(static_cast<char>((cp >> shift) & 0xFF));
        }
    }
    return out;
}

} // namespace

int CodePageForName(std::string_view name) {
    if (name.substr(0, 6) == "UTF-32") {
        return kCodePageUtf32;
    }
    if (name.empty()) {
        return kCodePageAnsi;
    }
    if (name.size() >= kMaxNameLength) {
        return -1;
    }
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    const auto& table = SortedNames();
    const auto it = std::lower_bound(
        table.begin(), table.end(), std::string_view(folded),
        [](const NamedCodePage& entry, std::string_view key) { return entry.name < key; });
    return it != table.end() && it->name == folded ? it->code_page : -1;
}

bool ReportsConversionLoss(int code_page) {
    if ((code_page >= 50220 && code_page <= 50222) || code_page == 50225 || code_page == 50227 ||
        code_page == 50229 || code_page == 52936 || code_page == 54936 ||
        (code_page >= 57002 && code_page <= 57011) || code_page == 65000 ||
        code_page == kCodePageUtf8) {
        return false;
    }
    return true;
}

std::u16string DecodeBytes(std::string_view bytes, std::string_view encoding) {
    const int code_page = CodePageForName(encoding);
    if (FormOf(encoding, code_page) != Form::Iconv) {
        return DecodeUtf8(bytes);
    }
    return IconvDecode(bytes, IconvNameFor(code_page));
}

std::string EncodeText(std::u16string_view text, std::string_view encoding, bool* loss) {
    const int code_page = CodePageForName(encoding);
    switch (FormOf(encoding, code_page)) {
    case Form::Utf8:
        return EncodeUtf8(text);
    case Form::Utf16Le:
    case Form::Utf16Be: {
        const bool big = FormOf(encoding, code_page) == Form::Utf16Be;
        std::string out;
        out.reserve(text.size() * 2);
        for (const char16_t u : text) {
            if (big) {
                out.push_back(static_cast<char>(u >> 8));
                out.push_back(static_cast<char>(u & 0xFF));
            } else {
                AppendLe16(out, u);
            }
        }
        return out;
    }
    case Form::Utf32Le:
        return Utf32Encode(text, false);
    case Form::Utf32Be:
        return Utf32Encode(text, true);
    case Form::Iconv:
        break;
    }
    bool lost = false;
    std::string out = IconvEncode(text, IconvNameFor(code_page), &lost);
    if (loss && lost && ReportsConversionLoss(code_page)) {
        *loss = true;
    }
    return out;
}

std::u16string DecodeUtf8(std::string_view utf8) {
    std::u16string out(utf8.size(), u'\0');
    char16_t* o = out.data();
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* const end = p + utf8.size();
    while (p < end) {
        // Plain ASCII eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t chunk;
            std::memcpy(&chunk, p, 8);
            if (chunk & 0x8080808080808080ULL) {
                break;
            }
            for (int i = 0; i < 8; ++i) {
                o[i] = p[i];
            }
            o += 8;
            p += 8;
        }
        if (p == end) {
            break;
        }
        const unsigned b0 = *p;
        if (b0 < 0x80) {
            *o++ = static_cast<char16_t>(b0);
            ++p;
            continue;
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
            *o++ = 0xFFFD;
            ++p;
            continue;
        }
        bool ok = end - p > extra;
        for (int i = 1; ok && i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                ok = false;
            } else {
                cp = (cp << 6) | (p[i] & 0x3F);
            }
        }
        if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            *o++ = 0xFFFD;
            ++p;
            continue;
        }
        if (cp >= 0x10000) {
            *o++ = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            *o++ = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            *o++ = static_cast<char16_t>(cp);
        }
        p += extra + 1;
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

std::string EncodeUtf8(std::u16string_view utf16) {
    const std::size_t n = utf16.size();
    auto is_pair = [&](std::size_t i) {
        return utf16[i] >= 0xD800 && utf16[i] <= 0xDBFF && i + 1 < n && utf16[i + 1] >= 0xDC00 &&
               utf16[i + 1] <= 0xDFFF;
    };
    std::size_t length = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t u = utf16[i];
        if (u < 0x80) {
            length += 1;
        } else if (u < 0x800) {
            length += 2;
        } else if (is_pair(i)) {
            length += 4;
            ++i;
        } else {
            length += 3; // lone surrogates become U+FFFD, also three bytes
        }
    }
    std::string out(length, '\0');
    char* o = out.data();
    for (std::size_t i = 0; i < n; ++i) {
        char32_t cp = utf16[i];
        if (cp < 0x80) {
            *o++ = static_cast<char>(cp);
            continue;
        }
        if (cp < 0x800) {
            *o++ = static_cast<char>(0xC0 | (cp >> 6));
            *o++ = static_cast<char>(0x80 | (cp & 0x3F));
            continue;
        }
        if (is_pair(i)) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
            *o++ = static_cast<char>(0xF0 | (cp >> 18));
            *o++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *o++ = static_cast<char>(0x80 | (cp & 0x3F));
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        *o++ = static_cast<char>(0xE0 | (cp >> 12));
        *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

} // namespace kovrin
