#pragma once
// A HidBackend whose devices are simulated keyboards.

#include "device/HidBackend.h"
#include "device/SimulatedKeyboard.h"

#include <memory>
#include <mutex>
#include <vector>

namespace kovrin {

class SimulatedHidBackend final : public HidBackend {
public:
    // Adds a keyboard; it is listed while it is plugged.
    void Attach(std::shared_ptr<SimulatedKeyboard> keyboard);
    void Detach(const std::shared_ptr<SimulatedKeyboard>& keyboard);
    std::vector<std::shared_ptr<SimulatedKeyboard>> Keyboards() const;

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path, std::string* error = nullptr) override;

private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<SimulatedKeyboard>> keyboards_;
};

} // namespace kovrin
