#include "app/Paths.h"

#include "app/DeviceName.h"
#include "platform/Files.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace kovrin {
namespace {

std::mutex g_mutex;
std::string g_program_override;

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') {
        path.push_back('/');
    }
    return path;
}

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    return fallback;
}

std::string Home() {
    const char* home = std::getenv("HOME");
    return home != nullptr && home[0] != '\0' ? home : "/tmp";
}

} // namespace

std::string ProgramFolder() {
    {
        std::lock_guard lock(g_mutex);
        if (!g_program_override.empty()) {
            return WithSlash(g_program_override);
        }
    }
    if (const char* env = std::getenv("KOVRIN_PROGRAM_DIR"); env != nullptr && env[0] != '\0') {
        return WithSlash(env);
    }
    const std::string exe = platform::ExecutablePath();
    const auto slash = exe.find_last_of('/');
    if (slash == std::string::npos) {
        return "./";
    }
    return exe.substr(0, slash + 1);
}

void SetProgramFolder(std::string_view folder) {
    std::lock_guard lock(g_mutex);
    g_program_override = folder;
}

std::string ConfigFilePath() {
    return ProgramFolder() + "config.xml";
}

std::string LanguageFilePath(int lcid) {
    return ProgramFolder() + "language/" + std::to_string(lcid) + ".lan";
}

std::string LayoutsFolder() {
    return ProgramFolder() + "layouts/";
}

std::string SkinFolder() {
    return ProgramFolder() + "skins/theme1/";
}

std::string FirmwareFolder() {
    return ProgramFolder() + "firmware/";
}

std::string DataFolder() {
    const std::string base = EnvOr("XDG_DATA_HOME", Home() + "/.local/share");
    return WithSlash(base) + DeviceName() + " Files/";
}

std::string DatabaseFolder() {
    return DataFolder() + "db/";
}

std::string ConfigFolder() {
    const std::string base = EnvOr("XDG_CONFIG_HOME", Home() + "/.config");
    return WithSlash(base) + DeviceName() + "/";
}

bool EnsureFolder(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return true;
    }
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

} // namespace kovrin
