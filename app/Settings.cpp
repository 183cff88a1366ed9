#include "app/Settings.h"

#include "app/IniFile.h"
#include "app/Paths.h"
#include "base/WinNumbers.h"
#include "platform/Files.h"

#include <filesystem>

using namespace std::string_view_literals;

namespace kovrin {
namespace {

constexpr std::string_view kSection = "settings";

} // namespace

int SettingsFile::ReadInt(std::string_view name) const {
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) {
        const auto folder = std::filesystem::path(path_).parent_path().string();
        if (EnsureFolder(folder)) {
            std::string header(1, '[');
            header.append(kSection).append("]\n");
            platform::WriteFileAtomically(path_, header);
        }
        return 0;
    }
    const auto bytes = platform::ReadWholeFile(path_);
    if (!bytes) {
        return 0;
    }
    const auto value = IniLookup(DecodeIniBytes(*bytes), kSection, name);
    return value ? ParseDecimal(*value) : 0;
}

bool SettingsFile::WriteString(std::string_view name, std::string_view text) const {
    if (text.find_first_of("\r\n\0"sv) != std::string_view::npos ||
        name.find_first_of("\r\n\0=[]"sv) != std::string_view::npos || name.empty()) {
        return false;
    }
    const auto bytes = platform::ReadWholeFile(path_);
    if (!bytes) {
        return false;
    }
    return platform::WriteFileAtomically(path_,
                                         IniSet(DecodeIniBytes(*bytes), kSection, name, text));
}

std::string SettingsFilePath() {
    return ConfigFolder() + "settings.ini";
}

int RegReadInt(std::string_view name) {
    return SettingsFile(SettingsFilePath()).ReadInt(name);
}

bool RegWriteString(std::string_view name, std::string_view text) {
    return SettingsFile(SettingsFilePath()).WriteString(name, text);
}

} // namespace kovrin
