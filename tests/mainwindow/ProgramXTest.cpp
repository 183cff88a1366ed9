// The program itself on the test's X server: started as users start it, each
// run with its own device name (a program folder whose config.xml names it),
// observed and driven only from outside — window properties, pixels, the
// report trace, signals, a second copy, kovrinctl and a test tray watcher.

#include "platform/instance/InstanceWindow.h"
#include "tests/platform/FakeTrayHosts.h"
#include "tests/platform/ShellTestSupport.h"
#include "tests/platform/XScreen.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>

using kovrin::test::ReadBytes;
using kovrin::test::TempDir;
using kovrin::test::UserFolders;
using shell_test::Child;

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kTrayMenuWidth = 200;

bool WaitFor(unsigned ms, const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// The build's program folder with config.xml naming another device, so that
// each run has its own lock, marker, settings and databases.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::string& name) : name_(name) {
        for (const auto& entry : fs::directory_iterator(KOVRIN_BUILD_PROGRAM_DIR)) {
            if (entry.path().filename() != "config.xml") {
                fs::create_symlink(entry.path(), fs::path(dir_.path()) / entry.path().filename());
            }
        }
        std::string config = ReadBytes(std::string(KOVRIN_BUILD_PROGRAM_DIR) + "/config.xml");
        const std::string from = "<software name=\"Kovrin\"";
        const auto at = config.find(from);
        if (at != std::string::npos) {
            config.replace(at, from.size(), "<software name=\"" + name + "\"");
            dir_.Write("config.xml", config);
        }
    }
    const std::string& Name() const { return name_; }
    const std::string& Path() const { return dir_.path(); }
    bool Ok() const { return fs::exists(fs::path(dir_.path()) / "config.xml"); }

private:
    TempDir dir_;
    std::string name_;
};

std::string UniqueName(const std::string& base) {
    static int n = 0;
    return base + " " + std::to_string(getpid()) + "-" + std::to_string(++n);
}

// What the tests look at and do on the screen besides the shared probes:
// titles, pixels, pop-ups and the pointer.
class Screen : public shell_test::XScreen {
public:
    // Position on the screen and size.
    XRectangle Frame(Window w) {
        XWindowAttributes a{};
        Window child = 0;
        int x = 0;
        int y = 0;
        if (XGetWindowAttributes(Dpy(), w, &a) == 0 ||
            !XTranslateCoordinates(Dpy(), w, DefaultRootWindow(Dpy()), 0, 0, &x, &y, &child)) {
            return {};
        }
        return {static_cast<short>(x), static_cast<short>(y), static_cast<unsigned short>(a.width),
                static_cast<unsigned short>(a.height)};
    }
    std::string Title(Window w) {
        const Atom utf8 = XInternAtom(Dpy(), "UTF8_STRING", False);
        const Atom net_name = XInternAtom(Dpy(), "_NET_WM_NAME", False);
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        std::string title;
        if (XGetWindowProperty(Dpy(), w, net_name, 0, 1024, False, utf8, &type, &format, &count,
                               &after, &data) == Success &&
            data != nullptr) {
            title.assign(reinterpret_cast<char*>(data), count);
        }
        if (data != nullptr) {
            XFree(data);
        }
        return title;
    }

