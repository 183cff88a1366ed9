#include "app/IniFile.h"

#include "base/Utf.h"

#include <vector>

namespace kovrin {
namespace {

std::string_view Trim(std::string_view s) {
    const auto is_space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && is_space(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && is_space(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto nl = text.find('\n');
        if (nl == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        lines.push_back(text.substr(0, nl));
        text.remove_prefix(nl + 1);
    }
    return lines;
}

// Name of a section header line, or nullopt when the line is no header.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[') {
        return std::nullopt;
    }
    const auto close = line.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';') {
        return std::nullopt;
    }
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{Trim(trimmed.substr(0, eq)), Trim(trimmed.substr(eq + 1))};
}

std::u16string SwapUnits(std::string_view bytes, bool big_endian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(big_endian ? (a << 8) | b : (b << 8) | a));
    }
    return units;
}

} // namespace

std::string DecodeIniBytes(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        return std::string(bytes.substr(3));
    }
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE") {
        return Utf16ToUtf8(SwapUnits(bytes.substr(2), false));
    }
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFE\xFF") {
        return Utf16ToUtf8(SwapUnits(bytes.substr(2), true));
    }
    return std::string(bytes);
}

std::optional<std::string> IniLookup(std::string_view text, std::string_view section,
                                     std::string_view key) {
    bool in_section = false;
    bool seen_section = false;
    for (const std::string_view line : Lines(text)) {
        if (const auto name = SectionName(line)) {
            if (in_section) {
                return std::nullopt; // only the first section of that name counts
            }
            in_section = !seen_section && EqualNoCase(*name, section);
            seen_section = seen_section || in_section;
            continue;
        }
        if (!in_section) {
            continue;
        }
        if (const auto kv = ParseKeyLine(line); kv && EqualNoCase(kv->key, key)) {
            std::string_view value = kv->value;
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front()) {
                value = value.substr(1, value.size() - 2);
            }
            return std::string(value);
        }
    }
    return std::nullopt;
}

std::string IniSet(std::string_view text, std::string_view section, std::string_view key,
                   std::string_view value) {
    const std::vector<std::string_view> lines = Lines(text);
    // New lines follow the file's own line ends.
    const std::string eol_cr = text.find("\r\n") != std::string_view::npos ? "\r" : "";
    const std::string new_line = std::string(key) + "=" + std::string(value) + eol_cr;
    std::vector<std::string> out;
    out.reserve(lines.size() + 2);
    bool in_section = false;
    bool done = false;
    std::size_t section_end = std::string::npos; // index in out after the section's last key line
    for (const std::string_view line : lines) {
        if (const auto name = SectionName(line)) {
            in_section = !done && section_end == std::string::npos && EqualNoCase(*name, section);
            if (in_section) {
                out.emplace_back(line);
                section_end = out.size();
                continue;
            }
        } else if (in_section && !done) {
            if (const auto kv = ParseKeyLine(line); kv && EqualNoCase(kv->key, key)) {
                out.push_back(new_line);
                done = true;
                continue;
            }
            if (!Trim(line).empty()) {
                out.emplace_back(line);
                section_end = out.size();
                continue;
            }
        }
        out.emplace_back(line);
    }
    if (!done) {
        if (section_end == std::string::npos) {
            std::string header(1, '[');
            header.append(section).append("]").append(eol_cr);
            out.push_back(std::move(header));
            section_end = out.size();
        }
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(section_end), new_line);
    }
    std::string result;
    for (const auto& line : out) {
        result += line;
        result += '\n';
    }
    return result;
}

} // namespace kovrin
