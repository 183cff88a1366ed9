#include "tessel/controls/SkinFile.h"

#include "tessel/Manager.h"

#include <algorithm>

namespace Tessel {

std::string SkinFilePath(const std::string& name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    for (std::size_t p; (p = path.find("//")) != std::string::npos;) {
        path.erase(p, 1);
    }
    return Manager::GetSkinFolder() + path;
}

ImagePtr LoadSkinImage(const std::string& name) {
    if (name.empty()) {
        return nullptr;
    }
    return LoadImageFile(SkinFilePath(name));
}

} // namespace Tessel
