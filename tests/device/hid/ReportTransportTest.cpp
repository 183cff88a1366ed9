// The report primitives, byte-exact against the simulated keyboard on a
// virtual clock: lengths, pauses, retries and what each one returns.

#include "device/TracingHidBackend.h"
#include "tests/device/hid/HidTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

namespace kovrin::test {
namespace {

using std::chrono::milliseconds;

class ReportTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        SimulatedKeyboardDescription board = TestKeyboard(201, 0x0201);
        for (int i = 0; i < 28; ++i) {
            board.slot_table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(0x40 + i);
        }
        keyboard_ = rig_.Attach(board);
        rig_.Open(201);
    }
    void Faults(const SimulatedFaults& faults) { keyboard_->SetFaults(faults); }
    std::vector<milliseconds> Sleeps() const {
        std::vector<milliseconds> sleeps;
        for (const auto& s : rig_.clock.Sleeps()) {
            sleeps.push_back(s.length);
        }
        return sleeps;
    }
    std::vector<Clock::Duration> Times() const {
        std::vector<Clock::Duration> times;
        for (const auto& r : keyboard_->Reports()) {
            times.push_back(r.at);
        }
        return times;
    }

    Rig rig_;
    DeviceManager& manager_ = rig_.manager;
    std::shared_ptr<SimulatedKeyboard> keyboard_;
};

TEST_F(ReportTransportTest, WithoutAHandleNothingIsSent) {
    manager_.CloseAll();
    const Bytes feature = Feature({7, 0xFD});
    Bytes table(28, 0);
    int version = 0;
    EXPECT_FALSE(manager_.SendFeature(feature));
    EXPECT_FALSE(manager_.SendFeatureChecked(feature));
    EXPECT_EQ(manager_.TrySendFeatureChecked(feature), std::optional<bool>(false));
    EXPECT_FALSE(manager_.ReadSlotTable(table));
    EXPECT_FALSE(manager_.ReadFirmwareVersion(version));
    EXPECT_FALSE(manager_.WriteReport(Output({0, 0x8B})));
    EXPECT_FALSE(manager_.WriteReportAux(Output({0, 0xF1})));
    EXPECT_FALSE(manager_.WriteData64(Bytes(64, 0xBB)));
    EXPECT_TRUE(keyboard_->Reports().empty());
    EXPECT_TRUE(rig_.clock.Sleeps().empty());
}

