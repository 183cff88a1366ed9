#include "platform/window/EventLoop.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace kovrin::platform {

struct InvokeState {
    bool started = false;
    bool done = false;
};

namespace {
thread_local EventLoop* t_current = nullptr;

std::uint64_t MonotonicMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
} // namespace

EventLoop::EventLoop(bool virtual_clock)
    : virtual_clock_(virtual_clock), thread_(std::this_thread::get_id()) {
    wake_fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    t_current = this;
}

EventLoop::~EventLoop() {
    BeginShutdown();
    if (wake_fd_ >= 0) {
        close(wake_fd_);
    }
    if (t_current == this) {
        t_current = nullptr;
    }
}

EventLoop* EventLoop::Current() {
    return t_current;
}

std::uint64_t EventLoop::NowMs() const {
    if (virtual_clock_) {
        std::lock_guard lock(mutex_);
        return virtual_now_;
    }
    return MonotonicMs();
}

void EventLoop::AdvanceTime(std::uint64_t ms) {
    if (!virtual_clock_) {
        return;
    }
    std::uint64_t target;
    {
        std::lock_guard lock(mutex_);
        target = virtual_now_ + ms;
    }
    RunUntilIdle();
    for (;;) {
        const std::uint64_t next = NextDeadline();
        {
            std::lock_guard lock(mutex_);
            if (next > target) {
                virtual_now_ = target;
                break;
            }
            virtual_now_ = std::max(virtual_now_, next);
        }
        RunUntilIdle();
    }
    RunUntilIdle();
}

void EventLoop::SetSource(EventSource* source) {
    source_ = source;
}

EventLoop::WatchId EventLoop::WatchFd(int fd, Closure ready) {
    const WatchId id = next_watch_id_++;
    watches_[id] = {fd, std::make_shared<Closure>(std::move(ready)), false};
    return id;
}

void EventLoop::UnwatchFd(WatchId id) {
    watches_.erase(id);
}

bool EventLoop::RunWatches() {
    std::vector<std::pair<WatchId, std::shared_ptr<Closure>>> due;
    for (auto& [id, w] : watches_) {
        if (w.readable) {
            w.readable = false;
            due.emplace_back(id, w.ready);
        }
    }
    for (auto& [id, ready] : due) {
        if (watches_.count(id) != 0) { // not removed by an earlier callback
            (*ready)();
        }
    }
    return !due.empty();
}

void EventLoop::Wake() {
    if (wake_fd_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = write(wake_fd_, &one, sizeof one);
    }
}

bool EventLoop::Post(Closure closure) {
    {
        std::lock_guard lock(mutex_);
        if (shutting_down_) {
            return false;
        }
        posted_.push_back({std::move(closure), nullptr});
    }
    Wake();
    return true;
}

bool EventLoop::Invoke(Closure closure) {
    if (IsLoopThread()) {
        closure();
        return true;
    }
    auto state = std::make_shared<InvokeState>();
    std::unique_lock lock(mutex_);
    if (shutting_down_) {
        return false;
    }
    posted_.push_back({std::move(closure), state});
    lock.unlock();
    Wake();
    lock.lock();
    invoke_cv_.wait(lock, [&] { return state->done || (shutting_down_ && !state->started); });
    return state->done;
}

void EventLoop::SchedulePaint(PaintTarget* target) {
    {
        std::lock_guard lock(mutex_);
        if (std::find(paints_.begin(), paints_.end(), target) != paints_.end()) {
            return;
        }
        paints_.push_back(target);
    }
    if (!IsLoopThread()) {
        Wake();
    }
}

void EventLoop::CancelPaint(PaintTarget* target) {
    std::lock_guard lock(mutex_);
    paints_.erase(std::remove(paints_.begin(), paints_.end(), target), paints_.end());
}

EventLoop::TimerId EventLoop::AddTimer(std::uint32_t ms, bool repeat, Closure callback) {
    const TimerId id = next_timer_id_++;
    Timer t;
    t.deadline = NowMs() + ms;
    t.period = std::max<std::uint32_t>(ms, 1);
    t.repeat = repeat;
    t.callback = std::make_shared<Closure>(std::move(callback));
    heap_.push({t.deadline, seq_++, id});
    timers_.emplace(id, std::move(t));
    return id;
}

void EventLoop::CancelTimer(TimerId id) {
    timers_.erase(id);
}

bool EventLoop::TimerActive(TimerId id) const {
    return timers_.count(id) != 0;
}

std::uint64_t EventLoop::NextDeadline() {
    // Entries of cancelled or re-armed timers are dropped when they reach the top.
    while (!heap_.empty()) {
        const HeapEntry e = heap_.top();
        auto it = timers_.find(e.id);
        if (it != timers_.end() && it->second.deadline == e.deadline) {
            return e.deadline;
        }
        heap_.pop();
    }
    return UINT64_MAX;
}

bool EventLoop::RunPosted() {
    std::size_t count;
    {
        std::lock_guard lock(mutex_);
        count = posted_.size();
    }
    bool any = false;
    // One at a time, so that a shutdown started by one closure drops the rest.
    for (std::size_t i = 0; i < count; ++i) {
        Posted p;
        {
            std::lock_guard lock(mutex_);
            if (posted_.empty()) {
                break;
            }
            p = std::move(posted_.front());
            posted_.pop_front();
            if (p.invoke) {
                p.invoke->started = true;
            }
        }
        p.closure();
        any = true;
        if (p.invoke) {
            std::lock_guard lock(mutex_);
            p.invoke->done = true;
            invoke_cv_.notify_all();
        }
    }
    return any;
}

