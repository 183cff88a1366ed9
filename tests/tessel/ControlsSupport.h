#pragma once
// A headless session with one dialog for the control tests, and a look-up of
// the pixels of the skin images the controls draw from.

#include "TestSupport.h"
#include "XSupport.h"

#include "tessel/Manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace tessel_test {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui.System().SetScreen({0, 0, 1920, 1080}, {0, 0, 1920, 1040});
        dlg.build = [this](TestDialog& d, CRect client) {
            if (build) {
                build(d, client);
            }
        };
    }
    void TearDown() override {
        if (dlg.GetSafeHwnd() != nullptr) {
            dlg.DestroyWindow();
        }
        ui.Pump();
    }
    // Opens the dialog (background 0x090D13) and paints it.
    void Open(int width = 400, int height = 300, int x = 100, int y = 100) {
        ASSERT_TRUE(dlg.Open(width, height, x, y));
        dlg.ShowWindow(SW_SHOW);
        ui.Pump();
    }
    template <class T> T* Make(const char* cls, UINT id, CRect rect, const char* title = "") {
        auto* c = dynamic_cast<T*>(dlg.CreateControl(cls, id, rect, title, 1, 1));
        EXPECT_NE(c, nullptr) << cls;
        if (c != nullptr) {
            c->UpdateControl(1); // made after the first paint
        }
        return c;
    }
    // The notifications of one control since the last Clear.
    std::vector<Note> NotesOf(UINT id) const {
        std::vector<Note> out;
        for (const Note& n : dlg.notes) {
            if (n.id == id) {
                out.push_back(n);
            }
        }
        return out;
    }
    std::vector<UINT> CodesOf(UINT id) const {
        std::vector<UINT> out;
        for (const Note& n : NotesOf(id)) {
            out.push_back(n.code);
        }
        return out;
    }
    // The colour (0xRRGGBB) a skin image's pixel shows over the background
    // colour `back` (the dialog's by default).
    static std::uint32_t SkinRgb(const std::string& file, int x, int y,
                                 std::uint32_t back = kBack) {
        const std::uint32_t p = SkinPixel(file, x, y);
        const std::uint32_t a = p >> 24;
        std::uint32_t out = 0;
        for (int shift : {0, 8, 16}) {
            const std::uint32_t c =
                (p >> shift & 0xFF) + ((back >> shift & 0xFF) * (255 - a) + 127) / 255;
            out |= std::min(c, 255u) << shift;
        }
        return out;
    }
    // Colours that differ by rounding only.
    static bool Same(std::uint32_t a, std::uint32_t b) { return Near(a, b, 2); }
    static constexpr std::uint32_t kBack = 0x090D13;

    // The premultiplied ARGB pixel of a skin image.
    static std::uint32_t SkinPixel(const std::string& file, int x, int y) {
        static std::map<std::string, ImagePtr> cache;
        ImagePtr& img = cache[file];
        if (!img) {
            img = LoadImageFile(Manager::GetSkinFolder() + file);
        }
        if (!img) {
            ADD_FAILURE() << "no skin image " << file;
            return 0;
        }
        cairo_surface_t* s = img->Surface();
        cairo_surface_flush(s);
        const auto* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
        return reinterpret_cast<const std::uint32_t*>(row)[x];
    }

    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
    TestDialog dlg;
    std::function<void(TestDialog&, CRect)> build;
};

} // namespace tessel_test
