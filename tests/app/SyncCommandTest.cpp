// kovrinctl sync on simulated keyboards of the shipped catalogue: what the
// keyboard receives, as the trace shows it.

#include "store/KeyboardDatabase.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace kovrin {
namespace {

struct CtlRun {
    int status = -1;
    std::string out;
};

class SyncCommandTest : public ::testing::Test {
protected:
    // Runs kovrinctl with the user folders inside the test's folder.
    CtlRun Kovrinctl(const std::string& arguments, const std::string& environment = "") {
        const std::string command = "HOME='" + dir / "home" + "' XDG_DATA_HOME='" + dir / "data" +
                                    "' XDG_CONFIG_HOME='" + dir / "config" + "' " + environment +
                                    " '" + KOVRIN_BUILD_PROGRAM_DIR + "/kovrinctl' " + arguments +
                                    " 2>&1";
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
    // The trace lines without their times.
    std::vector<std::string> Trace() const {
        std::ifstream in(dir / "trace.txt");
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line)) {
            const auto space = line.find(' ');
            lines.push_back(space == std::string::npos ? line : line.substr(space + 1));
        }
        return lines;
    }
    // The store of a model, as kovrinctl finds it.
    std::string DatabaseFolderOf(const std::string& model) {
        const CtlRun run = Kovrinctl("db init '" + model + "'");
        EXPECT_EQ(run.status, 0) << run.out;
        const std::string path = run.out.substr(0, run.out.find('\n'));
        return path.substr(0, path.rfind("db/"));
    }

    test::TempDir dir;
};

TEST_F(SyncCommandTest, LightOnACabledFamilyBKeyboard) {
    const CtlRun run =
        Kovrinctl("--simulate 'Kovrin Bolt 104' --trace '" + dir / "trace.txt" + "' sync light");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "Kovrin Bolt 104, device type 201, connection mode 0, profile 1, layer 0\n"
                       "sync light: done\n");
    // A fresh database has the layout's modes; the default one is sent.
    const std::vector<std::string> trace = Trace();
    ASSERT_EQ(trace.size(), 1u);
    EXPECT_EQ(trace[0].substr(0, 14), "cmd set 07 f7 ");
}

TEST_F(SyncCommandTest, KeysFromTheStoreReachTheSlots) {
    const std::string data = DatabaseFolderOf("Kovrin Bolt 104");
    {
        KeyboardDatabase database;
        ASSERT_TRUE(database.Open(data, "Kovrin Bolt 104"));
        ProfileRow profile;
        profile.name = "Mine";
        ASSERT_EQ(database.AddProfile(profile), 1);
        database.SetActiveProfile(1);
        for (const auto& [key, value] : {std::pair{0x04, 0xE9}, std::pair{0x2C, 0x29}}) {
            KeyAssignment a;
            a.profile = 1;
            a.key_code = key;
            a.macro_type = 2;
            a.macro_value = value;
            ASSERT_GT(database.SaveKeyAssignment(a), 0);
        }
    }
    const CtlRun run = Kovrinctl("--simulate 'Kovrin Bolt 104' --trace '" + dir / "trace.txt" +
                                 "' sync keys --profile 1 --layer 0");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("sync keys: done\n"), std::string::npos) << run.out;
    EXPECT_EQ(Trace(), (std::vector<std::string>{
                           "cmd set 07 fb 01 00 00 00 00 00",
                           "cmd get 07 00 00 00 00 00 00 00",
                           "cmd get 07 00 00 00 00 00 00 00",
                           "cmd get 07 00 00 00 00 00 00 00",
                           "cmd get 07 00 00 00 00 00 00 00",
                           "cmd set 07 fa 01 01 04 01 e9 01",
                           "cmd set 07 fa 01 02 2c 01 29 01",
                       }));
    // Another layer holds nothing: the read alone.
    std::remove((dir / "trace.txt").c_str());
    ASSERT_EQ(Kovrinctl("--simulate 'Kovrin Bolt 104' --trace '" + dir / "trace.txt" +
                        "' sync keys --layer 1")
                  .status,
              0);
    EXPECT_EQ(Trace().size(), 5u);
}

TEST_F(SyncCommandTest, RestoreOnAWirelessKeyboardUsesTheLongFormsAndSendsTheStoreBack) {
    const CtlRun run = Kovrinctl("--simulate 'Kovrin Bolt 87 Air:1' --trace '" + dir / "trace.txt" +
                                 "' sync restore");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out,
              "Kovrin Bolt 87 Air, device type 202, connection mode 1, profile 1, layer 0\n"
              "sync restore: done\nsync keys: done\nsync light: done\n");
    const std::vector<std::string> trace = Trace();
    ASSERT_GE(trace.size(), 3u);
    EXPECT_EQ(trace[0].substr(0, 47), "cmd write 00 bb aa 99 88 aa aa aa aa aa aa 00 0");
    EXPECT_EQ(trace[1].substr(0, 35), "cmd write 00 bb aa 99 88 00 00 00 0");
    EXPECT_EQ(trace.back().substr(0, 27), "cmd write 00 bb aa 99 88 aa");
}

TEST_F(SyncCommandTest, AllOnFamilyASendsKeyMapAndLight) {
    const CtlRun run =
        Kovrinctl("--simulate 'Kovrin Arc 87' --trace '" + dir / "trace.txt" + "' sync all");
    ASSERT_EQ(run.status, 0) << run.out;
    const std::vector<std::string> trace = Trace();
    ASSERT_EQ(trace.size(), 5u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(trace[static_cast<std::size_t>(k)].substr(0, 15), "cmd write 00 8d");
    }
    EXPECT_EQ(trace[4].substr(0, 15), "cmd write 00 89");
}

TEST_F(SyncCommandTest, ClearErrors) {
    CtlRun run = Kovrinctl("sync keys", "KOVRIN_SIMULATE=");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "kovrinctl: no supported keyboard found\n");
    for (const char* bad : {"sync", "sync nothing", "sync keys --layer", "sync keys --layer -1",
                            "sync keys --profile 0", "sync keys --profile x", "sync keys light"}) {
        run = Kovrinctl(std::string("--simulate 'Kovrin Bolt 104' ") + bad);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_NE(run.out.find("usage: kovrinctl sync"), std::string::npos) << bad << run.out;
    }
}

} // namespace
} // namespace kovrin
