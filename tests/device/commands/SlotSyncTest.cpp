// Family B slot table, key and macro slots, full and single-key sync and
// pruning, against the simulated keyboard on a virtual clock.

#include "device/SlotSync.h"
#include "device/KeyUsage.h"

#include "CommandTestSupport.h"

#include <gtest/gtest.h>

namespace kovrin::test {
namespace {

constexpr int kPress = 2;
constexpr int kRelease = 3;

SimulatedKeyboardDescription
KeyboardWithSlots(std::initializer_list<std::pair<int, int>> macro_slots,
                  std::initializer_list<std::pair<int, int>> function_slots) {
    SimulatedKeyboardDescription board;
    board.model_name = "Test";
    board.device_type = 201;
    board.vendor_id = kTestVendor;
    board.product_id = 0x0201;
    for (const auto& [slot, key] : macro_slots) {
        board.slot_table[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(key);
    }
    for (const auto& [slot, key] : function_slots) {
        board.slot_table[static_cast<std::size_t>(13 + slot)] = static_cast<std::uint8_t>(key);
    }
    return board;
}

class FamilyBSlotsTest : public ::testing::Test {
protected:
    explicit FamilyBSlotsTest(SimulatedKeyboardDescription board = KeyboardWithSlots({}, {}))
        : rig(board) {}
    void TearDown() override { rig.ExpectNoViolations(); }

    // The slot commands sent: (kind, slot, key) of each key slot report and
    // each completed macro block.
    std::vector<SlotWrite> SlotCommands() const {
        std::vector<SlotWrite> out;
        for (const Bytes& b : rig.Sent()) {
            if (b[1] == 0xFA) {
                out.push_back({SlotKind::kFunction, b[3], b[4], 0, b[6]});
            } else if (b[1] == 0xF1) {
                out.push_back({SlotKind::kMacro, b[3], b[4], 0, 0});
            }
        }
        return out;
    }

    CommandRig rig;
    KeySelection selection{1, 0};
};

TEST(SlotEncodingTest, KeySlotReport) {
    struct Case {
        int slot, key, type, value;
        std::optional<Bytes> report;
    };
    const Case cases[] = {
        {3, 0x04, 2, 0xE9, Lead({7, 0xFA, 1, 3, 0x04, 1, 0xE9, 1}, 8)},
        {10, 0x2C, 12, 0x1F4, Lead({7, 0xFA, 1, 10, 0x2C, 1, 0xF4, 1}, 8)},
        {1, 0x05, 1, 1, Lead({7, 0xFA, 1, 1, 0x05, 1, 1, 1}, 8)},
        // A value of 0 or less, or no row at all, clears the slot.
        {4, 0x04, 2, 0, Lead({7, 0xFA, 1, 4, 0, 1, 0, 1}, 8)},
        {4, 0x04, 2, -3, Lead({7, 0xFA, 1, 4, 0, 1, 0, 1}, 8)},
        {6, 0, 0, 0, Lead({7, 0xFA, 1, 6, 0, 1, 0, 1}, 8)},
        // Macro slot kinds and the default function send nothing.
        {2, 0x04, 3, 5, std::nullopt},
        {2, 0x04, 7, 1, std::nullopt},
        {2, 0x04, 0, 1, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto report = KeySlotReport(c.slot, c.key, c.type, c.value);
        ASSERT_EQ(report.has_value(), c.report.has_value()) << c.slot << " " << c.type;
        if (report) {
            EXPECT_EQ(ToBytes(*report), *c.report);
        }
    }
}

TEST(SlotEncodingTest, MacroSlotBlocks) {
    // A shortcut: key, play once, 0x01 for a press and 0x81 for a release.
    MacroBlock block = MacroSlotBlock(4, 0x1E, kTypeShortcut, 8, std::nullopt, {});
    EXPECT_EQ(ToBytes(block), Lead({1, 4, 0x1E, 1, 0xE3, 0x01, 0x0F, 0x01, 0x0F, 0x81, 0xE3, 0x81},
                                   kMacroBlockSize));
    // Outside 1..15 the shortcut has no steps.
    EXPECT_EQ(ToBytes(MacroSlotBlock(4, 0x1E, kTypeShortcut, 0, std::nullopt, {})),
              Lead({1, 4, 0x1E, 1}, kMacroBlockSize));

    // A recorded macro: play count, then usage and delay byte per press or
    // release; delay records are left out.
    MacroRow macro;
    macro.play_times = 260;
    const std::vector<MacroRecordRow> records = {
        {0, 0, kPress, 0, 'S', 100, ""},
        {0, 0, 1, 1, 0, 500, ""},
        {0, 0, kRelease, 2, 'S', 2000, ""},
        {0, 0, kPress, 3, 0x70, 5, ""},
    };
    block = MacroSlotBlock(13, 0x16, kTypeMacro, 9, macro, records);
    EXPECT_EQ(ToBytes(block),
              Lead({1, 13, 0x16, 0x04, 0x16, 0x0A, 0x16, 0xD4, 0x3A, 0x01}, kMacroBlockSize));

    // A missing macro, or a clear, keeps only the marker and the slot.
    EXPECT_EQ(ToBytes(MacroSlotBlock(2, 0x16, kTypeMacro, 9, std::nullopt, records)),
              Lead({1, 2}, kMacroBlockSize));
    EXPECT_EQ(ToBytes(MacroSlotBlock(2, 0x16, 0, 0, std::nullopt, {})),
              Lead({1, 2}, kMacroBlockSize));

    // The block ends after 82 steps: no byte beyond its 168.
    std::vector<MacroRecordRow> many(100, MacroRecordRow{0, 0, kPress, 0, 'A', 20, ""});
    block = MacroSlotBlock(1, 0x04, kTypeMacro, 1, macro, many);
    for (std::size_t i = 4; i < kMacroBlockSize; i += 2) {
        EXPECT_EQ(block[i], 0x04);
        EXPECT_EQ(block[i + 1], 0x02);
    }

    // 28 reports of six bytes; the first carries the command.
    const auto reports = MacroSlotReports(block);
    EXPECT_EQ(ToBytes(reports[0]), Lead({7, 0xF1, 1, 1, 0x04, 4, 0x04, 0x02}, 8));
    EXPECT_EQ(ToBytes(reports[1]), Lead({7, 0x00, 0x04, 0x02, 0x04, 0x02, 0x04, 0x02}, 8));
    EXPECT_EQ(ToBytes(reports[27]), Lead({7, 0x00, 0x04, 0x02, 0x04, 0x02, 0x04, 0x02}, 8));
}

class FamilyBOccupiedTest : public FamilyBSlotsTest {
protected:
    FamilyBOccupiedTest() : FamilyBSlotsTest(KeyboardWithSlots({{2, 0x30}}, {{5, 0x31}})) {}
};

TEST_F(FamilyBOccupiedTest, FullSyncClearsThenWritesInRowOrderWithItsPauses) {
    const int macro = rig.AddMacro(2, {{kPress, 'B', 30}, {kRelease, 'B', 40}});
    rig.AddAssignment(0x04, kTypeKeyFunction, 0xE9);
    rig.AddAssignment(0x05, kTypeMacro, macro);
    rig.AddAssignment(0x06, kTypeDisabled, 1);
    rig.AddAssignment(0x07, kTypeShortcut, 3);
    rig.AddAssignment(0x08, kTypeDefault, 1);           // default function: no slot
    rig.AddAssignment(0x09, kTypeKeyFunction, 0x3A, 2); // another profile
    const Clock::Duration start = rig.Mark();

    const SlotSyncResult result = SyncKeySlots(rig.Context(), selection, std::nullopt);
    EXPECT_TRUE(result.slot_table_read);
    EXPECT_TRUE(result.not_sent.empty());
    const std::vector<SlotWrite> expected = {
        {SlotKind::kMacro, 2, 0, 0, 0},
        {SlotKind::kFunction, 5, 0, 0, 0},
        {SlotKind::kFunction, 1, 0x04, kTypeKeyFunction, 0xE9},
        {SlotKind::kMacro, 1, 0x05, kTypeMacro, macro},
        {SlotKind::kFunction, 2, 0x06, kTypeDisabled, 1},
        {SlotKind::kMacro, 2, 0x07, kTypeShortcut, 3},
    };
    EXPECT_EQ(result.writes, expected);
    EXPECT_EQ(SlotCommands(), (std::vector<SlotWrite>{
                                  {SlotKind::kMacro, 2, 0, 0, 0},
                                  {SlotKind::kFunction, 5, 0, 0, 0},
                                  {SlotKind::kFunction, 1, 0x04, 0, 0xE9},
                                  {SlotKind::kMacro, 1, 0x05, 0, 0},
                                  {SlotKind::kFunction, 2, 0x06, 0, 1},
                                  {SlotKind::kMacro, 2, 0x07, 0, 0},
                              }));

    // The query, four reads 16 ms apart; then 16 ms before each slot command
    // and 16 ms before each of its feature reports.
    const std::vector<double> gaps = rig.Gaps(start);
    std::vector<double> want = {0, 16, 16, 16, 16};
    const auto add_macro = [&] {
        want.push_back(32);
        want.insert(want.end(), 27, 16);
    };
    add_macro();
    want.push_back(32);
    want.push_back(32);
    add_macro();
    want.push_back(32);
    add_macro();
    EXPECT_EQ(gaps, want);

    // The keyboard holds what the store holds.
    EXPECT_EQ(rig.keyboard->GetFunctionSlot(1).key_code, 0x04);
    EXPECT_EQ(rig.keyboard->GetFunctionSlot(1).function, 0xE9);
    EXPECT_EQ(rig.keyboard->GetFunctionSlot(2).key_code, 0x06);
    EXPECT_EQ(rig.keyboard->GetFunctionSlot(5).key_code, 0);
    const MacroSlot m1 = rig.keyboard->GetMacroSlot(1);
    EXPECT_EQ(m1.key_code, 0x05);
    EXPECT_EQ(m1.play_count, 2);
    EXPECT_EQ(m1.StepList(), (std::vector<std::pair<std::uint8_t, std::uint8_t>>{
                                 {0x05, DelayByte(0, 30)}, {0x05, DelayByte(1, 40)}}));
    const MacroSlot m2 = rig.keyboard->GetMacroSlot(2);
    EXPECT_EQ(m2.key_code, 0x07);
    EXPECT_EQ(m2.StepList().size(), 4u);
    EXPECT_EQ(m2.StepList()[1], (std::pair<std::uint8_t, std::uint8_t>{0x1B, 0x01}));
}

TEST_F(FamilyBSlotsTest, FullSyncNeverPassesTheLastSlotAndSaysWhatWasNotSent) {
    // 14 macro assignments and 11 function assignments on one layer.
    const int macro = rig.AddMacro(1, {{kPress, 'A', 10}});
    for (int i = 0; i < 14; ++i) {
        rig.AddAssignment(0x04 + i, i % 2 == 0 ? kTypeMacro : kTypeShortcut,
                          i % 2 == 0 ? macro : 1);
    }
    for (int i = 0; i < 11; ++i) {
        rig.AddAssignment(0x20 + i, kTypeKeyFunction, 0x50 + i);
    }
    rig.AddAssignment(0x120, kTypeKeyFunction, 0x40); // no one-byte key code
    const SlotSyncResult result = SyncKeySlots(rig.Context(), selection, std::nullopt);
    EXPECT_EQ(result.not_sent, (std::vector<int>{0x04 + 13, 0x20 + 10, 0x120}));
    ASSERT_EQ(result.writes.size(), 23u);
    for (int s = 1; s <= 13; ++s) {
        EXPECT_EQ(rig.keyboard->GetMacroSlot(s).key_code, 0x04 + s - 1);
    }
    for (int s = 1; s <= 10; ++s) {
        EXPECT_EQ(rig.keyboard->GetFunctionSlot(s).key_code, 0x20 + s - 1);
        EXPECT_EQ(rig.keyboard->GetFunctionSlot(s).function, 0x50 + s - 1);
    }
    // TearDown: no slot-range violation.
}

TEST_F(FamilyBSlotsTest, LostFirstReplyLeavesNoPhantomSlotsToClear) {
    rig.AddAssignment(0x04, kTypeKeyFunction, 0x29);
    SimulatedFaults faults;
    faults.fail_get_feature = {1, -1};
    rig.keyboard->SetFaults(faults);
    const SlotSyncResult result = SyncKeySlots(rig.Context(), selection, std::nullopt);
    EXPECT_FALSE(result.slot_table_read);
    // The query bytes left in the buffer are not taken for slot keys.
    EXPECT_EQ(result.writes,
              (std::vector<SlotWrite>{{SlotKind::kFunction, 1, 0x04, kTypeKeyFunction, 0x29}}));
    EXPECT_EQ(rig.keyboard->GetFunctionSlot(1).key_code, 0x04);
}

class FamilyBSingleKeyTest : public FamilyBSlotsTest {
protected:
    // Macro slots 1 and 3 and function slots 1 and 2 are taken.
    FamilyBSingleKeyTest()
        : FamilyBSlotsTest(KeyboardWithSlots({{1, 0x10}, {3, 0x11}}, {{1, 0x12}, {2, 0x13}})) {}

    SlotSyncResult Sync(int key) {
        start = rig.Mark();
        return SyncKeySlots(rig.Context(), selection, key);
    }
    Clock::Duration start{};
};

TEST_F(FamilyBSingleKeyTest, KeyGoesToItsOwnSlotOrTheFirstFreeOne) {
    struct Case {
        const char* name;
        int key, type, value;
        std::vector<SlotWrite> sent; // as SlotCommands() shows them
    };
    const int macro = rig.AddMacro(1, {{kPress, 'A', 10}});
    const Case cases[] = {
        {"function already in slot 2",
         0x13,
         kTypeKeyFunction,
         0xEA,
         {{SlotKind::kFunction, 2, 0x13, 0, 0xEA}}},
        {"new function to free slot 3",
         0x14,
         kTypeDisabled,
         1,
         {{SlotKind::kFunction, 3, 0x14, 0, 1}}},
        {"macro already in slot 3", 0x11, kTypeMacro, macro, {{SlotKind::kMacro, 3, 0x11, 0, 0}}},
        {"new shortcut to free slot 2",
         0x15,
         kTypeShortcut,
         4,
         {{SlotKind::kMacro, 2, 0x15, 0, 0}}},
        // Restored (no row): the slots that hold the key are cleared.
        {"restored macro key", 0x10, kTypeDefault, 0, {{SlotKind::kMacro, 1, 0, 0, 0}}},
        {"restored function key", 0x12, kTypeDefault, 0, {{SlotKind::kFunction, 1, 0, 0, 0}}},
        {"restored key in no slot", 0x16, kTypeDefault, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.type != kTypeDefault) {
            rig.AddAssignment(c.key, c.type, c.value);
        }
        const SlotSyncResult result = Sync(c.key);
        EXPECT_TRUE(result.single_key);
        EXPECT_TRUE(result.not_sent.empty());
        EXPECT_EQ(SlotCommands(), c.sent);
        if (!c.sent.empty()) {
            // The table read, then 100 ms before the slot command.
            const std::vector<double> gaps = rig.Gaps(start);
            ASSERT_GE(gaps.size(), 6u);
            EXPECT_EQ(gaps[5], 116.0);
        }
        rig.database.DeleteKeyAssignment(1, 0, c.key);
    }
}

TEST_F(FamilyBSingleKeyTest, MacroKeyGivenAProgramLeavesItsMacroSlot) {
    // Key 0x10 holds macro slot 1 and is given a program (kind 8): its macro
    // slot is cleared and, as it holds no function slot, nothing else.
    rig.AddAssignment(0x10, 8, 4);
    Sync(0x10);
    EXPECT_EQ(SlotCommands(), (std::vector<SlotWrite>{{SlotKind::kMacro, 1, 0, 0, 0}}));
    EXPECT_EQ(rig.keyboard->GetMacroSlot(1).key_code, 0);
}

class FamilyBFullTablesTest : public FamilyBSlotsTest {
protected:
    static SimulatedKeyboardDescription FullTablesKeyboard() {
        SimulatedKeyboardDescription board = KeyboardWithSlots({}, {});
        for (int s = 1; s <= 23; ++s) {
            board.slot_table[static_cast<std::size_t>(s)] = static_cast<std::uint8_t>(0x40 + s);
        }
        return board;
    }
    FamilyBFullTablesTest() : FamilyBSlotsTest(FullTablesKeyboard()) {}
};

TEST_F(FamilyBFullTablesTest, FullTableSendsNothingInsteadOfTakingSlotOne) {
    const int macro = rig.AddMacro(1, {{kPress, 'A', 10}});
    rig.AddAssignment(0x04, kTypeKeyFunction, 0x29);
    rig.AddAssignment(0x05, kTypeMacro, macro);
    for (int key : {0x04, 0x05}) {
        rig.Mark();
        const SlotSyncResult result = SyncKeySlots(rig.Context(), selection, key);
        EXPECT_TRUE(result.slot_table_read);
        EXPECT_EQ(result.not_sent, std::vector<int>{key});
        EXPECT_TRUE(SlotCommands().empty());
    }
    EXPECT_EQ(rig.keyboard->GetFunctionSlot(1).key_code, 0x4E);
    EXPECT_EQ(rig.keyboard->GetMacroSlot(1).key_code, 0x41);
    // A key already in a full table still gets its own slot.
    rig.AddAssignment(0x4F, kTypeKeyFunction, 0x2A);
    rig.Mark();
    SyncKeySlots(rig.Context(), selection, 0x4F);
    EXPECT_EQ(SlotCommands(), (std::vector<SlotWrite>{{SlotKind::kFunction, 2, 0x4F, 0, 0x2A}}));
}

TEST_F(FamilyBSingleKeyTest, UnreadSlotTableSendsNothing) {
    rig.AddAssignment(0x20, kTypeKeyFunction, 0x29);
    SimulatedFaults faults;
    faults.fail_get_feature = {1, -1};
    rig.keyboard->SetFaults(faults);
    const SlotSyncResult result = Sync(0x20);
    EXPECT_FALSE(result.slot_table_read);
    EXPECT_EQ(result.not_sent, std::vector<int>{0x20});
    EXPECT_TRUE(SlotCommands().empty());
}

TEST_F(FamilyBSingleKeyTest, PruneDeletesOnlyWhatTheKeyboardDoesNotHold) {
    for (int key : {0x10, 0x11, 0x12, 0x13, 0x20, 0x21}) {
        rig.AddAssignment(key, kTypeKeyFunction, 0x29);
    }
    rig.AddAssignment(0x22, kTypeKeyFunction, 0x29, 1, 1); // another layer stays

    // A failed read deletes nothing.
    SimulatedFaults faults;
    faults.fail_get_feature = {1, -1};
    rig.keyboard->SetFaults(faults);
    PruneResult result = PruneAssignments(rig.Context(), selection, 201);
    EXPECT_FALSE(result.slot_table_read);
    EXPECT_TRUE(result.deleted_keys.empty());
    std::vector<KeyAssignment> rows;
    EXPECT_EQ(rig.database.LoadKeyAssignments(1, 0, rows), 6);

    // Device types outside 200..300 read nothing.
    rig.Mark();
    EXPECT_FALSE(PruneAssignments(rig.Context(), selection, 199).slot_table_read);
    EXPECT_TRUE(rig.Reports().empty());

    rig.keyboard->SetFaults({});
    result = PruneAssignments(rig.Context(), selection, 201);
    EXPECT_TRUE(result.slot_table_read);
    EXPECT_EQ(result.deleted_keys, (std::vector<int>{0x20, 0x21}));
    EXPECT_EQ(rig.database.LoadKeyAssignments(1, 0, rows), 4);
    EXPECT_EQ(rig.database.LoadKeyAssignments(1, 1, rows), 1);
}

TEST_F(FamilyBSlotsTest, RoundTripSlotsHoldWhatTheStoreHolds) {
    const int m1 = rig.AddMacro(
        5, {{kPress, 0xA0, 12}, {kPress, 'K', 700}, {kRelease, 'K', 4000}, {kRelease, 0xA0, 0}});
    const int m2 = rig.AddMacro(1, {{kPress, '7', 250}, {kRelease, '7', 1600}});
    rig.AddAssignment(0x04, kTypeMacro, m1);
    rig.AddAssignment(0x05, kTypeKeyFunction, 0xB5);
    rig.AddAssignment(0x06, kTypeMacro, m2);
    rig.AddAssignment(0x07, 9, 12);
    rig.AddAssignment(0x08, kTypeShortcut, 14);
    SyncKeySlots(rig.Context(), selection, std::nullopt);

    std::vector<KeyAssignment> rows;
    rig.database.LoadKeyAssignments(1, 0, rows);
    int macro_slot = 1;
    int function_slot = 1;
    for (const KeyAssignment& row : rows) {
        SCOPED_TRACE(row.key_code);
        if (!UsesMacroSlot(row.macro_type)) {
            const FunctionSlot slot = rig.keyboard->GetFunctionSlot(function_slot++);
            EXPECT_EQ(slot.key_code, row.key_code);
            EXPECT_EQ(slot.function, row.macro_value);
            continue;
        }
        const MacroSlot slot = rig.keyboard->GetMacroSlot(macro_slot++);
        EXPECT_EQ(slot.key_code, row.key_code);
        std::vector<std::pair<std::uint8_t, std::uint8_t>> steps;
        if (row.macro_type == kTypeShortcut) {
            EXPECT_EQ(slot.play_count, 1);
            for (const ShortcutStep& s : ShortcutSequence(row.macro_value)) {
                steps.emplace_back(s.usage, s.release ? 0x81 : 0x01);
            }
        } else {
            MacroRow macro;
            ASSERT_TRUE(rig.database.GetMacro(row.macro_value, macro));
            EXPECT_EQ(slot.play_count, macro.play_times);
            std::vector<MacroRecordRow> records;
            rig.database.LoadMacroRecords(row.macro_value, records);
            for (const MacroRecordRow& r : records) {
                steps.emplace_back(KeyUsage(r.value), DelayByte(r.type == kRelease, r.delay_time));
            }
        }
        EXPECT_EQ(slot.StepList(), steps);
    }
    EXPECT_EQ(rig.keyboard->SlotTable()[14 + 2], 0); // function slot 3 free
}

} // namespace
} // namespace kovrin::test
