#pragma once
// A periodic thread: Run() is called again and again, with a pause of the
// interval (16 ms) through the clock after each call, while the running flag
// is set. When the derived class reports no work after a pause, the thread
// sleeps without waking until Wake() or Stop(), so an idle program costs no
// CPU. Stopping clears the flag and waits for the thread to end; a Run() in
// progress always completes.

#include "device/Clock.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kovrin {

class CThreadBasic {
public:
    static constexpr std::chrono::milliseconds kInterval{16};

    explicit CThreadBasic(Clock& clock);
    // A derived class stops the thread in its own destructor, before its
    // members go; this one only joins what is left.
    virtual ~CThreadBasic();
    CThreadBasic(const CThreadBasic&) = delete;
    CThreadBasic& operator=(const CThreadBasic&) = delete;

    // 0 when the thread is already running; otherwise starts it and returns 1.
    int Start();
    // Clears the running flag and waits until the thread has ended. Called on
    // the thread itself it only clears the flag.
    void Stop();
    bool Running() const { return running_.load(); }
    // Any thread. Ends an idle wait: there is work for Run() again.
    void Wake();
    // Clock time of the last Start.
    Clock::Duration StartTick() const;

protected:
    // One call of the work; runs on the thread.
    virtual void Run() = 0;
    // On the thread, between pauses: whether Run() has something to do now.
    // When it says no, the thread waits for Wake().
    virtual bool HasWork() { return true; }
    Clock& ThreadClock() const { return clock_; }

private:
    void ThreadMain();

    Clock& clock_;
    std::atomic<bool> running_{false};
    mutable std::mutex mutex_; // guards thread_ and start_tick_
    std::thread thread_;
    std::mutex wake_mutex_;
    std::condition_variable wake_cv_;
    bool woken_ = false; // guarded by wake_mutex_
    Clock::Duration start_tick_{0};
};

} // namespace kovrin