    // The pixels of an area of the window (the whole window when width is 0)
    // as 0x00RRGGBB, row by row; empty when unreadable. The area is cut to
    // the window; *width and *height receive its size.
    std::vector<std::uint32_t> Capture(Window w, int left, int top, int* width, int* height) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(Dpy(), w, &a) == 0 || a.map_state != IsViewable) {
            return {};
        }
        const int w_px = std::min(*width > 0 ? *width : a.width, a.width - left);
        const int h_px = std::min(*height > 0 ? *height : a.height, a.height - top);
        if (left < 0 || top < 0 || w_px <= 0 || h_px <= 0) {
            return {};
        }
        XImage* image = XGetImage(Dpy(), w, left, top, static_cast<unsigned>(w_px),
                                  static_cast<unsigned>(h_px), AllPlanes, ZPixmap);
        if (image == nullptr) {
            return {};
        }
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w_px) * h_px);
        for (int y = 0; y < h_px; ++y) {
            for (int x = 0; x < w_px; ++x) {
                pixels[static_cast<std::size_t>(y) * w_px + x] =
                    static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
            }
        }
        XDestroyImage(image);
        *width = w_px;
        *height = h_px;
        return pixels;
    }

    // Pixels of the area that are clearly red (the selected tab, the logo).
    int RedPixels(Window w, int left, int top, int right, int bottom) {
        int width = right - left;
        int height = bottom - top;
        int red = 0;
        for (const std::uint32_t p : Capture(w, left, top, &width, &height)) {
            const int r = static_cast<int>(p >> 16 & 0xFF);
            const int g = static_cast<int>(p >> 8 & 0xFF);
            const int b = static_cast<int>(p & 0xFF);
            red += r > 150 && g < 90 && b < 90 ? 1 : 0;
        }
        return red;
    }

    // Kept by the test run as a picture of the window.
    bool SavePng(Window w, const std::string& path) {
        int width = 0;
        int height = 0;
        auto pixels = Capture(w, 0, 0, &width, &height);
        if (pixels.empty()) {
            return false;
        }
        cairo_surface_t* surface =
            cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels.data()),
                                                CAIRO_FORMAT_RGB24, width, height, width * 4);
        std::error_code ec;
        fs::create_directories(fs::path(path).parent_path(), ec);
        const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
        cairo_surface_destroy(surface);
        return ok;
    }

    // Presses the left button at one screen point, moves and lets go at another.
    void Drag(int x0, int y0, int x1, int y1) {
        XTestFakeMotionEvent(Dpy(), -1, x0, y0, 0);
        XTestFakeButtonEvent(Dpy(), 1, True, 0);
        XSync(Dpy(), False);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        for (int step = 1; step <= 5; ++step) {
            XTestFakeMotionEvent(Dpy(), -1, x0 + (x1 - x0) * step / 5, y0 + (y1 - y0) * step / 5,
                                 0);
            XSync(Dpy(), False);
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        }
        XTestFakeButtonEvent(Dpy(), 1, False, 0);
        XSync(Dpy(), False);
    }
    void Click(int x, int y) {
        XTestFakeMotionEvent(Dpy(), -1, x, y, 0);
        XTestFakeButtonEvent(Dpy(), 1, True, 0);
        XTestFakeButtonEvent(Dpy(), 1, False, 0);
        XSync(Dpy(), False);
    }
    // Moves the pointer away so that nothing hovers the window.
    void Park() {
        XTestFakeMotionEvent(Dpy(), -1, Width() - 1, Height() - 1, 0);
        XSync(Dpy(), False);
    }

    // A viewable top-level window of that width other than the given one
    // (the program's pop-up menu); its frame, or nothing.
    std::optional<XRectangle> FindPopup(Window main, int width) {
        std::optional<XRectangle> found;
        for (const Window w : Stacking()) {
            if (w != main && w != CoverWindow() && Viewable(w) && Frame(w).width == width) {
                found = Frame(w);
            }
        }
        return found;
    }
};

class ProgramXTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!shell_test::HaveDisplay()) {
            GTEST_SKIP() << "DISPLAY is not set";
        }
        // The program maps windows, shows a tray icon and takes the pointer.
        tray_lock_ = std::make_unique<shell_test::TrayLock>();
        input_lock_ = std::make_unique<shell_test::XInputLock>();
        ASSERT_TRUE(screen_.Ok());
        screen_.Park();
    }

    std::unique_ptr<Child> Start(const ProgramFolder& folder, std::vector<std::string> extra = {}) {
        std::vector<std::string> argv = {KOVRIN_PATH, "--program-dir", folder.Path()};
        argv.insert(argv.end(), extra.begin(), extra.end());
        return std::make_unique<Child>(argv);
    }
    // The program's main window once it is shown and painted; 0 otherwise.
    // (Painted: the logo's red shows; a covered window cannot be read.)
    Window MainWindow(const std::string& name, bool painted = true) {
        Window w = 0;
        const bool ok = WaitFor(20000, [&] {
            w = kovrin::platform::FindMarkedWindow(name);
            return w != 0 && screen_.Viewable(w) &&
                   (!painted || screen_.RedPixels(w, 20, 5, 60, 45) > 50);
        });
        return ok ? w : 0;
    }
    int Quit(const ProgramFolder& folder, int lparam) {
        Child ctl({KOVRINCTL_PATH, "--program-dir", folder.Path(), "quit-request",
                   std::to_string(lparam)});
        const auto status = ctl.Wait(10000);
        return status ? *status : -1;
    }

    UserFolders user_;
    std::unique_ptr<shell_test::TrayLock> tray_lock_;
    std::unique_ptr<shell_test::XInputLock> input_lock_;
    Screen screen_;
};

// The region of the navigation bar's "Keys" entry: red while tab 1 is the
// selected page.
constexpr int kKeysTab[4] = {0, 140, 80, 215};
// The region of the "Home" entry.
constexpr int kHomeTab[4] = {0, 60, 80, 135};

TEST_F(ProgramXTest, WindowIsCentredTitledWithTheDeviceNameAndMovesByDrag) {
    ProgramFolder folder(UniqueName("Kovrin Window"));
    ASSERT_TRUE(folder.Ok());
    auto program = Start(folder);
    const Window w = MainWindow(folder.Name());
    ASSERT_NE(w, 0u) << "no painted main window";

    const XRectangle frame = screen_.Frame(w);
    EXPECT_EQ(frame.width, kWidth);
    EXPECT_EQ(frame.height, kHeight);
    EXPECT_EQ(frame.x, (screen_.Width() - kWidth) / 2);
    EXPECT_EQ(frame.y, (screen_.Height() - kHeight) / 2);
    EXPECT_EQ(screen_.Title(w), folder.Name());
    EXPECT_TRUE(screen_.SavePng(w, std::string(KOVRIN_ARTIFACT_DIR) + "/main-window.png"));
    // Without a keyboard no page shows.
    EXPECT_EQ(screen_.RedPixels(w, kKeysTab[0], kKeysTab[1], kKeysTab[2], kKeysTab[3]), 0);

    // A press on the caption's empty middle drags the window.
    screen_.Drag(frame.x + 400, frame.y + 25, frame.x + 460, frame.y + 65);
    EXPECT_TRUE(WaitFor(5000,
                        [&] {
                            const XRectangle now = screen_.Frame(w);
                            return now.x == frame.x + 60 && now.y == frame.y + 40;
                        }))
        << "window at " << screen_.Frame(w).x << "," << screen_.Frame(w).y;

    EXPECT_EQ(Quit(folder, 610), 0);
    const auto status = program->Wait(10000);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 0);
}

