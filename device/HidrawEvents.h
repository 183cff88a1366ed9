#pragma once
// Arrivals and removals of hidraw nodes as the system reports them, before
// they are named and matched against the catalogue.

#include <memory>
#include <string>
#include <vector>

namespace kovrin {

struct HidrawEvent {
    enum class Action { kAdd, kRemove, kOther };
    Action action = Action::kOther;
    std::string syspath;           // identifies the node across its arrival and removal
    std::string devnode;           // /dev/hidrawN
    std::string hid_id;            // bus:vendor:product, e.g. "0003:00003A5C:00000201"
    std::string hid_phys;          // e.g. "usb-0000:00:14.0-1/input2"
    int usb_interface_number = -1; // bInterfaceNumber of the USB interface; -1 unknown
};

// A pollable source of hidraw events.
class HidrawEventSource {
public:
    virtual ~HidrawEventSource() = default;
    // Becomes readable when events are waiting; -1 when there is none.
    virtual int Fd() const = 0;
    // The hidraw nodes present now, as arrivals.
    virtual std::vector<HidrawEvent> Existing() = 0;
    // The events waiting now; never blocks.
    virtual std::vector<HidrawEvent> Read() = 0;
};

} // namespace kovrin
