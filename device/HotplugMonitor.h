#pragma once
// Follows hidraw arrivals and removals and reports each with its interface
// name. The owner polls Fd() in its event loop and calls Dispatch() when it
// is readable; callbacks run inside Dispatch() on the owner's thread.
// Without udev hot-plug is simply off: Active() is false and Fd() is -1.

#include "device/HidrawEvents.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace kovrin {

enum class HotplugAction { kArrival, kRemoval };

class HotplugMonitor {
public:
    using Callback = std::function<void(HotplugAction action, const std::string& interface_name)>;

    // On the system's device events (libudev).
    static std::unique_ptr<HotplugMonitor> Start(Callback callback);

    // On any event source; a null source gives an inactive monitor.
    HotplugMonitor(std::unique_ptr<HidrawEventSource> source, Callback callback);

    bool Active() const { return source_ != nullptr; }
    int Fd() const { return source_ ? source_->Fd() : -1; }
    void Dispatch();

    // Name remembered for a node, empty when unknown.
    std::string NameOf(const std::string& syspath) const;

private:
    std::unique_ptr<HidrawEventSource> source_;
    Callback callback_;
    // Removal events no longer reach the node's parents: names are kept from
    // the arrival (or from start-up) by syspath.
    std::map<std::string, std::string> names_;
};

} // namespace kovrin
