#pragma once
// The udev rules that let the user at the seat open the hidraw nodes of every
// keyboard in the catalogue.

#include "device/Catalogue.h"

#include <string>
#include <vector>

namespace kovrin {

// One rule per distinct vendor and product id, in catalogue order. Modes
// whose ids do not fit 16 bits are left out and noted in skipped.
std::string MakeUdevRules(const Catalogue& catalogue, std::vector<std::string>* skipped = nullptr);

} // namespace kovrin