bool EventLoop::RunTimers() {
    const std::uint64_t now = NowMs();
    bool any = false;
    // Timers that come due while their callbacks run wait for the next turn.
    std::vector<TimerId> due;
    while (!heap_.empty() && heap_.top().deadline <= now) {
        const HeapEntry e = heap_.top();
        heap_.pop();
        auto it = timers_.find(e.id);
        if (it == timers_.end() || it->second.deadline != e.deadline) {
            continue;
        }
        due.push_back(e.id);
    }
    for (TimerId id : due) {
        auto it = timers_.find(id);
        if (it == timers_.end()) {
            continue; // cancelled by an earlier callback
        }
        const std::shared_ptr<Closure> cb = it->second.callback;
        if (it->second.repeat) {
            // Missed periods are skipped rather than run in a burst.
            Timer& t = it->second;
            t.deadline += t.period;
            if (t.deadline <= now) {
                t.deadline = now + t.period - (now - t.deadline) % t.period;
            }
            heap_.push({t.deadline, seq_++, id});
        } else {
            timers_.erase(it);
        }
        (*cb)();
        any = true;
    }
    return any;
}

bool EventLoop::RunPaints() {
    std::size_t count;
    {
        std::lock_guard lock(mutex_);
        count = paints_.size();
    }
    // One at a time, so that a target cancelled by another's paint is skipped.
    for (std::size_t i = 0; i < count; ++i) {
        PaintTarget* t;
        {
            std::lock_guard lock(mutex_);
            if (paints_.empty()) {
                break;
            }
            t = paints_.front();
            paints_.erase(paints_.begin());
        }
        t->PaintNow();
    }
    return count != 0;
}

bool EventLoop::Turn(bool may_wait) {
    bool any = RunPosted();
    if (source_ != nullptr && (source_readable_ || source_->Pending())) {
        source_readable_ = false;
        source_->Dispatch();
        any = true;
    }
    any = RunWatches() || any;
    any = RunTimers() || any;
    any = RunPaints() || any;
    if (!any && may_wait && !quit_) {
        Wait();
    }
    return any;
}

void EventLoop::Wait() {
    {
        std::lock_guard lock(mutex_);
        if (!posted_.empty() || !paints_.empty()) {
            return;
        }
    }
    const std::uint64_t next = NextDeadline();
    int timeout = -1;
    if (next != UINT64_MAX) {
        if (virtual_clock_) {
            std::lock_guard lock(mutex_);
            virtual_now_ = std::max(virtual_now_, next);
            return;
        }
        const std::uint64_t now = NowMs();
        timeout = next <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(next - now, INT_MAX));
    }
    if (source_ != nullptr) {
        source_->Flush();
        if (source_->Pending()) {
            return;
        }
    }
    std::vector<pollfd> fds;
    fds.reserve(2 + watches_.size());
    fds.push_back({wake_fd_, POLLIN, 0});
    const bool polls_source = source_ != nullptr && source_->Fd() >= 0;
    if (polls_source) {
        fds.push_back({source_->Fd(), POLLIN, 0});
    }
    const std::size_t first_watch = fds.size();
    std::vector<WatchId> ids;
    for (const auto& [id, w] : watches_) {
        fds.push_back({w.fd, POLLIN, 0});
        ids.push_back(id);
    }
    const int r = poll(fds.data(), static_cast<nfds_t>(fds.size()), timeout);
    if (r <= 0) {
        return;
    }
    if ((fds[0].revents & POLLIN) != 0) {
        std::uint64_t value;
        [[maybe_unused]] const ssize_t rd = read(wake_fd_, &value, sizeof value);
    }
    constexpr short kReady = POLLIN | POLLHUP | POLLERR | POLLNVAL;
    if (polls_source && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
        source_readable_ = true;
    }
    for (std::size_t i = first_watch; i < fds.size(); ++i) {
        auto it = watches_.find(ids[i - first_watch]);
        if ((fds[i].revents & kReady) != 0 && it != watches_.end()) {
            it->second.readable = true;
        }
    }
}

int EventLoop::Run() {
    while (!quit_) {
        Turn(true);
    }
    return exit_code_;
}

bool EventLoop::RunUntil(const std::function<bool()>& done) {
    while (!quit_) {
        if (done()) {
            return true;
        }
        Turn(true);
    }
    return false;
}

bool EventLoop::RunPending() {
    return Turn(false);
}

void EventLoop::RunUntilIdle(int max_turns) {
    for (int i = 0; i < max_turns && Turn(false); ++i) {
    }
}

void EventLoop::Quit(int code) {
    if (!quit_) {
        quit_ = true;
        exit_code_ = code;
    }
    Wake();
}

void EventLoop::BeginShutdown() {
    std::deque<Posted> dropped;
    {
        std::lock_guard lock(mutex_);
        shutting_down_ = true;
        dropped.swap(posted_);
        invoke_cv_.notify_all();
    }
}

bool EventLoop::ShuttingDown() const {
    std::lock_guard lock(mutex_);
    return shutting_down_;
}

} // namespace kovrin::platform
