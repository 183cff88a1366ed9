#include "app/DeviceTasks.h"

#include "device/KeyCommands.h"
#include "device/SlotSync.h"

namespace kovrin {

KeySyncReport RunSyncKeys(const TaskEnvironment& env, std::optional<int> single_key) {
    KeySyncReport report;
    report.family = FamilyOf(env.device_type);
    report.single_key = single_key;
    switch (report.family) {
    case DeviceFamily::kA: {
        // The keyboard takes the whole map at once; a single key is no different.
        const KeyMapSyncResult result = SyncKeyMap(env.context, env.selection.keys);
        report.macro_upload_stopped = result.upload.stopped;
        report.not_sent = result.skipped_keys;
        break;
    }
    case DeviceFamily::kB: {
        const SlotSyncResult result = SyncKeySlots(env.context, env.selection.keys, single_key);
        report.slot_table_read = result.slot_table_read;
        report.not_sent = result.not_sent;
        break;
    }
    case DeviceFamily::kNone:
        return report;
    }
    env.host.KeysSynced(report);
    return report;
}

LightSent RunSyncLight(const TaskEnvironment& env, bool send_mode) {
    return SendLight(env.context, env.selection.light, env.device_type, env.connection_mode,
                     send_mode);
}

KeyColoursResult RunSyncKeyColours(const TaskEnvironment& env) {
    return SendKeyColours(env.context);
}

ResetSent RunRestore(const TaskEnvironment& env) {
    const ResetSent sent = SendReset(env.context, env.device_type, env.connection_mode);
    switch (sent) {
    case ResetSent::kFactoryReset:
        env.host.ReloadMacroPage();
        env.host.ReloadProfileList();
        env.host.ReloadLightingPage(LightingReload::kKeepControls);
        break;
    case ResetSent::kReset:
    case ResetSent::kLongReset:
        env.host.ReloadKeyPage();
        env.host.ReloadProfileList();
        env.host.ReloadLightingPage(sent == ResetSent::kReset ? LightingReload::kResetControls
                                                              : LightingReload::kKeepControls);
        break;
    case ResetSent::kNothing:
        break;
    }
    return sent;
}

void RunSyncAll(const TaskEnvironment& env, std::uint32_t page_flags) {
    if (page_flags & kPageMacros) {
        env.host.ReloadMacroPage();
    }
    if (page_flags & kPageKeys) {
        if (FamilyOf(env.device_type) == DeviceFamily::kB) {
            PruneAssignments(env.context, env.selection.keys, env.device_type);
        }
        env.host.ReloadProfileList();
    }
    if (page_flags & kPageLighting) {
        env.host.ReloadLightingPage(LightingReload::kKeepControls);
        env.host.ReloadMusicLayers();
    }
}

void RunCheckFirmware(const TaskEnvironment& env) {
    // Comparing with the update server's version comes with the online update.
    env.host.FirmwareVersionRead(QueryFirmwareVersion(env.context.manager));
}

} // namespace kovrin
