// kovrinctl catalogue on the shipped data and on broken data.

#include "app/Paths.h"
#include "app/ctl/CtlCommand.h"
#include "device/Catalogue.h"
#include "tests/device/TempProgramFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace kovrin::ctl {
int RunCatalogue(CtlContext& context);
}

using namespace kovrin;
using kovrin::test::TempProgramFolder;

namespace {

struct CtlRun {
    int code = 0;
    std::string out;
    std::string err;
};

CtlRun RunCtl(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    ctl::CtlContext context{out, err, std::move(args)};
    const int code = ctl::RunCatalogue(context);
    return {code, out.str(), err.str()};
}

const std::string kData = std::string(KOVRIN_SOURCE_DIR) + "/data/";

} // namespace

TEST(CatalogueCommand, ListsEveryShippedModelWithItsModes) {
    SetProgramFolder(kData);
    kovrin::Catalogue catalogue;
    ASSERT_TRUE(LoadCatalogueFile(kData + "config.xml", catalogue, nullptr));
    ASSERT_GE(catalogue.models.size(), 3u);

    const CtlRun run = RunCtl({});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    for (const ModelRecord& model : catalogue.models) {
        const std::string line = model.name + "  device type " + std::to_string(model.device_type) +
                                 "  family " + (model.device_type <= 200 ? "A" : "B") +
                                 "  layout " + model.layout_name + "\n";
        EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
    }
    for (const ModelRecord& mode : catalogue.modes) {
        char ids[16];
        std::snprintf(ids, sizeof ids, "%04x:%04x", static_cast<unsigned>(mode.vendor_id),
                      static_cast<unsigned>(mode.product_id));
        const std::string line = "  mode " + std::to_string(mode.mode) + "  " + ids + "  " +
                                 mode.interface_pattern + "  " + mode.description + "\n";
        EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
    }

    for (const ModelRecord& model : catalogue.models) {
        const CtlRun layout = RunCtl({"--layout", model.name});
        EXPECT_EQ(layout.code, 0) << layout.err;
        EXPECT_NE(layout.out.find("layout " + model.layout_name), std::string::npos);
        EXPECT_NE(layout.out.find("pages: 0x47 (keys, macros, lighting, third keyboard view)"),
                  std::string::npos)
            << layout.out;
        EXPECT_NE(layout.out.find("matrix: 6 rows x "), std::string::npos) << layout.out;
    }
    const CtlRun bolt = RunCtl({"--layout", "Kovrin Bolt 104"});
    EXPECT_NE(bolt.out.find("keys: 104\n"), std::string::npos) << bolt.out;
    EXPECT_NE(bolt.out.find("  7  Per-key colors (text 406)  0x131  brightness rgb colour per-key"),
              std::string::npos)
        << bolt.out;
    SetProgramFolder("");
}

TEST(CatalogueCommand, FailsClearlyWhenDataCannotBeRead) {
    TempProgramFolder folder;
    CtlRun run = RunCtl({});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("config.xml"), std::string::npos) << run.err;

    folder.Write("config.xml",
                 "<config><device.info><keyboard name=\"K\" device_type=\"201\" "
                 "device_info=\"missing\"/><keyboard name=\"Bad\" device_info=\"../x\"/>"
                 "</device.info></config>");
    run = RunCtl({});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.err.find("warning: model \"Bad\" refused"), std::string::npos) << run.err;

    run = RunCtl({"--layout", "K"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("missing.xml cannot be read"), std::string::npos) << run.err;
    run = RunCtl({"--layout", "Nobody"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("no model named \"Nobody\""), std::string::npos) << run.err;

    EXPECT_EQ(RunCtl({"--layout"}).code, 2);
    EXPECT_EQ(RunCtl({"extra"}).code, 2);
}
