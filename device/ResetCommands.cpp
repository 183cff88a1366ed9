#include "device/ResetCommands.h"

#include "device/DeviceTask.h"
#include "device/LightCommands.h"

#include <algorithm>

namespace kovrin {

OutputReport FactoryResetReport() {
    OutputReport r{};
    r[1] = CMD_FACTORY_RESET;
    r[2] = 0xFE;
    r[3] = 0xAA;
    r[4] = 0xFF;
    return r;
}

FeatureReport ResetReport() {
    FeatureReport r{};
    r[0] = kFeatureReportId;
    r[1] = CMD_RESET;
    r[2] = 0xAA;
    return r;
}

DataReport LongResetRequest() {
    DataReport d{};
    std::copy(kData64Marker.begin(), kData64Marker.end(), d.begin());
    std::fill_n(d.begin() + 4, 6, 0xAA);
    return d;
}

DataReport LongResetConfirmation() {
    DataReport d{};
    std::copy(kData64Marker.begin(), kData64Marker.end(), d.begin());
    return d;
}

ResetSent SendReset(const CommandContext& context, int device_type, int connection_mode) {
    DeviceManager::Exchange exchange = context.manager.BeginExchange();
    switch (FamilyOf(device_type)) {
    case DeviceFamily::kA:
        context.manager.WriteReport(FactoryResetReport());
        context.Pause(kResetPause);
        return ResetSent::kFactoryReset;
    case DeviceFamily::kB:
        if (LongForms(connection_mode)) {
            context.manager.WriteData64(LongResetRequest());
            context.Pause(kLongResetPause);
            context.manager.WriteData64(LongResetConfirmation());
            return ResetSent::kLongReset;
        }
        context.manager.SendFeature(ResetReport());
        context.Pause(kResetPause);
        return ResetSent::kReset;
    case DeviceFamily::kNone:
        break;
    }
    return ResetSent::kNothing;
}

std::optional<int> QueryFirmwareVersion(DeviceManager& manager) {
    int version = 0;
    if (!manager.ReadFirmwareVersion(version)) {
        return std::nullopt;
    }
    return version;
}

} // namespace kovrin
