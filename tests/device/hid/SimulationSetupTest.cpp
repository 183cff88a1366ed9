// --simulate / KOVRIN_SIMULATE and --trace: the reusable set-up, and
// kovrinctl devices and firmware on the shipped catalogue.

#include "device/SimulationSetup.h"
#include "app/Paths.h"
#include "device/DeviceDiscovery.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace kovrin {
namespace {

struct ParseCase {
    const char* text;
    bool ok;
    std::string model;
    std::optional<int> mode;
};

TEST(SimulateRequestTest, ParsesModelAndMode) {
    const ParseCase cases[] = {
        {"Kovrin Bolt 104", true, "Kovrin Bolt 104", std::nullopt},
        {"Kovrin Bolt 87 Air:1", true, "Kovrin Bolt 87 Air", 1},
        {"Model: with colon", true, "Model: with colon", std::nullopt},
        {"A:B:2", true, "A:B", 2},
        {"", false, "", std::nullopt},
        {":2", false, "", std::nullopt},
        {"Model:123456", false, "", std::nullopt},
    };
    for (const ParseCase& c : cases) {
        std::string error;
        const auto request = ParseSimulateRequest(c.text, &error);
        ASSERT_EQ(request.has_value(), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(request->model, c.model) << c.text;
            EXPECT_EQ(request->mode, c.mode) << c.text;
        } else {
            EXPECT_FALSE(error.empty()) << c.text;
        }
    }
}

class ShippedCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramFolder(std::string(KOVRIN_SOURCE_DIR) + "/data/");
        std::string error;
        ASSERT_TRUE(LoadCatalogueFile(ConfigFilePath(), catalogue_, &error)) << error;
    }
    void TearDown() override { SetProgramFolder(""); }
    Catalogue catalogue_;
};

TEST_F(ShippedCatalogueTest, DescriptionCarriesTheModeIdsAndTheLayoutFirmwareVersion) {
    const auto air = SimulatedKeyboardFor({"Kovrin Bolt 87 Air", 2}, catalogue_);
    ASSERT_TRUE(air);
    EXPECT_EQ(air->device_type, 202);
    EXPECT_EQ(air->connection_mode, 2);
    EXPECT_EQ(air->vendor_id, 0x3A5C);
    EXPECT_EQ(air->product_id, 0x0213);
    EXPECT_EQ(air->firmware_version, 0x0110);
    const auto first = SimulatedKeyboardFor({"Kovrin Bolt 87 Air", std::nullopt}, catalogue_);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->product_id, 0x0211);

    std::string error;
    EXPECT_FALSE(SimulatedKeyboardFor({"Kovrin Bolt 104", 1}, catalogue_, &error));
    EXPECT_NE(error.find("no mode 1"), std::string::npos);
    EXPECT_FALSE(SimulatedKeyboardFor({"Unknown", std::nullopt}, catalogue_, &error));
    EXPECT_NE(error.find("Unknown"), std::string::npos);
}

