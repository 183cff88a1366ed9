#pragma once
// Report builders and a simulated-keyboard rig for the HID tests.

#include "device/Clock.h"
#include "device/DeviceManager.h"
#include "device/SimulatedHidBackend.h"
#include "device/SimulatedKeyboard.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace kovrin::test {

using Bytes = std::vector<std::uint8_t>;

// The leading bytes, zero-filled to length.
inline Bytes Report(std::initializer_list<int> leading, std::size_t length) {
    Bytes bytes(length, 0);
    std::size_t i = 0;
    for (int b : leading) {
        bytes[i++] = static_cast<std::uint8_t>(b);
    }
    return bytes;
}
inline Bytes Feature(std::initializer_list<int> leading) {
    return Report(leading, 8);
}
inline Bytes Output(std::initializer_list<int> leading) {
    return Report(leading, 65);
}

inline constexpr std::uint16_t kVendor = 0x3A5C;

inline SimulatedKeyboardDescription TestKeyboard(int device_type, std::uint16_t product_id,
                                                 int mode = 0, std::string serial = "0") {
    SimulatedKeyboardDescription board;
    board.model_name = "Test " + std::to_string(device_type);
    board.device_type = device_type;
    board.connection_mode = mode;
    board.vendor_id = kVendor;
    board.product_id = product_id;
    board.serial = std::move(serial);
    board.firmware_version = 0x0105;
    return board;
}

// One simulated keyboard behind a manager that knows its ids.
struct Rig {
    VirtualClock clock;
    std::shared_ptr<SimulatedHidBackend> backend = std::make_shared<SimulatedHidBackend>();
    DeviceManager manager{backend, clock};

    std::shared_ptr<SimulatedKeyboard> Attach(const SimulatedKeyboardDescription& board) {
        auto keyboard = std::make_shared<SimulatedKeyboard>(board, clock);
        backend->Attach(keyboard);
        manager.AddSupported(board.vendor_id, board.product_id, "", board.device_type,
                             board.connection_mode, "");
        return keyboard;
    }
    // Opens everything and selects the keyboard's device type.
    void Open(int device_type) {
        manager.CloseAll();
        manager.EnumerateAndOpen();
        manager.SelectType(device_type);
    }
};

} // namespace kovrin::test
