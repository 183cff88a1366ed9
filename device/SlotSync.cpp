#include "device/SlotSync.h"

#include "device/KeyUsage.h"

#include <algorithm>
#include <set>

namespace kovrin {

namespace {

constexpr int kFirstFunctionByte = 14;
constexpr int kPressStep = 2;
constexpr int kReleaseStep = 3;
constexpr int kShortcutStepDelay = 10;

std::optional<int> FindSlot(const SlotTable& table, int slots, int (SlotTable::*key_of)(int) const,
                            int key_code) {
    for (int slot = 1; slot <= slots; ++slot) {
        if ((table.*key_of)(slot) == key_code) {
            return slot;
        }
    }
    return std::nullopt;
}

bool FitsKeyByte(int key_code) {
    return key_code >= 1 && key_code <= 0xFF;
}

} // namespace

int SlotTable::MacroSlotKey(int slot) const {
    return slot >= 1 && slot <= kMacroSlots ? bytes[static_cast<std::size_t>(slot)] : 0;
}

int SlotTable::FunctionSlotKey(int slot) const {
    return slot >= 1 && slot <= kFunctionSlots
               ? bytes[static_cast<std::size_t>(kFirstFunctionByte + slot - 1)]
               : 0;
}

std::optional<int> SlotTable::MacroSlotOf(int key_code) const {
    if (key_code == 0) {
        return std::nullopt;
    }
    return FindSlot(*this, kMacroSlots, &SlotTable::MacroSlotKey, key_code);
}

std::optional<int> SlotTable::FunctionSlotOf(int key_code) const {
    if (key_code == 0) {
        return std::nullopt;
    }
    return FindSlot(*this, kFunctionSlots, &SlotTable::FunctionSlotKey, key_code);
}

std::optional<int> SlotTable::FreeMacroSlot() const {
    return FindSlot(*this, kMacroSlots, &SlotTable::MacroSlotKey, 0);
}

std::optional<int> SlotTable::FreeFunctionSlot() const {
    return FindSlot(*this, kFunctionSlots, &SlotTable::FunctionSlotKey, 0);
}

SlotTableRead ReadSlotTable(DeviceManager& manager) {
    std::array<std::uint8_t, DeviceManager::kSlotTableLength> buffer{};
    buffer[0] = kFeatureReportId;
    buffer[1] = CMD_READ_SLOTS;
    buffer[2] = 0x01;
    SlotTableRead read;
    // The query goes out from the buffer; the replies overwrite it.
    const bool complete = manager.ReadSlotTable(buffer);
    if (!complete && buffer[0] == kFeatureReportId && buffer[1] == CMD_READ_SLOTS &&
        buffer[2] == 0x01) {
        // The first reply did not arrive: those bytes are still the query.
        std::fill_n(buffer.begin(), 7, 0);
    }
    read.table.bytes = buffer;
    read.complete = complete;
    return read;
}

std::optional<FeatureReport> KeySlotReport(int slot, int key_code, int type, int value) {
    FeatureReport r{};
    r[0] = kFeatureReportId;
    r[1] = CMD_KEY_SLOT;
    r[2] = 0x01;
    r[3] = LowByte(slot);
    r[5] = 0x01;
    r[7] = 0x01;
    if (value >= 1) {
        if (type == kTypeDefault || UsesMacroSlot(type)) {
            return std::nullopt;
        }
        r[4] = LowByte(key_code);
        r[6] = LowByte(value);
    }
    return r;
}

MacroBlock MacroSlotBlock(int slot, int key_code, int type, int value,
                          const std::optional<MacroRow>& macro,
                          std::span<const MacroRecordRow> records) {
    MacroBlock block{};
    block[0] = 0x01;
    block[1] = LowByte(slot);
    std::size_t at = 4;
    const auto put = [&](std::uint8_t usage, std::uint8_t delay) {
        if (at + 1 < block.size()) {
            block[at] = usage;
            block[at + 1] = delay;
            at += 2;
        }
    };
    if (type == kTypeShortcut) {
        block[2] = LowByte(key_code);
        block[3] = 0x01;
        for (const ShortcutStep& step : ShortcutSequence(value)) {
            put(step.usage, DelayByte(step.release ? 1 : 0, kShortcutStepDelay));
        }
    } else if (type == kTypeMacro && macro) {
        block[2] = LowByte(key_code);
        block[3] = LowByte(macro->play_times);
        for (const MacroRecordRow& record : records) {
            if (record.type == kPressStep) {
                put(KeyUsage(record.value), DelayByte(0, record.delay_time));
            } else if (record.type == kReleaseStep) {
                put(KeyUsage(record.value), DelayByte(1, record.delay_time));
            }
        }
    }
    return block;
}

std::array<FeatureReport, kMacroSlotReports> MacroSlotReports(const MacroBlock& block) {
    std::array<FeatureReport, kMacroSlotReports> reports{};
    for (std::size_t j = 0; j < reports.size(); ++j) {
        FeatureReport& r = reports[j];
        r[0] = kFeatureReportId;
        r[1] = j == 0 ? CMD_MACRO_SLOT : CMD_MACRO_SLOT_DATA;
        std::copy_n(block.begin() + static_cast<long>(6 * j), 6, r.begin() + 2);
    }
    return reports;
}

SlotPlan PlanFullSync(const SlotTable& table, std::span<const KeyAssignment> rows) {
    SlotPlan plan;
    for (int slot = 1; slot <= kMacroSlots; ++slot) {
        if (table.MacroSlotKey(slot) != 0) {
            plan.writes.push_back({SlotKind::kMacro, slot, 0, 0, 0});
        }
    }
    for (int slot = 1; slot <= kFunctionSlots; ++slot) {
        if (table.FunctionSlotKey(slot) != 0) {
            plan.writes.push_back({SlotKind::kFunction, slot, 0, 0, 0});
        }
    }
    int macro_slot = 1;
    int function_slot = 1;
    for (const KeyAssignment& row : rows) {
        if (row.macro_type == kTypeDefault) {
            continue;
        }
        const bool macro = UsesMacroSlot(row.macro_type);
        int& next = macro ? macro_slot : function_slot;
        const int last = macro ? kMacroSlots : kFunctionSlots;
        if (!FitsKeyByte(row.key_code) || next > last) {
            plan.not_sent.push_back(row.key_code);
            continue;
        }
        plan.writes.push_back({macro ? SlotKind::kMacro : SlotKind::kFunction, next++, row.key_code,
                               row.macro_type, row.macro_value});
    }
    return plan;
}

SlotPlan PlanSingleKeySync(const SlotTable& table, int key_code,
                           const std::optional<KeyAssignment>& row) {
    SlotPlan plan;
    if (!FitsKeyByte(key_code)) {
        plan.not_sent.push_back(key_code);
        return plan;
    }
    const int type = row ? row->macro_type : kTypeDefault;
    const int value = row ? row->macro_value : 0;
    if (type == kTypeDisabled || type == kTypeKeyFunction) {
        const std::optional<int> slot = table.FunctionSlotOf(key_code)
                                            ? table.FunctionSlotOf(key_code)
                                            : table.FreeFunctionSlot();
        if (!slot) {
            plan.not_sent.push_back(key_code);
            return plan;
        }
        plan.writes.push_back({SlotKind::kFunction, *slot, key_code, type, value});
        return plan;
    }
    if (UsesMacroSlot(type)) {
        const std::optional<int> slot =
            table.MacroSlotOf(key_code) ? table.MacroSlotOf(key_code) : table.FreeMacroSlot();
        if (!slot) {
            plan.not_sent.push_back(key_code);
            return plan;
        }
        plan.writes.push_back({SlotKind::kMacro, *slot, key_code, type, value});
        return plan;
    }
    if (const std::optional<int> slot = table.MacroSlotOf(key_code)) {
        plan.writes.push_back({SlotKind::kMacro, *slot, key_code, type, value});
    }
    if (const std::optional<int> slot = table.FunctionSlotOf(key_code)) {
        plan.writes.push_back({SlotKind::kFunction, *slot, key_code, type, value});
    }
    return plan;
}

void SendKeySlot(const CommandContext& context, const SlotWrite& write) {
    if (const std::optional<FeatureReport> report =
            KeySlotReport(write.slot, write.key_code, write.type, write.value)) {
        context.manager.SendFeature(*report);
    }
}

void SendMacroSlot(const CommandContext& context, const SlotWrite& write) {
    std::optional<MacroRow> macro;
    std::vector<MacroRecordRow> records;
    if (write.type == kTypeMacro) {
        MacroRow row;
        if (context.database.GetMacro(write.value, row)) {
            macro = row;
            context.database.LoadMacroRecords(write.value, records);
        }
    }
    const MacroBlock block =
        MacroSlotBlock(write.slot, write.key_code, write.type, write.value, macro, records);
    DeviceManager::Exchange exchange = context.manager.BeginExchange();
    for (const FeatureReport& report : MacroSlotReports(block)) {
        context.manager.SendFeature(report);
    }
}

SlotSyncResult SyncKeySlots(const CommandContext& context, const KeySelection& selection,
                            std::optional<int> single_key) {
    SlotSyncResult result;
    result.single_key = single_key.has_value();
    DeviceManager::Exchange exchange = context.manager.BeginExchange();
    const SlotTableRead read = ReadSlotTable(context.manager);
    result.slot_table_read = read.complete;

    SlotPlan plan;
    if (single_key) {
        if (!read.complete) {
            // Without the table any slot might belong to another key.
            result.not_sent.push_back(*single_key);
            return result;
        }
        context.Pause(kSingleKeyPause);
        KeyAssignment row;
        std::optional<KeyAssignment> found;
        if (context.database.GetKeyAssignment(selection.profile, selection.fn_layer, *single_key,
                                              row)) {
            found = row;
        }
        plan = PlanSingleKeySync(read.table, *single_key, found);
    } else {
        std::vector<KeyAssignment> rows;
        context.database.LoadKeyAssignments(selection.profile, selection.fn_layer, rows);
        plan = PlanFullSync(read.table, rows);
    }

    for (const SlotWrite& write : plan.writes) {
        if (!single_key) {
            context.Pause(kSlotPause);
        }
        if (write.kind == SlotKind::kMacro) {
            SendMacroSlot(context, write);
        } else {
            SendKeySlot(context, write);
        }
    }
    result.writes = std::move(plan.writes);
    result.not_sent = std::move(plan.not_sent);
    return result;
}

PruneResult PruneAssignments(const CommandContext& context, const KeySelection& selection,
                             int device_type) {
    PruneResult result;
    if (device_type < 200 || device_type > 300) {
        return result;
    }
    const SlotTableRead read = ReadSlotTable(context.manager);
    result.slot_table_read = read.complete;
    if (!read.complete) {
        return result;
    }
    std::set<int> held;
    for (int i = 1; i <= kMacroSlots + kFunctionSlots; ++i) {
        held.insert(read.table.bytes[static_cast<std::size_t>(i)]);
    }
    std::vector<KeyAssignment> rows;
    context.database.LoadKeyAssignments(selection.profile, selection.fn_layer, rows);
    for (const KeyAssignment& row : rows) {
        if (held.count(row.key_code) == 0 &&
            context.database.DeleteKeyAssignment(selection.profile, selection.fn_layer,
                                                 row.key_code)) {
            result.deleted_keys.push_back(row.key_code);
        }
    }
    return result;
}

} // namespace kovrin
