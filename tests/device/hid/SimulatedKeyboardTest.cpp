// The simulated keyboard on its own: what it stores, what it answers, which
// protocol violations it notices and which faults it injects.

#include "tests/device/hid/HidTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace kovrin::test {
namespace {

using std::chrono::milliseconds;

class SimulatedKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override { Make(201); }

    void Make(int device_type, int mode = 0) {
        keyboard_ =
            std::make_shared<SimulatedKeyboard>(TestKeyboard(device_type, 0x0201, mode), clock_);
        backend_ = std::make_shared<SimulatedHidBackend>();
        backend_->Attach(keyboard_);
        cmd_ = backend_->Open(keyboard_->PathOf(2));
        aux_ = backend_->Open(keyboard_->PathOf(3));
        ASSERT_TRUE(cmd_ && aux_);
    }

    // A feature report after the pause every feature command needs.
    int Set(const Bytes& report) {
        clock_.SleepFor(milliseconds(16));
        return cmd_->SendFeature(report);
    }
    Bytes Get() {
        clock_.SleepFor(milliseconds(16));
        Bytes reply = Feature({7});
        const int n = cmd_->GetFeature(reply);
        reply.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
        return reply;
    }
    Bytes ReadSlots() {
        cmd_->SendFeature(Feature({7, 0xFB, 1}));
        Bytes table;
        for (int k = 0; k < 4; ++k) {
            const Bytes reply = Get();
            EXPECT_EQ(reply.size(), 8u);
            table.insert(table.end(), reply.begin() + 1, reply.end());
        }
        return table;
    }
    // A 168-byte macro slot block as 28 feature reports.
    void WriteMacroSlot(const Bytes& block) {
        for (int j = 0; j < 28; ++j) {
            Bytes r = Feature({7, j == 0 ? 0xF1 : 0x00});
            std::copy_n(block.begin() + 6 * j, 6, r.begin() + 2);
            Set(r);
        }
    }
    std::vector<ViolationKind> Kinds() const {
        std::vector<ViolationKind> kinds;
        for (const Violation& v : keyboard_->Violations()) {
            kinds.push_back(v.kind);
        }
        return kinds;
    }

    VirtualClock clock_;
    std::shared_ptr<SimulatedKeyboard> keyboard_;
    std::shared_ptr<SimulatedHidBackend> backend_;
    std::unique_ptr<HidDevice> cmd_;
    std::unique_ptr<HidDevice> aux_;
};

TEST_F(SimulatedKeyboardTest, EnumeratesItsInterfacesWithTheirUsages) {
    const std::vector<HidInterfaceInfo> list = backend_->Enumerate();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].usages, (std::vector<HidUsage>{{0x0001, 0x0006}}));
    EXPECT_EQ(list[2].path, "sim:0:2");
    EXPECT_EQ(list[2].vendor_id, kVendor);
    EXPECT_EQ(list[2].product_id, 0x0201);
    EXPECT_TRUE(IsCommandCollection(list[2]) && !IsAuxCollection(list[2]));
    EXPECT_TRUE(IsAuxCollection(list[3]));
    keyboard_->Unplug();
    EXPECT_TRUE(backend_->Enumerate().empty());
    EXPECT_EQ(cmd_->SendFeature(Feature({7, 0xFD})), -1);
    EXPECT_EQ(cmd_->LastError(), "device not connected");
}

