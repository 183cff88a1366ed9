#pragma once
// Helpers for the tests that run against the X server of the test run.

#include "tessel/Image.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace tessel_test {

inline bool HaveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d != nullptr && *d != '\0';
}

inline int Shell(const std::string& command) { return std::system(command.c_str()); }

// A screenshot of a window (or "root") as an image; null when it failed.
inline Tessel::ImagePtr Screenshot(const std::string& window) {
    const std::string path = ::testing::TempDir() + "tessel_shot_" + window + ".png";
    if (Shell("import -window " + window + " png:" + path + " 2>/dev/null") != 0) {
        return nullptr;
    }
    return Tessel::LoadImageFile(path);
}

inline std::uint32_t RgbAt(const Tessel::ImagePtr& img, int x, int y) {
    cairo_surface_t* s = img->Surface();
    cairo_surface_flush(s);
    const auto* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
}

inline bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) {
            return false;
        }
    }
    return true;
}

} // namespace tessel_test
