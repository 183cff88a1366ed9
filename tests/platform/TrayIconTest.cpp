// The tray icon against test hosts: a StatusNotifierWatcher on the session
// bus and an XEmbed system tray on the X server.

#include "FakeTrayHosts.h"
#include "ShellTestSupport.h"

#include "platform/tray/TrayBackends.h"
#include "platform/tray/TrayIcon.h"
#include "platform/window/EventLoop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

using kovrin::platform::EventLoop;
using kovrin::platform::IconImage;
using kovrin::platform::TrayCallbacks;
using kovrin::platform::TrayHost;
using kovrin::platform::TrayIcon;
using kovrin::platform::TrayOptions;
using shell_test::FakeWatcher;
using shell_test::FakeXEmbedTray;
using shell_test::RunFor;

namespace {

struct Click {
    char kind = 0; // 'a' activate, 's' secondary, 'm' menu
    int x = 0;
    int y = 0;
    bool operator==(const Click&) const = default;
};

// Left half opaque red, right half transparent.
IconImage HalfRedIcon() {
    IconImage icon;
    icon.width = 16;
    icon.height = 16;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            icon.argb.push_back(x < 8 ? 0xFFFF0000u : 0u);
        }
    }
    return icon;
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override { lock_ = std::make_unique<shell_test::TrayLock>(); }

    TrayOptions Options(bool sni, bool xembed) {
        TrayOptions o;
        o.id = "kovrin-test";
        o.title = "Kovrin Test";
        o.tooltip = "Kovrin Test ▸ tip";
        o.icon = HalfRedIcon();
        o.window_id = 0x1234;
        o.use_status_notifier = sni;
        o.use_xembed = xembed;
        return o;
    }
    TrayCallbacks Recorder() {
        TrayCallbacks c;
        c.activate = [this](int x, int y) { clicks_.push_back({'a', x, y}); };
        c.secondary_activate = [this](int x, int y) { clicks_.push_back({'s', x, y}); };
        c.context_menu = [this](int x, int y) {
            clicks_.push_back({'m', x, y});
            // The program's menu runs a nested loop inside this callback.
            RunFor(loop_, 50, [] { return false; });
        };
        return c;
    }
    void Settle(unsigned ms = 300) {
        RunFor(loop_, ms, [] { return false; });
    }

    std::unique_ptr<shell_test::TrayLock> lock_;
    EventLoop loop_;
    std::vector<Click> clicks_;
};

#define REQUIRE_BUS()                                                                              \
    if (!shell_test::HaveSessionBus()) {                                                           \
        GTEST_SKIP() << "no session bus (DBUS_SESSION_BUS_ADDRESS)";                               \
    }
#define REQUIRE_DISPLAY()                                                                          \
    if (!shell_test::HaveDisplay()) {                                                              \
        GTEST_SKIP() << "DISPLAY is not set";                                                      \
    }

TEST_F(TrayIconTest, StatusNotifierItemIsRegisteredAndDescribesItself) {
    REQUIRE_BUS();
    FakeWatcher watcher(loop_, true);
    ASSERT_TRUE(watcher.Ok()) << watcher.Error();
    TrayOptions options = Options(true, false);
    options.icon = IconImage{2, 1, {0x80FF0000u, 0xFF00FF00u}};
    TrayIcon icon(loop_, options, Recorder());
    ASSERT_TRUE(RunFor(loop_, 5000, [&] { return icon.Available(); }));
    EXPECT_EQ(icon.Host(), TrayHost::StatusNotifier);
    ASSERT_EQ(watcher.Registered().size(), 1u);
    const std::string service = watcher.Registered()[0];
    EXPECT_EQ(service.rfind("org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-", 0), 0u)
        << service;

    const std::pair<const char*, const char*> strings[] = {
        {"Category", "ApplicationStatus"},
        {"Id", "kovrin-test"},
        {"Title", "Kovrin Test"},
        {"Status", "Active"},
        {"IconName", ""},
    };
    for (const auto& [property, value] : strings) {
        EXPECT_EQ(watcher.GetString(service, property), std::optional<std::string>(value))
            << property;
    }
    EXPECT_EQ(watcher.GetBool(service, "ItemIsMenu"), std::optional<bool>(false));
    EXPECT_EQ(watcher.GetToolTipTitle(service), std::optional<std::string>("Kovrin Test ▸ tip"));
    const auto pixmaps = watcher.GetPixmaps(service, "IconPixmap");
    ASSERT_TRUE(pixmaps);
    ASSERT_EQ(pixmaps->size(), 1u);
    EXPECT_EQ((*pixmaps)[0].width, 2);
    EXPECT_EQ((*pixmaps)[0].height, 1);
    // ARGB32, network byte order, straight alpha.
    const std::vector<std::uint8_t> bytes = {0x80, 0xFF, 0, 0, 0xFF, 0, 0xFF, 0};
    EXPECT_EQ((*pixmaps)[0].bytes, bytes);

    icon.SetToolTip("changed");
    EXPECT_EQ(watcher.GetToolTipTitle(service), std::optional<std::string>("changed"));
}

