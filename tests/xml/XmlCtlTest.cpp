// kovrinctl xml, run as users and scripts run it.

#include "XmlTestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace kovrin {
namespace {

struct CtlRun {
    int exit_code = -1;
    std::string out;
};

CtlRun Kovrinctl(const std::string& arguments) {
    CtlRun run;
    const std::string command =
        std::string(KOVRIN_BUILD_PROGRAM_DIR) + "/kovrinctl " + arguments + " 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return run;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(XmlCtlTest, WellFormedFilePrintsLogAndOutline) {
    test::TempFolder folder;
    test::WriteBytes(folder.File("a.xml"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                           "<config><device><key/><key/></device><sw/></config>");
    const CtlRun run = Kovrinctl("xml " + folder.File("a.xml"));
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "well-formed: yes\n"
                       "<read encoding=\"UTF-8\" length=\"91\"/>"
                       "<converted_to encoding=\"UTF-16\" length=\"91\"/>\n"
                       "config\n  device\n    key\n    key\n  sw\n");
}

TEST(XmlCtlTest, IllFormedFileStillShowsItsOutline) {
    test::TempFolder folder;
    test::WriteBytes(folder.File("b.xml"), "<a><b></a>");
    const CtlRun run = Kovrinctl("xml " + folder.File("b.xml"));
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, "well-formed: no\n"
                       "<read encoding=\"UTF-8\" length=\"10\"/>"
                       "<converted_to encoding=\"UTF-16\" length=\"10\"/>"
                       "<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>\n"
                       "a\n  b\n");
}

TEST(XmlCtlTest, UnreadableFileAndBadUsage) {
    test::TempFolder folder;
    EXPECT_EQ(Kovrinctl("xml " + folder.File("missing.xml")).exit_code, 2);
    EXPECT_EQ(Kovrinctl("xml " + folder.File("missing.xml")).out, "");
    EXPECT_EQ(Kovrinctl("xml").exit_code, 2);
    EXPECT_EQ(Kovrinctl("xml a b").exit_code, 2);
}

} // namespace
} // namespace kovrin
