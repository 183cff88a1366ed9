#include "xml/XmlEncoding.h"

#include "base/Utf.h"
#include "platform/Files.h"
#include "xml/XmlCodePages.h"
#include "xml/XmlDocument.h"
#include "xml/XmlMarkup.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kovrin {
namespace {

using xml::NodeKind;
using xml::Text;

constexpr std::size_t kDetectionPrefix = 1024;

bool EqualsIgnoreCase(Text a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i];
        char16_t y = b[i];
        x = x >= u'A' && x <= u'Z' ? static_cast<char16_t>(x + 32) : x;
        y = y >= u'A' && y <= u'Z' ? static_cast<char16_t>(y + 32) : y;
        if (x != y) {
            return false;
        }
    }
    return true;
}

// Value of the named attribute of the tag [name_end, tag_end), without
// entity decoding; found reports whether the attribute exists.
Text RawAttribute(Text text, std::size_t name_end, std::size_t tag_end, std::u16string_view name,
                  bool* found) {
    Text value;
    *found = false;
    xml::ForEachAttribute(text, name_end, tag_end, [&](const xml::AttributeSpan& a) {
        if (!EqualsIgnoreCase(text.substr(a.name.begin, a.name.size()), name)) {
            return false;
        }
        *found = true;
        value = text.substr(a.value.begin, a.value.size());
        return true;
    });
    return value;
}

// "text/html; charset=windows-1252" -> "windows-1252".
Text CharsetOfContentType(Text content) {
    for (std::size_t i = 0; i + 7 <= content.size(); ++i) {
        if (!EqualsIgnoreCase(content.substr(i, 7), u"charset")) {
            continue;
        }
        std::size_t p = i + 7;
        while (p < content.size() && xml::IsSpace(content[p])) {
            ++p;
        }
        if (p >= content.size() || content[p] != u'=') {
            continue;
        }
        ++p;
        while (p < content.size() && xml::IsSpace(content[p])) {
            ++p;
        }
        std::size_t end = p;
        while (end < content.size() && content[end] != u';' && !xml::IsSpace(content[end]) &&
               content[end] != u'"' && content[end] != u'\'') {
            ++end;
        }
        return content.substr(p, end - p);
    }
    return {};
}

bool ReadBytes(const std::string& path, std::string& bytes, int& error) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = errno != 0 ? errno : EIO;
        return false;
    }
    char chunk[65536];
    for (;;) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, file);
        bytes.append(chunk, n);
        if (n < sizeof chunk) {
            break;
        }
    }
    const bool failed = std::ferror(file) != 0;
    error = failed ? (errno != 0 ? errno : EIO) : 0;
    std::fclose(file);
    return !failed;
}

// The shape test for UTF-8: every byte from 0x80 up leads a sequence whose
// length its bits 5, 4 and 3 give, and is followed by that many bytes from
// 0x80 up, all inside the data.
bool LooksLikeUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t follow;
        if (!(b & 0x20)) {
            follow = 1;
        } else if (!(b & 0x10)) {
            follow = 2;
        } else if (!(b & 0x08)) {
            follow = 3;
        } else {
            return false;
        }
        if (bytes.size() - i <= follow) {
            return false;
        }
        for (std::size_t k = 1; k <= follow; ++k) {
            if (static_cast<unsigned char>(bytes[i + k]) < 0x80) {
                return false;
            }
        }
        i += follow + 1;
    }
    return true;
}

std::u16string AsciiText(std::string_view text) {
    return XmlLog::Ascii(text);
}

std::u16string LogText(std::string_view utf8) {
    return Utf8ToUtf16(utf8);
}

} // namespace

std::string DeclaredEncoding(std::u16string_view text) {
    if (text.substr(0, 2) == u"<?") {
        const xml::Node node = xml::ScanNode(text, 0);
        if (node.kind == NodeKind::ProcessingInstruction &&
            text.substr(node.name.begin, node.name.size()) == u"xml") {
            bool found = false;
            const Text value = RawAttribute(text, node.name.end, node.end, u"encoding", &found);
            return Utf16ToUtf8(value);
        }
    }
    bool in_html = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t lt = text.find(u'<', pos);
        if (lt == Text::npos) {
            break;
        }
        const xml::Node node = xml::ScanNode(text, lt);
        if (node.kind == NodeKind::Unterminated) {
            break;
        }
        const Text name = text.substr(node.name.begin, node.name.size());
        if (node.kind == NodeKind::StartTag) {
            if (!in_html) {
                if (!EqualsIgnoreCase(name, u"html")) {
                    return {};
                }
                in_html = true;
            } else if (EqualsIgnoreCase(name, u"meta")) {
                bool found = false;
                const Text charset =
                    RawAttribute(text, node.name.end, node.end, u"charset", &found);
                if (found && !charset.empty()) {
                    return Utf16ToUtf8(charset);
                }
                const Text equiv =
                    RawAttribute(text, node.name.end, node.end, u"http-equiv", &found);
                if (EqualsIgnoreCase(equiv, u"Content-Type")) {
                    const Text content =
                        RawAttribute(text, node.name.end, node.end, u"content", &found);
                    const Text result = CharsetOfContentType(content);
                    if (!result.empty()) {
                        return Utf16ToUtf8(result);
                    }
                }
            }
        } else if (node.kind == NodeKind::EndTag && in_html && EqualsIgnoreCase(name, u"head")) {
            break;
        }
        pos = node.end;
    }
    return {};
}

std::string DeclaredEncoding(std::string_view utf8) {
    return DeclaredEncoding(DecodeUtf8(utf8));
}

