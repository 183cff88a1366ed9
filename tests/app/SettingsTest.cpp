#include "app/Settings.h"
#include "app/DeviceName.h"
#include "app/Paths.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace kovrin;
using kovrin::test::ReadBytes;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    test::UserFolders folders;
};

TEST_F(SettingsTest, ReadCreatesTheFileAndWriteNeedsIt) {
    SettingsFile settings(folders.dir() / "config/Kovrin/settings.ini");
    // A write before any read finds no file and writes nothing.
    EXPECT_FALSE(settings.WriteString("LCID", "2052"));
    EXPECT_FALSE(std::filesystem::exists(settings.path()));

    EXPECT_EQ(settings.ReadInt("LCID"), 0);
    EXPECT_TRUE(std::filesystem::exists(settings.path()));

    EXPECT_TRUE(settings.WriteString("LCID", "2052"));
    EXPECT_TRUE(settings.WriteString("exit_mode", "2"));
    EXPECT_EQ(settings.ReadInt("LCID"), 2052);
    EXPECT_EQ(settings.ReadInt("lcid"), 2052); // value names ignore case
    EXPECT_EQ(settings.ReadInt("exit_mode"), 2);
    EXPECT_TRUE(settings.WriteString("LCID", "1033"));
    EXPECT_EQ(settings.ReadInt("LCID"), 1033);
    EXPECT_EQ(ReadBytes(settings.path()), "[settings]\nLCID=1033\nexit_mode=2\n");
}

TEST_F(SettingsTest, ValuesReadLikeDecimalText) {
    const std::string path = folders.dir().Write(
        "settings.ini",
        "; hand-edited\r\n[settings]\r\na= 12 \r\nb=abc\r\nc=-3x\r\n[other]\r\nd=9\r\n");
    SettingsFile settings(path);
    EXPECT_EQ(settings.ReadInt("a"), 12);
    EXPECT_EQ(settings.ReadInt("b"), 0);
    EXPECT_EQ(settings.ReadInt("c"), -3);
    EXPECT_EQ(settings.ReadInt("d"), 0); // another section
    EXPECT_EQ(settings.ReadInt("missing"), 0);
    // Writing keeps the other lines and their line ends.
    EXPECT_TRUE(settings.WriteString("b", "7"));
    EXPECT_EQ(ReadBytes(path),
              "; hand-edited\r\n[settings]\r\na= 12 \r\nb=7\r\nc=-3x\r\n[other]\r\nd=9\r\n");
    EXPECT_TRUE(settings.WriteString("e", "5"));
    EXPECT_EQ(ReadBytes(path),
              "; hand-edited\r\n[settings]\r\na= 12 \r\nb=7\r\nc=-3x\r\ne=5\r\n[other]\r\nd=9\r\n");
    EXPECT_EQ(settings.ReadInt("b"), 7);
    EXPECT_EQ(settings.ReadInt("c"), -3);
    EXPECT_EQ(settings.ReadInt("d"), 0);
}

TEST_F(SettingsTest, RefusesTextsThatWouldBreakTheFile) {
    SettingsFile settings(folders.dir() / "s.ini");
    settings.ReadInt("x");
    EXPECT_FALSE(settings.WriteString("LCID", "1\n[evil]"));
    EXPECT_FALSE(settings.WriteString("a=b", "1"));
    EXPECT_FALSE(settings.WriteString("", "1"));
    EXPECT_EQ(ReadBytes(settings.path()), "[settings]\n");
}

TEST_F(SettingsTest, ReplacesTheFileWholeAndLeavesNoTemporaryFiles) {
    SettingsFile settings(folders.dir() / "cfg/settings.ini");
    settings.ReadInt("x");
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(settings.WriteString("n", std::to_string(i)));
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folders.dir() / "cfg")) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_EQ(settings.ReadInt("n"), 19);
}

TEST_F(SettingsTest, AFolderThatCannotBeCreatedReadsZeroAndWritesNothing) {
    // A file where the folder should be: creating it fails even for root.
    folders.dir().Write("blocked", "x");
    SettingsFile settings(folders.dir() / "blocked/Kovrin/settings.ini");
    EXPECT_EQ(settings.ReadInt("LCID"), 0);
    EXPECT_FALSE(settings.WriteString("LCID", "1"));
    EXPECT_EQ(ReadBytes(folders.dir() / "blocked"), "x");
}

TEST_F(SettingsTest, DefaultFileFollowsTheDeviceName) {
    ASSERT_TRUE(SetDeviceName("Kovrin"));
    EXPECT_EQ(SettingsFilePath(), folders.dir() / "config/Kovrin/settings.ini");
    EXPECT_EQ(RegReadInt("LCID"), 0);
    EXPECT_TRUE(RegWriteString("LCID", "2052"));
    EXPECT_EQ(RegReadInt("LCID"), 2052);
}

} // namespace
