#pragma once
// The actions of the worker's device tasks, run after the gate let them
// through. Each reads what it sends from the store at the moment it runs.

#include "app/WorkerHost.h"
#include "device/ColourCommands.h"
#include "device/LightCommands.h"
#include "device/ResetCommands.h"

#include <cstdint>
#include <optional>

namespace kovrin {

struct TaskEnvironment {
    CommandContext context;
    WorkerHost& host;
    CommandSelection selection;
    // Device type of the commands (the loaded layout's); its family chooses
    // the protocol.
    int device_type = 0;
    int connection_mode = 0;
};

// TASK_SYNC_KEYS: macro upload and key map (family A) or the slot sync
// (family B), the whole layer or one key; the result goes to the host.
KeySyncReport RunSyncKeys(const TaskEnvironment& env, std::optional<int> single_key);
// TASK_SYNC_LIGHT. On family A, send_mode chooses the mode command.
LightSent RunSyncLight(const TaskEnvironment& env, bool send_mode);
// TASK_SYNC_KEY_COLORS.
KeyColoursResult RunSyncKeyColours(const TaskEnvironment& env);
// TASK_RESTORE: the reset of the family, then the page reloads.
ResetSent RunRestore(const TaskEnvironment& env);
// TASK_SYNC_ALL, by the layout's page flags: macro page; pruning (family B),
// profile list and key page; lighting page and music layers.
void RunSyncAll(const TaskEnvironment& env, std::uint32_t page_flags);
// TASK_CHECK_FIRMWARE: the keyboard's version, handed to the host.
void RunCheckFirmware(const TaskEnvironment& env);

} // namespace kovrin