TEST_F(ProgramXTest, SimulatedKeyboardIsSyncedAtStartAndFollowsUnplugAndReplug) {
    ProgramFolder folder(UniqueName("Kovrin Simulated"));
    ASSERT_TRUE(folder.Ok());
    TempDir logs;
    const std::string trace = logs / "trace.txt";
    auto program = Start(folder, {"--simulate", "Kovrin Bolt 87 Air:0", "--trace", trace});
    const Window w = MainWindow(folder.Name());
    ASSERT_NE(w, 0u);

    // The firmware check, then the key sync's slot table read.
    const std::string firmware = "cmd set 07 fd";
    const std::string slot_table = "cmd set 07 fb";
    ASSERT_TRUE(WaitFor(10000, [&] {
        const std::string t = ReadBytes(trace);
        const auto f = t.find(firmware);
        return f != std::string::npos && t.find(slot_table, f) != std::string::npos;
    })) << ReadBytes(trace);
    // The keyboard's pages show, with the key page selected.
    EXPECT_TRUE(WaitFor(5000, [&] {
        return screen_.RedPixels(w, kKeysTab[0], kKeysTab[1], kKeysTab[2], kKeysTab[3]) > 50;
    }));
    EXPECT_EQ(screen_.RedPixels(w, kHomeTab[0], kHomeTab[1], kHomeTab[2], kHomeTab[3]), 0);
    EXPECT_TRUE(screen_.SavePng(w, std::string(KOVRIN_ARTIFACT_DIR) + "/main-window-keyboard.png"));

    program->Kill(SIGUSR1);
    EXPECT_TRUE(WaitFor(5000, [&] {
        return screen_.RedPixels(w, kKeysTab[0], kKeysTab[1], kKeysTab[2], kKeysTab[3]) == 0;
    })) << "the pages hide when the keyboard goes";
    const std::size_t checks_before = ReadBytes(trace).size();

    program->Kill(SIGUSR2);
    EXPECT_TRUE(WaitFor(10000, [&] {
        return ReadBytes(trace).find(firmware, checks_before) != std::string::npos;
    })) << "plugged in again, the keyboard is checked again";
    EXPECT_TRUE(WaitFor(5000, [&] {
        return screen_.RedPixels(w, kKeysTab[0], kKeysTab[1], kKeysTab[2], kKeysTab[3]) > 50;
    })) << "and its pages come back";

    EXPECT_EQ(Quit(folder, 610), 0);
    const auto status = program->Wait(10000);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 0);
}

TEST_F(ProgramXTest, SecondStartRaisesTheFirstWindowAndEnds) {
    ProgramFolder folder(UniqueName("Kovrin Twice"));
    ASSERT_TRUE(folder.Ok());
    auto first = Start(folder);
    const Window w = MainWindow(folder.Name());
    ASSERT_NE(w, 0u);
    screen_.Cover(0, 0, screen_.Width(), screen_.Height());
    ASSERT_FALSE(screen_.AboveCover(w));

    const auto started = std::chrono::steady_clock::now();
    auto second = Start(folder);
    const auto status = second->Wait(10000);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 0);
    std::printf("second copy ended after %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                           std::chrono::steady_clock::now() - started)
                                           .count()));
    EXPECT_TRUE(WaitFor(5000, [&] { return screen_.AboveCover(w); }));
    EXPECT_TRUE(first->Running());
    EXPECT_EQ(Quit(folder, 610), 0);
    EXPECT_TRUE(first->Wait(10000));
}

TEST_F(ProgramXTest, TwoDeviceNamesRunSideBySide) {
    ProgramFolder a(UniqueName("Kovrin Left"));
    ProgramFolder b(UniqueName("Kovrin Right"));
    auto first = Start(a);
    auto second = Start(b);
    // Both centred: one covers the other.
    const Window wa = MainWindow(a.Name(), false);
    const Window wb = MainWindow(b.Name(), false);
    ASSERT_NE(wa, 0u);
    ASSERT_NE(wb, 0u);
    EXPECT_NE(wa, wb);
    EXPECT_TRUE(first->Running());
    EXPECT_TRUE(second->Running());
    EXPECT_EQ(Quit(a, 610), 0);
    EXPECT_EQ(Quit(b, 610), 0);
    EXPECT_EQ(first->Wait(10000), std::optional<int>(0));
    EXPECT_EQ(second->Wait(10000), std::optional<int>(0));
}

