#pragma once
// Interface names for hidraw nodes in the form the catalogue's
// `hid_interface` patterns are written for:
//   \\?\HID#VID_3A5C&PID_0201&MI_02#7&1A2B3C4D&0&0002#{4D1E55B2-F16F-11CF-88CB-001111000030}
// Bluetooth nodes carry the HID service identifier instead of the vendor part.

#include "device/HidrawEvents.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kovrin {

inline constexpr std::string_view kBluetoothHidService = "00001812-0000-1000-8000-00805F9B34FB";
inline constexpr std::uint16_t kBusBluetooth = 0x0005;

struct HidIdentity {
    std::uint16_t bus = 0;
    std::uint16_t vendor_id = 0;
    std::uint16_t product_id = 0;
};

// "0003:00003A5C:00000201" → bus 3, vendor 0x3A5C, product 0x0201.
std::optional<HidIdentity> ParseHidId(std::string_view hid_id);

// The interface number at the end of HID_PHYS ("usb-0000:00:14.0-1/input2" → 2); -1 if none.
int InterfaceNumberFromPhys(std::string_view hid_phys);

// Upper-case interface name; `instance` tells nodes of the same ids apart.
std::string InterfaceName(const HidIdentity& id, int interface_number, std::string_view instance);

// The name of the node an event reports; empty when the event lacks the ids.
std::string InterfaceNameOf(const HidrawEvent& event);

} // namespace kovrin
