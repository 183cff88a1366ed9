#include "device/Clock.h"

#include <thread>

namespace kovrin {

Clock::Duration RealClock::Now() const {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now() - start);
}

void RealClock::SleepFor(std::chrono::milliseconds pause) {
    if (pause.count() > 0) {
        std::this_thread::sleep_for(pause);
    }
}

RealClock& RealClock::Instance() {
    static RealClock clock;
    return clock;
}

Clock::Duration VirtualClock::Now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

void VirtualClock::SleepFor(std::chrono::milliseconds pause) {
    std::lock_guard lock(mutex_);
    sleeps_.push_back({now_, pause});
    if (pause.count() > 0) {
        now_ += pause;
    }
}

void VirtualClock::Advance(Duration step) {
    std::lock_guard lock(mutex_);
    if (step.count() > 0) {
        now_ += step;
    }
}

std::vector<VirtualClock::Sleep> VirtualClock::Sleeps() const {
    std::lock_guard lock(mutex_);
    return sleeps_;
}

void VirtualClock::ClearSleeps() {
    std::lock_guard lock(mutex_);
    sleeps_.clear();
}

} // namespace kovrin
