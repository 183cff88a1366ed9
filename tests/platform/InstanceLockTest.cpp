// The per-user, per-name lock of the single running copy.

#include "platform/instance/InstanceLock.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using kovrin::platform::InstanceLock;
using kovrin::test::TempDir;

namespace {

// Points XDG_RUNTIME_DIR at a private folder for one test.
class RuntimeDir {
public:
    RuntimeDir() {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        had_ = old != nullptr;
        old_ = had_ ? old : "";
        chmod(dir_.path().c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
    }
    ~RuntimeDir() {
        if (had_) {
            setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
    }
    const std::string& Path() const { return dir_.path(); }

private:
    TempDir dir_;
    bool had_ = false;
    std::string old_;
};

std::string Unique(const std::string& base) {
    return base + "-" + std::to_string(getpid());
}

TEST(InstanceLock, SecondHolderOfTheSameNameIsRefusedUntilTheFirstLetsGo) {
    RuntimeDir runtime;
    const std::string name = Unique("Lock Test");
    auto first = std::make_unique<InstanceLock>(name);
    ASSERT_TRUE(first->Owned()) << first->Error();
    EXPECT_EQ(first->Path(), runtime.Path() + "/kovrin/" + name + ".lock");

    InstanceLock second(name);
    EXPECT_EQ(second.GetState(), InstanceLock::State::HeldByOther);
    EXPECT_TRUE(second.Error().empty());

    InstanceLock other(Unique("Other Product"));
    EXPECT_TRUE(other.Owned()) << "another device name is another lock";

    first.reset();
    InstanceLock third(name);
    EXPECT_TRUE(third.Owned());
}

TEST(InstanceLock, KilledHolderLeavesNoStaleLock) {
    RuntimeDir runtime;
    const std::string name = Unique("Killed");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock lock(name);
        const char c = lock.Owned() ? '1' : '0';
        [[maybe_unused]] const ssize_t n = write(ready[1], &c, 1);
        for (;;) {
            pause();
        }
    }
    close(ready[1]);
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    close(ready[0]);
    ASSERT_EQ(c, '1');
    EXPECT_EQ(InstanceLock(name).GetState(), InstanceLock::State::HeldByOther);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(InstanceLock(name).Owned());
}

TEST(InstanceLock, UnusableRuntimeFolderFallsBackToAPrivateTmpFolder) {
    const std::string fallback = "/tmp/kovrin-" + std::to_string(geteuid()) + "/";
    struct Case {
        const char* what;
        std::function<void(const std::string& runtime)> spoil;
    };
    const Case cases[] = {
        {"unset", [](const std::string&) { unsetenv("XDG_RUNTIME_DIR"); }},
        {"relative", [](const std::string&) { setenv("XDG_RUNTIME_DIR", "relative/dir", 1); }},
        {"missing",
         [](const std::string& r) { setenv("XDG_RUNTIME_DIR", (r + "/no").c_str(), 1); }},
        {"our folder open to all",
         [](const std::string& r) {
             std::filesystem::create_directory(r + "/kovrin");
             chmod((r + "/kovrin").c_str(), 0777);
         }},
        {"our folder is a link",
         [](const std::string& r) {
             std::filesystem::create_directory(r + "/elsewhere");
             chmod((r + "/elsewhere").c_str(), 0700);
             std::filesystem::create_directory_symlink(r + "/elsewhere", r + "/kovrin");
         }},
        {"our folder is a file", [](const std::string& r) { std::ofstream(r + "/kovrin") << "x"; }},
    };
    for (const Case& c : cases) {
        RuntimeDir runtime;
        c.spoil(runtime.Path());
        const std::string name = Unique("Fallback");
        InstanceLock lock(name);
        ASSERT_TRUE(lock.Owned()) << c.what << ": " << lock.Error();
        EXPECT_EQ(lock.Path(), fallback + name + ".lock") << c.what;
        struct stat st {};
        ASSERT_EQ(lstat(fallback.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << c.what;
    }
}

TEST(InstanceLock, NamesThatCouldLeaveTheFolderAreRefused) {
    RuntimeDir runtime;
    for (const char* name : {"", ".", "..", "../escape", "a/b"}) {
        InstanceLock lock(name);
        EXPECT_EQ(lock.GetState(), InstanceLock::State::Unavailable) << name;
        EXPECT_FALSE(lock.Error().empty()) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(runtime.Path() + "/escape.lock"));
}

} // namespace
