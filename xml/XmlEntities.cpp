#include "xml/XmlEntities.h"

#include "base/Utf.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace kovrin {
namespace {

struct Entity {
    const char* name;
    char32_t code;
};

// The HTML 4 character entities and apos.
constexpr Entity kEntities[] = {
    {"quot", 34},
    {"amp", 38},
    {"apos", 39},
    {"lt", 60},
    {"gt", 62},
    // Latin-1
    {"nbsp", 160},
    {"iexcl", 161},
    {"cent", 162},
    {"pound", 163},
    {"curren", 164},
    {"yen", 165},
    {"brvbar", 166},
    {"sect", 167},
    {"uml", 168},
    {"copy", 169},
    {"ordf", 170},
    {"laquo", 171},
    {"not", 172},
    {"shy", 173},
    {"reg", 174},
    {"macr", 175},
    {"deg", 176},
    {"plusmn", 177},
    {"sup2", 178},
    {"sup3", 179},
    {"acute", 180},
    {"micro", 181},
    {"para", 182},
    {"middot", 183},
    {"cedil", 184},
    {"sup1", 185},
    {"ordm", 186},
    {"raquo", 187},
    {"frac14", 188},
    {"frac12", 189},
    {"frac34", 190},
    {"iquest", 191},
    {"Agrave", 192},
    {"Aacute", 193},
    {"Acirc", 194},
    {"Atilde", 195},
    {"Auml", 196},
    {"Aring", 197},
    {"AElig", 198},
    {"Ccedil", 199},
    {"Egrave", 200},
    {"Eacute", 201},
    {"Ecirc", 202},
    {"Euml", 203},
    {"Igrave", 204},
    {"Iacute", 205},
    {"Icirc", 206},
    {"Iuml", 207},
    {"ETH", 208},
    {"Ntilde", 209},
    {"Ograve", 210},
    {"Oacute", 211},
    {"Ocirc", 212},
    {"Otilde", 213},
    {"Ouml", 214},
    {"times", 215},
    {"Oslash", 216},
    {"Ugrave", 217},
    {"Uacute", 218},
    {"Ucirc", 219},
    {"Uuml", 220},
    {"Yacute", 221},
    {"THORN", 222},
    {"szlig", 223},
    {"agrave", 224},
    {"aacute", 225},
    {"acirc", 226},
    {"atilde", 227},
    {"auml", 228},
    {"aring", 229},
    {"aelig", 230},
    {"ccedil", 231},
    {"egrave", 232},
    {"eacute", 233},
    {"ecirc", 234},
    {"euml", 235},
    {"igrave", 236},
    {"iacute", 237},
    {"icirc", 238},
    {"iuml", 239},
    {"eth", 240},
    {"ntilde", 241},
    {"ograve", 242},
    {"oacute", 243},
    {"ocirc", 244},
    {"otilde", 245},
    {"ouml", 246},
    {"divide", 247},
    {"oslash", 248},
    {"ugrave", 249},
    {"uacute", 250},
    {"ucirc", 251},
    {"uuml", 252},
    {"yacute", 253},
    {"thorn", 254},
    {"yuml", 255},
    // Latin Extended, spacing modifiers, general punctuation
    {"OElig", 338},
    {"oelig", 339},
    {"Scaron", 352},
    {"scaron", 353},
    {"Yuml", 376},
    {"fnof", 402},
    {"circ", 710},
    {"tilde", 732},
    {"ensp", 8194},
    {"emsp", 8195},
    {"thinsp", 8201},
    {"zwnj", 8204},
    {"zwj", 8205},
    {"lrm", 8206},
    {"rlm", 8207},
    {"ndash", 8211},
    {"mdash", 8212},
    {"lsquo", 8216},
    {"rsquo", 8217},
    {"sbquo", 8218},
    {"ldquo", 8220},
    {"rdquo", 8221},
    {"bdquo", 8222},
    {"dagger", 8224},
    {"Dagger", 8225},
    {"bull", 8226},
    {"hellip", 8230},
    {"permil", 8240},
    {"prime", 8242},
    {"Prime", 8243},
    {"lsaquo", 8249},
    {"rsaquo", 8250},
    {"oline", 8254},
    {"frasl", 8260},
    {"euro", 8364},
    // Greek
    {"Alpha", 913},
    {"Beta", 914},
    {"Gamma", 915},
    {"Delta", 916},
    {"Epsilon", 917},
    {"Zeta", 918},
    {"Eta", 919},
    {"Theta", 920},
    {"Iota", 921},
    {"Kappa", 922},
    {"Lambda", 923},
    {"Mu", 924},
    {"Nu", 925},
    {"Xi", 926},
    {"Omicron", 927},
    {"Pi", 928},
    {"Rho", 929},
    {"Sigma", 931},
    {"Tau", 932},
    {"Upsilon", 933},
    {"Phi", 934},
    {"Chi", 935},
    {"Psi", 936},
    {"Omega", 937},
    {"alpha", 945},
    {"beta", 946},
    {"gamma", 947},
    {"delta", 948},
    {"epsilon", 949},
    {"zeta", 950},
    {"eta", 951},
    {"theta", 952},
    {"iota", 953},
    {"kappa", 954},
    {"lambda", 955},
    {"mu", 956},
    {"nu", 957},
    {"xi", 958},
    {"omicron", 959},
    {"pi", 960},
    {"rho", 961},
    {"sigmaf", 962},
    {"sigma", 963},
    {"tau", 964},
    {"upsilon", 965},
    {"phi", 966},
    {"chi", 967},
    {"psi", 968},
    {"omega", 969},
    {"thetasym", 977},
    {"upsih", 978},
    {"piv", 982},
    // Letterlike symbols and arrows
    {"weierp", 8472},
    {"image", 8465},
    {"real", 8476},
    {"trade", 8482},
    {"alefsym", 8501},
    {"larr", 8592},
    {"uarr", 8593},
    {"rarr", 8594},
    {"darr", 8595},
    {"harr", 8596},
    {"crarr", 8629},
    {"lArr", 8656},
    {"uArr", 8657},
    {"rArr", 8658},
    {"dArr", 8659},
    {"hArr", 8660},
    // Mathematical operators
    {"forall", 8704},
    {"part", 8706},
    {"exist", 8707},
    {"empty", 8709},
    {"nabla", 8711},
    {"isin", 8712},
    {"notin", 8713},
    {"ni", 8715},
    {"prod", 8719},
    {"sum", 8721},
    {"minus", 8722},
    {"lowast", 8727},
    {"radic", 8730},
    {"prop", 8733},
    {"infin", 8734},
    {"ang", 8736},
    {"and", 8743},
    {"or", 8744},
    {"cap", 8745},
    {"cup", 8746},
    {"int", 8747},
    {"there4", 8756},
    {"sim", 8764},
    {"cong", 8773},
    {"asymp", 8776},
    {"ne", 8800},
    {"equiv", 8801},
    {"le", 8804},
    {"ge", 8805},
    {"sub", 8834},
    {"sup", 8835},
    {"nsub", 8836},
    {"sube", 8838},
    {"supe", 8839},
    {"oplus", 8853},
    {"otimes", 8855},
    {"perp", 8869},
    {"sdot", 8901},
    // Technical, geometric and other symbols
    {"lceil", 8968},
    {"rceil", 8969},
    {"lfloor", 8970},
    {"rfloor", 8971},
    {"lang", 9001},
    {"rang", 9002},
    {"loz", 9674},
    {"spades", 9824},
    {"clubs", 9827},
    {"hearts", 9829},
    {"diams", 9830},
};

constexpr std::size_t kMaxNameLength = 8;

struct FoldedEntity {
    std::array<char, kMaxNameLength> name{}; // lower case, zero padded
    char32_t code = 0;
    bool has_capitals = false;
};

bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

std::array<char, kMaxNameLength> FoldedKey(std::u16string_view name) {
    std::array<char, kMaxNameLength> key{};
    for (std::size_t i = 0; i < name.size() && i < kMaxNameLength; ++i) {
        char16_t c = name[i];
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c + 32);
        }
        key[i] = static_cast<char>(c);
    }
    return key;
}

