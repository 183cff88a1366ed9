#include "app/ctl/CtlCommand.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceManager.h"

#include <cstdio>
#include <ostream>

namespace kovrin::ctl {

DeviceState OpenKeyboards(std::vector<ModelRecord>& modes);

// kovrinctl firmware
int RunFirmware(CtlContext& context) {
    if (!context.args.empty()) {
        context.err << "usage: kovrinctl firmware\n";
        return 2;
    }
    std::vector<ModelRecord> modes;
    const DeviceState state = OpenKeyboards(modes);
    if (!state.device_present) {
        context.err << "kovrinctl: no supported keyboard found\n";
        return 1;
    }
    DeviceManager& manager = DeviceManager::Instance();
    int version = 0;
    if (!manager.ReadFirmwareVersion(version)) {
        const std::string reason = manager.LastErrorText();
        context.err << "kovrinctl: cannot read the firmware version"
                    << (reason.empty() ? std::string() : ": " + reason) << '\n';
        return 1;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(version));
    context.out << text << '\n';
    return 0;
}

} // namespace kovrin::ctl
