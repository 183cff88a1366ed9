#include "app/Paths.h"
#include "app/DeviceName.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace kovrin;

namespace {

TEST(DeviceName, UnusableNamesKeepTheCurrentOne) {
    ASSERT_TRUE(SetDeviceName("Kovrin"));
    for (const std::string_view bad :
         {std::string_view(""), std::string_view("."), std::string_view(".."),
          std::string_view("a/b"), std::string_view("/abs"), std::string_view("x\0y", 3)}) {
        EXPECT_FALSE(SetDeviceName(bad));
        EXPECT_EQ(DeviceName(), "Kovrin");
    }
    EXPECT_TRUE(SetDeviceName("Kovrin Pro ..."));
    EXPECT_EQ(DeviceName(), "Kovrin Pro ...");
    SetDeviceName("Kovrin");
}

TEST(Paths, UserFoldersFollowXdgAndTheDeviceName) {
    test::UserFolders folders;
    SetDeviceName("Kovrin");
    EXPECT_EQ(DataFolder(), folders.dir() / "data/Kovrin Files/");
    EXPECT_EQ(DatabaseFolder(), folders.dir() / "data/Kovrin Files/db/");
    EXPECT_EQ(ConfigFolder(), folders.dir() / "config/Kovrin/");
    // Unset or relative XDG variables fall back to the defaults below HOME.
    ::setenv("XDG_DATA_HOME", "relative/path", 1);
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(DataFolder(), folders.dir() / "home/.local/share/Kovrin Files/");
    EXPECT_EQ(ConfigFolder(), folders.dir() / "home/.config/Kovrin/");
}

TEST(Paths, ProgramFolderOverrideThenEnvironmentThenExecutable) {
    SetProgramFolder("/opt/k");
    ::setenv("KOVRIN_PROGRAM_DIR", "/env/k/", 1);
    EXPECT_EQ(ProgramFolder(), "/opt/k/");
    EXPECT_EQ(LanguageFilePath(2052), "/opt/k/language/2052.lan");
    EXPECT_EQ(ConfigFilePath(), "/opt/k/config.xml");
    EXPECT_EQ(SkinFolder(), "/opt/k/skins/theme1/");
    SetProgramFolder("");
    EXPECT_EQ(ProgramFolder(), "/env/k/");
    ::unsetenv("KOVRIN_PROGRAM_DIR");
    const std::string exe_folder = ProgramFolder();
    EXPECT_TRUE(std::filesystem::exists(exe_folder + "test_app")) << exe_folder;
}

TEST(EnsureFolder, CreatesParentsAndNeedsADirectoryAtTheEnd) {
    test::TempDir dir;
    EXPECT_TRUE(EnsureFolder(dir / "a/b/c"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a/b/c"));
    EXPECT_TRUE(EnsureFolder(dir / "a/b/c"));  // already there
    EXPECT_TRUE(EnsureFolder(dir / "a/b/c/")); // trailing slash
    dir.Write("file", "x");
    EXPECT_FALSE(EnsureFolder(dir / "file"));
    EXPECT_FALSE(EnsureFolder(dir / "file/below"));
    EXPECT_EQ(test::ReadBytes(dir / "file"), "x");
}

} // namespace