TEST_F(SimulatedKeyboardTest, MacroSlotIsReassembledFrom28ReportsAndReadBackInTheSlotTable) {
    Bytes block(168, 0);
    block[0] = 0x01;
    block[1] = 3;    // slot
    block[2] = 0x1E; // key code
    block[3] = 2;    // play count
    const Bytes steps = {0x04, 0x0A, 0x04, 0x81, 0x05, 0x34, 0x05, 0xE5};
    std::copy(steps.begin(), steps.end(), block.begin() + 4);
    WriteMacroSlot(block);
    Set(Feature({7, 0xFA, 1, 2, 0x29, 1, 0x42, 1})); // function slot 2: key 0x29

    const MacroSlot slot = keyboard_->GetMacroSlot(3);
    EXPECT_EQ(slot.key_code, 0x1E);
    EXPECT_EQ(slot.play_count, 2);
    const std::vector<std::pair<std::uint8_t, std::uint8_t>> expected = {
        {0x04, 0x0A}, {0x04, 0x81}, {0x05, 0x34}, {0x05, 0xE5}};
    EXPECT_EQ(slot.StepList(), expected);
    EXPECT_EQ(keyboard_->GetFunctionSlot(2).key_code, 0x29);
    EXPECT_EQ(keyboard_->GetFunctionSlot(2).function, 0x42);

    const Bytes table = ReadSlots();
    Bytes expected_table(28, 0);
    expected_table[3] = 0x1E;
    expected_table[15] = 0x29;
    EXPECT_EQ(table, expected_table);

    // Clearing: a block with key code 0, a key slot with key 0.
    Bytes clear(168, 0);
    clear[0] = 0x01;
    clear[1] = 3;
    WriteMacroSlot(clear);
    Set(Feature({7, 0xFA, 1, 2, 0, 1, 0, 1}));
    EXPECT_EQ(ReadSlots(), Bytes(28, 0));
    EXPECT_TRUE(keyboard_->Violations().empty());
}

