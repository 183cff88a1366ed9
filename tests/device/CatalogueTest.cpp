#include "device/Catalogue.h"

#include "tests/device/TempProgramFolder.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

using namespace kovrin;
using kovrin::test::kXmlHeader;
using kovrin::test::TempProgramFolder;

namespace {

std::string Config(const std::string& device_info) {
    return std::string(kXmlHeader) + "<config>\r\n" + device_info +
           "<software name=\"Kovrin\" version=\"1.0\"/>\r\n</config>\r\n";
}

const char* const kTwoModels =
    "<device.info>\r\n"
    "<keyboard name=\"Alpha\" device_type=\"150\" device_info=\"alpha\">\r\n"
    "<mode value=\"0\" desc=\"cable\" vid=\"3A5C\" pid=\"0101\" product_name=\"\" "
    "hid_interface=\"VID_3A5C&amp;PID_0101&amp;MI_02\"/>\r\n"
    "</keyboard>\r\n"
    "<keyboard name=\"Beta\" device_type=\"201\" device_info=\"beta\">\r\n"
    "<mode value=\"0\" desc=\"cable\" vid=\"0x3a5c\" pid=\"0x0201\" product_name=\"B\" "
    "hid_interface=\"\"/>\r\n"
    "<mode value=\"2\" desc=\"radio\" vid=\"3a5c\" pid=\"0203\"/>\r\n"
    "</keyboard>\r\n"
    "</device.info>\r\n";

bool ReadFromText(const std::string& text, Catalogue& catalogue) {
    XmlDocument doc;
    EXPECT_TRUE(doc.SetText(text));
    EXPECT_TRUE(doc.FindElement("config"));
    EXPECT_TRUE(doc.EnterElement());
    return ReadCatalogue(doc, catalogue);
}

} // namespace

TEST(Catalogue, ReadsModelsModesAndSupportedIdsInFileOrder) {
    Catalogue catalogue;
    ASSERT_TRUE(ReadFromText(Config(kTwoModels), catalogue));
    EXPECT_TRUE(catalogue.problems.empty());

    ASSERT_EQ(catalogue.models.size(), 2u);
    EXPECT_EQ(catalogue.models[0].name, "Alpha");
    EXPECT_EQ(catalogue.models[0].device_type, 150);
    EXPECT_EQ(catalogue.models[0].layout_name, "alpha");
    EXPECT_EQ(catalogue.models[0].mode, 0);
    EXPECT_EQ(catalogue.models[0].vendor_id, 0);
    EXPECT_EQ(catalogue.models[0].reserved_value, -1);
    EXPECT_EQ(catalogue.models[1].name, "Beta");

    ASSERT_EQ(catalogue.modes.size(), 3u);
    const ModelRecord& first = catalogue.modes[0];
    EXPECT_EQ(first.name, "");
    EXPECT_EQ(first.device_type, 150);
    EXPECT_EQ(first.layout_name, "alpha");
    EXPECT_EQ(first.vendor_id, 0x3A5C);
    EXPECT_EQ(first.product_id, 0x0101);
    EXPECT_EQ(first.description, "cable");
    EXPECT_EQ(first.interface_pattern, "VID_3A5C&PID_0101&MI_02");
    EXPECT_EQ(first.present, 0);
    EXPECT_EQ(catalogue.modes[1].name, "B");
    EXPECT_EQ(catalogue.modes[1].device_type, 201);
    EXPECT_EQ(catalogue.modes[1].layout_name, "beta");
    EXPECT_EQ(catalogue.modes[2].mode, 2);
    EXPECT_EQ(catalogue.modes[2].interface_pattern, "");

    ASSERT_EQ(catalogue.supported.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const SupportedDevice& s = catalogue.supported[i];
        const ModelRecord& m = catalogue.modes[i];
        EXPECT_EQ(s.vendor_id, m.vendor_id);
        EXPECT_EQ(s.product_id, m.product_id);
        EXPECT_EQ(s.product_name, m.name);
        EXPECT_EQ(s.device_type, m.device_type);
        EXPECT_EQ(s.mode, m.mode);
        EXPECT_EQ(s.interface_pattern, m.interface_pattern);
    }
}

TEST(Catalogue, IdsReadAsHexadecimalWithOrWithoutPrefix) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"3A5C", 0x3A5C}, {"0x3A5C", 0x3A5C}, {"0X3a5c", 0x3A5C},
                 {"", 0},          {"zz", 0},          {"10", 0x10}};
    for (const auto& c : cases) {
        Catalogue catalogue;
        ASSERT_TRUE(
            ReadFromText(Config(std::string("<device.info><keyboard name=\"K\" device_type=\"201\" "
                                            "device_info=\"k\"><mode vid=\"") +
                                c.text + "\" pid=\"" + c.text + "\"/></keyboard></device.info>"),
                         catalogue));
        ASSERT_EQ(catalogue.modes.size(), 1u) << c.text;
        EXPECT_EQ(catalogue.modes[0].vendor_id, c.value) << c.text;
        EXPECT_EQ(catalogue.modes[0].product_id, c.value) << c.text;
    }
}

TEST(Catalogue, MissingAttributesReadAsEmptyAndZero) {
    Catalogue catalogue;
    ASSERT_TRUE(
        ReadFromText(Config("<device.info><keyboard name=\"K\" device_info=\"k\"><mode/></keyboard>"
                            "</device.info>"),
                     catalogue));
    ASSERT_EQ(catalogue.modes.size(), 1u);
    EXPECT_EQ(catalogue.models[0].device_type, 0);
    EXPECT_EQ(catalogue.modes[0].mode, 0);
    EXPECT_EQ(catalogue.modes[0].vendor_id, 0);
    EXPECT_EQ(catalogue.modes[0].interface_pattern, "");
}