bool DecodeFile(const std::string& path, std::u16string& text, XmlLog& log, std::uint32_t& flags) {
    std::string bytes;
    int error = 0;
    if (!ReadBytes(path, bytes, error)) {
        log.AddFileError(std::strerror(error), error);
        return false;
    }
    flags &= ~kXmlMarkFlags;
    const std::string_view prefix = std::string_view(bytes).substr(0, kDetectionPrefix);
    std::string encoding;
    std::size_t body = 0;
    bool utf16 = false;
    bool big_endian = false;
    if (prefix.substr(0, 3) == "\xEF\xBB\xBF") {
        encoding = "UTF-8";
        flags |= kXmlUtf8Mark;
        body = 3;
    } else if (prefix.substr(0, 2) == "\xFF\xFE") {
        encoding = "UTF-16LE";
        flags |= kXmlUtf16LeMark;
        body = 2;
        utf16 = true;
    } else if (prefix.substr(0, 2) == "\xFE\xFF") {
        encoding = "UTF-16BE";
        flags |= kXmlUtf16BeMark;
        body = 2;
        utf16 = true;
        big_endian = true;
    }
    if (body != 0) {
        log.Add("bom");
    } else {
        encoding = DeclaredEncoding(DecodeUtf8(prefix));
        if (encoding.empty() && !prefix.empty() && prefix[0] == '<') {
            encoding = "UTF-8";
        }
    }
    const std::string_view content = std::string_view(bytes).substr(body);

    if (utf16) {
        // A last odd byte is no unit and is dropped.
        const std::size_t units = content.size() / 2;
        text.clear();
        text.reserve(units);
        std::size_t nulls = 0;
        for (std::size_t i = 0; i < units; ++i) {
            const auto b0 = static_cast<unsigned char>(content[2 * i]);
            const auto b1 = static_cast<unsigned char>(content[2 * i + 1]);
            const auto unit = static_cast<char16_t>(big_endian ? (b0 << 8) | b1 : (b1 << 8) | b0);
            if (unit == 0) {
                ++nulls;
            } else {
                text.push_back(unit);
            }
        }
        log.Add("read", {{"encoding", AsciiText(encoding)}, {"length", XmlLog::Number(units)}});
        if (nulls != 0) {
            log.Add("nulls_removed", {{"count", XmlLog::Number(nulls)}});
        }
        if (big_endian) {
            log.Add("endian_swap");
        }
        return true;
    }

    std::string data;
    data.reserve(content.size());
    for (const char c : content) {
        if (c != '\0') {
            data.push_back(c);
        }
    }
    const std::size_t nulls = content.size() - data.size();
    const bool detect = encoding.empty();
    if (detect && LooksLikeUtf8(data)) {
        encoding = "UTF-8";
    }
    log.Add("read", {{"encoding", LogText(encoding)}, {"length", XmlLog::Number(content.size())}});
    if (nulls != 0) {
        log.Add("nulls_removed", {{"count", XmlLog::Number(nulls)}});
    }
    if (detect) {
        log.Add("utf8_detection");
    }
    text = DecodeBytes(data, encoding);
    log.Add("converted_to", {{"encoding", u"UTF-16"}, {"length", XmlLog::Number(text.size())}});
    return true;
}

bool EncodeFile(const std::string& path, std::u16string_view text, std::uint32_t flags,
                XmlLog& log) {
    std::string encoding;
    std::string data;
    bool mark = false;
    if (flags & kXmlUtf8Mark) {
        encoding = "UTF-8";
        data = "\xEF\xBB\xBF";
        mark = true;
    } else if (flags & kXmlUtf16LeMark) {
        encoding = "UTF-16LE";
        data = "\xFF\xFE";
        mark = true;
    } else if (flags & kXmlUtf16BeMark) {
        encoding = "UTF-16BE";
        data = "\xFE\xFF";
        mark = true;
    } else if (!text.empty()) {
        encoding = DeclaredEncoding(text);
        if (encoding.empty()) {
            encoding = "UTF-8";
        }
        // 16-bit text without a mark could not be told from 8-bit text when
        // read again: a document that declares UTF-16 is written with one.
        const int code_page = CodePageForName(encoding);
        if (code_page == kCodePageUtf16Le) {
            data = "\xFF\xFE";
            mark = true;
        } else if (code_page == kCodePageUtf16Be) {
            data = "\xFE\xFF";
            mark = true;
        }
    }
    const int code_page = CodePageForName(encoding);
    const bool utf16 = code_page == kCodePageUtf16Le || code_page == kCodePageUtf16Be;
    const std::size_t mark_size = data.size();
    bool loss = false;
    if (!text.empty()) {
        data += EncodeText(text, encoding, &loss);
    }
    errno = 0;
    if (!platform::WriteFileAtomically(path, data)) {
        const int error = errno != 0 ? errno : EIO;
        log.AddFileError(std::strerror(error), error);
        return false;
    }
    if (mark) {
        log.Add("bom");
    }
    if (!text.empty()) {
        if (utf16) {
            if (code_page == kCodePageUtf16Be) {
                log.Add("endian_swap");
            }
        } else {
            log.Add("converted_from",
                    {{"encoding", u"UTF-16"}, {"length", XmlLog::Number(text.size())}});
            if (loss) {
                log.Add("conversion_loss");
            }
        }
    }
    const std::size_t length = utf16 ? text.size() : data.size() - mark_size;
    log.Add("write", {{"encoding", LogText(encoding)}, {"length", XmlLog::Number(length)}});
    return true;
}

} // namespace kovrin
