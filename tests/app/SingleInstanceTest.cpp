// Starting the program twice: the second copy brings the first one's window
// to the front and ends; other device names run side by side. The copies are
// instance_probe processes on the test's X server.

#include "tests/platform/ShellTestSupport.h"
#include "tests/platform/XScreen.h"

#include "platform/instance/InstanceLock.h"
#include "platform/instance/InstanceWindow.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <algorithm>
#include <unistd.h>

using shell_test::Child;

namespace {

std::string Unique(const std::string& base) {
    static int n = 0;
    return base + " " + std::to_string(getpid()) + "-" + std::to_string(++n);
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!shell_test::HaveDisplay()) {
            GTEST_SKIP() << "DISPLAY is not set";
        }
        // The probes map windows and take the focus.
        input_ = std::make_unique<shell_test::XInputLock>();
    }
    static std::unique_ptr<Child> Probe(const std::string& name,
                                        std::vector<std::string> extra = {}) {
        std::vector<std::string> argv = {INSTANCE_PROBE_PATH, name};
        argv.insert(argv.end(), extra.begin(), extra.end());
        return std::make_unique<Child>(argv);
    }
    // Starts a first copy; its window id, 0 on failure.
    static unsigned long WindowOf(Child& probe) {
        const auto line = probe.WaitLine("window ", 10000);
        return line ? std::stoul(line->substr(7)) : 0;
    }

    std::unique_ptr<shell_test::XInputLock> input_;
};

TEST_F(SingleInstanceTest, SecondCopyBringsTheFirstWindowBackAndEnds) {
    const struct {
        const char* how;
        std::vector<std::string> args;
        const char* before; // the first copy's state before the second starts
    } cases[] = {
        {"hidden to the tray", {"--hide"}, "state visible=0 iconic=0"},
        {"minimised", {"--minimize"}, "state visible=0 iconic=1"},
        {"covered by another window", {}, "state visible=1 iconic=0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        const std::string name = Unique("Kovrin Probe");
        auto first = Probe(name, c.args);
        const unsigned long window = WindowOf(*first);
        ASSERT_NE(window, 0u);
        ASSERT_TRUE(first->WaitLine(c.before, 5000));
        EXPECT_EQ(kovrin::platform::FindMarkedWindow(name), window);

        shell_test::XScreen screen;
        ASSERT_TRUE(screen.Ok());
        screen.Cover(1450, 800);
        EXPECT_FALSE(screen.AboveCover(window));

        auto second = Probe(name);
        const auto status = second->Wait(10000);
        ASSERT_TRUE(status);
        EXPECT_EQ(*status, 0);
        EXPECT_EQ(second->ReadLine(1000), std::optional<std::string>("second raised"));

        if (std::string(c.before) != "state visible=1 iconic=0") {
            EXPECT_TRUE(first->WaitLine("state visible=1 iconic=0", 5000));
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!(screen.Viewable(window) && screen.AboveCover(window)) &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_TRUE(screen.Viewable(window));
        EXPECT_TRUE(screen.AboveCover(window));
        EXPECT_TRUE(first->Running()) << "the first copy goes on";
    }
}

TEST_F(SingleInstanceTest, DifferentDeviceNamesRunSideBySide) {
    const std::string a_name = Unique("Kovrin A");
    const std::string b_name = Unique("Kovrin B");
    auto a = Probe(a_name, {"--at", "1500", "850"});
    const unsigned long a_window = WindowOf(*a);
    auto b = Probe(b_name, {"--at", "1550", "880"});
    const unsigned long b_window = WindowOf(*b);
    ASSERT_NE(a_window, 0u);
    ASSERT_NE(b_window, 0u);
    EXPECT_NE(a_window, b_window);
    EXPECT_EQ(kovrin::platform::FindMarkedWindow(a_name), a_window);
    EXPECT_EQ(kovrin::platform::FindMarkedWindow(b_name), b_window);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(a->Running());
    EXPECT_TRUE(b->Running());
}

TEST_F(SingleInstanceTest, SecondCopyEndsAlsoWhenNoMarkedWindowIsFound) {
    // The lock is held (here by the test itself) but no window is marked.
    const std::string name = Unique("Kovrin Unmarked");
    kovrin::platform::InstanceLock held(name);
    ASSERT_TRUE(held.Owned()) << held.Error();
    auto second = Probe(name, {"--wait", "200"});
    const auto status = second->Wait(10000);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(second->ReadLine(1000), std::optional<std::string>("second notfound"));
}

TEST_F(SingleInstanceTest, AKilledFirstCopyLeavesTheNameFree) {
    const std::string name = Unique("Kovrin Killed");
    auto first = Probe(name);
    ASSERT_NE(WindowOf(*first), 0u);
    first->Kill(SIGKILL);
    ASSERT_TRUE(first->Wait(5000));
    auto next = Probe(name);
    EXPECT_NE(WindowOf(*next), 0u) << "the next start is a first copy again";
}

} // namespace
