#include "tessel/FontRegistry.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <atomic>
#include <cstdlib>

// Fontconfig keeps part of what it reads from an application font file (its
// character sets) past the destruction of the configuration, and nothing can
// free it. The leak checker (which reads this hook) is told to overlook
// allocations made inside fontconfig, and nothing else.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace Tessel {
namespace {
std::atomic<bool> g_private_only{false};
FontRegistry* g_instance = nullptr;
std::mutex g_instance_mutex;
} // namespace

namespace {
// At exit, after every window is gone: the font map, its caches and the
// configuration go, so leak checkers see only real leaks.
// The registry's own lock is taken after the instance lock is let go: text
// drawing holds the registry's lock while it looks the instance up.
void ReleaseFonts() {
    FontRegistry* instance = nullptr;
    {
        std::lock_guard lock(g_instance_mutex);
        instance = g_instance;
    }
    if (instance != nullptr) {
        instance->Release();
    }
}
} // namespace

FontRegistry& FontRegistry::Instance() {
    std::lock_guard lock(g_instance_mutex);
    if (g_instance == nullptr) {
        // Lives until the process ends: fonts are in use by every window.
        g_instance = new FontRegistry(g_private_only.load());
        std::atexit(ReleaseFonts);
    }
    return *g_instance;
}

void FontRegistry::Release() {
    std::lock_guard lock(mutex_);
    if (context_ != nullptr) {
        g_object_unref(context_);
        context_ = nullptr;
    }
    if (font_map_ != nullptr) {
        g_object_unref(font_map_);
        font_map_ = nullptr;
    }
    if (config_ != nullptr) {
        FcConfigDestroy(config_);
        config_ = nullptr;
    }
}

void FontRegistry::UsePrivateFontsOnly() {
    g_private_only = true;
    FontRegistry* instance = nullptr;
    {
        std::lock_guard lock(g_instance_mutex);
        instance = g_instance;
    }
    if (instance != nullptr) {
        std::lock_guard inner(instance->mutex_);
        if (!instance->private_only_) {
            instance->private_only_ = true;
            instance->Rebuild();
        }
    }
}

FontRegistry::FontRegistry(bool private_only) : private_only_(private_only) {
    font_map_ = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    context_ = pango_font_map_create_context(font_map_);
    // Grey antialiasing without hinting: the same shapes on every screen.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context_, options);
    cairo_font_options_destroy(options);
    Rebuild();
}

void FontRegistry::Rebuild() {
    FcConfig* config = private_only_ ? FcConfigCreate() : FcInitLoadConfigAndFonts();
    if (config == nullptr) {
        config = FcConfigCreate();
    }
    for (const std::string& file : files_) {
        FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(file.c_str()));
    }
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(font_map_), config);
    if (config_ != nullptr) {
        FcConfigDestroy(config_);
    }
    config_ = config; // the font map holds its own reference
    pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(font_map_));
    pango_context_changed(context_);
}

std::string FontRegistry::AddFontFile(const std::string& path) {
    std::lock_guard lock(mutex_);
    int count = 0;
    FcPattern* pattern =
        FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(path.c_str()), 0, nullptr, &count);
    if (pattern == nullptr) {
        return {};
    }
    FcChar8* family = nullptr;
    std::string name;
    if (FcPatternGetString(pattern, FC_FAMILY, 0, &family) == FcResultMatch && family != nullptr) {
        name = reinterpret_cast<const char*>(family);
    }
    FcPatternDestroy(pattern);
    if (name.empty()) {
        return {};
    }
    if (files_.insert(path).second) {
        if (FcConfigAppFontAddFile(config_, reinterpret_cast<const FcChar8*>(path.c_str())) !=
            FcTrue) {
            files_.erase(path);
            return {};
        }
        pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(font_map_));
        pango_context_changed(context_);
    }
    families_.insert(name);
    return name;
}

void FontRegistry::SetAlias(const std::string& name, const std::string& family) {
    std::lock_guard lock(mutex_);
    aliases_[name] = family;
}

std::string FontRegistry::Resolve(const std::string& name) const {
    std::lock_guard lock(mutex_);
    auto it = aliases_.find(name);
    return it == aliases_.end() ? name : it->second;
}

bool FontRegistry::HasFamily(const std::string& family) const {
    std::lock_guard lock(mutex_);
    if (families_.count(family) != 0) {
        return true;
    }
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* set = FcFontList(config_, pattern, objects);
    const bool found = set != nullptr && set->nfont > 0;
    if (set != nullptr) {
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

} // namespace Tessel
