#include "tools/gallery/GalleryPages.h"

namespace gallery {

const std::vector<PageInfo>& Pages() {
    static const std::vector<PageInfo> pages = {
        {"Buttons", "icon\\tab_home.png", BuildButtonsPage},
        {"Input", "icon\\tab_customkey.png", BuildInputPage},
        {"Pop-ups", "icon\\tab_macro.png", BuildPopupsPage},
    };
    return pages;
}

} // namespace gallery
