#pragma once
// Entries of the device catalogue (config.xml's device.info): one record type
// for the keyboard models and for their connection modes, and the ids the
// device manager looks for.

#include <string>

namespace kovrin {

// A model entry fills name, device_type and layout_name and leaves the rest at
// its defaults; a mode entry carries its model's device type and layout name.
struct ModelRecord {
    std::string name;        // model: keyboard name; mode: product_name
    int device_type = 0;     // 200 and below: family A; 201 to 299: family B
    std::string layout_name; // file name of the layout, without ".xml"
    int mode = 0;            // connection mode: 0 wired, 1 and 2 wireless
    int vendor_id = 0;
    int product_id = 0;
    std::string description;
    std::string reserved;
    std::string interface_pattern; // found in the upper-case HID interface name
    int present = 0;               // set while a device of this mode is open
    int reserved_value = -1;
};

// What the device manager accepts: one entry per catalogue mode.
struct SupportedDevice {
    int vendor_id = 0;
    int product_id = 0;
    std::string product_name; // empty matches any product string
    int device_type = 0;
    int mode = 0;
    std::string interface_pattern;
};

} // namespace kovrin
