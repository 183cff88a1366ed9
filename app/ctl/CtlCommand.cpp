#include "app/ctl/CtlCommand.h"

#include <algorithm>

namespace kovrin::ctl {

std::string TakeOption(std::vector<std::string>& args, const std::string& name,
                       bool* missing_value) {
    const auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end()) {
        return {};
    }
    if (it + 1 == args.end()) {
        if (missing_value) {
            *missing_value = true;
        }
        args.erase(it);
        return {};
    }
    std::string value = *(it + 1);
    args.erase(it, it + 2);
    return value;
}

} // namespace kovrin::ctl
