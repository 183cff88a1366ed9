// Parses arbitrary text, then walks and edits it as the program's readers and
// writers do. Checks that a value set reads back as set and that, for a
// document that was well-formed, the index kept up by the edits is the one a
// fresh parse of the edited text builds.

#include "xml/XmlDocument.h"
#include "xml/XmlEntities.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> Snapshot(kovrin::XmlDocument& doc) {
    doc.Rewind();
    std::vector<std::string> out;
    for (;;) {
        if (doc.FindElement("")) {
            const kovrin::XmlElementInfo e = *doc.CurrentElement();
            out.push_back(doc.CurrentName() + ' ' + std::to_string(e.start) + ' ' +
                          std::to_string(e.length) + ' ' + std::to_string(e.start_tag_length) +
                          ' ' + std::to_string(e.end_tag_length) + ' ' + std::to_string(e.level) +
                          (e.not_ended ? " open" : "") + (e.empty_tag ? " empty" : ""));
            doc.EnterElement();
        } else if (!doc.LeaveElement()) {
            break;
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first bytes steer the walk and the edits; the rest is the document.
    const std::size_t steer_size = size < 24 ? size : 24;
    const std::string_view text(reinterpret_cast<const char*>(data) + steer_size,
                                size - steer_size);
    const bool ignore_case = steer_size > 0 && (data[0] & 1);

    kovrin::XmlDocument doc;
    doc.SetIgnoreCase(ignore_case);
    const bool well_formed = doc.SetText(text);
    (void)doc.ResultLog();
    (void)kovrin::DecodeEntities(text);

    static const char* const kNames[] = {"", "a", "item", "key", "b"};
    static const char kFill[] = "<&\"'x";
    bool edited = false;
    for (std::size_t i = 1; i < steer_size; ++i) {
        const std::uint8_t s = data[i];
        const char* name = kNames[(s >> 3) % 5];
        switch (s % 7) {
        case 0:
        case 1:
            doc.FindElement(name);
            break;
        case 2:
            doc.EnterElement();
            break;
        case 3:
            doc.LeaveElement();
            break;
        case 4:
            (void)doc.GetAttribute(name);
            (void)doc.CurrentElement();
            (void)doc.CurrentName();
            break;
        case 5: {
            const char* attribute = (s & 0x80) ? "a" : "new";
            const std::string value(static_cast<std::size_t>(s >> 5) * 2, kFill[(s >> 3) % 5]);
            if (doc.SetAttribute(attribute, value)) {
                edited = true;
                if (doc.GetAttribute(attribute) != value) {
                    std::abort();
                }
            }
            break;
        }
        case 6:
            edited |= doc.AppendElement((s & 0x80) ? "item" : "k");
            break;
        }
    }
    if (edited && well_formed) {
        kovrin::XmlDocument fresh;
        fresh.SetIgnoreCase(ignore_case);
        fresh.SetText(doc.Text());
        if (Snapshot(doc) != Snapshot(fresh)) {
            std::abort();
        }
    }
    return 0;
}
