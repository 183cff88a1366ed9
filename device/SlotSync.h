#pragma once
// Family B key commands: the keyboard's slot table (CMD_READ_SLOTS), its
// function slots (CMD_KEY_SLOT) and macro slots (CMD_MACRO_SLOT), the full
// and single-key sync built on them, and the pruning of assignments the
// keyboard does not hold.

#include "device/CommandReports.h"
#include "store/StoreRows.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace kovrin {

inline constexpr int kMacroSlots = 13;
inline constexpr int kFunctionSlots = 10;
inline constexpr std::size_t kMacroBlockSize = 168;
inline constexpr int kMacroSlotReports = 28;

// The 28 bytes of CMD_READ_SLOTS: bytes 1..13 hold the key code of macro
// slots 1..13, bytes 14..23 those of function slots 1..10; 0 is free.
struct SlotTable {
    std::array<std::uint8_t, DeviceManager::kSlotTableLength> bytes{};

    int MacroSlotKey(int slot) const;    // slot 1..13; 0 outside
    int FunctionSlotKey(int slot) const; // slot 1..10; 0 outside
    std::optional<int> MacroSlotOf(int key_code) const;
    std::optional<int> FunctionSlotOf(int key_code) const;
    std::optional<int> FreeMacroSlot() const;
    std::optional<int> FreeFunctionSlot() const;
};

struct SlotTableRead {
    SlotTable table;
    bool complete = false; // the query and all four replies arrived
};

// CMD_READ_SLOTS. The bytes of replies that did not arrive stay 0.
SlotTableRead ReadSlotTable(DeviceManager& manager);

// CMD_KEY_SLOT for function slot `slot` and key `key_code` with the key's
// function (type, value; 0, 0 when it has no row): a function of value 1 or
// more is set, a value of 0 or less clears the slot, and a macro, shortcut or
// default function of value 1 or more sends nothing (nullopt).
std::optional<FeatureReport> KeySlotReport(int slot, int key_code, int type, int value);

using MacroBlock = std::array<std::uint8_t, kMacroBlockSize>;

// The block of macro slot `slot`: a shortcut (7) or a recorded macro (3)
// for the key, two bytes per step (usage, DelayByte) up to the end of the
// block; anything else, or a macro without its row, clears the slot.
MacroBlock MacroSlotBlock(int slot, int key_code, int type, int value,
                          const std::optional<MacroRow>& macro,
                          std::span<const MacroRecordRow> records);
// 28 reports of six block bytes each, the first one marked CMD_MACRO_SLOT.
std::array<FeatureReport, kMacroSlotReports> MacroSlotReports(const MacroBlock& block);

enum class SlotKind { kMacro, kFunction };

// One slot command. Clearing writes key 0 with type and value 0.
struct SlotWrite {
    SlotKind kind = SlotKind::kFunction;
    int slot = 0;
    int key_code = 0;
    int type = 0;
    int value = 0;
    bool operator==(const SlotWrite&) const = default;
};

struct SlotPlan {
    std::vector<SlotWrite> writes;
    // Keys whose function did not reach the keyboard: no slot was left, or
    // the key code does not fit the one-byte field.
    std::vector<int> not_sent;
};

// Full write: clear every occupied slot, then give the layer's assignments
// macro slots and function slots in row order. Assignments beyond the 13th
// macro slot or the 10th function slot are not sent.
SlotPlan PlanFullSync(const SlotTable& table, std::span<const KeyAssignment> rows);
// One key: its function or macro goes to the slot that already holds the key,
// else to the first free one; with no free slot nothing is sent (the key is
// listed in not_sent) rather than taking another key's slot.
SlotPlan PlanSingleKeySync(const SlotTable& table, int key_code,
                           const std::optional<KeyAssignment>& row);

// Senders of one slot command; each reads what it needs from the store.
void SendKeySlot(const CommandContext& context, const SlotWrite& write);
void SendMacroSlot(const CommandContext& context, const SlotWrite& write);

struct SlotSyncResult {
    bool slot_table_read = false;
    bool single_key = false;
    std::vector<SlotWrite> writes; // as sent, in order
    std::vector<int> not_sent;
};

// TASK_SYNC_KEYS on family B, in one exchange. With single_key, only that
// key; when the slot table cannot be read a single-key sync sends nothing.
SlotSyncResult SyncKeySlots(const CommandContext& context, const KeySelection& selection,
                            std::optional<int> single_key);

struct PruneResult {
    bool slot_table_read = false;
    std::vector<int> deleted_keys;
};

// Deletes the layer's assignments whose key the keyboard holds in no slot,
// for device types 200 to 300; nothing is deleted unless the whole table was
// read.
PruneResult PruneAssignments(const CommandContext& context, const KeySelection& selection,
                             int device_type);

} // namespace kovrin