TEST_F(ReportTransportTest, SendFeatureSendsEightBytesAfterItsPauseAndStillReturnsFalse) {
    const Bytes report = Report({7, 0xF7, 1, 2, 3, 4, 5, 6, 0xEE, 0xEE}, 10);
    const Bytes before = report;
    EXPECT_FALSE(manager_.SendFeature(report));
    EXPECT_EQ(report, before);
    const auto reports = keyboard_->Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].ok);
    EXPECT_EQ(reports[0].bytes, Feature({7, 0xF7, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(reports[0].at, milliseconds(16));
    EXPECT_EQ(Sleeps(), (std::vector<milliseconds>{milliseconds(16)}));
    EXPECT_TRUE(keyboard_->LightB());
}

TEST_F(ReportTransportTest, SendFeatureCheckedHasNoPauseAndTellsTheResult) {
    const Bytes music = Feature({7, 0x23, 0x45, 0x67, 0x89, 1, 0, 77});
    EXPECT_TRUE(manager_.SendFeatureChecked(music));
    SimulatedFaults faults;
    faults.fail_set_feature = {1, -1};
    Faults(faults);
    EXPECT_FALSE(manager_.SendFeatureChecked(music));
    EXPECT_EQ(manager_.LastErrorText(), "feature report not accepted");
    EXPECT_TRUE(rig_.clock.Sleeps().empty());
    ASSERT_EQ(keyboard_->MusicLevels().size(), 1u);
    EXPECT_EQ(keyboard_->MusicLevels()[0].level, 77);
}

TEST_F(ReportTransportTest, ReadSlotTableReadsFourRepliesSixteenMillisecondsApart) {
    Bytes table(28, 0);
    table[0] = 7;
    table[1] = 0xFB;
    table[2] = 0x01;
    ASSERT_TRUE(manager_.ReadSlotTable(table));
    const auto slots = keyboard_->SlotTable();
    EXPECT_EQ(table, Bytes(slots.begin(), slots.end()));
    EXPECT_EQ(Times(),
              (std::vector<Clock::Duration>{milliseconds(0), milliseconds(16), milliseconds(32),
                                            milliseconds(48), milliseconds(64)}));
    const auto reports = keyboard_->Reports();
    EXPECT_EQ(reports[0].bytes, Feature({7, 0xFB, 1}));
    EXPECT_EQ(reports[1].bytes, Report({7, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46}, 8));
    EXPECT_TRUE(keyboard_->Violations().empty());
}

struct SlotReadCase {
    const char* name;
    SimulatedFaults faults;
    std::size_t reports; // reports the keyboard saw
    unsigned good_parts; // bit k: 7-byte part k was read
};

SimulatedFaults With(FaultCount SimulatedFaults::*field, FaultCount value) {
    SimulatedFaults f;
    f.*field = value;
    return f;
}

class ReadSlotTableFailures : public ReportTransportTest,
                              public ::testing::WithParamInterface<SlotReadCase> {};

// A failed read must not look like success: the prune step would take the
// untouched bytes for free slots and delete every key assignment.
TEST_P(ReadSlotTableFailures, ReturnFalseAndKeepTheUnreadBytes) {
    Faults(GetParam().faults);
    Bytes table = Feature({7, 0xFB, 1});
    table.resize(28, 0);
    const Bytes before = table;
    EXPECT_FALSE(manager_.ReadSlotTable(table));
    EXPECT_EQ(keyboard_->Reports().size(), GetParam().reports);
    const auto slots = keyboard_->SlotTable();
    for (int part = 0; part < 4; ++part) {
        for (int i = 7 * part; i < 7 * part + 7; ++i) {
            const auto at = static_cast<std::size_t>(i);
            EXPECT_EQ(table[at], (GetParam().good_parts >> part) & 1 ? slots[at] : before[at])
                << "byte " << i;
        }
    }
}

SimulatedFaults UnplugAfter(int reports) {
    SimulatedFaults f;
    f.unplug_after_reports = reports;
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadSlotTableFailures,
    ::testing::Values(
        SlotReadCase{"QueryRefused", With(&SimulatedFaults::fail_set_feature, {1, -1}), 1, 0},
        SlotReadCase{"UnpluggedAfterFirstRead", UnplugAfter(2), 5, 0b0001},
        SlotReadCase{"EveryReadFails",
                     With(&SimulatedFaults::fail_get_feature, {FaultCount::kAlways, -1}), 5, 0},
        SlotReadCase{"ShortFirstReply", With(&SimulatedFaults::short_reply, {1, -1}), 5, 0b1110},
        SlotReadCase{"ForeignFirstReply", With(&SimulatedFaults::foreign_reply, {1, -1}), 5,
                     0b1110}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(ReportTransportTest, FirmwareVersionIsReadOnceAfterTwoPauses) {
    int version = 0;
    ASSERT_TRUE(manager_.ReadFirmwareVersion(version));
    EXPECT_EQ(version, 0x0105);
    const auto reports = keyboard_->Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].bytes, Feature({7, 0xFD}));
    EXPECT_EQ(Times(), (std::vector<Clock::Duration>{milliseconds(16), milliseconds(32)}));
    EXPECT_TRUE(keyboard_->Violations().empty());
}

TEST_F(ReportTransportTest, FirmwareVersionReadsOnceMoreAfterAForeignReply) {
    SimulatedFaults faults;
    faults.foreign_reply = {1, -1};
    Faults(faults);
    int version = 0;
    ASSERT_TRUE(manager_.ReadFirmwareVersion(version));
    EXPECT_EQ(version, 0x0105);
    EXPECT_EQ(keyboard_->Reports().size(), 3u);
    EXPECT_EQ(Sleeps(), std::vector<milliseconds>(3, milliseconds(16)));
}

struct VersionCase {
    const char* name;
    SimulatedFaults faults;
    std::size_t reports;
};

class FirmwareVersionFailures : public ReportTransportTest,
                                public ::testing::WithParamInterface<VersionCase> {};

// Without a real reply the version must not read as 0xFD00 (the query's own
// bytes), which would start a firmware download.
TEST_P(FirmwareVersionFailures, ReturnFalseAndLeaveTheVersionAlone) {
    Faults(GetParam().faults);
    int version = -5;
    EXPECT_FALSE(manager_.ReadFirmwareVersion(version));
    EXPECT_EQ(version, -5);
    EXPECT_EQ(keyboard_->Reports().size(), GetParam().reports);
}

SimulatedFaults ShortReplies(std::size_t length) {
    SimulatedFaults f;
    f.short_reply = {FaultCount::kAlways, -1};
    f.short_reply_length = length;
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FirmwareVersionFailures,
    ::testing::Values(
        VersionCase{"QueryRefused", With(&SimulatedFaults::fail_set_feature, {1, -1}), 1},
        VersionCase{"ReadsFail",
                    With(&SimulatedFaults::fail_get_feature, {FaultCount::kAlways, -1}), 3},
        VersionCase{"ForeignReplies",
                    With(&SimulatedFaults::foreign_reply, {FaultCount::kAlways, -1}), 3},
        VersionCase{"TwoByteReplies", ShortReplies(2), 3},
        VersionCase{"UnpluggedAfterQuery", UnplugAfter(1), 3}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(ReportTransportTest, WriteReportRetriesOnceAfterTenMilliseconds) {
    SimulatedFaults faults;
    faults.fail_write = {1, -1};
    Faults(faults);
    const Bytes report = Output({0, 0xBB, 0xAA, 0x99, 0x88, 0xAA, 1});
    EXPECT_TRUE(manager_.WriteReport(report));
    EXPECT_EQ(Times(), (std::vector<Clock::Duration>{milliseconds(0), milliseconds(10)}));
    const auto reports = keyboard_->Reports();
    EXPECT_EQ(reports[0].bytes, report);
    EXPECT_EQ(reports[1].bytes, report);

    faults.fail_write = {FaultCount::kAlways, -1};
    Faults(faults);
    keyboard_->ClearRecords();
    EXPECT_FALSE(manager_.WriteReport(report));
    EXPECT_EQ(keyboard_->Reports().size(), 2u);
}

TEST_F(ReportTransportTest, WriteReportAuxGoesToInterfaceThreeAndTellsTheResult) {
    const Bytes frame = Output({0, 0xF1, 60, 0, 0, 9});
    rig_.clock.SleepFor(milliseconds(1));
    EXPECT_TRUE(manager_.WriteReportAux(frame));
    ASSERT_EQ(keyboard_->Reports().size(), 1u);
    EXPECT_EQ(keyboard_->Reports()[0].interface_number, 3);

    SimulatedFaults faults;
    faults.fail_write = {FaultCount::kAlways, 3};
    Faults(faults);
    EXPECT_FALSE(manager_.WriteReportAux(frame));
    EXPECT_TRUE(manager_.WriteReport(Output({0, 0x8B, 60})));
}

TEST(ReportTransportData64Test, PrefixesReportIdZeroAndRetriesAfter32Milliseconds) {
    Rig rig;
    auto keyboard = rig.Attach(TestKeyboard(202, 0x0212, 1)); // wireless: 64-byte forms
    rig.Open(202);
    DeviceManager& manager_ = rig.manager;
    std::shared_ptr<SimulatedKeyboard>& keyboard_ = keyboard;
    SimulatedFaults faults;
    faults.fail_write = {1, -1};
    keyboard_->SetFaults(faults);
    Bytes data(64, 0);
    const Bytes head = {0xBB, 0xAA, 0x99, 0x88, 0xAA, 2, 1};
    std::copy(head.begin(), head.end(), data.begin());
    EXPECT_TRUE(manager_.WriteData64(data));
    const auto reports = keyboard_->Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1].bytes, Output({0, 0xBB, 0xAA, 0x99, 0x88, 0xAA, 2, 1}));
    EXPECT_EQ(reports[1].at - reports[0].at, milliseconds(32));
    EXPECT_TRUE(keyboard_->LightB() && keyboard_->LightB()->long_form);
    EXPECT_TRUE(keyboard_->Violations().empty());
}

TEST(ReportTransportLengthTest, LongerOutputReportsAreZeroPadded) {
    Rig rig;
    SimulatedKeyboardDescription board = TestKeyboard(201, 0x0201);
    board.interfaces[2].output_report_length = 129;
    auto keyboard = rig.Attach(board);
    rig.Open(201);
    EXPECT_TRUE(rig.manager.WriteReport(Output({0, 0x8B, 60, 0, 0, 1})));
    ASSERT_EQ(keyboard->Reports().size(), 1u);
    Bytes expected = Output({0, 0x8B, 60, 0, 0, 1});
    expected.resize(129, 0);
    EXPECT_EQ(keyboard->Reports()[0].bytes, expected);
    EXPECT_TRUE(keyboard->Violations().empty());
}

TEST_F(ReportTransportTest, MusicLevelIsDroppedWhileAnExchangeRuns) {
    SimulatedFaults faults;
    faults.stall = {1, -1};
    Faults(faults);
    Bytes table = Feature({7, 0xFB, 1});
    table.resize(28);
    std::thread worker([&] { manager_.ReadSlotTable(table); });
    ASSERT_TRUE(keyboard_->WaitForStall(milliseconds(10000)));
    const Bytes music = Feature({7, 0x23, 0x45, 0x67, 0x89, 1, 0, 5});
    std::optional<bool> sent = true;
    std::thread audio([&] { sent = manager_.TrySendFeatureChecked(music); });
    audio.join();
    EXPECT_EQ(sent, std::nullopt);
    keyboard_->ReleaseStall();
    worker.join();
    EXPECT_TRUE(keyboard_->MusicLevels().empty());
    EXPECT_EQ(manager_.TrySendFeatureChecked(music), std::optional<bool>(true));
    EXPECT_TRUE(keyboard_->Violations().empty());
}

TEST_F(ReportTransportTest, ExchangeKeepsOtherThreadsOutOfASequence) {
    Bytes block(168, 0);
    block[0] = 1;
    block[1] = 4;
    block[2] = 0x2C;
    std::thread other;
    {
        DeviceManager::Exchange exchange = manager_.BeginExchange();
        for (int j = 0; j < 28; ++j) {
            Bytes r = Feature({7, j == 0 ? 0xF1 : 0x00});
            std::copy_n(block.begin() + 6 * j, 6, r.begin() + 2);
            manager_.SendFeature(r);
            if (j == 0) {
                other = std::thread([&] {
                    manager_.SendFeatureChecked(Feature({7, 0x23, 0x45, 0x67, 0x89, 1, 0, 5}));
                });
            }
        }
    }
    other.join();
    EXPECT_EQ(keyboard_->GetMacroSlot(4).key_code, 0x2C);
    EXPECT_EQ(keyboard_->MusicLevels().size(), 1u);
    EXPECT_TRUE(keyboard_->Violations().empty());
}

TEST_F(ReportTransportTest, TraceShowsEveryExchangeOnItsHandle) {
    auto stream = std::make_unique<std::ostringstream>();
    std::ostringstream* text = stream.get();
    auto sink = std::make_shared<TraceSink>(std::move(stream), rig_.clock);
    manager_.SetBackend(std::make_shared<TracingHidBackend>(rig_.backend, sink));
    rig_.Open(201);
    int version = 0;
    ASSERT_TRUE(manager_.ReadFirmwareVersion(version));
    rig_.clock.Advance(std::chrono::microseconds(500));
    manager_.WriteReportAux(Output({0, 0xF1, 30, 0x2C, 1}));
    SimulatedFaults faults;
    faults.fail_write = {FaultCount::kAlways, 2};
    Faults(faults);
    manager_.WriteReport(Output({0, 0x88, 0, 3}));
    std::string zeros;
    for (int i = 0; i < 60; ++i) {
        zeros += " 00";
    }
    EXPECT_EQ(text->str(), "16.000 cmd set 07 fd 00 00 00 00 00 00\n"
                           "32.000 cmd get 07 01 05 00 00 00 00 00\n"
                           "32.500 aux write 00 f1 1e 2c 01" +
                               zeros +
                               "\n"
                               "32.500 cmd write 00 88 00 03 00" +
                               zeros + " failed\n42.500 cmd write 00 88 00 03 00" + zeros +
                               " failed\n");
}

} // namespace
} // namespace kovrin::test
