#include "app/TaskQueue.h"

namespace kovrin {

void TaskQueue::Push(QueuedTask task) {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
}

std::optional<QueuedTask> TaskQueue::Front() const {
    std::lock_guard lock(mutex_);
    if (tasks_.empty()) {
        return std::nullopt;
    }
    return tasks_.front();
}

std::optional<QueuedTask> TaskQueue::PopFront() {
    std::lock_guard lock(mutex_);
    if (tasks_.empty()) {
        return std::nullopt;
    }
    QueuedTask task = std::move(tasks_.front());
    tasks_.pop_front();
    return task;
}

bool TaskQueue::Empty() const {
    std::lock_guard lock(mutex_);
    return tasks_.empty();
}

std::size_t TaskQueue::Size() const {
    std::lock_guard lock(mutex_);
    return tasks_.size();
}

std::vector<int> TaskQueue::Codes() const {
    std::lock_guard lock(mutex_);
    std::vector<int> codes;
    codes.reserve(tasks_.size());
    for (const QueuedTask& task : tasks_) {
        codes.push_back(task.code);
    }
    return codes;
}

} // namespace kovrin