// Sorted by folded name; of names equal after folding only the capitalised one
// is kept.
const std::vector<FoldedEntity>& FoldedTable() {
    static const std::vector<FoldedEntity> table = [] {
        std::vector<FoldedEntity> t;
        for (const Entity& e : kEntities) {
            FoldedEntity f;
            const std::string_view name(e.name);
            for (std::size_t i = 0; i < name.size(); ++i) {
                f.name[i] = IsUpper(name[i]) ? static_cast<char>(name[i] + 32) : name[i];
                f.has_capitals = f.has_capitals || IsUpper(name[i]);
            }
            f.code = e.code;
            t.push_back(f);
        }
        std::stable_sort(t.begin(), t.end(), [](const FoldedEntity& a, const FoldedEntity& b) {
            if (a.name != b.name) {
                return a.name < b.name;
            }
            return a.has_capitals && !b.has_capitals;
        });
        t.erase(std::unique(
                    t.begin(), t.end(),
                    [](const FoldedEntity& a, const FoldedEntity& b) { return a.name == b.name; }),
                t.end());
        return t;
    }();
    return table;
}

// Value of a character reference body ("#65", "#x41"), 0 when it is not one
// or names no character that can be written.
char32_t CharacterReference(std::u16string_view body) {
    if (body.size() < 2 || body[0] != u'#') {
        return 0;
    }
    const bool hex = body[1] == u'x' || body[1] == u'X';
    const std::u16string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) {
        return 0;
    }
    std::uint32_t value = 0;
    for (const char16_t c : digits) {
        std::uint32_t d;
        if (c >= u'0' && c <= u'9') {
            d = c - u'0';
        } else if (hex && c >= u'a' && c <= u'f') {
            d = c - u'a' + 10;
        } else if (hex && c >= u'A' && c <= u'F') {
            d = c - u'A' + 10;
        } else {
            return 0;
        }
        value = value * (hex ? 16 : 10) + d;
        if (value > 0x10FFFF) {
            return 0;
        }
    }
    if (value >= 0xD800 && value <= 0xDFFF) {
        return 0;
    }
    return value;
}

