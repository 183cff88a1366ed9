#pragma once
// File primitives that need the operating system's own calls.

#include <optional>
#include <string>
#include <string_view>

namespace kovrin::platform {

// Absolute path of the running executable, symlinks resolved; empty on failure.
std::string ExecutablePath();

// Whole content of a file; nullopt when it cannot be opened or read.
// error_text, when given, receives the reason.
std::optional<std::string> ReadWholeFile(const std::string& path,
                                         std::string* error_text = nullptr);

// Replaces the file with the data so that a crash leaves either the old or the
// new content, never a mix: the data goes to a temporary file in the same
// folder, is flushed to disk, and is renamed over the target.
bool WriteFileAtomically(const std::string& path, std::string_view data);

} // namespace kovrin::platform
