// The program's tray icon: the skin's icon and the device name as its tip,
// clicks to the program's callbacks, and removal. Against the test watcher on
// the session bus, on the UI library's loop.

#include "tests/platform/FakeTrayHosts.h"
#include "tests/platform/ShellTestSupport.h"
#include "tests/support/TempDir.h"

#include "app/Tray.h"
#include "base/Utf.h"
#include "tessel/Manager.h"

#include <gtest/gtest.h>

#include <cairo.h>

using kovrin::Tray;
using shell_test::FakeWatcher;
using shell_test::RunFor;

namespace {

// An icon file holding one PNG entry: a w x h picture, opaque green with a
// half-transparent blue top-left pixel.
std::string IconFile(int w, int h) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    auto* px = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s));
    const int stride = cairo_image_surface_get_stride(s) / 4;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            px[y * stride + x] = 0xFF00FF00u;
        }
    }
    px[0] = 0x80000080u; // premultiplied: alpha 0x80, blue 0xFF
    cairo_surface_mark_dirty(s);
    std::string png;
    cairo_surface_write_to_png_stream(
        s,
        [](void* closure, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &png);
    cairo_surface_destroy(s);
    auto le16 = [](std::string& b, unsigned v) {
        b.push_back(static_cast<char>(v & 0xFF));
        b.push_back(static_cast<char>(v >> 8 & 0xFF));
    };
    auto le32 = [&](std::string& b, unsigned v) {
        le16(b, v & 0xFFFF);
        le16(b, v >> 16);
    };
    std::string ico;
    le16(ico, 0);
    le16(ico, 1);
    le16(ico, 1);
    ico.push_back(static_cast<char>(w & 0xFF));
    ico.push_back(static_cast<char>(h & 0xFF));
    ico.push_back(0);
    ico.push_back(0);
    le16(ico, 1);
    le16(ico, 32);
    le32(ico, static_cast<unsigned>(png.size()));
    le32(ico, 22);
    return ico + png;
}

class TrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!shell_test::HaveDisplay() || !shell_test::HaveSessionBus()) {
            GTEST_SKIP() << "needs DISPLAY and DBUS_SESSION_BUS_ADDRESS";
        }
        lock_ = std::make_unique<shell_test::TrayLock>();
        std::string error;
        ASSERT_TRUE(Tessel::Manager::InitUiThread(&error)) << error;
        Tessel::Manager::SetProgramFolder(program_.path());
        watcher_ = std::make_unique<FakeWatcher>(*Tessel::Manager::Loop(), true);
        ASSERT_TRUE(watcher_->Ok()) << watcher_->Error();
    }
    void TearDown() override {
        watcher_.reset();
        if (shell_test::HaveDisplay()) {
            Tessel::Manager::SetProgramFolder("");
            Tessel::Manager::ShutdownUi();
        }
    }
    Tray::Callbacks Recorder() {
        Tray::Callbacks c;
        c.on_activate = [this] { events_.push_back("activate"); };
        c.on_context_menu = [this](int x, int y) {
            events_.push_back("menu " + std::to_string(x) + " " + std::to_string(y));
        };
        return c;
    }
    bool Run(unsigned ms, const std::function<bool()>& done) {
        return RunFor(*Tessel::Manager::Loop(), ms, done);
    }

    std::unique_ptr<shell_test::TrayLock> lock_;
    kovrin::test::TempDir program_;
    std::unique_ptr<FakeWatcher> watcher_;
    std::vector<std::string> events_;
};

