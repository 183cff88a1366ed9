#pragma once
// The per-user settings: a small file that stands where a registry key would
// be. Reading creates it when missing; writing only changes an existing file,
// and replaces it atomically.

#include <string>
#include <string_view>

namespace kovrin {

class SettingsFile {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}

    // Decimal value of the setting; 0 when missing or not a number. Creates
    // the file (and its folder) when it does not exist yet.
    int ReadInt(std::string_view name) const;

    // Sets the value when the file exists; false when it does not, when the
    // text cannot be stored on one line, or when writing fails.
    bool WriteString(std::string_view name, std::string_view text) const;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// ConfigFolder() + "settings.ini", for the current device name.
std::string SettingsFilePath();

int RegReadInt(std::string_view name);
bool RegWriteString(std::string_view name, std::string_view text);

} // namespace kovrin
