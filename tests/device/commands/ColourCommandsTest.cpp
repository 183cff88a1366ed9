// Per-key colour table and the live colour stream against the simulated
// keyboard on a virtual clock.

#include "device/ColourCommands.h"

#include "CommandTestSupport.h"

#include <gtest/gtest.h>

namespace kovrin::test {
namespace {

// Light indices at both ends of the tables and past them.
std::shared_ptr<const KeyboardLayout> EdgeLayout(int device_type) {
    return MakeLayout(device_type,
                      {{0x04, 0}, {0x05, 1}, {0x06, 149}, {0x07, 150}, {0x08, 199}, {0x09, 200}});
}

class KeyColoursTest : public ::testing::TestWithParam<int> {
protected:
    KeyColoursTest() : rig(GetParam()) { rig.layout = EdgeLayout(GetParam()); }
    void TearDown() override { rig.ExpectNoViolations(); }

    void AddColours(int light_id, std::initializer_list<std::pair<int, int>> colours) {
        std::vector<KeyLightRow> rows;
        for (const auto& [key, rgb] : colours) {
            rows.push_back({0, 1, light_id, key, rgb});
        }
        rig.database.AddKeyLights(rows);
    }

    CommandRig rig;
};

TEST_P(KeyColoursTest, TableReportsAndPauses) {
    AddColours(128, {{0x04, 0x00332211},
                     {0x05, 0x00FFFFFF},
                     {0x06, 0x00030201},
                     {0x07, 0x00060504},
                     {0x33, 0x00090807}});
    AddColours(129, {{0x05, 0x00ABCDEF}}); // another set
    const Clock::Duration start = rig.Mark();
    const KeyColoursResult result = SendKeyColours(rig.Context());
    EXPECT_EQ(result.reports_sent, 8);
    EXPECT_EQ(result.skipped_keys, (std::vector<int>{0x07, 0x33}));

    ColourTable table{};
    const int filled[][5] = {
        {0, 0x11, 0x22, 0x33, 0xFF}, {4, 0xFF, 0xFF, 0xFF, 0xFF}, {596, 0x01, 0x02, 0x03, 0xFF}};
    for (const auto& f : filled) {
        std::copy(f + 1, f + 5, table.begin() + f[0]);
    }
    const std::vector<Bytes> sent = rig.Sent();
    ASSERT_EQ(sent.size(), 8u);
    for (std::size_t k = 0; k < 8; ++k) {
        Bytes r = Lead({0, 0x8B, k == 7 ? 20 : 60, static_cast<int>(60 * k) & 0xFF,
                        static_cast<int>(60 * k) >> 8},
                       65);
        std::copy_n(table.begin() + static_cast<long>(60 * k), 60, r.begin() + 5);
        EXPECT_EQ(sent[k], r) << k;
    }
    EXPECT_EQ(rig.Gaps(start), std::vector<double>(8, 1.0));
    // The keyboard keeps the 440 bytes the reports declare.
    ColourTable received = table;
    std::fill(received.begin() + 440, received.end(), 0);
    EXPECT_EQ(rig.keyboard->KeyColourTable(), received);
}

TEST_P(KeyColoursTest, StopsAtTheFirstFailedReport) {
    AddColours(128, {{0x04, 0x00332211}});
    SimulatedFaults faults;
    faults.fail_write = {2, -1};
    rig.keyboard->SetFaults(faults);
    rig.Mark();
    EXPECT_EQ(SendKeyColours(rig.Context()).reports_sent, 0);
    EXPECT_EQ(rig.Sent().size(), 2u); // the report and its retry
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, KeyColoursTest, ::testing::Values(110, 201));

class StreamTest : public ::testing::Test {
protected:
    StreamTest() { rig.layout = EdgeLayout(110); }
    void TearDown() override { rig.ExpectNoViolations(); }

    StreamResult Stream(std::span<const KeyColour> colours, int device_type = 110,
                        int connection_mode = 0) {
        return StreamColours(rig.Context(), colours, device_type, connection_mode, state);
    }

