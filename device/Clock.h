#pragma once
// Time for the device layer. Every pause between reports goes through a Clock,
// so tests run the protocol on a virtual clock that never sleeps while the
// program uses the steady system clock.

#include <chrono>
#include <mutex>
#include <vector>

namespace kovrin {

class Clock {
public:
    using Duration = std::chrono::microseconds;

    virtual ~Clock() = default;
    // Time since an arbitrary fixed start; never goes backwards.
    virtual Duration Now() const = 0;
    virtual void SleepFor(std::chrono::milliseconds pause) = 0;
};

// The steady system clock; SleepFor really sleeps.
class RealClock final : public Clock {
public:
    Duration Now() const override;
    void SleepFor(std::chrono::milliseconds pause) override;

    // One process-wide instance.
    static RealClock& Instance();
};

// Starts at 0; SleepFor returns at once after moving the time forward and
// recording the pause. Safe to share between threads.
class VirtualClock final : public Clock {
public:
    struct Sleep {
        Duration at; // time when the pause began
        std::chrono::milliseconds length;
    };

    Duration Now() const override;
    void SleepFor(std::chrono::milliseconds pause) override;

    // Moves the time forward without recording a pause.
    void Advance(Duration step);
    std::vector<Sleep> Sleeps() const;
    void ClearSleeps();

private:
    mutable std::mutex mutex_;
    Duration now_{0};
    std::vector<Sleep> sleeps_;
};

} // namespace kovrin
