#include "tessel/RKTimer.h"

#include "platform/window/EventLoop.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>

namespace Tessel {
namespace {
std::mutex g_mutex;
std::map<unsigned, RKTimer*> g_owners;
std::atomic<unsigned> g_next_id{1};
} // namespace

RKTimer::RKTimer() = default;

RKTimer::~RKTimer() {
    KillTimer();
}

unsigned RKTimer::SetTimer(unsigned ms, const std::string& name, int isApp) {
    auto* loop = kovrin::platform::EventLoop::Current();
    if (loop == nullptr) {
        return 0;
    }
    const unsigned id = g_next_id++;
    const bool app = isApp != 0;
    const auto timer = loop->AddTimer(std::max(1u, ms), true, [this, id, name, app] {
        OnMTimer(id);
        if (app) {
            OnMTimer(id, name);
        }
    });
    timers_.push_back({id, name, app, timer, loop});
    std::lock_guard lock(g_mutex);
    g_owners[id] = this;
    return id;
}

int RKTimer::KillTimer(unsigned id) {
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->id == id) {
            static_cast<kovrin::platform::EventLoop*>(it->loop)->CancelTimer(it->loop_timer);
            timers_.erase(it);
            std::lock_guard lock(g_mutex);
            g_owners.erase(id);
            break;
        }
    }
    return static_cast<int>(timers_.size());
}

int RKTimer::KillTimer(const std::string& name) {
    std::vector<unsigned> ids;
    for (const Entry& e : timers_) {
        if (e.name == name) {
            ids.push_back(e.id);
        }
    }
    for (unsigned id : ids) {
        KillTimer(id);
    }
    return static_cast<int>(timers_.size());
}

void RKTimer::KillTimer() {
    while (!timers_.empty()) {
        KillTimer(timers_.back().id);
    }
}

std::string RKTimer::GetTimerName(unsigned id) const {
    for (const Entry& e : timers_) {
        if (e.id == id) {
            return e.name;
        }
    }
    return {};
}

bool RKTimer::IsAppTimer(unsigned id) const {
    return std::any_of(timers_.begin(), timers_.end(),
                       [id](const Entry& e) { return e.id == id && e.app; });
}

bool RKTimer::GetTimerIsRun(unsigned id) const {
    return std::any_of(timers_.begin(), timers_.end(), [id](const Entry& e) { return e.id == id; });
}

bool RKTimer::GetTimerIsRun(const std::string& name) const {
    return std::any_of(timers_.begin(), timers_.end(),
                       [&name](const Entry& e) { return e.name == name; });
}

RKTimer* RKTimer::GetFSTimer(unsigned id) {
    std::lock_guard lock(g_mutex);
    auto it = g_owners.find(id);
    return it == g_owners.end() ? nullptr : it->second;
}

} // namespace Tessel
