#include "app/DeviceName.h"

#include <mutex>

namespace kovrin {
namespace {

std::mutex g_mutex;
std::string g_name(kDefaultDeviceName);

} // namespace

bool IsSafeFolderName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

std::string DeviceName() {
    std::lock_guard lock(g_mutex);
    return g_name;
}

bool SetDeviceName(std::string_view name) {
    if (!IsSafeFolderName(name)) {
        return false;
    }
    std::lock_guard lock(g_mutex);
    g_name = name;
    return true;
}

} // namespace kovrin
