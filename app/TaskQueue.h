#pragma once
// The worker's queue of device tasks: the UI thread appends at the back, the
// worker reads the front, runs it and then removes it. The lock is held only
// for one append, read or removal. The same code may be queued many times;
// each occurrence runs.

#include "app/WaitToken.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace kovrin {

struct QueuedTask {
    int code = 0; // a DeviceTask code
    // TASK_SYNC_KEYS: sync only this key (family B); empty: the whole layer.
    std::optional<int> key_code;
    // The wait dialog shown for this task; the worker finishes it when the
    // task ends or is dropped.
    std::shared_ptr<WaitToken> wait;
};

class TaskQueue {
public:
    void Push(QueuedTask task);
    // A copy of the front task; nullopt when empty.
    std::optional<QueuedTask> Front() const;
    // Removes the front task and returns it; nullopt when empty.
    std::optional<QueuedTask> PopFront();
    // Empty also means no task is running: the worker removes a task only
    // after it has run.
    bool Empty() const;
    std::size_t Size() const;
    std::vector<int> Codes() const;

private:
    mutable std::mutex mutex_;
    std::deque<QueuedTask> tasks_;
};

} // namespace kovrin
