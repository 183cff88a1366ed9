#pragma once
// One page of the gallery: a page container under a tab, with helpers that
// build controls into it. Each page lives in its own file and is listed once
// in GalleryPages.cpp.

#include "tessel/MDialog.h"
#include "tessel/controls/input/MTabLayout.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace gallery {

using namespace Tessel;

class GalleryDialog;

class GalleryPage {
public:
    GalleryPage(GalleryDialog& dialog, MTabLayout* panel, CRect area)
        : dialog_(dialog), panel_(panel), area_(area) {}

    GalleryDialog& Dialog() { return dialog_; }
    MTabLayout* Panel() { return panel_; }
    // The page's free area (window client coordinates).
    CRect Area() const { return area_; }
    // A point of the page: x and y from the area's top-left corner.
    CRect At(int x, int y, int width, int height) const {
        return CRect(area_.left + x, area_.top + y, area_.left + x + width, area_.top + y + height);
    }

    // A control of that class inside the page; null (with a message on
    // stderr) when the class cannot be built.
    template <class T> T* Add(const char* cls, UINT id, CRect rect, const std::string& title = {}) {
        auto* c = dynamic_cast<T*>(panel_->CreateControl(cls, id, rect, title.c_str(), 1, 1));
        if (c == nullptr) {
            Missing(cls);
        }
        return c;
    }
    // A section heading in the theme's red.
    void Heading(const std::string& text, CRect rect);
    // A plain label.
    void Label(const std::string& text, CRect rect, Color color = 0xFFB8BCC8);
    // Runs `handler` when the control of that id notifies (after printing it).
    void OnNotify(UINT id, std::function<void(UINT code, WPARAM, LPARAM)> handler);

private:
    void Missing(const char* cls);

    GalleryDialog& dialog_;
    MTabLayout* panel_;
    CRect area_;
};

// The pages in tab order.
struct PageInfo {
    const char* title;
    const char* icon; // a tab icon of the skin, four cells
    void (*build)(GalleryPage& page);
};
const std::vector<PageInfo>& Pages();

} // namespace gallery
