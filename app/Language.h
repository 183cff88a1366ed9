#pragma once
// Language texts, looked up by number in the language file of the current
// language. Nothing is cached: a change of language shows at the next lookup.

#include <string>
#include <string_view>

namespace kovrin {

inline constexpr std::string_view kDialogSection = "KB.DIALOG";
inline constexpr int kDefaultLanguageId = 1033;
// Longest text a lookup returns, in UTF-16 units.
inline constexpr std::size_t kMaxTextUnits = 259;

int LanguageId();
void SetLanguageId(int lcid);

// The language to start with: the stored LCID when its language file is
// there, so that the user's choice survives a restart; 1033 otherwise.
int StartLanguageId();

// Text number id of the section in the current language's file; empty when
// the file, the section or the key is missing.
std::string GetText(std::string_view section, int id);
inline std::string GetText(int id) {
    return GetText(kDialogSection, id);
}

// Same lookup in a given file.
std::string ReadLanguageText(const std::string& path, std::string_view section, int id);

} // namespace kovrin
