#pragma once
// One event loop per UI thread: posted closures, then window input, then due
// timers, then painting. It waits in poll() on a wake-up eventfd and the
// window connection, with the nearest timer as the time-out. Loops nest (modal
// windows run a loop inside a handler of the outer one).
//
// With a virtual clock (headless tests) time moves only by AdvanceTime, or,
// when a blocking loop has nothing else to do, by jumping to the next timer.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <queue>
#include <set>
#include <thread>
#include <vector>

namespace kovrin::platform {

// Something that delivers input (the window connection).
class EventSource {
public:
    virtual ~EventSource() = default;
    virtual int Fd() const = 0;  // -1 when there is nothing to poll
    virtual bool Pending() = 0;  // events already read and waiting (no I/O)
    virtual void Dispatch() = 0; // reads what arrived and delivers everything
    virtual void Flush() {}      // sends buffered requests before sleeping
};

// Something that paints when the loop reaches its paint phase.
class PaintTarget {
public:
    virtual ~PaintTarget() = default;
    virtual void PaintNow() = 0;
};

class EventLoop {
public:
    using TimerId = std::uint64_t;
    using Closure = std::function<void()>;

    explicit EventLoop(bool virtual_clock = false);
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // The loop created on the calling thread, or null.
    static EventLoop* Current();
    bool IsLoopThread() const { return std::this_thread::get_id() == thread_; }

    // Milliseconds on the loop's clock (monotonic, or virtual).
    std::uint64_t NowMs() const;
    bool HasVirtualClock() const { return virtual_clock_; }
    // Virtual clock only: moves time forward in steps to each timer that falls
    // due on the way, running everything that becomes ready.
    void AdvanceTime(std::uint64_t ms);

    void SetSource(EventSource* source);

    // Loop thread. Besides the window connection, the loop waits on these
    // descriptors (for reading) and runs ready() in its input phase after
    // poll() saw data, a hang-up or an error on one. A watch may be removed
    // from inside any callback; remove it before closing its descriptor.
    using WatchId = std::uint64_t;
    WatchId WatchFd(int fd, Closure ready);
    void UnwatchFd(WatchId id);

    // Any thread. Runs the closure on the loop thread at its next turn.
    // False when the loop is shutting down (the closure is dropped).
    bool Post(Closure closure);
    // Any thread. Runs the closure on the loop thread and waits for it; on the
    // loop thread it runs at once. False when the loop shuts down before the
    // closure started, which also releases a caller already waiting.
    bool Invoke(Closure closure);

    // Any thread. The target's PaintNow runs in the paint phase of the next turn.
    void SchedulePaint(PaintTarget* target);
    void CancelPaint(PaintTarget* target);

    // Loop thread. Returns a non-zero id.
    TimerId AddTimer(std::uint32_t ms, bool repeat, Closure callback);
    void CancelTimer(TimerId id);
    bool TimerActive(TimerId id) const;

    // Runs until Quit. Returns the exit code.
    int Run();
    // Runs until done() is true (checked after every turn) or Quit was called.
    // Returns false when it ended because of Quit.
    bool RunUntil(const std::function<bool()>& done);
    // One turn without waiting. True when it did anything.
    bool RunPending();
    // Turns without waiting until nothing is left to do (bounded).
    void RunUntilIdle(int max_turns = 1000);

    void Quit(int code);
    bool QuitRequested() const { return quit_; }
    int ExitCode() const { return exit_code_; }

    // Refuses further posts and invokes and releases waiting invokers; the
    // queued closures are dropped. Call before joining threads that invoke.
    void BeginShutdown();
    bool ShuttingDown() const;

private:
    struct Posted {
        Closure closure;
        std::shared_ptr<struct InvokeState> invoke; // null for plain posts
    };
    struct Timer {
        std::uint64_t deadline = 0;
        std::uint32_t period = 0;
        bool repeat = false;
        std::shared_ptr<Closure> callback; // shared: a tick copies no closure
    };
    struct HeapEntry {
        std::uint64_t deadline;
        std::uint64_t seq;
        TimerId id;
        bool operator>(const HeapEntry& o) const {
            return deadline != o.deadline ? deadline > o.deadline : seq > o.seq;
        }
    };

    bool Turn(bool may_wait);
    bool RunPosted();
    bool RunTimers();
    bool RunPaints();
    bool RunWatches();
    void Wait();
    std::uint64_t NextDeadline(); // UINT64_MAX when none
    void Wake();

    const bool virtual_clock_;
    std::thread::id thread_;
    int wake_fd_ = -1;
    EventSource* source_ = nullptr;
    bool source_readable_ = false; // poll() saw data on the source's descriptor
    struct Watch {
        int fd = -1;
        std::shared_ptr<Closure> ready;
        bool readable = false;
    };
    std::map<WatchId, Watch> watches_;
    WatchId next_watch_id_ = 1;

    mutable std::mutex mutex_;
    std::condition_variable invoke_cv_;
    std::deque<Posted> posted_;
    std::vector<PaintTarget*> paints_;
    bool shutting_down_ = false;

    std::uint64_t virtual_now_ = 0;
    std::map<TimerId, Timer> timers_;
    std::priority_queue<HeapEntry, std::vector<HeapEntry>, std::greater<>> heap_;
    TimerId next_timer_id_ = 1;
    std::uint64_t seq_ = 0;

    bool quit_ = false;
    int exit_code_ = 0;
};

} // namespace kovrin::platform
