#pragma once
// The result log of an XML document: a run of empty-element tags, one per
// event, such as <read encoding="UTF-8" length="120"/>. Entries stop being
// added once the log has reached 1,000 UTF-16 units.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kovrin {

class XmlLog {
public:
    static constexpr std::size_t kLimit = 1000;
    // Longest "msg" of a file_error entry, in UTF-16 units.
    static constexpr std::size_t kMessageLimit = 99;

    struct Attribute {
        std::string_view name;
        std::u16string_view value;
    };

    void Clear() { text_.clear(); }
    bool Full() const { return text_.size() >= kLimit; }

    // Appends <entry name="value" .../> with the values escaped.
    void Add(std::string_view entry, std::initializer_list<Attribute> attributes = {});
    // file_error with the first line of the message, cut to kMessageLimit units
    // on a character boundary.
    void AddFileError(std::string_view message_utf8, int error_number);

    const std::u16string& Text() const { return text_; }

    static std::u16string Number(std::uint64_t value);
    static std::u16string Ascii(std::string_view text);

private:
    std::u16string text_;
};

} // namespace kovrin
