#include "xml/XmlMarkup.h"

namespace kovrin::xml {
namespace {

constexpr std::size_t npos = Text::npos;

Node Unterminated(const char* type, std::size_t text_size) {
    Node node;
    node.kind = NodeKind::Unterminated;
    node.problem = type;
    node.end = text_size;
    return node;
}

Node SyntaxError(const char* entry, std::size_t lt) {
    Node node;
    node.kind = NodeKind::SyntaxError;
    node.problem = entry;
    node.end = lt + 1;
    return node;
}

Node Ending(NodeKind kind, Text text, std::size_t from, Text terminator, const char* type) {
    const std::size_t at = text.find(terminator, from);
    if (at == npos) {
        return Unterminated(type, text.size());
    }
    Node node;
    node.kind = kind;
    node.end = at + terminator.size();
    return node;
}

Node StartTag(Text text, std::size_t lt) {
    const std::size_t n = text.size();
    Node node;
    node.kind = NodeKind::StartTag;
    node.name = TagName(text, lt + 1, n);
    std::size_t after_quote = npos; // just past the last closing quote
    std::size_t pos = node.name.end;
    while (pos < n) {
        const char16_t c = text[pos];
        if (c == u'>') {
            node.end = pos + 1;
            if (text[pos - 1] == u'/') {
                const std::size_t slash = pos - 1;
                node.empty =
                    slash == node.name.end || IsSpace(text[slash - 1]) || slash == after_quote;
            }
            return node;
        }
        if (c == u'"' || c == u'\'') {
            const std::size_t close = text.find(c, pos + 1);
            if (close == npos) {
                break;
            }
            pos = after_quote = close + 1;
        } else if (IsSpace(c) || c == u'=' || c == u'/' || c == u'?') {
            ++pos;
        } else {
            while (pos < n && !detail::EndsRun(text[pos])) {
                ++pos;
            }
        }
    }
    return Unterminated("start_tag", n);
}

// <!D...>: an optional internal subset in brackets, quoted strings anywhere.
Node DocumentType(Text text, std::size_t lt, std::vector<std::size_t>* subset_errors) {
    const std::size_t n = text.size();
    std::size_t pos = lt + 2;
    bool in_subset = false;
    while (pos < n) {
        const char16_t c = text[pos];
        if (c == u'"' || c == u'\'') {
            const std::size_t close = text.find(c, pos + 1);
            if (close == npos) {
                break;
            }
            pos = close + 1;
            continue;
        }
        if (!in_subset) {
            if (c == u'>') {
                Node node;
                node.kind = NodeKind::DocumentType;
                node.end = pos + 1;
                return node;
            }
            in_subset = c == u'[';
            ++pos;
            continue;
        }
        if (c == u']') {
            in_subset = false;
            ++pos;
            continue;
        }
        if (c == u'<' && pos + 1 < n && text[pos + 1] == u'!') {
            if (text.substr(pos, 4) == u"<!--") {
                const std::size_t close = text.find(u"-->", pos + 4);
                if (close == npos) {
                    break;
                }
                pos = close + 3;
                continue;
            }
            const char16_t d = pos + 2 < n ? text[pos + 2] : u'\0';
            if (d != u'E' && d != u'A' && d != u'N' && subset_errors) {
                subset_errors->push_back(pos);
            }
            pos += 2;
            continue;
        }
        ++pos;
    }
    return Unterminated("document_type", n);
}

} // namespace

Span TagName(Text text, std::size_t pos, std::size_t limit) {
    if (limit > text.size()) {
        limit = text.size();
    }
    while (pos < limit && IsSpace(text[pos])) {
        ++pos;
    }
    std::size_t end = pos;
    while (end < limit && !EndsName(text[end])) {
        ++end;
    }
    return {pos, end};
}

Node ScanNode(Text text, std::size_t lt, std::vector<std::size_t>* subset_errors) {
    const std::size_t n = text.size();
    if (lt + 1 >= n) {
        return Unterminated("tag", n);
    }
    const char16_t c = text[lt + 1];
    if (c == u'/') {
        Node node = Ending(NodeKind::EndTag, text, lt + 2, u">", "end_tag");
        node.name = TagName(text, lt + 2, node.end);
        return node;
    }
    if (IsNameStart(c)) {
        return StartTag(text, lt);
    }
    if (c == u'?') {
        Node node =
            Ending(NodeKind::ProcessingInstruction, text, lt + 2, u"?>", "processing_instruction");
        node.name = TagName(text, lt + 2, node.end);
        return node;
    }
    if (c != u'!') {
        return SyntaxError("first_tag_syntax", lt);
    }
    if (lt + 2 >= n) {
        return Unterminated("tag", n);
    }
    const char16_t d = text[lt + 2];
    if (d == u'-') {
        if (lt + 3 >= n) {
            return Unterminated("comment", n);
        }
        if (text[lt + 3] != u'-') {
            return SyntaxError("comment_tag_syntax", lt);
        }
        return Ending(NodeKind::Comment, text, lt + 4, u"-->", "comment");
    }
    if (d == u'[') {
        if (lt + 3 >= n) {
            return Unterminated("cdata_section", n);
        }
        if (text[lt + 3] != u'C') {
            return SyntaxError("cdata_section_syntax", lt);
        }
        return Ending(NodeKind::CdataSection, text, lt + 4, u"]]>", "cdata_section");
    }
    if (d == u'D') {
        return DocumentType(text, lt, subset_errors);
    }
    return SyntaxError("exclamation_tag_syntax", lt);
}

} // namespace kovrin::xml
