#include "xml/XmlLog.h"

#include "base/Utf.h"
#include "xml/XmlEntities.h"

namespace kovrin {

void XmlLog::Add(std::string_view entry, std::initializer_list<Attribute> attributes) {
    if (Full()) {
        return;
    }
    text_.push_back(u'<');
    text_.append(Ascii(entry));
    for (const Attribute& a : attributes) {
        text_.push_back(u' ');
        text_.append(Ascii(a.name));
        text_.append(u"=\"");
        text_.append(EncodeEntities(a.value, true));
        text_.push_back(u'"');
    }
    text_.append(u"/>");
}

void XmlLog::AddFileError(std::string_view message_utf8, int error_number) {
    const std::size_t line_end = message_utf8.find_first_of("\r\n");
    const std::u16string first_line = Utf8ToUtf16(message_utf8.substr(0, line_end));
    const std::u16string message = CutToUtf16Units(first_line, kMessageLimit);
    const std::u16string number =
        error_number < 0 ? u"-" + Number(static_cast<std::uint64_t>(-(std::int64_t{error_number})))
                         : Number(static_cast<std::uint64_t>(error_number));
    Add("file_error", {{"msg", message}, {"n", number}});
}

std::u16string XmlLog::Number(std::uint64_t value) {
    char16_t digits[24];
    std::size_t n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    std::u16string out;
    out.reserve(n);
    while (n > 0) {
        out.push_back(digits[--n]);
    }
    return out;
}

std::u16string XmlLog::Ascii(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (const char c : text) {
        out.push_back(static_cast<unsigned char>(c));
    }
    return out;
}

} // namespace kovrin
