// The tolerant parser that builds the element index of an XmlDocument.

#include "xml/XmlDocument.h"
#include "xml/XmlMarkup.h"

#include <unordered_map>

namespace kovrin {

using xml::Node;
using xml::NodeKind;
using xml::Text;

class XmlParser {
public:
    explicit XmlParser(XmlDocument& document)
        : doc_(document), text_(document.text_), index_(document.index_), log_(document.log_),
          ignore_case_((document.flags_ & kXmlIgnoreCase) != 0),
          innermost_(16, NameHash{ignore_case_}, NameEqual{ignore_case_}) {}

    void Run();

private:
    using Record = XmlDocument::Record;

    struct NameHash {
        bool fold;
        std::size_t operator()(std::u16string_view name) const {
            std::uint64_t h = 14695981039346656037ULL;
            for (char16_t c : name) {
                if (fold && c >= u'A' && c <= u'Z') {
                    c = static_cast<char16_t>(c + 32);
                }
                h = (h ^ c) * 1099511628211ULL;
            }
            return static_cast<std::size_t>(h ^ (h >> 29));
        }
    };
    struct NameEqual {
        bool fold;
        bool operator()(std::u16string_view a, std::u16string_view b) const {
            if (a.size() != b.size()) {
                return false;
            }
            if (!fold) {
                return a == b;
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
    };

    // An element whose end tag has not been seen yet.
    struct Open {
        std::uint32_t element;
        std::uint32_t previous_same_name; // stack position + 1 of the next outer open
                                          // element with the same name, 0 if none
        std::uint32_t* innermost_slot;    // the map value for this name
        std::u16string_view name;
    };

    void StartTag(std::size_t lt, const Node& node);
    void EndTag(std::size_t lt, const Node& node);
    // Gives every open element from stack position `from` up the not-ended
    // mark and moves their children up to the element that encloses them all.
    void Unend(std::size_t from, std::size_t detected_at);
    void Pop();
    void Problem(std::string_view entry, std::size_t offset);

    XmlDocument& doc_;
    Text text_;
    std::vector<Record>& index_;
    XmlLog& log_;
    bool ignore_case_;
    std::vector<Open> stack_;
    // For each name, the stack position + 1 of the innermost open element
    // with that name (0 when none): end tags find their element in one step
    // however deep the nesting.
    std::unordered_map<std::u16string_view, std::uint32_t, NameHash, NameEqual> innermost_;
};

void XmlParser::Run() {
    const std::size_t n = text_.size();
    index_.clear();
    index_.reserve(n / 64 + 8);
    Record document;
    document.length = static_cast<std::uint32_t>(n);
    index_.push_back(document);
    doc_.ill_formed_ = false;
    stack_.reserve(8);

    std::vector<std::size_t> subset_errors;
    std::size_t pos = 0;
    while (pos < n) {
        const std::size_t lt = text_.find(u'<', pos);
        if (lt == Text::npos) {
            break;
        }
        const Node node = xml::ScanNode(text_, lt, &subset_errors);
        switch (node.kind) {
        case NodeKind::StartTag:
            StartTag(lt, node);
            break;
        case NodeKind::EndTag:
            EndTag(lt, node);
            break;
        case NodeKind::ProcessingInstruction:
        case NodeKind::Comment:
        case NodeKind::CdataSection:
            break;
        case NodeKind::DocumentType:
        case NodeKind::Unterminated:
            for (const std::size_t at : subset_errors) {
                Problem("doctype_tag_syntax", at);
            }
            subset_errors.clear();
            if (node.kind == NodeKind::Unterminated) {
                doc_.ill_formed_ = true;
                log_.Add("unterminated_tag_syntax",
                         {{"type", XmlLog::Ascii(node.problem)}, {"offset", XmlLog::Number(lt)}});
            }
            break;
        case NodeKind::SyntaxError:
            Problem(node.problem, lt);
            break;
        }
        pos = node.end;
    }
    if (!stack_.empty()) {
        Unend(0, n);
    }

    const std::uint32_t root = index_[0].first_child;
    if (root == 0) {
        if (n > 0) {
            log_.Add("no_root_element");
        }
    } else if (index_[root].next_sibling != 0) {
        log_.Add("root_has_sibling");
    }
    // A parent always comes before its children in the index.
    for (std::size_t i = 1; i < index_.size(); ++i) {
        const std::uint32_t parent = index_[i].parent;
        index_[i].level = parent == 0 ? 0 : index_[parent].level + 1;
    }
}

void XmlParser::Problem(std::string_view entry, std::size_t offset) {
    doc_.ill_formed_ = true;
    log_.Add(entry, {{"offset", XmlLog::Number(offset)}});
}

void XmlParser::StartTag(std::size_t lt, const Node& node) {
    const auto element = static_cast<std::uint32_t>(index_.size());
    const std::uint32_t parent = stack_.empty() ? 0 : stack_.back().element;
    Record record;
    record.start = static_cast<std::uint32_t>(lt);
    record.length = record.start_tag_length = static_cast<std::uint32_t>(node.end - lt);
    record.flags = node.empty ? XmlDocument::kEmptyTag : 0;
    record.parent = parent;
    index_.push_back(record);
    Record& p = index_[parent];
    if (p.first_child == 0) {
        p.first_child = element;
    } else {
        index_[p.last_child].next_sibling = element;
    }
    p.last_child = element;
    if (node.empty) {
        return;
    }
    const std::u16string_view name = text_.substr(node.name.begin, node.name.size());
    std::uint32_t& slot = innermost_[name];
    stack_.push_back({element, slot, &slot, name});
    slot = static_cast<std::uint32_t>(stack_.size());
}

void XmlParser::Pop() {
    const Open& open = stack_.back();
    *open.innermost_slot = open.previous_same_name;
    stack_.pop_back();
}

void XmlParser::EndTag(std::size_t lt, const Node& node) {
    const std::u16string_view name = text_.substr(node.name.begin, node.name.size());
    const auto it = innermost_.find(name);
    if (it == innermost_.end() || it->second == 0) {
        doc_.ill_formed_ = true;
        log_.Add("lone_end_tag", {{"tagname", name}, {"offset", XmlLog::Number(lt)}});
        return;
    }
    const std::size_t match = it->second - 1;
    if (match + 1 < stack_.size()) {
        Unend(match + 1, lt);
    }
    Record& record = index_[stack_[match].element];
    record.length = static_cast<std::uint32_t>(node.end - record.start);
    record.end_tag_length = static_cast<std::uint32_t>(node.end - lt);
    Pop();
}

void XmlParser::Unend(std::size_t from, std::size_t detected_at) {
    doc_.ill_formed_ = true;
    for (std::size_t j = stack_.size(); j-- > from && !log_.Full();) {
        log_.Add("unended_start_tag", {{"tagname", stack_[j].name},
                                       {"offset", XmlLog::Number(index_[stack_[j].element].start)},
                                       {"offset2", XmlLog::Number(detected_at)}});
    }
    // Each of these elements is the last child of the one before it, the
    // first of them the last child of `holder`: splicing the child lists in
    // order leaves them all, with their former children after each, as
    // children of `holder` in document order.
    const std::uint32_t holder = from == 0 ? 0 : stack_[from - 1].element;
    for (std::size_t j = from; j < stack_.size(); ++j) {
        Record& record = index_[stack_[j].element];
        record.flags |= XmlDocument::kNotEnded;
        record.length = record.start_tag_length;
        if (record.first_child == 0) {
            continue;
        }
        for (std::uint32_t c = record.first_child; c != 0; c = index_[c].next_sibling) {
            index_[c].parent = holder;
        }
        record.next_sibling = record.first_child;
        index_[holder].last_child = record.last_child;
        record.first_child = record.last_child = 0;
    }
    while (stack_.size() > from) {
        Pop();
    }
}

void XmlDocument::Parse() {
    XmlParser(*this).Run();
    ResetCursor();
}

} // namespace kovrin
