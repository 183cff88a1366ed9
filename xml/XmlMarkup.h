#pragma once
// Scanning of single markup nodes and of the attributes in a start tag, on
// UTF-16 text. Every scan stays inside the text (or the given limit).

#include <cstddef>
#include <string_view>
#include <vector>

namespace kovrin::xml {

using Text = std::u16string_view;

inline bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// A character that can start a tag name: a letter, ':', '_' or anything above 'z'.
inline bool IsNameStart(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u':' || c == u'_' ||
           c > u'z';
}

inline bool EndsName(char16_t c) {
    switch (c) {
    case u' ':
    case u'\t':
    case u'\r':
    case u'\n':
    case u'<':
    case u'>':
    case u'=':
    case u'\\':
    case u'/':
    case u'?':
    case u'!':
    case u'"':
    case u'\'':
    case u';':
        return true;
    default:
        return false;
    }
}

struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t size() const { return end - begin; }
};

// The tag name that starts at pos after optional white space, within [pos, limit).
Span TagName(Text text, std::size_t pos, std::size_t limit);

enum class NodeKind {
    StartTag,
    EndTag,
    ProcessingInstruction,
    Comment,
    CdataSection,
    DocumentType,
    SyntaxError,  // problem names the log entry; the '<' is then read as text
    Unterminated, // the text ends inside the node; problem names its type
};

struct Node {
    NodeKind kind = NodeKind::SyntaxError;
    std::size_t end = 0; // one past the node
    Span name;           // start and end tags, processing instructions
    bool empty = false;  // start tag closed with '/>'
    const char* problem = nullptr;
};

// Reads the node whose '<' is at lt. Declarations inside a document type's
// internal subset that start with anything but 'E', 'A', 'N' or a comment
// are reported through subset_errors (offsets of their '<') when given.
Node ScanNode(Text text, std::size_t lt, std::vector<std::size_t>* subset_errors = nullptr);

struct AttributeSpan {
    Span name;
    bool has_value = false; // written with '='
    Span token;             // the value as written, quotes included
    Span value;             // the value without quotes
};

// Calls visit(const AttributeSpan&) for each attribute of the start tag whose
// name ends at after_name and that ends before tag_end, until visit returns
// true. Returns the end of the last attribute token read, or after_name.
template <class Visit>
std::size_t ForEachAttribute(Text text, std::size_t after_name, std::size_t tag_end, Visit&& visit);

// ---- implementation of the template ----

namespace detail {
inline bool EndsRun(char16_t c) {
    return IsSpace(c) || c == u'=' || c == u'>' || c == u'/' || c == u'?';
}

// A quoted string (up to the same quote or the limit) or a run of characters.
inline Span Token(Text text, std::size_t pos, std::size_t limit, Span* inner) {
    const char16_t c = text[pos];
    if (c == u'"' || c == u'\'') {
        std::size_t close = pos + 1;
        while (close < limit && text[close] != c) {
            ++close;
        }
        *inner = {pos + 1, close};
        return {pos, close < limit ? close + 1 : limit};
    }
    std::size_t end = pos;
    while (end < limit && !EndsRun(text[end])) {
        ++end;
    }
    *inner = {pos, end};
    return {pos, end};
}

inline std::size_t SkipSpace(Text text, std::size_t pos, std::size_t limit) {
    while (pos < limit && IsSpace(text[pos])) {
        ++pos;
    }
    return pos;
}
} // namespace detail

template <class Visit>
std::size_t ForEachAttribute(Text text, std::size_t after_name, std::size_t tag_end,
                             Visit&& visit) {
    const std::size_t limit = tag_end < text.size() ? tag_end : text.size();
    std::size_t last_end = after_name;
    std::size_t pos = after_name;
    for (;;) {
        pos = detail::SkipSpace(text, pos, limit);
        if (pos >= limit) {
            break;
        }
        const char16_t c = text[pos];
        if (c == u'/' || c == u'>' || c == u'?') {
            break;
        }
        if (c == u'=') {
            ++pos;
            continue;
        }
        AttributeSpan attribute;
        Span unused;
        attribute.name = detail::Token(text, pos, limit, &unused);
        pos = last_end = attribute.name.end;
        const std::size_t eq = detail::SkipSpace(text, pos, limit);
        if (eq < limit && text[eq] == u'=') {
            attribute.has_value = true;
            const std::size_t v = detail::SkipSpace(text, eq + 1, limit);
            if (v < limit && !detail::EndsRun(text[v])) {
                attribute.token = detail::Token(text, v, limit, &attribute.value);
            } else {
                attribute.token = attribute.value = {eq + 1, eq + 1};
            }
            pos = last_end = attribute.token.end;
        }
        if (visit(static_cast<const AttributeSpan&>(attribute))) {
            break;
        }
    }
    return last_end;
}

} // namespace kovrin::xml
