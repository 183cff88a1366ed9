#include "tools/gallery/GalleryPages.h"

namespace gallery {

const std::vector<PageInfo>& Pages() {
    static const std::vector<PageInfo> pages = {
        {"Buttons", "icon\\tab_home.png", BuildButtonsPage},
        {"Input", "icon\\tab_customkey.png", BuildInputPage},
        {"Pop-ups", "icon\\tab_macro.png", BuildPopupsPage},
        {"Keyboard", "icon\\tab_light.png", BuildKeyboardPage},
        {"Functions", "icon\\tab_customkey.png", BuildFunctionsPage},
        {"Lists", "icon\\tab_macro.png", BuildListsPage},
        {"Devices", "icon\\tab_config.png", BuildDevicesPage},
    };
    return pages;
}

} // namespace gallery
