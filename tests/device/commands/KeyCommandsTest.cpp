// Family A key map and macro upload, byte by byte against the simulated
// keyboard on a virtual clock.

#include "device/KeyCommands.h"
#include "device/KeyUsage.h"

#include "CommandTestSupport.h"

#include <gtest/gtest.h>

namespace kovrin::test {
namespace {

constexpr int kPress = 2;
constexpr int kRelease = 3;
constexpr int kDelayRecord = 1;

// n records alternating press and release of 'A'..'Z'.
std::vector<std::tuple<int, int, int>> Steps(int n) {
    std::vector<std::tuple<int, int, int>> steps;
    for (int i = 0; i < n; ++i) {
        steps.emplace_back(i % 2 == 0 ? kPress : kRelease, 'A' + (i / 2) % 26, 10 + i);
    }
    return steps;
}

std::vector<MacroRecordRow> Records(int n) {
    std::vector<MacroRecordRow> rows;
    int index = 0;
    for (const auto& [type, value, delay] : Steps(n)) {
        MacroRecordRow r;
        r.type = type;
        r.value = value;
        r.delay_time = delay;
        r.record_index = index++;
        rows.push_back(r);
    }
    return rows;
}

class FamilyAKeysTest : public ::testing::Test {
protected:
    CommandRig rig{110};
    KeySelection selection{1, 0};

