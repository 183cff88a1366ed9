#pragma once
// Signals delivered through a descriptor that an event loop can watch, in
// place of asynchronous handlers.
//
// Block must run on the main thread before any other thread starts (threads
// inherit the blocked set); the signals then wait for the watch.

#include <initializer_list>
#include <vector>

namespace kovrin::platform {

class SignalWatch {
public:
    // Blocks the signals in the calling thread.
    static bool Block(std::initializer_list<int> signals);

    // A readable descriptor for the signals (blocked with Block first).
    explicit SignalWatch(std::initializer_list<int> signals);
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    // -1 when it could not be made.
    int Fd() const { return fd_; }
    // The signals waiting now, in arrival order; never blocks.
    std::vector<int> Read();

private:
    int fd_ = -1;
};

} // namespace kovrin::platform