TEST_F(ShippedCatalogueTest, ConfiguredManagerFindsTheSimulatedKeyboardAndTracesItsReports) {
    test::TempDir dir;
    const std::string trace = dir / "trace.txt";
    VirtualClock clock;
    DeviceManager manager;
    for (const SupportedDevice& s : catalogue_.supported) {
        manager.AddSupported(s);
    }
    DeviceSetup setup;
    std::string error;
    ASSERT_TRUE(
        ConfigureDevices(manager, {"Kovrin Bolt 104", trace}, catalogue_, clock, &setup, &error))
        << error;
    ASSERT_TRUE(setup.keyboard);
    std::vector<ModelRecord> modes = catalogue_.modes;
    const DeviceState state = ApplyDeviceState(manager, OpenDevices(manager, modes));
    EXPECT_TRUE(state.model_matched);
    EXPECT_EQ(state.selected_type, 201);
    int version = 0;
    ASSERT_TRUE(manager.ReadFirmwareVersion(version));
    EXPECT_EQ(version, 0x0105);
    std::ifstream in(trace);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "16.000 cmd set 07 fd 00 00 00 00 00 00\n"
                          "32.000 cmd get 07 01 05 00 00 00 00 00\n");

    EXPECT_FALSE(ConfigureDevices(manager, {"Nope", ""}, catalogue_, clock, nullptr, &error));
    EXPECT_FALSE(ConfigureDevices(manager, {"Kovrin Bolt 104", dir / "missing/trace.txt"},
                                  catalogue_, clock, nullptr, &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
    // A refused configuration leaves the manager as it was.
    EXPECT_TRUE(manager.ReadFirmwareVersion(version));
}

// "<ms>.<3 digits><rest>"
bool TraceLine(const std::string& line, const std::string& rest) {
    const auto dot = line.find('.');
    if (dot == std::string::npos || dot == 0 || line.size() < dot + 4) {
        return false;
    }
    for (std::size_t i = 0; i < dot + 4; ++i) {
        if (i != dot && !std::isdigit(static_cast<unsigned char>(line[i]))) {
            return false;
        }
    }
    return line.substr(dot + 4) == rest;
}

struct CtlRun {
    int status = -1;
    std::string out;
};

// Runs kovrinctl from the build tree with the given arguments (shell-quoted).
CtlRun Kovrinctl(const std::string& arguments, const std::string& environment = "") {
    const std::string command =
        environment + " '" + KOVRIN_BUILD_PROGRAM_DIR + "/kovrinctl' " + arguments + " 2>&1";
    CtlRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return run;
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        run.out += buffer;
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(KovrinctlDevicesTest, FirmwarePrintsTheSimulatedKeyboardsVersion) {
    CtlRun run = Kovrinctl("--simulate 'Kovrin Bolt 104' firmware");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "105\n");
    run = Kovrinctl("firmware", "KOVRIN_SIMULATE='Kovrin Arc 87'");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "102\n");
}

TEST(KovrinctlDevicesTest, DevicesListsInterfacesEntriesSecondHandleAndConnectionMode) {
    const CtlRun run = Kovrinctl("--simulate 'Kovrin Bolt 87 Air:2' devices");
    EXPECT_EQ(run.status, 0) << run.out;
    for (const char* line :
         {"HID interfaces: 4\n",
          "usages 0001/0006  [Kovrin Bolt 87 Air mode 2 (Bluetooth)]  opened and closed\n",
          "sim:0:2  3a5c:0213  release 0100  interface 2  usages ff01/0001  [Kovrin Bolt 87 Air "
          "mode 2 (Bluetooth)]  command collection\n",
          "Entries: 1\n  0  sim:0:2  3a5c:0213  device type 202  mode 2\n",
          "Second handle: sim:0:3\n", "Present modes: Kovrin Bolt 87 Air mode 2 (Bluetooth)\n",
          "Command handle: sim:0:2\n", "Connection mode: 2\n"}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\nin:\n" << run.out;
    }
}

TEST(KovrinctlDevicesTest, TraceFileGetsOneLinePerReport) {
    test::TempDir dir;
    const std::string trace = dir / "trace.txt";
    const CtlRun run = Kovrinctl("--trace '" + trace + "' --simulate 'Kovrin Bolt 104' firmware");
    ASSERT_EQ(run.status, 0) << run.out;
    std::ifstream in(trace);
    std::string set;
    std::string get;
    std::string more;
    std::getline(in, set);
    std::getline(in, get);
    EXPECT_FALSE(std::getline(in, more));
    EXPECT_TRUE(TraceLine(set, " cmd set 07 fd 00 00 00 00 00 00")) << set;
    EXPECT_TRUE(TraceLine(get, " cmd get 07 01 05 00 00 00 00 00")) << get;
    EXPECT_FALSE(TraceLine("16.00 cmd set", " cmd set"));
}

TEST(KovrinctlDevicesTest, ClearErrors) {
    CtlRun run = Kovrinctl("--simulate 'No Such Model' devices");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("no model named \"No Such Model\""), std::string::npos) << run.out;
    run = Kovrinctl("--simulate 'Kovrin Bolt 104:7' firmware");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("has no mode 7"), std::string::npos) << run.out;
    // No simulation: hidapi finds no keyboard of the catalogue here.
    run = Kovrinctl("firmware", "KOVRIN_SIMULATE=");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "kovrinctl: no supported keyboard found\n");
}

} // namespace
} // namespace kovrin
