#include "app/Language.h"

#include "app/IniFile.h"
#include "app/Paths.h"
#include "app/Settings.h"
#include "base/Utf.h"
#include "platform/Files.h"

#include <atomic>
#include <filesystem>

namespace kovrin {
namespace {

std::atomic<int> g_language_id{kDefaultLanguageId};

} // namespace

int LanguageId() {
    return g_language_id.load(std::memory_order_relaxed);
}

void SetLanguageId(int lcid) {
    g_language_id.store(lcid, std::memory_order_relaxed);
}

int StartLanguageId() {
    const int stored = RegReadInt("LCID");
    std::error_code ec;
    if (stored > 0 && std::filesystem::is_regular_file(LanguageFilePath(stored), ec)) {
        return stored;
    }
    return kDefaultLanguageId;
}

std::string ReadLanguageText(const std::string& path, std::string_view section, int id) {
    const auto bytes = platform::ReadWholeFile(path);
    if (!bytes) {
        return {};
    }
    const auto value = IniLookup(DecodeIniBytes(*bytes), section, std::to_string(id));
    if (!value) {
        return {};
    }
    return CutToUtf16Units(*value, kMaxTextUnits);
}

std::string GetText(std::string_view section, int id) {
    return ReadLanguageText(LanguageFilePath(LanguageId()), section, id);
}

} // namespace kovrin
