#include "platform/process/SignalWatch.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace kovrin::platform {
namespace {

sigset_t SetOf(std::initializer_list<int> signals) {
    sigset_t set;
    sigemptyset(&set);
    for (int s : signals) {
        sigaddset(&set, s);
    }
    return set;
}

} // namespace

bool SignalWatch::Block(std::initializer_list<int> signals) {
    const sigset_t set = SetOf(signals);
    return pthread_sigmask(SIG_BLOCK, &set, nullptr) == 0;
}

SignalWatch::SignalWatch(std::initializer_list<int> signals) {
    const sigset_t set = SetOf(signals);
    fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
}

SignalWatch::~SignalWatch() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

std::vector<int> SignalWatch::Read() {
    std::vector<int> out;
    if (fd_ < 0) {
        return out;
    }
    for (;;) {
        signalfd_siginfo info{};
        const ssize_t n = read(fd_, &info, sizeof info);
        if (n == static_cast<ssize_t>(sizeof info)) {
            out.push_back(static_cast<int>(info.ssi_signo));
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return out;
    }
}

} // namespace kovrin::platform
