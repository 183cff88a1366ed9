#pragma once
// The fonts text is set in. One process-wide fontconfig configuration holds
// the installed fonts plus the program's own font files; in tests it can be
// pinned to the program's files alone, so text renders the same everywhere.
// Font names the skins use ("Arial") are mapped to the families of the files
// that stand in for them.

#include <pango/pango.h>

#include <map>
#include <mutex>
#include <set>
#include <string>

typedef struct _FcConfig FcConfig;

namespace Tessel {

class FontRegistry {
public:
    static FontRegistry& Instance();

    // Only fonts added with AddFontFile are used from now on (the installed
    // ones are dropped). Meant for tests, before the first text is drawn.
    static void UsePrivateFontsOnly();

    // Adds a font file; returns the family it holds, empty when the file is
    // missing or not a font. Adding a file again is harmless.
    std::string AddFontFile(const std::string& path);
    // Text asked for in `name` is set in `family` from now on.
    void SetAlias(const std::string& name, const std::string& family);
    // The family text asked for in `name` is set in.
    std::string Resolve(const std::string& name) const;
    bool HasFamily(const std::string& family) const;

    // The shared layout context; hold Lock() while using it.
    PangoContext* Context() const { return context_; }
    std::recursive_mutex& Lock() { return mutex_; }
    // Frees the fonts at process exit; no text can be drawn afterwards.
    void Release();

private:
    explicit FontRegistry(bool private_only);
    ~FontRegistry() = delete;
    void Rebuild();

    mutable std::recursive_mutex mutex_;
    bool private_only_;
    FcConfig* config_ = nullptr;
    PangoFontMap* font_map_ = nullptr;
    PangoContext* context_ = nullptr;
    std::set<std::string> files_;
    std::set<std::string> families_;
    std::map<std::string, std::string> aliases_;
};

} // namespace Tessel