    std::vector<Bytes> SentWith(std::uint8_t command) const {
        std::vector<Bytes> out;
        for (const Bytes& b : rig.Sent()) {
            if (b.size() > 1 && b[1] == command) {
                out.push_back(b);
            }
        }
        return out;
    }
    void TearDown() override { rig.ExpectNoViolations(); }
};

TEST_F(FamilyAKeysTest, MacroChunkLengthsFollowTheStepCount) {
    struct Case {
        int records;
        std::vector<int> declared;
    };
    const Case cases[] = {
        {18, {57}}, {19, {59, 1}}, {39, {59, 59, 2}}, {58, {59, 59, 59, 0}}, {0, {3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.records);
        const auto reports = MacroReports(7, 1, Records(c.records));
        ASSERT_EQ(reports.size(), c.declared.size());
        for (std::size_t k = 0; k < reports.size(); ++k) {
            EXPECT_EQ(reports[k][1], 0x8E);
            EXPECT_EQ(reports[k][2], c.declared[k]);
            EXPECT_EQ(reports[k][3] | (reports[k][4] << 8), 59 * static_cast<int>(k));
            EXPECT_EQ(reports[k][5], 7);
        }
        EXPECT_EQ(reports[0][7], c.records); // B[1], the step count

        // The same macro through the sender reaches the keyboard whole.
        const Clock::Duration start = rig.Mark();
        rig.database.DeleteProfileKeys(1);
        rig.AddAssignment(0x04, kTypeMacro, rig.AddMacro(1, Steps(c.records)));
        const MacroUploadResult result = UploadMacros(rig.Context(), selection);
        EXPECT_FALSE(result.stopped);
        EXPECT_EQ(result.numbers, (MacroNumbers{{0x04, 0}}));
        const auto macro = rig.keyboard->Macro(0);
        ASSERT_TRUE(macro);
        EXPECT_EQ(macro->chunks, static_cast<int>(c.declared.size()));
        EXPECT_EQ(macro->declared_length, 3 * (c.records + 1));
        EXPECT_EQ(macro->StepCount(), c.records);
        // 10 ms, then 100 ms before every chunk.
        const std::vector<double> gaps = rig.Gaps(start);
        ASSERT_EQ(gaps.size(), c.declared.size());
        EXPECT_EQ(gaps[0], 110.0);
        for (std::size_t k = 1; k < gaps.size(); ++k) {
            EXPECT_EQ(gaps[k], 100.0);
        }
    }
}

TEST_F(FamilyAKeysTest, MacroStepBytes) {
    // Press with 300 ms, a delay record (skipped but counted), release with
    // 1000 ms; steps are written one after another.
    const auto reports =
        MacroReports(2, 0,
                     std::vector<MacroRecordRow>{{0, 0, kPress, 0, 'Q', 300, ""},
                                                 {0, 0, kDelayRecord, 1, 0, 50, ""},
                                                 {0, 0, kRelease, 2, 0xA2, 1000, ""}});
    ASSERT_EQ(reports.size(), 1u);
    const Bytes expected =
        Lead({0x00, 0x8E, 12, 0, 0, 2, /*B*/ 1, 3, 0x14, 0x2C, 0x81, 0xE0, 0xE8, 0x03}, 65);
    EXPECT_EQ(ToBytes(reports[0]), expected);

    // Play count: clamped to 1..255, 1 without a macro row.
    EXPECT_EQ(MacroReports(0, 300, {})[0][6], 255);
    EXPECT_EQ(MacroReports(0, -4, {})[0][6], 1);
    EXPECT_EQ(MacroReports(0, std::nullopt, {})[0][6], 1);
    EXPECT_EQ(MacroReports(0, 9, {})[0][6], 9);
}

TEST_F(FamilyAKeysTest, LongMacroIsCutAt255StepsAndStaysInsideItsBuffer) {
    const auto reports = MacroReports(0, 1, Records(400));
    // 255 steps: 768 bytes declared in 14 chunks, the last declaring 1.
    ASSERT_EQ(reports.size(), 14u);
    EXPECT_EQ(reports[0][7], 255);
    EXPECT_EQ(reports[13][2], 1);
    EXPECT_EQ(reports[13][3] | (reports[13][4] << 8), 767);
    // Step 254, the last, starts at buffer offset 764 (chunk 12, byte 56);
    // buffer byte 767 after it is zero.
    EXPECT_EQ(reports[12][6 + 56], KeyUsage('A' + (254 / 2) % 26));
    EXPECT_EQ(reports[13][6], 0);

    rig.AddAssignment(0x05, kTypeMacro, rig.AddMacro(2, Steps(400)));
    UploadMacros(rig.Context(), selection);
    const auto macro = rig.keyboard->Macro(0);
    ASSERT_TRUE(macro);
    EXPECT_EQ(macro->StepCount(), 255);
    EXPECT_EQ(macro->declared_length, 768);
}

TEST_F(FamilyAKeysTest, ShortcutMacroReport) {
    EXPECT_EQ(ToBytes(ShortcutMacroReport(3, 2)),
              Lead({0x00, 0x8E, 12,   0,    0,    3,    1,    4,    0xE0, 0x64,
                    0x80, 0x06, 0x64, 0x80, 0x06, 0x64, 0x00, 0xE0, 0x64, 0x00},
                   65));
    EXPECT_EQ(ToBytes(ShortcutMacroReport(1, 13)),
              Lead({0x00, 0x8E, 18,   0,    0,    1,    1,    6,    0xE2, 0x64, 0x80, 0x2C, 0x64,
                    0x80, 0x1B, 0x64, 0x80, 0x1B, 0x64, 0x00, 0x2C, 0x64, 0x00, 0xE2, 0x64, 0x00},
                   65));
    // Outside 1..15: a macro without steps.
    EXPECT_EQ(ToBytes(ShortcutMacroReport(4, 16)), Lead({0x00, 0x8E, 0, 0, 0, 4, 1, 0}, 65));
}

TEST_F(FamilyAKeysTest, KeyMapTableAndItsReports) {
    // Indices up to 179 fit the 360-byte table; 180 and an unknown code do not.
    rig.layout = MakeLayout(110, {{0x04, 0},
                                  {0x05, 1},
                                  {0x06, 2},
                                  {0x07, 3},
                                  {0x08, 4},
                                  {0x09, 5},
                                  {0x0A, 109},
                                  {0x0B, 179},
                                  {0x0C, 180}});
    const int macro = rig.AddMacro(1, Steps(2));
    rig.AddAssignment(0x04, kTypeKeyFunction, 0x1234);
    rig.AddAssignment(0x05, kTypeDisabled, 1);
    rig.AddAssignment(0x06, kTypeMacro, macro);
    rig.AddAssignment(0x07, kTypeShortcut, 5);
    rig.AddAssignment(0x08, 8, 3); // launch a program: nothing on the keyboard
    rig.AddAssignment(0x0A, kTypeKeyFunction, 0xE9);
    rig.AddAssignment(0x0B, kTypeKeyFunction, 0x3A);
    rig.AddAssignment(0x0C, kTypeKeyFunction, 0x3B);
    rig.AddAssignment(0x33, kTypeMacro, macro);      // not in the layout
    rig.AddAssignment(0x04, kTypeDisabled, 1, 2);    // another profile
    rig.AddAssignment(0x09, kTypeDisabled, 1, 1, 1); // another layer

    const Clock::Duration start = rig.Mark();
    const KeyMapSyncResult result = SyncKeyMap(rig.Context(), selection);
    EXPECT_EQ(result.upload.numbers, (MacroNumbers{{0x06, 0}, {0x07, 1}}));
    EXPECT_EQ(result.skipped_keys, (std::vector<int>{0x33, 0x0C}));

    KeyMapTable expected{};
    expected[0] = 0x34;
    expected[1] = 0x20;
    expected[3] = 0x20;
    expected[4] = 0x00;
    expected[5] = 0x40;
    expected[6] = 0x01;
    expected[7] = 0x40;
    expected[218] = 0xE9;
    expected[219] = 0x20;
    expected[358] = 0x3A;
    expected[359] = 0x20;
    std::vector<KeyAssignment> rows;
    rig.database.LoadKeyAssignments(1, 0, rows);
    EXPECT_EQ(BuildKeyMap(rows, rig.layout.get(), result.upload.numbers).table, expected);
    // The four reports carry the first 220 bytes of the table.
    KeyMapTable received = expected;
    received[358] = 0;
    received[359] = 0;
    EXPECT_EQ(rig.keyboard->KeyMapTable(), received);

    const std::vector<Bytes> maps = SentWith(0x8D);
    ASSERT_EQ(maps.size(), 4u);
    const int lengths[] = {60, 60, 60, 40};
    for (std::size_t k = 0; k < 4; ++k) {
        Bytes r = Lead({0x00, 0x8D, lengths[k], static_cast<int>(60 * k), 0}, 65);
        std::copy_n(expected.begin() + static_cast<long>(60 * k), 60, r.begin() + 5);
        EXPECT_EQ(maps[k], r) << k;
    }
    // Macro (110 ms), shortcut (10 ms), then 20 + 10 ms and 10 ms apart.
    EXPECT_EQ(rig.Gaps(start), (std::vector<double>{110, 10, 30, 10, 10, 10}));
}

TEST_F(FamilyAKeysTest, FailedMacroChunkStopsTheUploadButNotTheKeyMap) {
    rig.AddAssignment(0x04, kTypeMacro, rig.AddMacro(1, Steps(30)));
    rig.AddAssignment(0x05, kTypeMacro, rig.AddMacro(1, Steps(2)));
    rig.AddAssignment(0x06, kTypeShortcut, 1);
    rig.AddAssignment(0x07, kTypeKeyFunction, 0x2A);
    // The first chunk of the first macro fails, and so does its retry.
    SimulatedFaults faults;
    faults.fail_write = {2, -1};
    rig.keyboard->SetFaults(faults);
    const Clock::Duration start = rig.Mark();
    const KeyMapSyncResult result = SyncKeyMap(rig.Context(), selection);
    EXPECT_TRUE(result.upload.stopped);
    EXPECT_TRUE(result.upload.numbers.empty());
    // Nothing after the failed macro, then the whole key map anyway.
    const std::vector<Bytes> sent = rig.Sent();
    ASSERT_EQ(sent.size(), 2u + 4u);
    EXPECT_EQ(sent[0], sent[1]);
    EXPECT_EQ(sent[0][1], 0x8E);
    for (std::size_t i = 2; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i][1], 0x8D);
    }
    EXPECT_EQ(rig.Gaps(start), (std::vector<double>{110, 10, 30, 10, 10, 10}));
    KeyMapTable expected{};
    expected[6] = 0x2A;
    expected[7] = 0x20;
    EXPECT_EQ(rig.keyboard->KeyMapTable(), expected);
    EXPECT_FALSE(rig.keyboard->Macro(0));
}

TEST_F(FamilyAKeysTest, RoundTripKeyboardHoldsWhatTheStoreHolds) {
    const int m1 = rig.AddMacro(3, {{kPress, 'K', 25}, {kRelease, 'K', 40}, {kPress, 0x0D, 5}});
    const int m2 = rig.AddMacro(1, Steps(45));
    rig.AddAssignment(0x10, kTypeMacro, m1);
    rig.AddAssignment(0x11, kTypeShortcut, 9);
    rig.AddAssignment(0x12, kTypeMacro, m2);
    rig.AddAssignment(0x13, kTypeKeyFunction, 0x51);
    SyncKeyMap(rig.Context(), selection);

    const KeyMapTable map = rig.keyboard->KeyMapTable();
    std::vector<KeyAssignment> rows;
    rig.database.LoadKeyAssignments(1, 0, rows);
    ASSERT_EQ(rows.size(), 4u);
    for (const KeyAssignment& row : rows) {
        SCOPED_TRACE(row.key_code);
        const std::size_t at = 2 * static_cast<std::size_t>(*rig.layout->KeyIndexOf(row.key_code));
        if (row.macro_type == kTypeKeyFunction) {
            EXPECT_EQ(map[at], row.macro_value);
            EXPECT_EQ(map[at + 1], 0x20);
            continue;
        }
        ASSERT_EQ(map[at + 1], 0x40);
        const auto macro = rig.keyboard->Macro(map[at]);
        ASSERT_TRUE(macro);
        if (row.macro_type == kTypeShortcut) {
            ASSERT_EQ(macro->StepCount(), 4);
            EXPECT_EQ(macro->Step(1)[0], 0x07); // windows + d
            continue;
        }
        int plays = 0;
        rig.database.GetMacroPlayTimes(row.macro_value, plays);
        EXPECT_EQ(macro->PlayCount(), plays);
        std::vector<MacroRecordRow> records;
        rig.database.LoadMacroRecords(row.macro_value, records);
        ASSERT_EQ(macro->StepCount(), static_cast<int>(records.size()));
        for (std::size_t i = 0; i < records.size(); ++i) {
            const auto step = macro->Step(static_cast<int>(i));
            const bool release = records[i].type == kRelease;
            EXPECT_EQ(step[0], KeyUsage(records[i].value));
            EXPECT_EQ(step[1] & 0x7F, records[i].delay_time & 0x7F);
            EXPECT_EQ((step[2] & 0x80) != 0, !release);
            EXPECT_EQ((step[1] & 0x80) != 0, release);
        }
    }
}

TEST_F(FamilyAKeysTest, WithoutAKeyboardNothingIsSentAndTheUploadStops) {
    rig.AddAssignment(0x04, kTypeMacro, rig.AddMacro(1, Steps(2)));
    rig.keyboard->Unplug();
    rig.manager.CloseAll();
    rig.Mark();
    const KeyMapSyncResult result = SyncKeyMap(rig.Context(), selection);
    EXPECT_TRUE(result.upload.stopped);
    EXPECT_TRUE(rig.Reports().empty());
}

} // namespace
} // namespace kovrin::test
