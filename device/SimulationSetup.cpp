#include "device/SimulationSetup.h"

#include "base/WinNumbers.h"
#include "device/LayoutLoader.h"
#include "device/TracingHidBackend.h"
#include "platform/hid/HidapiBackend.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace kovrin {

namespace {

bool SetError(std::string* error, std::string text) {
    if (error) {
        *error = std::move(text);
    }
    return false;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

} // namespace

std::optional<SimulateRequest> ParseSimulateRequest(std::string_view text, std::string* error) {
    SimulateRequest request;
    const auto colon = text.rfind(':');
    if (colon != std::string_view::npos && AllDigits(text.substr(colon + 1))) {
        const std::string_view digits = text.substr(colon + 1);
        if (digits.size() > 4) {
            SetError(error, "mode value out of range: " + std::string(digits));
            return std::nullopt;
        }
        request.mode = ParseDecimal(digits);
        text = text.substr(0, colon);
    }
    request.model = std::string(text);
    if (request.model.empty()) {
        SetError(error, "no model named in the simulation request");
        return std::nullopt;
    }
    return request;
}

std::string SimulateTextFromEnvironment() {
    const char* value = std::getenv(kSimulateVariable);
    return value ? value : "";
}

std::optional<SimulatedKeyboardDescription> SimulatedKeyboardFor(const SimulateRequest& request,
                                                                 const Catalogue& catalogue,
                                                                 std::string* error) {
    const ModelRecord* model = FindModelByName(catalogue.models, request.model);
    if (!model) {
        SetError(error, "no model named \"" + request.model + "\" in the catalogue");
        return std::nullopt;
    }
    const ModelRecord* mode = nullptr;
    for (const ModelRecord& m : catalogue.modes) {
        if (m.device_type == model->device_type && m.layout_name == model->layout_name &&
            (!request.mode || m.mode == *request.mode)) {
            mode = &m;
            break;
        }
    }
    if (!mode) {
        SetError(error, "model \"" + request.model + "\" has no mode " +
                            (request.mode ? std::to_string(*request.mode) : std::string()));
        return std::nullopt;
    }
    SimulatedKeyboardDescription board;
    board.model_name = model->name;
    board.device_type = model->device_type;
    board.connection_mode = mode->mode;
    board.vendor_id = static_cast<std::uint16_t>(mode->vendor_id);
    board.product_id = static_cast<std::uint16_t>(mode->product_id);
    const LayoutLoad layout = LoadModelLayout(*model, nullptr);
    if (layout.loaded && layout.layout && !layout.layout->firmware_version.empty()) {
        board.firmware_version =
            static_cast<std::uint16_t>(ParseHex(layout.layout->firmware_version));
    }
    return board;
}

bool ConfigureDevices(DeviceManager& manager, const DeviceOptions& options,
                      const Catalogue& catalogue, Clock& clock, DeviceSetup* setup,
                      std::string* error) {
    DeviceSetup result;
    if (options.simulate.empty()) {
        result.backend = platform::CreateHidapiBackend();
    } else {
        const auto request = ParseSimulateRequest(options.simulate, error);
        if (!request) {
            return false;
        }
        auto board = SimulatedKeyboardFor(*request, catalogue, error);
        if (!board) {
            return false;
        }
        result.keyboard = std::make_shared<SimulatedKeyboard>(std::move(*board), clock);
        auto backend = std::make_shared<SimulatedHidBackend>();
        backend->Attach(result.keyboard);
        result.backend = std::move(backend);
    }
    if (!options.trace.empty()) {
        auto traced = TracingHidBackend::ToFile(result.backend, options.trace, clock, error);
        if (!traced) {
            return false;
        }
        result.backend = std::move(traced);
    }
    manager.SetClock(clock);
    manager.SetBackend(result.backend);
    if (setup) {
        *setup = std::move(result);
    }
    return true;
}

} // namespace kovrin