void AppendCodePoint(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

} // namespace

char32_t EntityCodePoint(std::u16string_view name) {
    if (name.empty() || name.size() > kMaxNameLength) {
        return 0;
    }
    for (const char16_t c : name) {
        if (c >= 0x80) {
            return 0;
        }
    }
    const auto key = FoldedKey(name);
    const auto& table = FoldedTable();
    const auto it =
        std::lower_bound(table.begin(), table.end(), key,
                         [](const FoldedEntity& e, const std::array<char, kMaxNameLength>& k) {
                             return e.name < k;
                         });
    return it != table.end() && it->name == key ? it->code : 0;
}

std::u16string EncodeEntities(std::u16string_view text, bool attribute_mode) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 10 + 7);
    for (const char16_t c : text) {
        switch (c) {
        case u'<':
            out.append(u"&lt;");
            break;
        case u'&':
            out.append(u"&amp;");
            break;
        case u'>':
            out.append(u"&gt;");
            break;
        case u'\'':
            out.append(attribute_mode ? u"&apos;" : u"'");
            break;
        case u'"':
            out.append(attribute_mode ? u"&quot;" : u"\"");
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

std::string EncodeEntities(std::string_view utf8, bool attribute_mode) {
    return Utf16ToUtf8(EncodeEntities(Utf8ToUtf16(utf8), attribute_mode));
}

std::u16string DecodeEntities(std::u16string_view text) {
    std::u16string out;
    std::size_t amp = text.find(u'&');
    if (amp == std::u16string_view::npos) {
        return std::u16string(text);
    }
    out.reserve(text.size());
    std::size_t pos = 0;
    // At most this many characters after '&', the ';' included.
    constexpr std::size_t kWindow = 9;
    while (amp != std::u16string_view::npos) {
        out.append(text.substr(pos, amp - pos));
        std::size_t semicolon = std::u16string_view::npos;
        for (std::size_t i = amp + 1; i < text.size() && i <= amp + kWindow; ++i) {
            if (text[i] >= 0x80) {
                break;
            }
            if (text[i] == u';') {
                semicolon = i;
                break;
            }
        }
        char32_t cp = 0;
        if (semicolon != std::u16string_view::npos) {
            const std::u16string_view name = text.substr(amp + 1, semicolon - amp - 1);
            cp =
                !name.empty() && name[0] == u'#' ? CharacterReference(name) : EntityCodePoint(name);
        }
        if (cp != 0) {
            AppendCodePoint(out, cp);
            pos = semicolon + 1;
        } else {
            out.push_back(u'&');
            pos = amp + 1;
        }
        amp = text.find(u'&', pos);
    }
    out.append(text.substr(pos));
    return out;
}

std::string DecodeEntities(std::string_view utf8) {
    return Utf16ToUtf8(DecodeEntities(Utf8ToUtf16(utf8)));
}

} // namespace kovrin
