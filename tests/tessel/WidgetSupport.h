#pragma once
// Shipped layouts and keyboard views for the widget tests.

#include "TestSupport.h"

#include "device/KeyboardLayout.h"
#include "device/LayoutLoader.h"
#include "tessel/controls/keyboard/KeyboardCtrl.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tessel_test {

// A layout of data/layouts, read as the program reads it.
inline std::shared_ptr<kovrin::KeyboardLayout> ShippedLayout(const std::string& name) {
    kovrin::XmlDocument doc;
    const std::string path = std::string(KOVRIN_SOURCE_DIR) + "/data/layouts/" + name + ".xml";
    if (!doc.LoadFile(path) || !doc.FindElement("device.info")) {
        ADD_FAILURE() << "cannot read " << path;
        return nullptr;
    }
    auto layout = std::make_shared<kovrin::KeyboardLayout>();
    std::vector<std::string> warnings;
    kovrin::ReadLayout(doc, *layout, warnings);
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    return layout;
}

inline Tessel::CRect ToRect(const kovrin::KeyRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Fills a view with the layout's picture and keys, as the catalogue does.
inline void FillKeyboard(Tessel::KeyboardCtrl& view, const kovrin::KeyboardLayout& layout) {
    view.ClearItem();
    EXPECT_TRUE(view.SetKeyboardImage(layout.KeyboardPicturePath()));
    view.SetWidthAndHeight(layout.keyboard_width, layout.keyboard_height);
    for (const kovrin::KeyItem& key : layout.keys) {
        view.AddKeyItem(key.name, key.desc, static_cast<std::uint32_t>(key.code), ToRect(key.rect),
                        key.icon);
    }
}

inline Tessel::CPoint Centre(const Tessel::CRect& r) {
    return {r.left + r.Width() / 2, r.top + r.Height() / 2};
}

// Red, green and blue of an 0xRRGGBB value within a tolerance.
inline bool NearRgb(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) {
            return false;
        }
    }
    return true;
}

} // namespace tessel_test
