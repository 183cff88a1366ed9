#pragma once
// Process services: opening a web address in the user's browser and ending
// the process at once.

#include <string>

namespace kovrin::platform {

// Hands an http or https address to xdg-open without waiting for it. False
// when the address is refused (another scheme, control characters) or the
// opener could not be started.
bool OpenUrl(const std::string& url);

// The address OpenUrl accepts.
bool IsOpenableUrl(const std::string& url);

// Ends the process now with the code: no destructors, no exit handlers.
[[noreturn]] void ExitNow(int code);

} // namespace kovrin::platform
