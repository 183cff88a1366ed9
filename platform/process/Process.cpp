#include "platform/process/Process.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kovrin::platform {

bool IsOpenableUrl(const std::string& url) {
    if (url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0) {
        return false;
    }
    for (const char c : url) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
}

bool OpenUrl(const std::string& url) {
    if (!IsOpenableUrl(url)) {
        return false;
    }
    char program[] = "xdg-open";
    std::string argument = url;
    char* argv[] = {program, argument.data(), nullptr};
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // The browser must not end with the program's process group, nor keep
    // the signals the program blocks for itself.
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, program, nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        return false;
    }
    // Reaped in the background so that no zombie is left.
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

void ExitNow(int code) {
    _exit(code);
}

} // namespace kovrin::platform