TEST_F(TrayIconTest, StatusNotifierClicksReachTheCallbacks) {
    REQUIRE_BUS();
    FakeWatcher watcher(loop_, true);
    ASSERT_TRUE(watcher.Ok()) << watcher.Error();
    TrayIcon icon(loop_, Options(true, false), Recorder());
    ASSERT_TRUE(RunFor(loop_, 5000, [&] { return icon.Available(); }));
    const std::string service = watcher.Registered().at(0);
    const struct {
        const char* method;
        Click expected;
    } cases[] = {
        {"Activate", {'a', 10, 20}},
        {"ContextMenu", {'m', 30, 40}},
        {"SecondaryActivate", {'s', 5, 6}},
        {"Activate", {'a', -3, 1999}},
    };
    for (const auto& c : cases) {
        clicks_.clear();
        ASSERT_TRUE(watcher.Call(service, c.method, c.expected.x, c.expected.y)) << c.method;
        ASSERT_TRUE(RunFor(loop_, 2000, [&] { return !clicks_.empty(); })) << c.method;
        EXPECT_EQ(clicks_.size(), 1u);
        EXPECT_EQ(clicks_[0], c.expected) << c.method;
    }
}

TEST_F(TrayIconTest, RemoveWithdrawsTheItemFromTheBus) {
    REQUIRE_BUS();
    FakeWatcher watcher(loop_, true);
    ASSERT_TRUE(watcher.Ok()) << watcher.Error();
    TrayIcon icon(loop_, Options(true, false), Recorder());
    ASSERT_TRUE(RunFor(loop_, 5000, [&] { return icon.Available(); }));
    const std::string service = watcher.Registered().at(0);
    icon.Remove();
    EXPECT_TRUE(icon.Removed());
    EXPECT_FALSE(icon.Available());
    EXPECT_EQ(icon.Host(), TrayHost::None);
    EXPECT_TRUE(RunFor(loop_, 3000, [&] { return watcher.NameGone(service); }));
    EXPECT_FALSE(watcher.Call(service, "Activate", 1, 1));
    Settle(50);
    EXPECT_TRUE(clicks_.empty());
}

TEST_F(TrayIconTest, ACallbackMayDeleteTheIcon) {
    REQUIRE_BUS();
    FakeWatcher watcher(loop_, true);
    ASSERT_TRUE(watcher.Ok()) << watcher.Error();
    std::unique_ptr<TrayIcon> icon;
    int runs = 0;
    TrayCallbacks c;
    c.context_menu = [&](int, int) {
        ++runs;
        icon.reset(); // the program's exit item
    };
    icon = std::make_unique<TrayIcon>(loop_, Options(true, false), c);
    ASSERT_TRUE(RunFor(loop_, 5000, [&] { return icon->Available(); }));
    const std::string service = watcher.Registered().at(0);
    ASSERT_TRUE(watcher.Call(service, "ContextMenu", 1, 2));
    ASSERT_TRUE(RunFor(loop_, 2000, [&] { return icon == nullptr; }));
    EXPECT_TRUE(RunFor(loop_, 3000, [&] { return watcher.NameGone(service); }));
    EXPECT_EQ(runs, 1);
}

TEST_F(TrayIconTest, StatusNotifierFollowsWatchersAndHostsThatComeAndGo) {
    REQUIRE_BUS();
    TrayIcon icon(loop_, Options(true, false), Recorder());
    Settle();
    EXPECT_FALSE(icon.Available()) << "no watcher yet";

    auto watcher = std::make_unique<FakeWatcher>(loop_, false);
    ASSERT_TRUE(watcher->Ok()) << watcher->Error();
    ASSERT_TRUE(RunFor(loop_, 5000, [&] { return watcher->Registered().size() == 1; }))
        << "a watcher that appears later gets the item";
    Settle(100);
    EXPECT_FALSE(icon.Available()) << "registered, but no host shows it";

    watcher->SetHost(true);
    EXPECT_TRUE(RunFor(loop_, 3000, [&] { return icon.Available(); }));
    watcher->SetHost(false);
    EXPECT_TRUE(RunFor(loop_, 3000, [&] { return !icon.Available(); }));
    watcher->SetHost(true);
    ASSERT_TRUE(RunFor(loop_, 3000, [&] { return icon.Available(); }));

    watcher.reset();
    EXPECT_TRUE(RunFor(loop_, 3000, [&] { return !icon.Available(); })) << "the watcher quit";

    FakeWatcher again(loop_, true);
    ASSERT_TRUE(again.Ok()) << again.Error();
    EXPECT_TRUE(RunFor(loop_, 5000, [&] { return icon.Available(); }));
    EXPECT_EQ(again.Registered().size(), 1u);
}

