#include "app/ProductConfig.h"
#include "app/DeviceName.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace kovrin;

namespace {

constexpr const char* kConfig = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                "<config>\r\n"
                                "<device.info>\r\n<keyboard name=\"K\"/>\r\n</device.info>\r\n"
                                "<software name=\"Acme Keys\" version=\"2.1.0\">\r\n"
                                "<website url=\"https://w.example\"/>\r\n"
                                "<store url=\"https://s.example\"/>\r\n"
                                "<upgrade url=\"https://u.example/\"/>\r\n"
                                "<copyright info=\"\xC2\xA9 Acme &amp; co\"/>\r\n"
                                "</software>\r\n</config>\r\n";

class ProductConfigTest : public ::testing::Test {
protected:
    void SetUp() override { SetDeviceName(kDefaultDeviceName); }
    void TearDown() override { SetDeviceName(kDefaultDeviceName); }
    test::TempDir dir;
};

TEST_F(ProductConfigTest, ReadsTheNameAndTheSoftwareHalf) {
    const std::string path = dir.Write("config.xml", kConfig);
    EXPECT_TRUE(ReadDeviceNameFromConfig(path));
    EXPECT_EQ(DeviceName(), "Acme Keys");
    const SoftwareInfo info = ReadSoftwareInfoFromConfig(path);
    EXPECT_TRUE(info.found);
    EXPECT_EQ(info.version, "2.1.0");
    EXPECT_EQ(info.website, "https://w.example");
    EXPECT_EQ(info.store, "https://s.example");
    EXPECT_EQ(info.upgrade, "https://u.example/");
    EXPECT_EQ(info.copyright, "\xC2\xA9 Acme & co");
}

TEST_F(ProductConfigTest, SoftwareBeforeTheCatalogueGivesOnlyTheName) {
    const std::string path =
        dir.Write("config.xml",
                  "<config><software name=\"Early\" version=\"1\"><website url=\"w\"/></software>"
                  "<device.info/></config>");
    EXPECT_TRUE(ReadDeviceNameFromConfig(path));
    EXPECT_EQ(DeviceName(), "Early");
    const SoftwareInfo info = ReadSoftwareInfoFromConfig(path);
    EXPECT_FALSE(info.found);
    EXPECT_EQ(info.version, "");
    EXPECT_EQ(info.website, "");
}

TEST_F(ProductConfigTest, ChildrenOutOfOrderAreNotFound) {
    // `store` before `website`: once `website` is found, `store` lies behind it.
    const std::string path = dir.Write(
        "config.xml", "<config><software version=\"3\"><store url=\"s\"/><website url=\"w\"/>"
                      "<copyright info=\"c\"/></software></config>");
    const SoftwareInfo info = ReadSoftwareInfoFromConfig(path);
    EXPECT_TRUE(info.found);
    EXPECT_EQ(info.website, "w");
    EXPECT_EQ(info.store, "");
    EXPECT_EQ(info.copyright, "c");
}

TEST_F(ProductConfigTest, UnusableNamesAndBrokenFilesKeepTheDefault) {
    const char* files[] = {
        "<config><software name=\"\"/></config>",
        "<config><software/></config>",
        "<config><software name=\"..\"/></config>",
        "<config><software name=\"../../etc\"/></config>",
        "<config><software name=\"ok\"></config>", // not well-formed
        "<other><software name=\"ok\"/></other>",
        "",
    };
    for (const char* content : files) {
        const std::string path = dir.Write("config.xml", content);
        EXPECT_FALSE(ReadDeviceNameFromConfig(path)) << content;
        EXPECT_EQ(DeviceName(), "Kovrin") << content;
    }
    EXPECT_FALSE(ReadDeviceNameFromConfig(dir / "missing.xml"));
    EXPECT_FALSE(ReadSoftwareInfoFromConfig(dir / "missing.xml").found);
}

TEST_F(ProductConfigTest, ShippedConfigNamesTheProduct) {
    EXPECT_TRUE(ReadDeviceNameFromConfig(std::string(KOVRIN_SOURCE_DIR) + "/data/config.xml"));
    EXPECT_EQ(DeviceName(), "Kovrin");
    const SoftwareInfo info =
        ReadSoftwareInfoFromConfig(std::string(KOVRIN_SOURCE_DIR) + "/data/config.xml");
    EXPECT_TRUE(info.found);
    EXPECT_FALSE(info.version.empty());
    EXPECT_FALSE(info.upgrade.empty());
}

} // namespace
