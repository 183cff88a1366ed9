#include "app/ctl/CtlCommand.h"
#include "device/Catalogue.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceManager.h"

#include <cstdio>
#include <ostream>
#include <string>

namespace kovrin::ctl {

namespace {

std::string Hex(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*x", digits, value);
    return buffer;
}

// "Kovrin Bolt 104 mode 0 (USB cable)"
std::string ModeName(const Catalogue& catalogue, const ModelRecord& mode) {
    std::string model = mode.name;
    for (const ModelRecord& m : catalogue.models) {
        if (m.device_type == mode.device_type && m.layout_name == mode.layout_name) {
            model = m.name;
            break;
        }
    }
    std::string text = model + " mode " + std::to_string(mode.mode);
    if (!mode.description.empty()) {
        text += " (" + mode.description + ")";
    }
    return text;
}

const char* OutcomeText(DiscoveredInterface::Outcome outcome) {
    switch (outcome) {
    case DiscoveredInterface::Outcome::kUnsupported:
        return "not supported";
    case DiscoveredInterface::Outcome::kOpenFailed:
        return "cannot be opened";
    case DiscoveredInterface::Outcome::kEntry:
        return "command collection";
    case DiscoveredInterface::Outcome::kSecondHandle:
        return "second handle";
    case DiscoveredInterface::Outcome::kClosed:
        return "opened and closed";
    }
    return "";
}

} // namespace

// Gives the manager the catalogue's ids and opens the keyboards, as the
// program does at start.
DeviceState OpenKeyboards(std::vector<ModelRecord>& modes) {
    DeviceManager& manager = DeviceManager::Instance();
    const Catalogue& catalogue = CatalogueOfRun();
    for (const SupportedDevice& device : catalogue.supported) {
        manager.AddSupported(device);
    }
    modes = catalogue.modes;
    return ApplyDeviceState(manager, OpenDevices(manager, modes));
}

// kovrinctl devices
int RunDevices(CtlContext& context) {
    if (!context.args.empty()) {
        context.err << "usage: kovrinctl devices\n";
        return 2;
    }
    std::vector<ModelRecord> modes;
    const DeviceState state = OpenKeyboards(modes);
    DeviceManager& manager = DeviceManager::Instance();
    const Catalogue& catalogue = CatalogueOfRun();
    std::ostream& out = context.out;

    const std::vector<DiscoveredInterface> found = manager.LastEnumeration();
    out << "HID interfaces: " << found.size() << '\n';
    for (const DiscoveredInterface& d : found) {
        const HidInterfaceInfo& info = d.info;
        out << "  " << info.path << "  " << Hex(info.vendor_id, 4) << ':' << Hex(info.product_id, 4)
            << "  release " << Hex(info.release_number, 4) << "  interface "
            << info.interface_number << "  usages";
        for (const HidUsage& u : info.usages) {
            out << ' ' << Hex(u.page, 4) << '/' << Hex(u.usage, 4);
        }
        for (const ModelRecord& mode : catalogue.modes) {
            if (mode.vendor_id == info.vendor_id && mode.product_id == info.product_id) {
                out << "  [" << ModeName(catalogue, mode) << ']';
                break;
            }
        }
        out << "  " << OutcomeText(d.outcome);
        if (!d.error.empty()) {
            out << " (" << d.error << ')';
        }
        out << '\n';
    }

    const std::vector<DeviceEntryInfo> entries = manager.AllEntries();
    out << "Entries: " << entries.size() << '\n';
    for (const DeviceEntryInfo& e : entries) {
        out << "  " << e.index << "  " << e.path << "  " << Hex(e.vendor_id, 4) << ':'
            << Hex(e.product_id, 4) << "  device type " << e.device_type << "  mode " << e.mode
            << '\n';
    }
    out << "Second handle: "
        << (manager.HasSecondHandle() ? manager.SecondHandlePath() : std::string("none")) << '\n';
    out << "Present modes:";
    bool any = false;
    for (const ModelRecord& mode : modes) {
        if (mode.present) {
            out << (any ? ", " : " ") << ModeName(catalogue, mode);
            any = true;
        }
    }
    out << (any ? "" : " none") << '\n';
    if (const auto current = manager.CurrentEntry()) {
        out << "Command handle: " << current->path << '\n';
    } else {
        out << "Command handle: none\n";
    }
    out << "Selected device type: " << state.selected_type << '\n';
    out << "Connection mode: " << state.connection_mode << '\n';
    return 0;
}

} // namespace kovrin::ctl