class XEmbedTest : public TrayIconTest {
protected:
    void SetUp() override {
        if (!shell_test::HaveDisplay()) {
            GTEST_SKIP() << "DISPLAY is not set";
        }
        TrayIconTest::SetUp();
        input_ = std::make_unique<shell_test::XInputLock>();
    }
    static constexpr int kTrayX = 1800;
    static constexpr int kTrayY = 1000;
    std::unique_ptr<shell_test::XInputLock> input_;
};

TEST_F(XEmbedTest, WithoutWatcherTheIconDocksInTheSystemTrayAndTakesClicks) {
    FakeXEmbedTray tray(loop_, kTrayX, kTrayY, false, 0x0000FF);
    ASSERT_TRUE(tray.Ok());
    // A session bus without a watcher leads here as well as none at all.
    TrayIcon icon(loop_, Options(true, true), Recorder());
    ASSERT_TRUE(RunFor(loop_, 5000, [&] { return icon.Available(); }));
    EXPECT_EQ(icon.Host(), TrayHost::XEmbed);
    EXPECT_EQ(tray.DockRequests(), 1);

    const int cx = tray.IconX() + FakeXEmbedTray::kIconSize / 2;
    const int cy = tray.IconY() + FakeXEmbedTray::kIconSize / 2;
    const struct {
        const char* button;
        Click expected;
    } cases[] = {
        {"1", {'a', cx, cy}},
        {"3", {'m', cx, cy}},
        {"2", {'s', cx, cy}},
    };
    for (const auto& c : cases) {
        clicks_.clear();
        const std::string cmd = "xdotool mousemove " + std::to_string(cx) + " " +
                                std::to_string(cy) + " click " + c.button;
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        ASSERT_TRUE(RunFor(loop_, 3000, [&] { return !clicks_.empty(); })) << c.button;
        EXPECT_EQ(clicks_.size(), 1u);
        EXPECT_EQ(clicks_[0], c.expected) << "button " << c.button;
    }
}

TEST_F(XEmbedTest, IconIsDrawnOverTheTraysBackgroundOrWithItsAlpha) {
    const struct {
        bool argb;
        std::uint32_t left;  // inside the red half
        std::uint32_t right; // inside the transparent half
    } cases[] = {
        {false, 0xFF0000u, 0x0000FFu},    // blended over the tray's blue
        {true, 0xFFFF0000u, 0x00000000u}, // premultiplied, for the tray to blend
    };
    for (const auto& c : cases) {
        FakeXEmbedTray tray(loop_, kTrayX, kTrayY, c.argb, 0x0000FF);
        ASSERT_TRUE(tray.Ok());
        TrayIcon icon(loop_, Options(false, true), Recorder());
        ASSERT_TRUE(RunFor(loop_, 5000, [&] { return icon.Available(); })) << c.argb;
        const bool drawn = RunFor(loop_, 3000, [&] {
            return tray.IconPixel(3, 12) == c.left && tray.IconPixel(20, 12) == c.right;
        });
        EXPECT_TRUE(drawn) << "argb " << c.argb << ": " << std::hex
                           << tray.IconPixel(3, 12).value_or(0xDEAD) << " "
                           << tray.IconPixel(20, 12).value_or(0xDEAD);
    }
}

TEST_F(XEmbedTest, FollowsTraysThatComeAndGo) {
    TrayIcon icon(loop_, Options(false, true), Recorder());
    Settle();
    EXPECT_FALSE(icon.Available()) << "no tray yet";

    unsigned long docked = 0;
    {
        FakeXEmbedTray tray(loop_, kTrayX, kTrayY, false, 0x0000FF);
        ASSERT_TRUE(tray.Ok());
        ASSERT_TRUE(RunFor(loop_, 5000, [&] { return icon.Available(); }))
            << "a tray that starts later gets the icon";
        docked = tray.Icon();
        ASSERT_NE(docked, 0u);
        EXPECT_TRUE(RunFor(loop_, 2000, [&] { return shell_test::WindowViewable(docked); }));
    }
    // The tray quit: its save-set hands the icon back to the root window.
    EXPECT_TRUE(RunFor(loop_, 3000, [&] { return !icon.Available(); }));
    Settle(100);
    EXPECT_FALSE(shell_test::WindowViewable(docked)) << "no loose icon on the desktop";

    FakeXEmbedTray next(loop_, kTrayX, kTrayY, false, 0x0000FF);
    ASSERT_TRUE(next.Ok());
    EXPECT_TRUE(RunFor(loop_, 5000, [&] { return icon.Available(); }));
}

