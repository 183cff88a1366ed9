#pragma once
// The gallery's pages; each is built by a function of its own file.

#include "tools/gallery/GalleryPage.h"

namespace gallery {

void BuildButtonsPage(GalleryPage& page);
void BuildInputPage(GalleryPage& page);
void BuildPopupsPage(GalleryPage& page);
void BuildKeyboardPage(GalleryPage& page);
void BuildFunctionsPage(GalleryPage& page);
void BuildListsPage(GalleryPage& page);
void BuildDevicesPage(GalleryPage& page);

} // namespace gallery
