#pragma once
// Attaching a simulated keyboard of a catalogue model instead of the real HID
// interfaces (kovrinctl --simulate, KOVRIN_SIMULATE), and tracing reports to
// a file (--trace). Shared by kovrinctl and the program.

#include "device/Catalogue.h"
#include "device/Clock.h"
#include "device/DeviceManager.h"
#include "device/SimulatedHidBackend.h"
#include "device/SimulatedKeyboard.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kovrin {

inline constexpr const char* kSimulateVariable = "KOVRIN_SIMULATE";

// "MODEL[:MODE]": a model name, optionally followed by a colon and a mode value.
struct SimulateRequest {
    std::string model;
    std::optional<int> mode;
};

// nullopt, with the reason in *error, for an empty model or a bad mode value.
// A name that contains a colon not followed by digits is the whole model name.
std::optional<SimulateRequest> ParseSimulateRequest(std::string_view text,
                                                    std::string* error = nullptr);

// The text of KOVRIN_SIMULATE; empty when unset.
std::string SimulateTextFromEnvironment();

// The keyboard of the catalogue's model in the mode (the model's first mode
// when none is asked for); its firmware version is the one of the model's
// layout, when it names one.
std::optional<SimulatedKeyboardDescription> SimulatedKeyboardFor(const SimulateRequest& request,
                                                                 const Catalogue& catalogue,
                                                                 std::string* error = nullptr);

struct DeviceOptions {
    std::string simulate; // MODEL[:MODE]; empty: the real interfaces
    std::string trace;    // file to append the reports to; empty: none
};

struct DeviceSetup {
    std::shared_ptr<HidBackend> backend;
    std::shared_ptr<SimulatedKeyboard> keyboard; // null without --simulate
};

// Builds the backend the options ask for (hidapi when simulate is empty) and
// gives it to the manager. False, with the reason, for an unknown model or a
// trace file that cannot be opened; the manager is then left as it was.
bool ConfigureDevices(DeviceManager& manager, const DeviceOptions& options,
                      const Catalogue& catalogue, Clock& clock, DeviceSetup* setup,
                      std::string* error);

} // namespace kovrin