TEST_F(XEmbedTest, GivesWayToAStatusNotifierHost) {
    REQUIRE_BUS();
    FakeXEmbedTray tray(loop_, kTrayX, kTrayY, false, 0x0000FF);
    ASSERT_TRUE(tray.Ok());
    TrayIcon icon(loop_, Options(true, true), Recorder());
    ASSERT_TRUE(RunFor(loop_, 5000, [&] { return icon.Host() == TrayHost::XEmbed; }));
    const unsigned long docked = tray.Icon();

    FakeWatcher watcher(loop_, true);
    ASSERT_TRUE(watcher.Ok()) << watcher.Error();
    ASSERT_TRUE(RunFor(loop_, 5000, [&] { return icon.Host() == TrayHost::StatusNotifier; }));
    EXPECT_TRUE(RunFor(loop_, 2000, [&] { return !shell_test::WindowViewable(docked); }))
        << "shown by one host only";
}

TEST_F(TrayIconTest, WithNoHostAtAllTheIconIsNotAvailable) {
    {
        TrayIcon icon(loop_, Options(true, true), Recorder());
        Settle();
        EXPECT_FALSE(icon.Available());
        EXPECT_EQ(icon.Host(), TrayHost::None);
        EXPECT_FALSE(icon.Removed());
    }
    // No bus and no display reachable at all.
    const char* vars[] = {"DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"};
    std::vector<std::optional<std::string>> saved;
    for (const char* v : vars) {
        const char* value = std::getenv(v);
        saved.push_back(value != nullptr ? std::optional<std::string>(value) : std::nullopt);
        unsetenv(v);
    }
    {
        TrayIcon icon(loop_, Options(true, true), Recorder());
        Settle(100);
        EXPECT_FALSE(icon.Available());
        icon.SetToolTip("still fine");
        icon.Remove();
    }
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i]) {
            setenv(vars[i], saved[i]->c_str(), 1);
        }
    }
}

TEST(TrayIconScale, IconIsScaledIntoTheSquareKeepingItsShapeAndAlpha) {
    // 4 x 2: a wide icon lands centred in a square, averaged where shrunk.
    IconImage icon{4, 2, {0xFFFF0000u, 0xFFFF0000u, 0u, 0u, 0xFFFF0000u, 0xFFFF0000u, 0u, 0u}};
    const auto half = kovrin::platform::tray::ScaledPremultiplied(icon, 2, 2);
    // Halved to 2 x 1, in the top row of the 2 x 2 square.
    ASSERT_EQ(half.size(), 4u);
    EXPECT_EQ(half[0], 0xFFFF0000u);
    EXPECT_EQ(half[1], 0u);
    EXPECT_EQ(half[2], 0u);
    EXPECT_EQ(half[3], 0u);

    const auto grown = kovrin::platform::tray::ScaledPremultiplied(icon, 8, 8);
    ASSERT_EQ(grown.size(), 64u);
    EXPECT_EQ(grown[2 * 8 + 0], 0xFFFF0000u) << "rows 2..5 hold the icon";
    EXPECT_EQ(grown[2 * 8 + 7], 0u);
    EXPECT_EQ(grown[0], 0u) << "above it stays clear";
    EXPECT_EQ(grown[6 * 8 + 0], 0u);

    // Half-transparent white averaged with clear: premultiplied.
    IconImage soft{2, 1, {0x80FFFFFFu, 0u}};
    const auto one = kovrin::platform::tray::ScaledPremultiplied(soft, 1, 1);
    EXPECT_EQ(one[0], 0x40404040u);

    EXPECT_EQ(kovrin::platform::tray::ScaledPremultiplied(IconImage{}, 3, 3),
              std::vector<std::uint32_t>(9, 0u));
    EXPECT_EQ(kovrin::platform::tray::ScaledPremultiplied(IconImage{2, 2, {1}}, 2, 2),
              std::vector<std::uint32_t>(4, 0u))
        << "inconsistent size";
}

} // namespace
