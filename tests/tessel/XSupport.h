#pragma once
// Helpers for the tests that run against the X server of the test run.

#include "tessel/Image.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace tessel_test {

inline bool HaveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d != nullptr && *d != '\0';
}

inline int Shell(const std::string& command) {
    return std::system(command.c_str());
}

// Tests that move the pointer or type on the shared X server take turns: the
// lock is a folder beside the display's runtime files (made atomically). A
// lock left by a crashed test is taken over after 60 s.
class XInputLock {
public:
    XInputLock() {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        path_ = std::string(runtime != nullptr && *runtime != '\0' ? runtime : "/tmp") +
                "/kovrin-x-input-" +
                (std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "");
        for (int i = 0; i < 1200; ++i) {
            std::error_code ec;
            if (std::filesystem::create_directory(path_, ec)) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ~XInputLock() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    XInputLock(const XInputLock&) = delete;
    XInputLock& operator=(const XInputLock&) = delete;

private:
    std::string path_;
};

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
