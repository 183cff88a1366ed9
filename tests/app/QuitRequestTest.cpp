// Window messages from other processes: the quit request reaches the marked
// main window as WM_QUIT_REQUEST; numbers the window did not accept never
// arrive; kovrinctl quit-request sends it from the command line.

#include "tests/platform/ShellTestSupport.h"
#include "tests/support/TempDir.h"

#include "app/SingleInstance.h"
#include "platform/instance/InstanceWindow.h"
#include "tessel/MWindow.h"
#include "tessel/Manager.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <tuple>
#include <unistd.h>

using kovrin::platform::ReachResult;
using kovrin::platform::SendMarkedWindowMessage;
using shell_test::Child;
using shell_test::RunFor;

namespace {

using Message = std::tuple<unsigned, Tessel::WPARAM, Tessel::LPARAM>;

class Recorder : public Tessel::MWindow {
public:
    Tessel::LRESULT OnWindowMessage(Tessel::UINT msg, Tessel::WPARAM w, Tessel::LPARAM l) override {
        if (msg >= Tessel::WM_USER || msg == also) {
            got.emplace_back(msg, w, l);
        }
        return MWindow::OnWindowMessage(msg, w, l);
    }
    std::vector<Message> got;
    unsigned also = 0xFFFFFFFF; // a number below WM_USER to record too
};

std::string Unique(const std::string& base) {
    static int n = 0;
    return base + " " + std::to_string(getpid()) + "-" + std::to_string(++n);
}

class QuitRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!shell_test::HaveDisplay()) {
            GTEST_SKIP() << "DISPLAY is not set";
        }
        std::string error;
        ASSERT_TRUE(Tessel::Manager::InitUiThread(&error)) << error;
    }
    void TearDown() override {
        if (shell_test::HaveDisplay()) {
            Tessel::Manager::ShutdownUi();
        }
    }
    static void Pump(unsigned ms) {
        RunFor(*Tessel::Manager::Loop(), ms, [] { return false; });
    }
};

TEST_F(QuitRequestTest, MarkedWindowReceivesTheMessagesItAccepts) {
    const std::string name = Unique("Kovrin Quit");
    Recorder window;
    ASSERT_TRUE(window.Create(nullptr, name.c_str(), 0, 0, Tessel::CRect(1500, 850, 1600, 900)));
    ASSERT_TRUE(kovrin::MarkMainWindow(window, name));
    EXPECT_EQ(kovrin::platform::FindMarkedWindow(name), window.Native()->Id());

    const Message sent[] = {
        {1654, 1, 99},  // a hook record pointer in-process: never from outside
        {1691, 0, 610}, // the quit request
        {1691, 0, 5},   // delivered; the program ignores it
        {2022, 0, 0},   // not accepted by this window
        {1691, 7, -1},  // values keep their 32 bits and sign
        {1691, 0xFFFFFFFF, 610},
    };
    for (const auto& [msg, w, l] : sent) {
        ASSERT_EQ(SendMarkedWindowMessage(name, msg, static_cast<std::uint32_t>(w),
                                          static_cast<std::int32_t>(l)),
                  ReachResult::Done);
    }
    ASSERT_TRUE(RunFor(*Tessel::Manager::Loop(), 5000, [&] { return window.got.size() >= 4; }));
    Pump(50);
    const std::vector<Message> expected = {
        {1691, 0, 610}, {1691, 0, 5}, {1691, 7, -1}, {1691, 0xFFFFFFFF, 610}};
    EXPECT_EQ(window.got, expected);
    EXPECT_TRUE(kovrin::IsQuitRequest(1691, 610));
    EXPECT_FALSE(kovrin::IsQuitRequest(1691, 5));
    EXPECT_FALSE(kovrin::IsQuitRequest(1690, 610));

    window.got.clear();
    window.AcceptForeignMessage(2022);
    ASSERT_EQ(SendMarkedWindowMessage(name, 2022, 3, 4), ReachResult::Done);
    ASSERT_TRUE(RunFor(*Tessel::Manager::Loop(), 5000, [&] { return !window.got.empty(); }));
    EXPECT_EQ(window.got, std::vector<Message>({{2022, 3, 4}}));
    window.DestroyWindow();
}

