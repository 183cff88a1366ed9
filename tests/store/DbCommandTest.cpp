// kovrinctl db: run as a user would, with a private data folder.

#include "tests/store/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

using namespace kovrin::test;

namespace {

struct CtlRun {
    int exit_code;
    std::string output; // stdout and stderr
};

CtlRun Kovrinctl(const std::string& data_home, const std::string& args) {
    const std::string command = "HOME='" + data_home + "' XDG_DATA_HOME='" + data_home +
                                "' XDG_CONFIG_HOME='" + data_home + "config' '" +
                                KOVRIN_BUILD_PROGRAM_DIR + "/kovrinctl' " + args + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {-1, ""};
    }
    std::string output;
    char buffer[512];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(DbCommand, InitCreatesTheDatabaseAndPathPrintsIt) {
    TempDataFolder home;
    const CtlRun path = Kovrinctl(home.path(), "db path 'K 100'");
    ASSERT_EQ(path.exit_code, 0) << path.output;
    ASSERT_TRUE(path.output.starts_with(home.path())) << path.output;
    ASSERT_TRUE(path.output.ends_with("/db/K 100_data_v1.db\n")) << path.output;
    const std::string file = path.output.substr(0, path.output.size() - 1);
    EXPECT_FALSE(std::filesystem::exists(file));

    const CtlRun init = Kovrinctl(home.path(), "db init 'K 100'");
    ASSERT_EQ(init.exit_code, 0) << init.output;
    EXPECT_EQ(init.output, path.output);
    RawDb raw(file);
    EXPECT_EQ(raw.Value("SELECT count(*) FROM sqlite_master WHERE type = 'table'"), "10");

    // A second init opens the same file and keeps what it holds.
    raw.Exec("INSERT INTO t_profile_data(name) VALUES ('kept')");
    ASSERT_EQ(Kovrinctl(home.path(), "db init 'K 100'").exit_code, 0);
    EXPECT_EQ(raw.Value("SELECT name FROM t_profile_data"), "kept");
}

TEST(DbCommand, FailuresExitWithAReason) {
    TempDataFolder home;
    const CtlRun bad_name = Kovrinctl(home.path(), "db init ..");
    EXPECT_EQ(bad_name.exit_code, 1);
    EXPECT_NE(bad_name.output.find("cannot name a database file"), std::string::npos)
        << bad_name.output;

    const CtlRun usage = Kovrinctl(home.path(), "db drop M");
    EXPECT_EQ(usage.exit_code, 2);
    EXPECT_NE(usage.output.find("usage"), std::string::npos);

    // A file that is not a database where the model's database should be.
    const CtlRun path = Kovrinctl(home.path(), "db path M");
    const std::string file = path.output.substr(0, path.output.size() - 1);
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    WriteBytes(file, std::string(2048, 'x'));
    const CtlRun junk = Kovrinctl(home.path(), "db init M");
    EXPECT_EQ(junk.exit_code, 1);
    EXPECT_NE(junk.output.find("not a database"), std::string::npos) << junk.output;
    EXPECT_EQ(ReadBytes(file), std::string(2048, 'x'));
}

} // namespace
