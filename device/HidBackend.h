#pragma once
// The narrow interface between the device layer and whatever reaches the HID
// interfaces: hidapi on a real machine, the simulated keyboard in tests and
// with --simulate.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kovrin {

struct HidUsage {
    std::uint16_t page = 0;
    std::uint16_t usage = 0;
    friend bool operator==(const HidUsage&, const HidUsage&) = default;
};

// One openable HID interface (one hidraw node); a node with several top-level
// collections lists all their usages.
struct HidInterfaceInfo {
    std::string path;
    std::uint16_t vendor_id = 0;
    std::uint16_t product_id = 0;
    std::uint16_t release_number = 0;
    std::vector<HidUsage> usages;
    int interface_number = -1; // -1 when the bus has no interface numbers
    bool bluetooth = false;
};

// Vendor-defined collections that carry the keyboard's commands.
inline constexpr HidUsage kCommandUsageA{0xFF01, 0x0001};
inline constexpr HidUsage kCommandUsageB{0xFF02, 0x0002};
// The command collection on this interface carries live colour frames only.
inline constexpr int kAuxInterfaceNumber = 3;

// True when one of the interface's usages is a vendor command collection.
inline bool IsCommandCollection(const HidInterfaceInfo& info) {
    for (const HidUsage& u : info.usages) {
        if (u == kCommandUsageA || u == kCommandUsageB) {
            return true;
        }
    }
    return false;
}

inline bool IsAuxCollection(const HidInterfaceInfo& info) {
    return IsCommandCollection(info) && info.interface_number == kAuxInterfaceNumber;
}

// An open interface. Closing is destruction. Calls on one device are
// serialised by the caller.
class HidDevice {
public:
    virtual ~HidDevice() = default;

    // Writes an output report (byte 0 = report id). Bytes written, or -1.
    virtual int Write(std::span<const std::uint8_t> report) = 0;
    // Sends a feature report (byte 0 = report id). Bytes sent, or -1.
    virtual int SendFeature(std::span<const std::uint8_t> report) = 0;
    // Reads a feature report; buffer[0] carries the report id in and the
    // reply's first byte out. Bytes returned, or -1.
    virtual int GetFeature(std::span<std::uint8_t> buffer) = 0;
    // Text of the last failure on this device; empty when none.
    virtual std::string LastError() const = 0;
    // Output report length including the report id; 0 when unknown.
    virtual std::size_t OutputReportLength() const { return 0; }
};

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Every HID interface of the machine, in the system's order.
    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    // Opens the interface for reading and writing; null on failure, with the
    // reason in *error when given.
    virtual std::unique_ptr<HidDevice> Open(const std::string& path,
                                            std::string* error = nullptr) = 0;
};

} // namespace kovrin
