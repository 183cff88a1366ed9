#pragma once
// XmlDocument: the program's XML reader and writer. The whole document is one
// UTF-16 text plus an index of its elements; a cursor (parent, current
// element, remembered child) is moved with FindElement / EnterElement /
// LeaveElement. The parser is tolerant: badly nested markup is indexed as well
// as it can be and every problem is written to the result log. Edits
// (SetAttribute, AppendElement) change the text in place and keep the index in
// step. Strings cross the interface as UTF-8; offsets count UTF-16 units.
//
// A document is used by one thread at a time.

#include "xml/XmlLog.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

// Document flags.
constexpr std::uint32_t kXmlUtf16LeMark = 0x01; // file was UTF-16LE with a byte-order mark
constexpr std::uint32_t kXmlUtf8Mark = 0x04;    // file was UTF-8 with a byte-order mark
constexpr std::uint32_t kXmlIgnoreCase = 0x08;  // compare names without regard to ASCII case
constexpr std::uint32_t kXmlUtf16BeMark = 0x80; // file was UTF-16BE with a byte-order mark
constexpr std::uint32_t kXmlMarkFlags = kXmlUtf16LeMark | kXmlUtf8Mark | kXmlUtf16BeMark;

// Where an element sits in the text, in UTF-16 units.
struct XmlElementInfo {
    std::uint32_t start = 0;            // offset of the start tag's '<'
    std::uint32_t length = 0;           // start tag to end of end tag
    std::uint32_t start_tag_length = 0; // '<' to '>' of the start tag
    std::uint32_t end_tag_length = 0;   // 0 for an empty element
    std::uint32_t level = 0;            // 0 for top-level elements
    bool not_ended = false;             // the start tag had no matching end tag
    bool empty_tag = false;             // written as <name .../>
};

class XmlDocument {
public:
    XmlDocument();

    // Replaces the text and parses it; true when it is well-formed.
    bool SetText(std::string_view utf8);
    // Reads the file in whatever encoding it has and parses it; false when it
    // cannot be read or is not well-formed.
    bool LoadFile(const std::string& path);
    // Writes the text in the encoding of the loaded file's byte-order mark or
    // of its declaration (UTF-8 when none). An existing file is replaced only
    // once the new content is completely written.
    bool SaveFile(const std::string& path);

    // Moves to the next sibling element named name ("" = any).
    bool FindElement(std::string_view name);
    bool EnterElement();
    bool LeaveElement();
    std::string GetAttribute(std::string_view name) const;
    bool SetAttribute(std::string_view name, std::string_view value);
    bool AppendElement(std::string_view name);

    bool WellFormed() const;
    std::string ResultLog() const;
    std::string Text() const;

    // Read-outs of the cursor and the state.
    bool HasCurrent() const { return current_ != 0; }
    std::string CurrentName() const;                      // "" without a current element
    std::optional<XmlElementInfo> CurrentElement() const; // nullopt without one
    int CurrentLevel() const;                             // -1 without a current element
    int ParentLevel() const;                              // -1 at document level
    std::uint32_t Flags() const { return flags_; }
    void SetIgnoreCase(bool ignore_case);
    std::u16string_view Utf16Text() const { return text_; }
    std::size_t ElementCount() const { return index_.size() - 1; }

private:
    struct Record {
        std::uint32_t start = 0;
        std::uint32_t length = 0;
        std::uint32_t start_tag_length = 0;
        std::uint32_t end_tag_length = 0;
        std::uint32_t level = 0;
        std::uint32_t flags = 0;
        std::uint32_t parent = 0;
        std::uint32_t first_child = 0;
        std::uint32_t last_child = 0;
        std::uint32_t next_sibling = 0;
    };
    static constexpr std::uint32_t kNotEnded = 0x01;
    static constexpr std::uint32_t kEmptyTag = 0x02;

    friend class XmlParser;

    void Parse();
    void ResetCursor();
    bool NameEquals(std::size_t name_begin, std::size_t name_end, std::u16string_view name) const;
    std::u16string_view ElementName(std::uint32_t element) const;
    // Replaces text [pos, pos + removed) by insert and moves every offset after
    // it; the enclosing elements of `inside` grow by the difference.
    bool Splice(std::size_t pos, std::size_t removed, std::u16string_view insert,
                std::uint32_t inside);

    std::u16string text_;
    XmlLog log_;
    std::vector<Record> index_; // [0] is the document itself
    std::uint32_t parent_ = 0;
    std::uint32_t current_ = 0;
    std::uint32_t child_ = 0;
    std::uint32_t flags_ = 0;
    bool ill_formed_ = false;
};

} // namespace kovrin
