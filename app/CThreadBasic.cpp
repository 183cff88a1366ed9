#include "app/CThreadBasic.h"

namespace kovrin {

CThreadBasic::CThreadBasic(Clock& clock) : clock_(clock) {}

CThreadBasic::~CThreadBasic() {
    Stop();
}

int CThreadBasic::Start() {
    std::lock_guard lock(mutex_);
    if (running_) {
        return 0;
    }
    // A thread stopped from inside itself has not been joined yet.
    if (thread_.joinable()) {
        thread_.join();
    }
    start_tick_ = clock_.Now();
    running_ = true;
    thread_ = std::thread(&CThreadBasic::ThreadMain, this);
    return 1;
}

void CThreadBasic::Stop() {
    running_ = false;
    Wake();
    std::thread thread;
    {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable() || thread_.get_id() == std::this_thread::get_id()) {
            return;
        }
        thread = std::move(thread_);
    }
    thread.join();
}

Clock::Duration CThreadBasic::StartTick() const {
    std::lock_guard lock(mutex_);
    return start_tick_;
}

void CThreadBasic::ThreadMain() {
    while (running_) {
        Run();
        if (!running_) {
            break;
        }
        clock_.SleepFor(kInterval);
        // Asked outside the lock: HasWork may call into the owner, which may
        // be waiting for this lock in Wake().
        const bool work = HasWork();
        std::unique_lock lock(wake_mutex_);
        if (!work) {
            wake_cv_.wait(lock, [this] { return woken_ || !running_; });
        }
        woken_ = false;
    }
}

void CThreadBasic::Wake() {
    {
        std::lock_guard lock(wake_mutex_);
        woken_ = true;
    }
    wake_cv_.notify_one();
}

} // namespace kovrin
