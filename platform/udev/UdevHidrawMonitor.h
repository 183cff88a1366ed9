#pragma once
// hidraw arrivals and removals from libudev.

#include "device/HidrawEvents.h"

#include <memory>
#include <string>

namespace kovrin::platform {

// Listens to udevd's events, or to the kernel's when no udevd runs. Null when
// libudev cannot be used, with the reason in *error.
std::unique_ptr<HidrawEventSource> OpenUdevHidrawMonitor(std::string* error = nullptr);

} // namespace kovrin::platform
