#pragma once
// Helpers for the start-up and tray tests: child processes with a readable
// output, running the loop for a while, and the locks that keep tests apart
// on the shared X server and session bus.

#include "platform/window/EventLoop.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace shell_test {

inline bool HaveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d != nullptr && *d != '\0';
}

inline bool HaveSessionBus() {
    const char* b = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    return b != nullptr && *b != '\0';
}

// Runs the loop until done() or the time is up; the result of done().
inline bool RunFor(kovrin::platform::EventLoop& loop, unsigned ms,
                   const std::function<bool()>& done) {
    bool expired = false;
    const auto timer = loop.AddTimer(ms, false, [&] { expired = true; });
    loop.RunUntil([&] { return expired || done(); });
    loop.CancelTimer(timer);
    return done();
}

// A lock between test processes: a folder made atomically beside the
// display's runtime files. One left by a crashed test is taken over after 60 s.
class FolderLock {
public:
    explicit FolderLock(const std::string& what) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        const char* display = std::getenv("DISPLAY");
        path_ = std::string(runtime != nullptr && *runtime != '\0' ? runtime : "/tmp") + "/" +
                what + (display != nullptr ? display : "");
        for (int i = 0; i < 1200; ++i) {
            std::error_code ec;
            if (std::filesystem::create_directory(path_, ec)) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ~FolderLock() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    std::string path_;
};

// The tests that map windows, move the pointer or change the focus take
// turns with the UI library's tests (the same lock folder).
class XInputLock : public FolderLock {
public:
    XInputLock() : FolderLock("kovrin-x-input-") {}
};

// The tray tests own the tray selection and the watcher name in turn.
class TrayLock : public FolderLock {
public:
    TrayLock() : FolderLock("kovrin-tray-") {}
};

// A child process whose standard output the test reads line by line.
class Child {
public:
    explicit Child(const std::vector<std::string>& argv) {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addclose(&actions, fds[1]);
        std::vector<char*> args;
        for (const auto& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_ = fds[0];
    }
    ~Child() {
        if (pid_ > 0 && !status_) {
            kill(pid_, SIGKILL);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
        if (out_ >= 0) {
            close(out_);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }

    // The next line of output (without the newline), or nothing on time-out
    // or end of output.
    std::optional<std::string> ReadLine(unsigned timeout_ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        for (;;) {
            if (const auto nl = buffer_.find('\n'); nl != std::string::npos) {
                std::string line = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  end - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0 || out_ < 0) {
                return std::nullopt;
            }
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0) {
                continue;
            }
            char chunk[256];
            const ssize_t n = read(out_, chunk, sizeof chunk);
            if (n <= 0) {
                close(out_);
                out_ = -1;
                continue;
            }
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

    // Reads lines until one starts with the prefix; that line, or nothing.
    std::optional<std::string> WaitLine(const std::string& prefix, unsigned timeout_ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  end - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0) {
                return std::nullopt;
            }
            auto line = ReadLine(static_cast<unsigned>(left));
            if (!line) {
                return std::nullopt;
            }
            lines_.push_back(*line);
            if (line->rfind(prefix, 0) == 0) {
                return line;
            }
        }
    }
    // Every line read so far.
    const std::vector<std::string>& Lines() const { return lines_; }

    // The exit status (WEXITSTATUS, or 128 + signal), or nothing while it runs.
    std::optional<int> Wait(unsigned timeout_ms) {
        if (status_) {
            return status_;
        }
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        for (;;) {
            int status = 0;
            const pid_t r = waitpid(pid_, &status, WNOHANG);
            if (r == pid_) {
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return status_;
            }
            if (r < 0 || std::chrono::steady_clock::now() >= end) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    bool Running() { return pid_ > 0 && !Wait(0); }
    void Kill(int signal) {
        if (pid_ > 0 && !status_) {
            kill(pid_, signal);
        }
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
    std::vector<std::string> lines_;
    std::optional<int> status_;
};

} // namespace shell_test
