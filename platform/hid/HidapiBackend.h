#pragma once
// The HID backend on hidapi's hidraw implementation.

#include "device/HidBackend.h"

#include <memory>
#include <vector>

namespace kovrin::platform {

std::unique_ptr<HidBackend> CreateHidapiBackend();

// hidapi lists a hidraw node once per top-level collection. Folds records of
// the same path into one, keeping the order of first appearance and every
// distinct usage.
std::vector<HidInterfaceInfo> MergeRecordsByPath(std::vector<HidInterfaceInfo> records);

} // namespace kovrin::platform
