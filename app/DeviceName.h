#pragma once
// The device name: the product name from config.xml. It labels the settings
// folder, the data folder, the single-instance lock and the window marker, so
// a name that could escape a folder is never taken.

#include <string>
#include <string_view>

namespace kovrin {

inline constexpr std::string_view kDefaultDeviceName = "Kovrin";

std::string DeviceName();

// Takes the name unless it is unusable as a folder name (empty, "." or "..",
// or holding '/' or NUL); then the current name is kept. Returns whether the
// name was taken.
bool SetDeviceName(std::string_view name);

// A single path component that stays inside its folder.
bool IsSafeFolderName(std::string_view name);

} // namespace kovrin