    CommandRig rig{110};
    StreamState state;
};

TEST_F(StreamTest, EnableOnceThenSixFramesOnTheSecondInterface) {
    const std::vector<KeyColour> colours = {{0x04, 0x00332211},
                                            {0x05, 0x00000001},
                                            {0x08, 0x00C0B0A0},
                                            {0x09, 0x00FFFFFF},
                                            {0x33, 0x00FFFFFF}};
    const Clock::Duration start = rig.Mark();
    EXPECT_EQ(Stream(colours), StreamResult::kSent);
    EXPECT_TRUE(state.enabled);

    ColourTable frame{};
    const int filled[][4] = {{0, 0x11, 0x22, 0x33}, {3, 0x01, 0, 0}, {597, 0xA0, 0xB0, 0xC0}};
    for (const auto& f : filled) {
        std::copy(f + 1, f + 4, frame.begin() + f[0]);
    }
    EXPECT_EQ(BuildStreamFrame(colours, rig.layout.get()).table, frame);
    EXPECT_EQ(BuildStreamFrame(colours, rig.layout.get()).skipped_keys,
              (std::vector<int>{0x09, 0x33}));

    const std::vector<RecordedReport> reports = rig.Reports();
    ASSERT_EQ(reports.size(), 7u);
    EXPECT_EQ(reports[0].interface_number, 2);
    EXPECT_EQ(reports[0].bytes, Lead({0, 0xF0, 0xF4, 0x01}, 65));
    for (std::size_t k = 0; k < 6; ++k) {
        Bytes r = Lead({0, 0xF1, k == 5 ? 30 : 60, static_cast<int>(60 * k) & 0xFF,
                        static_cast<int>(60 * k) >> 8},
                       65);
        std::copy_n(frame.begin() + static_cast<long>(60 * k), 60, r.begin() + 5);
        EXPECT_EQ(reports[k + 1].bytes, r) << k;
        EXPECT_EQ(reports[k + 1].interface_number, 3);
    }
    EXPECT_EQ(rig.Gaps(start), (std::vector<double>{0, 1, 1, 1, 1, 1, 1}));
    EXPECT_TRUE(rig.keyboard->StreamEnabled());
    EXPECT_EQ(rig.keyboard->StreamFramesCompleted(), 1);

    // Later frames come without the enable command, until the state is reset
    // (the devices were opened again).
    rig.Mark();
    EXPECT_EQ(Stream(colours), StreamResult::kSent);
    EXPECT_EQ(rig.Sent().size(), 6u);
    state = {};
    rig.Mark();
    EXPECT_EQ(Stream(colours), StreamResult::kSent);
    EXPECT_EQ(rig.Sent().size(), 7u);
    EXPECT_EQ(rig.Sent()[0][1], 0xF0);
}

TEST_F(StreamTest, NothingToStream) {
    const std::vector<KeyColour> dark = {{0x04, 1}, {0x05, 0}};
    const std::vector<KeyColour> lit = {{0x04, 2}};
    rig.Mark();
    EXPECT_EQ(Stream(dark), StreamResult::kNotStreamed);
    EXPECT_EQ(Stream({}), StreamResult::kNotStreamed);
    EXPECT_EQ(Stream(lit, 110, 1), StreamResult::kNotStreamed);
    EXPECT_EQ(Stream(lit, 200), StreamResult::kNotStreamed);
    EXPECT_TRUE(rig.Reports().empty());
    EXPECT_FALSE(state.enabled);
}

TEST(StreamWithoutSecondInterfaceTest, FrameFailsAfterTheEnable) {
    SimulatedKeyboardDescription board;
    board.device_type = 110;
    board.vendor_id = kTestVendor;
    board.product_id = 0x0110;
    board.interfaces.pop_back(); // no interface 3
    CommandRig rig(board);
    StreamState state;
    const std::vector<KeyColour> lit = {{0x04, 0x00FF0000}};
    EXPECT_EQ(StreamColours(rig.Context(), lit, 110, 0, state), StreamResult::kFailed);
    EXPECT_EQ(rig.Sent().size(), 1u);
    rig.ExpectNoViolations();
}

} // namespace
} // namespace kovrin::test
