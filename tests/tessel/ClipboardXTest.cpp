// The clipboard of the X11 window layer against another X client (xclip).

#include "XSupport.h"

#include "platform/window/EventLoop.h"
#include "platform/window/WindowSystem.h"
#include "tessel/Manager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace tessel_test;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ClipboardX : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveDisplay()) {
            GTEST_SKIP() << "DISPLAY is not set";
        }
        if (Shell("command -v xclip >/dev/null") != 0) {
            GTEST_SKIP() << "xclip is not installed (scripts/deps.sh)";
        }
        std::string error;
        ASSERT_TRUE(Tessel::Manager::InitUiThread(&error)) << error;
        system_ = Tessel::Manager::System();
    }
    void TearDown() override {
        if (system_ != nullptr) {
            Tessel::Manager::ShutdownUi();
        }
    }
    // Runs the UI loop (which answers the other client) until done or 5 s.
    static bool Pump(const std::function<bool()>& done) {
        auto* loop = Tessel::Manager::Loop();
        for (int i = 0; i < 250 && !done(); ++i) {
            const auto timer = loop->AddTimer(20, false, [] {});
            loop->RunUntil([&] { return !loop->TimerActive(timer) || done(); });
            loop->CancelTimer(timer);
        }
        return done();
    }

    kovrin::platform::WindowSystem* system_ = nullptr;
};

TEST_F(ClipboardX, AnotherClientReadsWhatWeCopy) {
    const std::string text = "Grün · 緑 · green";
    system_->SetClipboardText(text);
    EXPECT_EQ(system_->GetClipboardText(), text); // served from this process
    const std::string dir = ::testing::TempDir() + "clip_out/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ASSERT_EQ(Shell("( timeout 5 xclip -o -selection clipboard >" + dir + "text; mv " + dir +
                    "text " + dir + "done ) &"),
              0);
    ASSERT_TRUE(Pump([&] { return std::filesystem::exists(dir + "done"); }));
    EXPECT_EQ(Slurp(dir + "done"), text);
}

TEST_F(ClipboardX, WeReadWhatAnotherClientCopies) {
    system_->SetClipboardText("ours");
    const std::string text = "tiré d'ailleurs";
    const std::string file = ::testing::TempDir() + "clip_in";
    {
        std::ofstream out(file);
        out << text;
    }
    // xclip owns the selection from now on (and takes over from us).
    ASSERT_EQ(
        Shell("timeout 10 xclip -i -selection clipboard -loops 1 " + file + " >/dev/null 2>&1 &"),
        0);
    // One request only: xclip answers one and leaves.
    std::string got;
    bool same = false;
    EXPECT_TRUE(Pump([&] {
        if (!same) {
            got = system_->GetClipboardText();
            same = got == text;
        }
        return same;
    })) << got;
    system_->SetClipboardText("done"); // an xclip still waiting gives up its selection
}

} // namespace