TEST_F(QuitRequestTest, AMessageNumberEqualToTheCloseAtomDoesNotCloseTheWindow) {
    // The close protocol is recognised by its message type, not by a value
    // that a window message may happen to share.
    const std::string name = Unique("Kovrin Close");
    Recorder window;
    ASSERT_TRUE(window.Create(nullptr, name.c_str(), 0, 0, Tessel::CRect(1500, 850, 1600, 900)));
    ASSERT_TRUE(kovrin::MarkMainWindow(window, name));
    Display* dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
    const auto close_atom = static_cast<unsigned>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    XCloseDisplay(dpy);
    window.AcceptForeignMessage(close_atom);
    window.also = close_atom;
    ASSERT_EQ(SendMarkedWindowMessage(name, close_atom, 0, 0), ReachResult::Done);
    ASSERT_TRUE(RunFor(*Tessel::Manager::Loop(), 5000, [&] { return !window.got.empty(); }));
    Pump(50);
    EXPECT_NE(window.GetSafeHwnd(), nullptr) << "still open";
    EXPECT_EQ(window.got, std::vector<Message>({{close_atom, 0, 0}}));
    window.DestroyWindow();
}

TEST_F(QuitRequestTest, NobodyMarkedMeansNotFound) {
    EXPECT_EQ(SendMarkedWindowMessage(Unique("Kovrin Nobody"), 1691, 0, 610),
              ReachResult::NotFound);
}

// kovrinctl against a running first copy (instance_probe) of a device name
// given by a config.xml of its own.
class QuitCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!shell_test::HaveDisplay()) {
            GTEST_SKIP() << "DISPLAY is not set";
        }
        input_ = std::make_unique<shell_test::XInputLock>();
        name_ = Unique("Kovrin Ctl");
        program_.Write("config.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n"
                                     "<software name=\"" +
                                         name_ + "\" version=\"0.1.0\"/>\n</config>\n");
    }
    std::unique_ptr<Child> Ctl(std::vector<std::string> args, bool with_display = true) {
        std::vector<std::string> argv;
        if (!with_display) {
            argv = {"/usr/bin/env", "-u", "DISPLAY"};
        }
        argv.push_back(KOVRINCTL_PATH);
        argv.push_back("--program-dir");
        argv.push_back(program_.path());
        argv.push_back("quit-request");
        argv.insert(argv.end(), args.begin(), args.end());
        return std::make_unique<Child>(argv);
    }
    static std::optional<int> ExitOf(Child& c) { return c.Wait(10000); }

    std::unique_ptr<shell_test::XInputLock> input_;
    kovrin::test::TempDir program_;
    std::string name_;
};

TEST_F(QuitCommandTest, OnlyTheQuitValueEndsTheProgram) {
    Child probe({INSTANCE_PROBE_PATH, name_, "--hide"});
    ASSERT_TRUE(probe.WaitLine("window ", 10000));

    auto other = Ctl({"5"});
    EXPECT_EQ(ExitOf(*other), std::optional<int>(0));
    EXPECT_TRUE(probe.WaitLine("message 1691 0 5", 5000));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(probe.Running());

    auto quit = Ctl({});
    EXPECT_EQ(ExitOf(*quit), std::optional<int>(0));
    EXPECT_TRUE(probe.WaitLine("message 1691 0 610", 5000));
    EXPECT_TRUE(probe.WaitLine("quit", 5000));
    EXPECT_EQ(probe.Wait(5000), std::optional<int>(0));
}

TEST_F(QuitCommandTest, ReportsWhatWentWrong) {
    const struct {
        std::vector<std::string> args;
        bool display;
        int status;
    } cases[] = {
        {{}, true, 1},                                     // nothing running under that name
        {{"abc"}, true, 2},                                // not a number
        {{"12x"}, true, 2},    {{"99999999999"}, true, 2}, // beyond 32 bits
        {{"1", "2"}, true, 2},                             // too many
        {{}, false, 3},                                    // no display
    };
    for (const auto& c : cases) {
        auto ctl = Ctl(c.args, c.display);
        EXPECT_EQ(ExitOf(*ctl), std::optional<int>(c.status))
            << (c.args.empty() ? "" : c.args[0]) << " display " << c.display;
    }
}

} // namespace
