// The gallery program on the X server of the test run: screenshots of its
// pages (kept as artifacts of the build), and a combo box driven with the
// real pointer and keyboard.

#include "XSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

using namespace tessel_test;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The gallery running in the background, with its output in files.
class Gallery {
public:
    explicit Gallery(const std::string& args) {
        dir_ = ::testing::TempDir() + "tessel_gallery_" + std::to_string(++runs_) + "/";
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        Shell("( " + std::string(TESSEL_GALLERY_PATH) + " " + args + " >" + dir_ + "out 2>" + dir_ +
              "err; echo $? >" + dir_ + "rc.tmp; mv " + dir_ + "rc.tmp " + dir_ + "rc ) &");
    }
    std::string Out() const { return Slurp(dir_ + "out"); }
    std::string Err() const { return Slurp(dir_ + "err"); }
    // Waits until the output holds the line (or the time is up).
    bool WaitFor(const std::string& line, int ms = 10000) const {
        for (int i = 0; i < ms / 50; ++i) {
            if (Out().find(line + "\n") != std::string::npos) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    bool Finished(int ms = 10000) const {
        for (int i = 0; i < ms / 50 && !std::filesystem::exists(dir_ + "rc"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return std::filesystem::exists(dir_ + "rc");
    }
    std::string ExitCode() const { return Slurp(dir_ + "rc"); }
    // "rect <id> l t r b" and "window <xid> l t r b" from --describe.
    std::map<std::string, std::vector<long>> Described() const {
        std::map<std::string, std::vector<long>> out;
        std::istringstream in(Out());
        std::string kind;
        while (in >> kind) {
            if (kind == "rect" || kind == "window") {
                std::string id;
                long l = 0, t = 0, r = 0, b = 0;
                in >> id >> l >> t >> r >> b;
                out[kind == "window" ? "window" : id] = {l, t, r, b, std::atol(id.c_str())};
            }
            std::string rest;
            std::getline(in, rest);
        }
        return out;
    }

private:
    std::string dir_;
    static inline int runs_ = 0;
};

std::string Artifacts() {
    const std::string dir = std::string(KOVRIN_BUILD_PROGRAM_DIR) + "/../artifacts/";
    std::filesystem::create_directories(dir);
    return dir;
}

TEST(GalleryX, ScreenshotsOfEveryPage) {
    if (!HaveDisplay()) {
        GTEST_SKIP() << "DISPLAY is not set";
    }
    XInputLock lock; // nothing hovers the window while it is captured
    Shell("xdotool mousemove 5 5");
    const char* names[] = {"buttons", "input", "popups"};
    for (int page = 0; page < 3; ++page) {
        Gallery g("--page " + std::to_string(page) + " --describe --seconds 20");
        ASSERT_TRUE(g.WaitFor("ready")) << g.Err();
        const auto d = g.Described();
        ASSERT_EQ(d.count("window"), 1u);
        const auto& w = d.at("window");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const std::string file = Artifacts() + "gallery_" + names[page] + ".png";
        ASSERT_EQ(Shell("import -window " + std::to_string(w[4]) + " png:" + file), 0);
        const auto shot = Tessel::LoadImageFile(file);
        ASSERT_TRUE(shot);
        ASSERT_EQ(shot->Width(), w[2] - w[0]);
        ASSERT_EQ(shot->Height(), w[3] - w[1]);
        // The caption's red top rule, and the selected tab's red text.
        EXPECT_TRUE(Near(RgbAt(shot, 200, 0), 0xE0202F, 24)) << std::hex << RgbAt(shot, 200, 0);
        const int tab_text_top = 60 + 80 * page + 36 + 15;
        bool red_text = false;
        for (int y = tab_text_top; y < tab_text_top + 20 && !red_text; ++y) {
            for (int x = 10; x < 70 && !red_text; ++x) {
                const std::uint32_t c = RgbAt(shot, x, y);
                red_text = (c >> 16) > 0xD0 && (c >> 8 & 0xFF) < 0x40;
            }
        }
        EXPECT_TRUE(red_text) << names[page];
        if (page == 0) {
            // The checked box of "Start with the system" in the accent red.
            const auto& box = d.at("111");
            const std::uint32_t c = RgbAt(shot, box[0] - w[0] + 7, box[1] - w[1] + 8);
            EXPECT_TRUE(Near(c, 0xE0202F, 24)) << std::hex << c;
        }
        ASSERT_EQ(Shell("xdotool mousemove " + std::to_string(w[2] - 35) + " " +
                        std::to_string(w[1] + 27) + " click 1"),
                  0); // the close button
        ASSERT_TRUE(g.Finished()) << g.Err();
        EXPECT_EQ(g.ExitCode(), "2\n");
        Shell("xdotool mousemove 5 5");
    }
}

TEST(GalleryX, PickFromAComboAndTypeIntoAnEditBox) {
    if (!HaveDisplay()) {
        GTEST_SKIP() << "DISPLAY is not set";
    }
    XInputLock lock;
    Gallery g("--page 1 --describe --seconds 30");
    ASSERT_TRUE(g.WaitFor("ready")) << g.Err();
    const auto d = g.Described();
    ASSERT_EQ(d.count("311"), 1u);
    const auto& combo = d.at("311");
    const long cx = (combo[0] + combo[2]) / 2;
    const long cy = (combo[1] + combo[3]) / 2;
    ASSERT_EQ(
        Shell("xdotool mousemove " + std::to_string(cx) + " " + std::to_string(cy) + " click 1"),
        0);
    // The list opens below: rows of 30 from 6 pixels under its top.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const long row2 = combo[3] + 6 + 2 * 30 + 15;
    ASSERT_EQ(Shell("xdotool mousemove " + std::to_string(cx) + " " + std::to_string(row2) +
                    " sleep 0.1 click 1"),
              0);
    EXPECT_TRUE(g.WaitFor("notify 311 2 2 0")) << g.Out();
    // A press outside an open list closes it and picks nothing.
    ASSERT_EQ(Shell("xdotool mousemove " + std::to_string(cx) + " " + std::to_string(cy) +
                    " click 1 sleep 0.4 mousemove 5 5 click 1 sleep 0.3"),
              0);
    // Typing (not ASCII too) and the clipboard.
    const auto& edit = d.at("301");
    ASSERT_EQ(Shell("xdotool mousemove " + std::to_string(edit[0] + 20) + " " +
                    std::to_string((edit[1] + edit[3]) / 2) +
                    " click 1 sleep 0.2 type 'grün 7' && xdotool key ctrl+a ctrl+c"),
              0);
    EXPECT_TRUE(g.WaitFor("notify 301 26 0 0"));
    std::string pasted;
    if (Shell("command -v xclip >/dev/null") == 0) {
        for (int i = 0; i < 40 && pasted != "grün 7"; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            const std::string file = ::testing::TempDir() + "gallery_clip";
            Shell("timeout 2 xclip -o -selection clipboard >" + file + " 2>/dev/null");
            pasted = Slurp(file);
        }
        EXPECT_EQ(pasted, "grün 7");
    }
    ASSERT_EQ(Shell("xdotool key Return"), 0);
    EXPECT_TRUE(g.WaitFor("notify 301 29 0 0"));
    const std::string out = g.Out();
    EXPECT_EQ(out.find("notify 311 2 0 0"), std::string::npos); // the outside press picked nothing
    EXPECT_EQ(out.find("notify 301 29 0 0"), out.rfind("notify 301 29 0 0")); // one end
    Shell("xdotool mousemove " + std::to_string(d.at("window")[2] - 35) + " " +
          std::to_string(d.at("window")[1] + 27) + " click 1");
    ASSERT_TRUE(g.Finished()) << g.Err();
    EXPECT_EQ(g.ExitCode(), "2\n") << g.Err();
}

} // namespace