// With a tray host on the session bus: the item comes, activation brings the
// hidden window back, the quit request removes the item and ends with 0.
class ProgramTrayTest : public ProgramXTest {
protected:
    void SetUp() override {
        ProgramXTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        if (!shell_test::HaveSessionBus()) {
            GTEST_SKIP() << "DBUS_SESSION_BUS_ADDRESS is not set";
        }
        loop_ = std::make_unique<kovrin::platform::EventLoop>();
        watcher_ = std::make_unique<shell_test::FakeWatcher>(*loop_, true);
        ASSERT_TRUE(watcher_->Ok()) << watcher_->Error();
    }
    void TearDown() override { watcher_.reset(); }

    std::string Item() {
        shell_test::RunFor(*loop_, 20000, [&] { return !watcher_->Registered().empty(); });
        return watcher_->Registered().empty() ? std::string() : watcher_->Registered().front();
    }
    bool RunUntil(unsigned ms, const std::function<bool()>& done) {
        return shell_test::RunFor(*loop_, ms, [&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return done();
        });
    }

    std::unique_ptr<kovrin::platform::EventLoop> loop_;
    std::unique_ptr<shell_test::FakeWatcher> watcher_;
};

TEST_F(ProgramTrayTest, ActivationShowsTheHiddenWindowAndQuitRequestRemovesTheItem) {
    ProgramFolder folder(UniqueName("Kovrin Tray"));
    ASSERT_TRUE(folder.Ok());
    auto program = Start(folder);
    const Window w = MainWindow(folder.Name());
    ASSERT_NE(w, 0u);
    const std::string item = Item();
    ASSERT_FALSE(item.empty()) << "no tray item registered";
    EXPECT_EQ(watcher_->GetToolTipTitle(item), std::optional<std::string>(folder.Name()));

    // Close with a tray host and no close behaviour chosen: hidden to the tray.
    const XRectangle frame = screen_.Frame(w);
    screen_.Click(frame.x + kWidth - 35, frame.y + 35);
    ASSERT_TRUE(RunUntil(5000, [&] { return !screen_.Viewable(w); }));
    EXPECT_TRUE(program->Running());

    ASSERT_TRUE(watcher_->Call(item, "Activate", 100, 100));
    EXPECT_TRUE(RunUntil(5000, [&] { return screen_.Viewable(w); }));

    EXPECT_EQ(Quit(folder, 611), 0) << "the request reaches the window";
    RunUntil(300, [] { return false; });
    EXPECT_TRUE(program->Running()) << "any value but 610 is ignored";
    EXPECT_FALSE(watcher_->NameGone(item));

    EXPECT_EQ(Quit(folder, 610), 0);
    EXPECT_TRUE(RunUntil(10000, [&] { return !program->Running(); }));
    EXPECT_EQ(program->Wait(0), std::optional<int>(0));
    EXPECT_TRUE(RunUntil(5000, [&] { return watcher_->NameGone(item); }))
        << "the tray item goes with the program";
}

TEST_F(ProgramTrayTest, TrayMenuExitEndsTheProgram) {
    ProgramFolder folder(UniqueName("Kovrin Tray Menu"));
    ASSERT_TRUE(folder.Ok());
    auto program = Start(folder);
    const Window w = MainWindow(folder.Name());
    ASSERT_NE(w, 0u);
    const std::string item = Item();
    ASSERT_FALSE(item.empty());

    ASSERT_TRUE(watcher_->Call(item, "ContextMenu", 600, 600));
    std::optional<XRectangle> menu;
    ASSERT_TRUE(RunUntil(5000, [&] {
        return (menu = screen_.FindPopup(w, kTrayMenuWidth)).has_value();
    })) << "no tray menu";
    // Its second entry, "exit", fills the lower half.
    screen_.Click(menu->x + menu->width / 2, menu->y + menu->height * 3 / 4);
    EXPECT_TRUE(RunUntil(10000, [&] { return !program->Running(); }));
    EXPECT_EQ(program->Wait(0), std::optional<int>(0));
}

} // namespace