TEST_F(SimulatedKeyboardTest, FamilyBLightResetMusicAndVersion) {
    Set(Feature({7, 0xF7, 3, 1, 2, 3, 4, 5}));
    ASSERT_TRUE(keyboard_->LightB());
    EXPECT_EQ(keyboard_->LightB()->mode_index, 3);
    EXPECT_EQ(keyboard_->LightB()->preset, 5);
    EXPECT_FALSE(keyboard_->LightB()->long_form);

    cmd_->SendFeature(Feature({7, 0x23, 0x45, 0x67, 0x89, 1, 0, 200})); // no pause needed
    ASSERT_EQ(keyboard_->MusicLevels().size(), 1u);
    EXPECT_EQ(keyboard_->MusicLevels()[0].level, 200);
    Set(Feature({7, 0xFA, 1, 1, 0x29, 1, 0x42, 1}));
    Set(Feature({7, 0xF0, 0xAA}));
    EXPECT_EQ(keyboard_->Resets(), 1);
    EXPECT_EQ(keyboard_->GetFunctionSlot(1).key_code, 0);
    EXPECT_TRUE(keyboard_->Violations().empty());

    // Over a wireless link: the 64-byte forms.
    Make(202, 1);
    Bytes data = Report({0, 0xBB, 0xAA, 0x99, 0x88, 0xAA, 6, 0, 1, 2, 3, 0}, 65);
    cmd_->Write(data);
    ASSERT_TRUE(keyboard_->LightB());
    EXPECT_TRUE(keyboard_->LightB()->long_form);
    EXPECT_EQ(keyboard_->LightB()->mode_index, 6);

    Set(Feature({7, 0xFA, 1, 1, 0x29, 1, 0x42, 1}));
    cmd_->Write(Report({0, 0xBB, 0xAA, 0x99, 0x88, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, 65));
    clock_.SleepFor(milliseconds(1600));
    cmd_->Write(Report({0, 0xBB, 0xAA, 0x99, 0x88}, 65));
    EXPECT_EQ(keyboard_->Resets(), 1);
    EXPECT_EQ(keyboard_->GetFunctionSlot(1).key_code, 0);
    EXPECT_FALSE(keyboard_->LightB());

    Set(Feature({7, 0xFD}));
    EXPECT_EQ(Get(), Feature({7, 0x01, 0x05}));
    EXPECT_TRUE(keyboard_->Violations().empty());
}

TEST_F(SimulatedKeyboardTest, FamilyATablesMacrosLightAndStream) {
    Make(110);
    // Key map: four chunks of 60, 60, 60 and 40 bytes.
    for (int k = 0; k < 4; ++k) {
        Bytes r = Output({0, 0x8D, k == 3 ? 40 : 60, (60 * k) & 0xFF, (60 * k) >> 8});
        r[5] = static_cast<std::uint8_t>(k + 1);
        clock_.SleepFor(milliseconds(10));
        cmd_->Write(r);
    }
    const auto map = keyboard_->KeyMapTable();
    EXPECT_EQ(map[0], 1);
    EXPECT_EQ(map[180], 4);

    // A macro of 19 steps: 60 bytes declared in chunks of 59 and 1.
    Bytes head = Output({0, 0x8E, 59, 0, 0, 5, 1, 19, 0x04, 0x0A, 0x80});
    clock_.SleepFor(milliseconds(110));
    cmd_->Write(head);
    clock_.SleepFor(milliseconds(100));
    cmd_->Write(Output({0, 0x8E, 1, 59, 0, 5, 0x77}));
    const auto macro = keyboard_->Macro(5);
    ASSERT_TRUE(macro);
    EXPECT_EQ(macro->chunks, 2);
    EXPECT_EQ(macro->declared_length, 60);
    EXPECT_EQ(macro->PlayCount(), 1);
    EXPECT_EQ(macro->StepCount(), 19);
    EXPECT_EQ(macro->Step(0), (std::array<std::uint8_t, 3>{0x04, 0x0A, 0x80}));
    EXPECT_EQ(macro->data[59], 0x77);

    cmd_->Write(Output({0, 0x88, 0, 7}));
    cmd_->Write(Output({0, 0x89, 0, 0x25 | 0x40, 0x10, 0x20, 0x30, 4}));
    const FamilyALight light = keyboard_->LightA();
    EXPECT_EQ(light.mode, 7);
    EXPECT_EQ(light.direction, 2);
    EXPECT_TRUE(light.colorful);
    EXPECT_EQ(light.speed, 5);
    EXPECT_EQ(light.colour, 0x302010u);
    EXPECT_EQ(light.brightness, 4);

    cmd_->Write(Output({0, 0xF0, 0xF4, 0x01}));
    for (int k = 0; k < 6; ++k) {
        Bytes r = Output({0, 0xF1, k == 5 ? 30 : 60, (60 * k) & 0xFF, (60 * k) >> 8, 0xAB});
        clock_.SleepFor(milliseconds(1));
        aux_->Write(r);
    }
    EXPECT_TRUE(keyboard_->StreamEnabled());
    EXPECT_EQ(keyboard_->StreamFramesCompleted(), 1);
    EXPECT_EQ(keyboard_->StreamFrame()[300], 0xAB);

    Set(Feature({7, 0xFF, 0xFF, 2, 3, 4, 0, 1}));
    ASSERT_TRUE(keyboard_->PresetA());
    EXPECT_EQ(keyboard_->PresetA()->preset, 1);
    cmd_->Write(Output({0, 0xFF, 0xFE, 0xAA, 0xFF}));
    EXPECT_EQ(keyboard_->FactoryResets(), 1);
    EXPECT_FALSE(keyboard_->Macro(5));
    EXPECT_TRUE(keyboard_->Violations().empty());
}

class SimulatedKeyboardViolations;

struct ViolationCase {
    const char* name;
    std::function<void(SimulatedKeyboardViolations&)> act;
    ViolationKind expected;
    int mode = 1; // connection mode of the keyboard
};

class SimulatedKeyboardViolations : public SimulatedKeyboardTest,
                                    public ::testing::WithParamInterface<ViolationCase> {
public:
    // Access for the cases.
    int DoSet(const Bytes& r) { return Set(r); }
    Bytes DoGet() { return Get(); }
    HidDevice& Cmd() { return *cmd_; }
    HidDevice& Aux() { return *aux_; }
    VirtualClock& Clock() { return clock_; }
    void Block(int slot) {
        Bytes b(168, 0);
        b[0] = 1;
        b[1] = static_cast<std::uint8_t>(slot);
        b[2] = 0x04;
        WriteMacroSlot(b);
    }
};

TEST_P(SimulatedKeyboardViolations, AreReported) {
    Make(201, GetParam().mode);
    GetParam().act(*this);
    const std::vector<ViolationKind> kinds = Kinds();
    ASSERT_FALSE(kinds.empty());
    EXPECT_EQ(kinds.front(), GetParam().expected) << keyboard_->Violations().front().text;
}

const ViolationCase kViolationCases[] = {
    {"FeatureTooLong",
     [](auto& t) {
         t.DoSet(Report({7, 0xFD}, 9));
     },
     ViolationKind::kLength},
    {"OutputTooShort",
     [](auto& t) {
         t.Cmd().Write(Report({0, 0xBB, 0xAA, 0x99, 0x88, 0xAA}, 64));
     },
     ViolationKind::kLength},
    {"FeatureWrongId",
     [](auto& t) {
         t.DoSet(Feature({6, 0xFD}));
     },
     ViolationKind::kReportId},
    {"FeatureWithoutPause",
     [](auto& t) {
         t.DoSet(Feature({7, 0xFA, 1, 1, 4, 1, 1, 1}));
         t.Cmd().SendFeature(Feature({7, 0xFA, 1, 2, 5, 1, 1, 1}));
     },
     ViolationKind::kPause},
    {"ReadWithoutPause",
     [](auto& t) {
         t.Cmd().SendFeature(Feature({7, 0xFB, 1}));
         Bytes reply = Feature({7});
         t.Cmd().GetFeature(reply);
     },
     ViolationKind::kPause},
    {"FunctionSlot11",
     [](auto& t) {
         t.DoSet(Feature({7, 0xFA, 1, 11, 4, 1, 1, 1}));
     },
     ViolationKind::kSlotRange},
    {"MacroSlot14", [](auto& t) { t.Block(14); }, ViolationKind::kSlotRange},
    {"MacroSlot0", [](auto& t) { t.Block(0); }, ViolationKind::kSlotRange},
    {"KeySlotInsideSlotTableRead",
     [](auto& t) {
         t.Cmd().SendFeature(Feature({7, 0xFB, 1}));
         t.DoGet();
         t.DoSet(Feature({7, 0xFA, 1, 1, 4, 1, 1, 1}));
     },
     ViolationKind::kInterleaved},
    {"MusicLevelInsideMacroSlotWrite",
     [](auto& t) {
         t.DoSet(Feature({7, 0xF1, 1, 1, 4, 1}));
         t.Cmd().SendFeature(Feature({7, 0x23, 0x45, 0x67, 0x89, 1, 0, 9}));
     },
     ViolationKind::kInterleaved},
    {"VersionQueryInsideSlotTableRead",
     [](auto& t) {
         t.Cmd().SendFeature(Feature({7, 0xFB, 1}));
         t.DoSet(Feature({7, 0xFD}));
     },
     ViolationKind::kInterleaved},
    {"ReadWithoutQuery", [](auto& t) { t.DoGet(); }, ViolationKind::kOutOfSequence},
    {"MacroDataWithoutStart",
     [](auto& t) {
         t.DoSet(Feature({7, 0x00, 1, 2}));
     },
     ViolationKind::kOutOfSequence},
    {"ResetConfirmationWithoutRequest",
     [](auto& t) {
         t.Cmd().Write(Report({0, 0xBB, 0xAA, 0x99, 0x88}, 65));
     },
     ViolationKind::kOutOfSequence},
    {"ResetConfirmedTooEarly",
     [](auto& t) {
         t.Cmd().Write(Report({0, 0xBB, 0xAA, 0x99, 0x88, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, 65));
         t.Clock().SleepFor(milliseconds(100));
         t.Cmd().Write(Report({0, 0xBB, 0xAA, 0x99, 0x88}, 65));
     },
     ViolationKind::kPause},
    {"FamilyACommandOnFamilyB",
     [](auto& t) {
         t.Cmd().Write(Output({0, 0x88, 0, 1}));
     },
     ViolationKind::kWrongFamily},
    {"FeatureOnStreamInterface",
     [](auto& t) {
         t.Clock().SleepFor(milliseconds(16));
         t.Aux().SendFeature(Feature({7, 0xFD}));
     },
     ViolationKind::kWrongInterface},
    {"UnknownFeatureCommand",
     [](auto& t) {
         t.DoSet(Feature({7, 0x42}));
     },
     ViolationKind::kUnknownCommand},
    {"ColourChunkPastTable",
     [](auto& t) {
         t.Clock().SleepFor(milliseconds(1));
         t.Cmd().Write(Output({0, 0x8B, 60, 0x58, 0x02}));
     },
     ViolationKind::kOutOfSequence},
    {"LightFeatureOverWireless",
     [](auto& t) {
         t.DoSet(Feature({7, 0xF7, 1, 0, 0, 1, 1, 0}));
     },
     ViolationKind::kWrongForm},
    {"ResetFeatureOverWireless",
     [](auto& t) {
         t.DoSet(Feature({7, 0xF0, 0xAA}));
     },
     ViolationKind::kWrongForm},
    {"DataReportOverCable",
     [](auto& t) {
         t.Cmd().Write(Report({0, 0xBB, 0xAA, 0x99, 0x88, 0xAA, 1}, 65));
     },
     ViolationKind::kWrongForm, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, SimulatedKeyboardViolations, ::testing::ValuesIn(kViolationCases),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(SimulatedKeyboardTest, RecordsEveryReportWithItsTime) {
    clock_.Advance(milliseconds(5));
    Set(Feature({7, 0xFD}));
    Get();
    const std::vector<RecordedReport> reports = keyboard_->Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].at, milliseconds(21));
    EXPECT_EQ(reports[0].kind, ReportKind::kSet);
    EXPECT_EQ(reports[0].interface_number, 2);
    EXPECT_EQ(reports[0].bytes, Feature({7, 0xFD}));
    EXPECT_EQ(reports[1].at, milliseconds(37));
    EXPECT_EQ(reports[1].kind, ReportKind::kGet);
    EXPECT_EQ(reports[1].bytes, Feature({7, 1, 5}));
    keyboard_->ClearRecords();
    EXPECT_TRUE(keyboard_->Reports().empty());
}

TEST_F(SimulatedKeyboardTest, InjectsCallFaults) {
    Make(202, 1);
    SimulatedFaults faults;
    faults.fail_write = {1, 2};
    faults.fail_get_feature = {FaultCount::kAlways, -1};
    keyboard_->SetFaults(faults);
    const Bytes light = Report({0, 0xBB, 0xAA, 0x99, 0x88, 0xAA, 1}, 65);
    EXPECT_EQ(cmd_->Write(light), -1);
    EXPECT_EQ(cmd_->LastError(), "write failed");
    clock_.SleepFor(milliseconds(32));
    EXPECT_EQ(cmd_->Write(light), 65); // once only
    Set(Feature({7, 0xFD}));
    EXPECT_TRUE(Get().empty());
    EXPECT_TRUE(Get().empty()); // always
    const auto reports = keyboard_->Reports();
    EXPECT_FALSE(reports[0].ok);
    EXPECT_TRUE(reports[1].ok);
    EXPECT_TRUE(keyboard_->Violations().empty());

    faults = {};
    faults.short_reply = {1, -1};
    faults.short_reply_length = 2;
    faults.foreign_reply = {1, -1};
    keyboard_->SetFaults(faults);
    Set(Feature({7, 0xFD}));
    EXPECT_EQ(Get(), (Bytes{6, 1}));      // both at once: short and foreign
    EXPECT_EQ(Get(), Feature({7, 1, 5})); // then the normal reply
}

TEST_F(SimulatedKeyboardTest, RefusesOpeningAndUnplugsAfterReports) {
    SimulatedFaults faults;
    faults.refuse_open = {2};
    keyboard_->SetFaults(faults);
    std::string error;
    EXPECT_FALSE(backend_->Open(keyboard_->PathOf(2), &error));
    EXPECT_EQ(error, "access denied");
    EXPECT_TRUE(backend_->Open(keyboard_->PathOf(3)));
    EXPECT_EQ(keyboard_->OpenCount(3), 2);
    EXPECT_EQ(keyboard_->CloseCount(3), 1);

    faults = {};
    faults.unplug_after_reports = 2;
    keyboard_->SetFaults(faults);
    EXPECT_EQ(Set(Feature({7, 0xFD})), 8);
    EXPECT_EQ(Get().size(), 8u);
    EXPECT_EQ(Set(Feature({7, 0xFD})), -1);
    EXPECT_FALSE(keyboard_->Plugged());
    EXPECT_TRUE(backend_->Enumerate().empty());
    keyboard_->Replug();
    EXPECT_EQ(backend_->Enumerate().size(), 4u);
}

TEST_F(SimulatedKeyboardTest, StallHoldsTheCallUntilReleased) {
    SimulatedFaults faults;
    faults.stall = {1, -1};
    keyboard_->SetFaults(faults);
    int result = 0;
    std::thread sender([&] { result = cmd_->SendFeature(Feature({7, 0xFD})); });
    ASSERT_TRUE(keyboard_->WaitForStall(milliseconds(5000)));
    EXPECT_TRUE(keyboard_->Reports().empty());
    keyboard_->ReleaseStall();
    sender.join();
    EXPECT_EQ(result, 8);
    EXPECT_EQ(keyboard_->Reports().size(), 1u);
}

TEST_F(SimulatedKeyboardTest, SenderMayGoOnAfterALostChunk) {
    Make(110);
    SimulatedFaults faults;
    faults.fail_write = {2, -1};
    // The key map carries on after a chunk failed twice; a 58-step macro
    // takes four chunks, the last declaring 0 bytes.
    for (int k = 0; k < 4; ++k) {
        Bytes r = Output({0, 0x8D, k == 3 ? 40 : 60, (60 * k) & 0xFF, (60 * k) >> 8, k + 1});
        clock_.SleepFor(milliseconds(10));
        if (k == 1) {
            keyboard_->SetFaults(faults);
            EXPECT_EQ(cmd_->Write(r), -1);
            clock_.SleepFor(milliseconds(10));
        }
        cmd_->Write(r);
    }
    const auto map = keyboard_->KeyMapTable();
    EXPECT_EQ(map[0], 1);
    EXPECT_EQ(map[60], 0);
    EXPECT_EQ(map[120], 3);
    EXPECT_EQ(map[180], 4);
    for (int k = 0; k < 4; ++k) {
        Bytes r = Output({0, 0x8E, k == 3 ? 0 : 59, (59 * k) & 0xFF, (59 * k) >> 8, 2});
        if (k == 0) {
            r[6] = 1;
            r[7] = 58;
        }
        clock_.SleepFor(milliseconds(k == 0 ? 110 : 100));
        cmd_->Write(r);
    }
    ASSERT_TRUE(keyboard_->Macro(2));
    EXPECT_EQ(keyboard_->Macro(2)->chunks, 4);
    EXPECT_EQ(keyboard_->Macro(2)->declared_length, 177);
    EXPECT_TRUE(keyboard_->Violations().empty()) << keyboard_->Violations().front().text;
}

TEST_F(SimulatedKeyboardTest, LostMacroSlotReportIsNotStoredAndNotAViolation) {
    SimulatedFaults faults;
    faults.fail_set_feature = {1, -1};
    keyboard_->SetFaults(faults);
    Bytes block(168, 0);
    block[0] = 1;
    block[1] = 2;
    block[2] = 0x04;
    WriteMacroSlot(block);
    EXPECT_EQ(keyboard_->GetMacroSlot(2).key_code, 0);
    EXPECT_TRUE(keyboard_->Violations().empty());
    WriteMacroSlot(block);
    EXPECT_EQ(keyboard_->GetMacroSlot(2).key_code, 0x04);
}

} // namespace
} // namespace kovrin::test
