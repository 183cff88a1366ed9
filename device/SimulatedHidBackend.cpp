#include "device/SimulatedHidBackend.h"

#include <algorithm>

namespace kovrin {

namespace {

class SimulatedDevice final : public HidDevice {
public:
    SimulatedDevice(std::shared_ptr<SimulatedKeyboard> keyboard, int interface_number,
                    std::size_t output_length)
        : keyboard_(std::move(keyboard)), interface_(interface_number),
          output_length_(output_length) {}
    ~SimulatedDevice() override { keyboard_->OnClose(interface_); }
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    int Write(std::span<const std::uint8_t> report) override {
        return Note(keyboard_->OnWrite(interface_, report), "write failed");
    }
    int SendFeature(std::span<const std::uint8_t> report) override {
        return Note(keyboard_->OnSetFeature(interface_, report), "feature report not accepted");
    }
    int GetFeature(std::span<std::uint8_t> buffer) override {
        return Note(keyboard_->OnGetFeature(interface_, buffer), "feature report not read");
    }
    std::string LastError() const override { return last_error_; }
    std::size_t OutputReportLength() const override { return output_length_; }

private:
    int Note(int result, const char* text) {
        if (result < 0) {
            last_error_ = keyboard_->Plugged() ? text : "device not connected";
        }
        return result;
    }

    std::shared_ptr<SimulatedKeyboard> keyboard_;
    int interface_;
    std::size_t output_length_;
    std::string last_error_;
};

} // namespace

void SimulatedHidBackend::Attach(std::shared_ptr<SimulatedKeyboard> keyboard) {
    std::lock_guard lock(mutex_);
    keyboards_.push_back(std::move(keyboard));
}

void SimulatedHidBackend::Detach(const std::shared_ptr<SimulatedKeyboard>& keyboard) {
    std::lock_guard lock(mutex_);
    keyboards_.erase(std::remove(keyboards_.begin(), keyboards_.end(), keyboard), keyboards_.end());
}

std::vector<std::shared_ptr<SimulatedKeyboard>> SimulatedHidBackend::Keyboards() const {
    std::lock_guard lock(mutex_);
    return keyboards_;
}

std::vector<HidInterfaceInfo> SimulatedHidBackend::Enumerate() {
    std::vector<HidInterfaceInfo> list;
    for (const auto& keyboard : Keyboards()) {
        if (!keyboard->Plugged()) {
            continue;
        }
        const SimulatedKeyboardDescription& board = keyboard->Description();
        for (const SimulatedInterface& i : board.interfaces) {
            HidInterfaceInfo info;
            info.path = keyboard->PathOf(i.number);
            info.vendor_id = board.vendor_id;
            info.product_id = board.product_id;
            info.release_number = board.release_number;
            info.usages = i.usages;
            info.interface_number = i.number;
            list.push_back(std::move(info));
        }
    }
    return list;
}

std::unique_ptr<HidDevice> SimulatedHidBackend::Open(const std::string& path, std::string* error) {
    for (const auto& keyboard : Keyboards()) {
        for (const SimulatedInterface& i : keyboard->Description().interfaces) {
            if (keyboard->PathOf(i.number) != path) {
                continue;
            }
            if (!keyboard->OnOpen(i.number, error)) {
                return nullptr;
            }
            return std::make_unique<SimulatedDevice>(keyboard, i.number, i.output_report_length);
        }
    }
    if (error) {
        *error = "no such device";
    }
    return nullptr;
}

} // namespace kovrin
