#pragma once
// Periodic timers of an object, run by the event loop of the thread that
// started them. Ids are unique in the process; GetFSTimer finds the owner.

#include "tessel/TesselTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Tessel {

class RKTimer {
public:
    RKTimer();
    virtual ~RKTimer();
    RKTimer(const RKTimer&) = delete;
    RKTimer& operator=(const RKTimer&) = delete;

    // Called for timers started with isApp set.
    virtual void OnMTimer(unsigned id, const std::string& name) {
        (void)id;
        (void)name;
    }
    virtual void OnMTimer(unsigned id) = 0;

    // Starts a periodic timer; returns its id, 0 when there is no event loop
    // on this thread.
    unsigned SetTimer(unsigned ms, const std::string& name, int isApp);
    // Return the number of timers left.
    int KillTimer(unsigned id);
    int KillTimer(const std::string& name);
    void KillTimer();
    std::string GetTimerName(unsigned id) const;
    bool IsAppTimer(unsigned id) const;
    bool GetTimerIsRun(unsigned id) const;
    bool GetTimerIsRun(const std::string& name) const;

    static RKTimer* GetFSTimer(unsigned id);

private:
    struct Entry {
        unsigned id;
        std::string name;
        bool app;
        std::uint64_t loop_timer;
        void* loop; // the event loop that runs it
    };
    std::vector<Entry> timers_;
};

} // namespace Tessel
