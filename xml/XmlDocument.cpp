#include "xml/XmlDocument.h"

#include "base/Utf.h"
#include "xml/XmlCodePages.h"
#include "xml/XmlEncoding.h"
#include "xml/XmlEntities.h"
#include "xml/XmlMarkup.h"

#include <cstdint>

namespace kovrin {
namespace {

// Offsets and lengths are 32-bit; texts stay well below that.
constexpr std::size_t kMaxTextUnits = 0x7FFF0000;

bool IsElementName(std::u16string_view name) {
    if (name.empty() || !xml::IsNameStart(name[0])) {
        return false;
    }
    for (const char16_t c : name) {
        if (xml::EndsName(c)) {
            return false;
        }
    }
    return true;
}

bool IsAttributeName(std::u16string_view name) {
    if (name.empty()) {
        return false;
    }
    for (const char16_t c : name) {
        if (xml::detail::EndsRun(c) || c == u'"' || c == u'\'' || c == u'<') {
            return false;
        }
    }
    return true;
}

char16_t Fold(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

} // namespace

XmlDocument::XmlDocument() {
    index_.emplace_back();
}

void XmlDocument::ResetCursor() {
    parent_ = current_ = child_ = 0;
}

bool XmlDocument::SetText(std::string_view utf8) {
    log_.Clear();
    std::u16string text = DecodeUtf8(utf8);
    if (text.size() > kMaxTextUnits) {
        return false;
    }
    text_ = std::move(text);
    Parse();
    return WellFormed();
}

bool XmlDocument::LoadFile(const std::string& path) {
    log_.Clear();
    std::u16string text;
    std::uint32_t flags = flags_;
    if (!DecodeFile(path, text, log_, flags) || text.size() > kMaxTextUnits) {
        return false;
    }
    text_ = std::move(text);
    flags_ = flags;
    Parse();
    return WellFormed();
}

bool XmlDocument::SaveFile(const std::string& path) {
    log_.Clear();
    return EncodeFile(path, text_, flags_, log_);
}

bool XmlDocument::WellFormed() const {
    const std::uint32_t root = index_[0].first_child;
    return root != 0 && index_[root].next_sibling == 0 && !ill_formed_;
}

std::string XmlDocument::ResultLog() const {
    return Utf16ToUtf8(log_.Text());
}

std::string XmlDocument::Text() const {
    return Utf16ToUtf8(text_);
}

void XmlDocument::SetIgnoreCase(bool ignore_case) {
    flags_ = ignore_case ? flags_ | kXmlIgnoreCase : flags_ & ~kXmlIgnoreCase;
}

std::u16string_view XmlDocument::ElementName(std::uint32_t element) const {
    const Record& r = index_[element];
    const xml::Span name = xml::TagName(text_, r.start + 1, r.start + r.start_tag_length);
    return std::u16string_view(text_).substr(name.begin, name.size());
}

bool XmlDocument::NameEquals(std::size_t name_begin, std::size_t name_end,
                             std::u16string_view name) const {
    const std::u16string_view have =
        std::u16string_view(text_).substr(name_begin, name_end - name_begin);
    if (have.size() != name.size()) {
        return false;
    }
    if (!(flags_ & kXmlIgnoreCase)) {
        return have == name;
    }
    for (std::size_t i = 0; i < have.size(); ++i) {
        if (Fold(have[i]) != Fold(name[i])) {
            return false;
        }
    }
    return true;
}

bool XmlDocument::FindElement(std::string_view name) {
    const std::u16string wanted = DecodeUtf8(name);
    if (!wanted.empty() && wanted[0] == u'/') {
        return false;
    }
    std::uint32_t e = current_ != 0 ? index_[current_].next_sibling : index_[parent_].first_child;
    for (; e != 0; e = index_[e].next_sibling) {
        if (wanted.empty()) {
            break;
        }
        const Record& r = index_[e];
        const xml::Span n = xml::TagName(text_, r.start + 1, r.start + r.start_tag_length);
        if (NameEquals(n.begin, n.end, wanted)) {
            break;
        }
    }
    if (e == 0) {
        return false;
    }
    current_ = e;
    child_ = 0;
    return true;
}

bool XmlDocument::EnterElement() {
    if (current_ == 0) {
        return false;
    }
    parent_ = current_;
    current_ = child_;
    child_ = 0;
    return true;
}

bool XmlDocument::LeaveElement() {
    if (parent_ == 0) {
        return false;
    }
    child_ = current_;
    current_ = parent_;
    parent_ = index_[parent_].parent;
    return true;
}

std::string XmlDocument::CurrentName() const {
    return current_ == 0 ? std::string() : Utf16ToUtf8(ElementName(current_));
}

std::optional<XmlElementInfo> XmlDocument::CurrentElement() const {
    if (current_ == 0) {
        return std::nullopt;
    }
    const Record& r = index_[current_];
    XmlElementInfo info;
    info.start = r.start;
    info.length = r.length;
    info.start_tag_length = r.start_tag_length;
    info.end_tag_length = r.end_tag_length;
    info.level = r.level;
    info.not_ended = (r.flags & kNotEnded) != 0;
    info.empty_tag = (r.flags & kEmptyTag) != 0;
    return info;
}

int XmlDocument::CurrentLevel() const {
    return current_ == 0 ? -1 : static_cast<int>(index_[current_].level);
}

int XmlDocument::ParentLevel() const {
    return parent_ == 0 ? -1 : static_cast<int>(index_[parent_].level);
}

std::string XmlDocument::GetAttribute(std::string_view name) const {
    if (current_ == 0) {
        return {};
    }
    const std::u16string wanted = DecodeUtf8(name);
    const Record& r = index_[current_];
    const std::size_t tag_end = r.start + r.start_tag_length;
    const xml::Span tag_name = xml::TagName(text_, r.start + 1, tag_end);
    std::string value;
    xml::ForEachAttribute(text_, tag_name.end, tag_end, [&](const xml::AttributeSpan& a) {
        if (!NameEquals(a.name.begin, a.name.end, wanted)) {
            return false;
        }
        value = Utf16ToUtf8(
            DecodeEntities(std::u16string_view(text_).substr(a.value.begin, a.value.size())));
        return true;
    });
    return value;
}

bool XmlDocument::Splice(std::size_t pos, std::size_t removed, std::u16string_view insert,
                         std::uint32_t inside) {
    if (pos > text_.size() || removed > text_.size() - pos) {
        return false;
    }
    const std::size_t new_size = text_.size() - removed + insert.size();
    if (new_size > kMaxTextUnits) {
        return false;
    }
    if (new_size > text_.capacity()) {
        text_.reserve(new_size + new_size / 2 + 128);
    }
    text_.replace(pos, removed, insert);
    // Sizes fit in 32 bits, so the difference wraps correctly in unsigned
    // arithmetic whichever way it goes.
    const auto delta = static_cast<std::uint32_t>(insert.size() - removed);
    for (std::size_t i = 1; i < index_.size(); ++i) {
        if (index_[i].start >= pos) {
            index_[i].start += delta;
        }
    }
    for (std::uint32_t e = inside; e != 0; e = index_[e].parent) {
        index_[e].length += delta;
    }
    index_[0].length = static_cast<std::uint32_t>(text_.size());
    return true;
}

bool XmlDocument::SetAttribute(std::string_view name, std::string_view value) {
    if (current_ == 0) {
        return false;
    }
    const std::u16string wanted = DecodeUtf8(name);
    if (!IsAttributeName(wanted)) {
        return false;
    }
    const std::u16string quoted = u"\"" + EncodeEntities(DecodeUtf8(value), true) + u"\"";
    Record& r = index_[current_];
    const std::size_t tag_end = r.start + r.start_tag_length;
    const xml::Span tag_name = xml::TagName(text_, r.start + 1, tag_end);
    bool found = false;
    xml::AttributeSpan match;
    const std::size_t last_end =
        xml::ForEachAttribute(text_, tag_name.end, tag_end, [&](const xml::AttributeSpan& a) {
            found = NameEquals(a.name.begin, a.name.end, wanted);
            match = a;
            return found;
        });
    std::size_t pos;
    std::size_t removed = 0;
    std::u16string insert;
    if (found && match.has_value) {
        pos = match.token.begin;
        removed = match.token.size();
        insert = quoted;
    } else if (found) {
        pos = match.name.end;
        insert = u"=" + quoted;
    } else {
        pos = last_end;
        insert = u" " + wanted + u"=" + quoted;
    }
    const std::uint32_t element = current_;
    if (!Splice(pos, removed, insert, element)) {
        return false;
    }
    index_[element].start_tag_length += static_cast<std::uint32_t>(insert.size() - removed);
    return true;
}

bool XmlDocument::AppendElement(std::string_view name) {
    const std::u16string name16 = DecodeUtf8(name);
    if (!IsElementName(name16)) {
        return false;
    }
    const std::u16string element = u"<" + name16 + u"/>\r\n";
    std::size_t start;
    if (current_ != 0) {
        const Record& c = index_[current_];
        std::size_t pos = c.start + c.length;
        std::size_t q = pos;
        while (q < text_.size() && xml::IsSpace(text_[q])) {
            ++q;
        }
        if (q == text_.size() || text_[q] == u'<') {
            pos = q;
        }
        if (!Splice(pos, 0, element, parent_)) {
            return false;
        }
        start = pos;
    } else if (parent_ == 0) {
        start = text_.size();
        if (!Splice(start, 0, element, 0)) {
            return false;
        }
    } else {
        const Record& p = index_[parent_];
        if (p.flags & kEmptyTag) {
            // <parent/> becomes <parent>, the new element, </parent>.
            const std::size_t slash = p.start + p.start_tag_length - 2;
            if (text_.compare(slash, 2, u"/>") != 0) {
                return false;
            }
            const std::u16string parent_name(ElementName(parent_));
            const std::u16string insert = u">\r\n" + element + u"</" + parent_name;
            if (!Splice(slash, 1, insert, parent_)) {
                return false;
            }
            Record& grown = index_[parent_];
            grown.start_tag_length -= 1;
            grown.end_tag_length = static_cast<std::uint32_t>(parent_name.size() + 3);
            grown.flags &= ~kEmptyTag;
            start = slash + 3;
        } else if (p.flags & kNotEnded) {
            // Its content is not known to end anywhere.
            return false;
        } else {
            const std::size_t end_tag = p.start + p.length - p.end_tag_length;
            const bool no_content = p.length == p.start_tag_length + p.end_tag_length;
            const std::u16string insert = no_content ? u"\r\n" + element : element;
            if (!Splice(end_tag, 0, insert, parent_)) {
                return false;
            }
            start = end_tag + (no_content ? 2 : 0);
        }
    }

    const auto added = static_cast<std::uint32_t>(index_.size());
    Record record;
    record.start = static_cast<std::uint32_t>(start);
    record.length = record.start_tag_length = static_cast<std::uint32_t>(name16.size() + 3);
    record.flags = kEmptyTag;
    record.parent = parent_;
    record.level = parent_ == 0 ? 0 : index_[parent_].level + 1;
    if (current_ != 0) {
        record.next_sibling = index_[current_].next_sibling;
    }
    index_.push_back(record);
    Record& p = index_[parent_];
    if (current_ != 0) {
        index_[current_].next_sibling = added;
        if (p.last_child == current_) {
            p.last_child = added;
        }
    } else {
        if (p.first_child == 0) {
            p.first_child = added;
        } else {
            index_[p.last_child].next_sibling = added;
        }
        p.last_child = added;
    }
    current_ = added;
    child_ = 0;
    return true;
}

} // namespace kovrin