TEST_F(TrayTest, IconShowsTheSkinPictureAndTheDeviceNameAndReportsClicks) {
    program_.Write("skins/theme1/Kovrin.ico", IconFile(32, 24));
    Tray tray;
    ASSERT_TRUE(tray.Add("Kovrin Test", Recorder()));
    EXPECT_TRUE(tray.Shown());
    ASSERT_TRUE(Run(5000, [&] { return tray.Available(); }));
    const std::string service = watcher_->Registered().at(0);

    EXPECT_EQ(watcher_->GetToolTipTitle(service), std::optional<std::string>("Kovrin Test"));
    EXPECT_EQ(watcher_->GetString(service, "Title"), std::optional<std::string>("Kovrin Test"));
    const auto pixmaps = watcher_->GetPixmaps(service, "IconPixmap");
    ASSERT_TRUE(pixmaps);
    ASSERT_EQ(pixmaps->size(), 1u);
    EXPECT_EQ((*pixmaps)[0].width, 32);
    EXPECT_EQ((*pixmaps)[0].height, 24);
    ASSERT_EQ((*pixmaps)[0].bytes.size(), 32u * 24u * 4u);
    const std::vector<std::uint8_t> first(pixmaps->at(0).bytes.begin(),
                                          pixmaps->at(0).bytes.begin() + 8);
    // Straight alpha: the half-transparent pixel is full blue.
    EXPECT_EQ(first, (std::vector<std::uint8_t>{0x80, 0, 0, 0xFF, 0xFF, 0, 0xFF, 0}));

    const struct {
        const char* method;
        const char* event; // nothing for a middle click
    } cases[] = {
        {"Activate", "activate"},
        {"ContextMenu", "menu 640 700"},
        {"SecondaryActivate", nullptr},
    };
    for (const auto& c : cases) {
        events_.clear();
        ASSERT_TRUE(watcher_->Call(service, c.method, 640, 700)) << c.method;
        if (c.event != nullptr) {
            ASSERT_TRUE(Run(2000, [&] { return !events_.empty(); })) << c.method;
            EXPECT_EQ(events_, std::vector<std::string>{c.event});
        } else {
            Run(100, [] { return false; });
            EXPECT_TRUE(events_.empty()) << c.method;
        }
    }

    EXPECT_FALSE(tray.Add("Kovrin Test", Recorder())) << "shown already";
    tray.Remove();
    EXPECT_FALSE(tray.Shown());
    EXPECT_FALSE(tray.Available());
    EXPECT_TRUE(Run(3000, [&] { return watcher_->NameGone(service); }));
    EXPECT_TRUE(tray.Add("Kovrin Test", Recorder())) << "may be added again";
    EXPECT_TRUE(Run(5000, [&] { return tray.Available(); }));
}

TEST_F(TrayTest, MissingIconFileStillAddsTheIcon) {
    for (const char* content : {static_cast<const char*>(nullptr), "not an icon"}) {
        if (content != nullptr) {
            program_.Write("skins/theme1/Kovrin.ico", content);
        }
        Tray tray;
        ASSERT_TRUE(tray.Add("Kovrin Test", Recorder()));
        ASSERT_TRUE(Run(5000, [&] { return tray.Available(); }));
        const auto pixmaps = watcher_->GetPixmaps(watcher_->Registered().back(), "IconPixmap");
        ASSERT_TRUE(pixmaps);
        EXPECT_TRUE(pixmaps->empty());
    }
}

TEST_F(TrayTest, TipIsTheDeviceNameCutTo256Characters) {
    // 255 units before the emoji, whose surrogate pair would end at 257.
    const std::string long_name = std::string(251, 'k') + "ÄÖÜ✓😀😀";
    EXPECT_EQ(Tray::ToolTipFor("Kovrin"), "Kovrin");
    const std::string cut = Tray::ToolTipFor(long_name);
    EXPECT_EQ(kovrin::Utf16Length(cut), 255u);
    EXPECT_EQ(cut, std::string(251, 'k') + "ÄÖÜ✓");
    const std::string exact = std::string(256, 'x');
    EXPECT_EQ(Tray::ToolTipFor(exact + "y"), exact);

    Tray tray;
    ASSERT_TRUE(tray.Add(long_name, Recorder()));
    ASSERT_TRUE(Run(5000, [&] { return tray.Available(); }));
    EXPECT_EQ(watcher_->GetToolTipTitle(watcher_->Registered().at(0)),
              std::optional<std::string>(cut));
}

TEST(TrayWithoutUi, AddNeedsTheUiLoop) {
    Tray tray;
    EXPECT_FALSE(tray.Add("Kovrin", Tray::Callbacks{}));
    EXPECT_FALSE(tray.Shown());
    EXPECT_FALSE(tray.Available());
    tray.Remove();
}

} // namespace
