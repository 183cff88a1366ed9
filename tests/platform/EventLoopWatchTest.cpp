// The loop waits on watched descriptors besides its window connection.

#include "ShellTestSupport.h"

#include "platform/window/EventLoop.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <thread>
#include <unistd.h>

using kovrin::platform::EventLoop;
using shell_test::RunFor;

namespace {

class Pipe {
public:
    Pipe() {
        int fds[2];
        EXPECT_EQ(pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0);
        read_ = fds[0];
        write_ = fds[1];
    }
    ~Pipe() {
        CloseWrite();
        close(read_);
    }
    int ReadEnd() const { return read_; }
    void Put(char c) { ASSERT_EQ(write(write_, &c, 1), 1); }
    std::string Take() {
        std::string s;
        char buf[64];
        ssize_t n;
        while ((n = read(read_, buf, sizeof buf)) > 0) {
            s.append(buf, static_cast<std::size_t>(n));
        }
        return s;
    }
    void CloseWrite() {
        if (write_ >= 0) {
            close(write_);
            write_ = -1;
        }
    }

private:
    int read_ = -1;
    int write_ = -1;
};

TEST(EventLoopWatch, DataFromAnotherThreadWakesTheLoopAndRunsTheWatch) {
    EventLoop loop;
    Pipe p;
    std::string got;
    loop.WatchFd(p.ReadEnd(), [&] { got += p.Take(); });
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        p.Put('a');
    });
    // Nothing posted and only a far timer: the descriptor has to end the wait.
    RunFor(loop, 5000, [&] { return !got.empty(); });
    writer.join();
    EXPECT_EQ(got, "a");
}

TEST(EventLoopWatch, EachWatchRunsOnlyForItsOwnDescriptor) {
    EventLoop loop;
    Pipe a;
    Pipe b;
    int runs_a = 0;
    int runs_b = 0;
    loop.WatchFd(a.ReadEnd(), [&] {
        ++runs_a;
        a.Take();
    });
    loop.WatchFd(b.ReadEnd(), [&] {
        ++runs_b;
        b.Take();
    });
    b.Put('x');
    ASSERT_TRUE(RunFor(loop, 2000, [&] { return runs_b == 1; }));
    RunFor(loop, 50, [] { return false; });
    EXPECT_EQ(runs_a, 0);
    EXPECT_EQ(runs_b, 1);
}

TEST(EventLoopWatch, RemovedWatchesNoLongerRunEvenWhenReadyInTheSameTurn) {
    EventLoop loop;
    Pipe a;
    Pipe b;
    EventLoop::WatchId wa = 0;
    EventLoop::WatchId wb = 0;
    int runs = 0;
    // Whichever runs first removes both.
    auto both = [&] {
        ++runs;
        loop.UnwatchFd(wa);
        loop.UnwatchFd(wb);
    };
    wa = loop.WatchFd(a.ReadEnd(), both);
    wb = loop.WatchFd(b.ReadEnd(), both);
    a.Put('1');
    b.Put('2');
    RunFor(loop, 200, [] { return false; });
    EXPECT_EQ(runs, 1);
}

TEST(EventLoopWatch, HangUpCountsAsReady) {
    EventLoop loop;
    Pipe p;
    EventLoop::WatchId id = 0;
    bool closed = false;
    id = loop.WatchFd(p.ReadEnd(), [&] {
        char c;
        if (read(p.ReadEnd(), &c, 1) == 0) {
            closed = true;
            loop.UnwatchFd(id);
        }
    });
    p.CloseWrite();
    EXPECT_TRUE(RunFor(loop, 2000, [&] { return closed; }));
}

} // namespace