TEST(Catalogue, CursorStaysOnDeviceInfoSoLaterElementsAreFound) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText(Config(kTwoModels)));
    ASSERT_TRUE(doc.FindElement("config"));
    ASSERT_TRUE(doc.EnterElement());
    Catalogue catalogue;
    ASSERT_TRUE(ReadCatalogue(doc, catalogue));
    ASSERT_TRUE(doc.FindElement("software"));
    EXPECT_EQ(doc.GetAttribute("version"), "1.0");
}

TEST(Catalogue, NoDeviceInfoMeansNoCatalogue) {
    Catalogue catalogue;
    catalogue.problems.push_back("stale");
    EXPECT_FALSE(ReadFromText(Config(""), catalogue));
    EXPECT_TRUE(catalogue.models.empty());
    EXPECT_TRUE(catalogue.problems.empty());

    // Searched after the current element: a device.info before it is not seen.
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText(Config(kTwoModels)));
    ASSERT_TRUE(doc.FindElement("config"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("software"));
    EXPECT_FALSE(ReadCatalogue(doc, catalogue));
}

TEST(Catalogue, ModelsWhoseNamesWouldLeaveTheirFolderAreRefused) {
    const struct {
        const char* name;
        const char* layout;
    } cases[] = {
        {"Good", "../../etc/passwd"},
        {"Good", "sub/layout"},
        {"Good", ".."},
        {"Good", "."},
        {"Good", ""},
        {"a/b", "fine"},
        {"..", "fine"},
        {"", "fine"},
    };
    for (const auto& c : cases) {
        Catalogue catalogue;
        ASSERT_TRUE(
            ReadFromText(Config(std::string("<device.info><keyboard name=\"") + c.name +
                                "\" device_type=\"201\" device_info=\"" + c.layout +
                                "\"><mode vid=\"1\" pid=\"2\"/></keyboard>"
                                "<keyboard name=\"Next\" device_type=\"202\" device_info=\"next\">"
                                "<mode vid=\"3\" pid=\"4\"/></keyboard></device.info>"),
                         catalogue));
        ASSERT_EQ(catalogue.models.size(), 1u) << c.name << " " << c.layout;
        EXPECT_EQ(catalogue.models[0].name, "Next");
        ASSERT_EQ(catalogue.modes.size(), 1u);
        EXPECT_EQ(catalogue.modes[0].vendor_id, 3);
        ASSERT_EQ(catalogue.supported.size(), 1u);
        ASSERT_EQ(catalogue.problems.size(), 1u);
        EXPECT_NE(catalogue.problems[0].find("refused"), std::string::npos)
            << catalogue.problems[0];
    }
}

TEST(Catalogue, LoadingConfigFileReportsWhatWentWrong) {
    TempProgramFolder folder;
    Catalogue catalogue;
    std::string error;
    EXPECT_FALSE(LoadCatalogueFile(folder.Program() + "config.xml", catalogue, &error));
    EXPECT_NE(error.find("config.xml"), std::string::npos) << error;

    const struct {
        const char* text;
        const char* expect;
    } bad[] = {
        {"<config><device.info></config>", "not well-formed"},
        {"<settings><device.info/></settings>", "no config root"},
        {"", "not well-formed"},
    };
    for (const auto& b : bad) {
        folder.Write("config.xml", b.text);
        error.clear();
        EXPECT_FALSE(LoadCatalogueFile(folder.Program() + "config.xml", catalogue, &error))
            << b.text;
        EXPECT_NE(error.find(b.expect), std::string::npos) << error;
        EXPECT_TRUE(catalogue.models.empty());
    }

    folder.Write("config.xml", Config(kTwoModels));
    EXPECT_TRUE(LoadCatalogueFile(folder.Program() + "config.xml", catalogue, &error));
    EXPECT_EQ(catalogue.models.size(), 2u);

    folder.Write("config.xml", Config(""));
    EXPECT_TRUE(LoadCatalogueFile(folder.Program() + "config.xml", catalogue, &error));
    EXPECT_TRUE(catalogue.models.empty());
}

TEST(Catalogue, ReadOncePerRun) {
    TempProgramFolder folder;
    folder.Write("config.xml", Config(kTwoModels));
    const Catalogue& first = CatalogueOfRun();
    ASSERT_EQ(first.models.size(), 2u);

    folder.Write("config.xml", Config(""));
    const Catalogue& second = CatalogueOfRun();
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(second.models.size(), 2u);
}

TEST(Catalogue, FindsModelsByTypeAndName) {
    Catalogue catalogue;
    ASSERT_TRUE(ReadFromText(Config(kTwoModels), catalogue));
    ASSERT_NE(FindModelByType(catalogue.models, 201), nullptr);
    EXPECT_EQ(FindModelByType(catalogue.models, 201)->name, "Beta");
    EXPECT_EQ(FindModelByType(catalogue.models, 999), nullptr);
    ASSERT_NE(FindModelByName(catalogue.models, "Alpha"), nullptr);
    EXPECT_EQ(FindModelByName(catalogue.models, "Alpha")->layout_name, "alpha");
    EXPECT_EQ(FindModelByName(catalogue.models, "alpha"), nullptr);
}

TEST(Catalogue, SafeRelativePaths) {
    const struct {
        const char* path;
        bool safe;
    } cases[] = {
        {"board.png", true},    {"icons/a.png", true}, {"a..b.png", true},   {"", false},
        {"/etc/passwd", false}, {"../x.png", false},   {"a/../../x", false}, {"a\\..\\x", false},
        {"\\x", false},         {"..", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSafeRelativePath(c.path), c.safe) << c.path;
    }
    EXPECT_FALSE(IsSafeRelativePath(std::string_view("a\0b", 3)));
}
