// The gallery's keyboard page on the X server: a screenshot of the view with
// the 104-key layout (kept as an artifact of the build) and a click on a key
// with the real pointer.

#include "WidgetSupport.h"
#include "XSupport.h"

#include "tools/gallery/KeyboardColours.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

using namespace tessel_test;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Artifacts() {
    const std::string dir = std::string(KOVRIN_BUILD_PROGRAM_DIR) + "/../artifacts/";
    std::filesystem::create_directories(dir);
    return dir;
}

// The gallery in the background on one page, its output in files.
class Gallery {
public:
    explicit Gallery(int page) {
        dir_ = ::testing::TempDir() + "widget_gallery/";
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        Shell("( " + std::string(TESSEL_GALLERY_PATH) + " --page " + std::to_string(page) +
              " --describe --seconds 30 >" + dir_ + "out 2>" + dir_ + "err; echo $? >" + dir_ +
              "rc.tmp; mv " + dir_ + "rc.tmp " + dir_ + "rc ) &");
    }
    std::string Out() const { return Slurp(dir_ + "out"); }
    std::string Err() const { return Slurp(dir_ + "err"); }
    bool WaitFor(const std::string& line, int ms = 10000) const {
        for (int i = 0; i < ms / 50; ++i) {
            if (Out().find(line + "\n") != std::string::npos) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    bool Finished() const {
        for (int i = 0; i < 200 && !std::filesystem::exists(dir_ + "rc"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return std::filesystem::exists(dir_ + "rc");
    }
    std::string ExitCode() const { return Slurp(dir_ + "rc"); }
    // The "<kind> <id> l t r b" line of --describe: {l, t, r, b, id}.
    std::vector<long> Described(const std::string& kind, const std::string& id = {}) const {
        std::istringstream in(Out());
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            std::string k;
            std::string i;
            long l = 0, t = 0, r = 0, b = 0;
            if (words >> k >> i >> l >> t >> r >> b && k == kind && (id.empty() || i == id)) {
                return {l, t, r, b, std::atol(i.c_str())};
            }
        }
        return {};
    }

private:
    std::string dir_;
};

std::uint32_t Rgb(Tessel::COLORREF c) {
    return Tessel::GetRValue(c) << 16 | Tessel::GetGValue(c) << 8 | Tessel::GetBValue(c);
}

TEST(WidgetGalleryX, KeyboardViewOfThe104KeyLayoutAndAClickOnAKey) {
    if (!HaveDisplay()) {
        GTEST_SKIP() << "DISPLAY is not set";
    }
    const auto layout = ShippedLayout("kovrin_bolt104");
    ASSERT_NE(layout, nullptr);
    ASSERT_EQ(layout->keys.size(), 104u);
    XInputLock lock;
    Shell("xdotool mousemove 5 5");
    Gallery g(3);
    ASSERT_TRUE(g.WaitFor("ready")) << g.Err();
    const auto window = g.Described("window");
    const auto view = g.Described("rect", "601");
    ASSERT_EQ(window.size(), 5u) << g.Out();
    ASSERT_EQ(view.size(), 5u) << g.Out();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    const std::string file = Artifacts() + "gallery_keyboard_104.png";
    ASSERT_EQ(Shell("import -window " + std::to_string(window[4]) + " png:" + file), 0);
    const auto shot = Tessel::LoadImageFile(file);
    ASSERT_TRUE(shot);
    ASSERT_EQ(shot->Width(), window[2] - window[0]);
    // The picture is centred in the view; each key outlined in its colour.
    const long left = view[0] - window[0] + (view[2] - view[0] - layout->keyboard_width) / 2;
    const long top = view[1] - window[1];
    const int n = static_cast<int>(layout->keys.size());
    for (int i : {0, 17, 52, 77, 90, 103}) {
        const auto& r = layout->keys[static_cast<std::size_t>(i)].rect;
        const std::uint32_t c = RgbAt(shot, static_cast<int>(left + (r.left + r.right) / 2),
                                      static_cast<int>(top + r.top));
        EXPECT_TRUE(Near(c, Rgb(gallery::RainbowColour(i, n)), 12))
            << layout->keys[static_cast<std::size_t>(i)].name << " " << std::hex << c;
    }

    // A click on A: its index and key code.
    int a = -1;
    for (int i = 0; i < n; ++i) {
        if (layout->keys[static_cast<std::size_t>(i)].name == "A") {
            a = i;
        }
    }
    ASSERT_GE(a, 0);
    const auto& r = layout->keys[static_cast<std::size_t>(a)].rect;
    const long x =
        view[0] + (view[2] - view[0] - layout->keyboard_width) / 2 + (r.left + r.right) / 2;
    const long y = view[1] + (r.top + r.bottom) / 2;
    ASSERT_EQ(Shell("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
                    " sleep 0.1 click 1"),
              0);
    EXPECT_TRUE(g.WaitFor("notify 601 2 " + std::to_string(a) + " 4")) << g.Out();

    Shell("xdotool mousemove " + std::to_string(window[2] - 35) + " " +
          std::to_string(window[1] + 27) + " click 1");
    ASSERT_TRUE(g.Finished()) << g.Err();
    EXPECT_EQ(g.ExitCode(), "2\n") << g.Err();
}

} // namespace
