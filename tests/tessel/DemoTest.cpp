// The demo program on the X server: find its window on a screenshot, click
// its control with XTest and check the notification arrived.

#include "XSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

using namespace tessel_test;

namespace {

// The top-left corner of the demo window: the first row with a run of at
// least `width` pixels of the theme's red top rule.
std::optional<std::pair<int, int>> FindWindow(const Tessel::ImagePtr& shot, int width) {
    for (int y = 0; y < shot->Height(); ++y) {
        int run = 0;
        for (int x = 0; x < shot->Width(); ++x) {
            run = Near(RgbAt(shot, x, y), 0xE0202F, 8) ? run + 1 : 0;
            if (run == width) {
                return std::pair{x - width + 1, y};
            }
        }
    }
    return std::nullopt;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DemoProgram, ClickOnItsControlSendsTheNotification) {
    if (!HaveDisplay()) {
        GTEST_SKIP() << "DISPLAY is not set";
    }
    XInputLock lock;
    const std::string dir = ::testing::TempDir() + "tessel_demo_run/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    // The demo ends itself after 20 s if the click never comes.
    ASSERT_EQ(Shell("( " + std::string(TESSEL_DEMO_PATH) + " --exit-on-click --seconds 20 >" + dir +
                    "out 2>" + dir + "err; echo $? >" + dir + "rc.tmp; mv " + dir + "rc.tmp " +
                    dir + "rc ) &"),
              0);
    std::optional<std::pair<int, int>> corner;
    for (int i = 0; i < 200 && !corner; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (auto shot = Screenshot("root")) {
            corner = FindWindow(shot, 470);
        }
    }
    ASSERT_TRUE(corner) << Slurp(dir + "err");
    // Centred on the 1920 × 1080 screen: 480 × 260 at (720, 410).
    EXPECT_EQ(corner->first, 720);
    EXPECT_EQ(corner->second, 410);
    // The pad (40, 130)-(136, 226) of the client area.
    const int x = corner->first + 88;
    const int y = corner->second + 178;
    ASSERT_EQ(Shell("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
                    " sleep 0.1 click 1"),
              0);
    for (int i = 0; i < 200 && !std::filesystem::exists(dir + "rc"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(std::filesystem::exists(dir + "rc"));
    EXPECT_EQ(Slurp(dir + "rc"), "6\n");
    EXPECT_EQ(Slurp(dir + "out"), "notify 1001 2\n");
}

} // namespace
