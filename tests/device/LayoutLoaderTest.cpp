#include "device/LayoutLoader.h"

#include "tests/device/TempProgramFolder.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <climits>

using namespace kovrin;
using kovrin::test::kXmlHeader;
using kovrin::test::TempProgramFolder;

namespace {

std::string Layout(const std::string& body) {
    return std::string(kXmlHeader) + "<device.info>\r\n" + body + "</device.info>\r\n";
}

std::string Keys(const std::string& keys,
                 const std::string& keyboard_attributes = "xpos=\"330\" ypos=\"105\" width=\"900\" "
                                                          "height=\"300\" image=\"board.png\" "
                                                          "row_count=\"6\" col_count=\"21\"") {
    return "<Keyboard " + keyboard_attributes + ">\r\n<KeyItems>\r\n" + keys +
           "</KeyItems>\r\n</Keyboard>\r\n";
}

std::string Key(const std::string& code, int index, const std::string& row_col,
                const std::string& extra = "") {
    return "<key code=\"" + code + "\" name=\"K" + code + "\" desc=\"Key " + code +
           "\" key_index=\"" + std::to_string(index) + "\" light_index=\"" +
           std::to_string(index + 100) + "\" row_col=\"" + row_col + "\" rect=\"0#0#10#10\" " +
           extra + "/>\r\n";
}

const char* const kFullLayout =
    "<menu macro=\"1\" light_mode=\"0\"/>\r\n"
    "<function sleep_time=\"1\"/>\r\n"
    "<firmware version=\"105\" file=\"tool\" url=\"https://updates.vendor.example/fw/\"/>\r\n"
    "<light rgb_keyboard=\"1\" default_mode=\"2\" default_brightness=\"3\" default_speed=\"2\" "
    "brightness_max=\"5\" speed_max=\"6\">\r\n"
    "<info name=\"400\" mode=\"1\" attribute=\"49\"/>\r\n"
    "<info name=\"407\" mode=\"2\" attribute=\"512\"/>\r\n"
    "</light>\r\n"
    "<Keyboard xpos=\"330\" ypos=\"105\" width=\"900\" height=\"300\" image=\"board.png\" "
    "row_count=\"6\" col_count=\"21\">\r\n"
    "<KeyItems>\r\n"
    "<key code=\"29\" name=\"Esc\" desc=\"Escape\" key_index=\"0\" light_index=\"7\" "
    "row_col=\"0_0\" rect=\"10#20#30#40\" icon=\"icons/esc.png\"/>\r\n"
    "<key code=\"0x04\" name=\"A\" desc=\"Letter A\" key_index=\"31\" light_index=\"31\" "
    "row_col=\"3_12\" rect=\"100#120#36#36\" icon=\"\"/>\r\n"
    "</KeyItems>\r\n"
    "</Keyboard>\r\n";

ModelRecord Model(const std::string& name, int device_type, const std::string& layout) {
    ModelRecord model;
    model.name = name;
    model.device_type = device_type;
    model.layout_name = layout;
    return model;
}

// Reads a layout text onto a default layout, without files.
KeyboardLayout ReadText(const std::string& text, std::vector<std::string>* warnings = nullptr) {
    XmlDocument doc;
    EXPECT_TRUE(doc.SetText(text));
    EXPECT_TRUE(doc.FindElement("device.info"));
    KeyboardLayout layout;
    std::vector<std::string> w;
    ReadLayout(doc, layout, w);
    if (warnings != nullptr) {
        *warnings = w;
    }
    return layout;
}

int NonEmptyCells(const KeyMatrix& matrix) {
    int count = 0;
    for (const auto cell : matrix.cells()) {
        count += cell != kNoKey ? 1 : 0;
    }
    return count;
}

bool Mentions(const std::vector<std::string>& warnings, const std::string& text) {
    for (const auto& w : warnings) {
        if (w.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(LayoutLoader, DefaultsBeforeAnyLayout) {
    const KeyboardLayout layout;
    EXPECT_EQ(layout.device_type, 201);
    EXPECT_EQ(layout.page_flags, 0x7Fu);
    EXPECT_EQ(layout.light.brightness_max, 4);
    EXPECT_EQ(layout.light.speed_max, 4);
    EXPECT_EQ(NonEmptyCells(layout.matrix), 0);
    EXPECT_FALSE(layout.FirmwareButtonVisible());
}

TEST(LayoutLoader, LoadsEveryPartOfTheModelsFile) {
    TempProgramFolder folder;
    folder.WriteLayout("bolt", Layout(kFullLayout));
    const std::vector<ModelRecord> models = {Model("Other", 110, "other"),
                                             Model("Bolt", 201, "bolt")};
    const LayoutLoad load = LoadLayout(201, models, nullptr);
    ASSERT_TRUE(load.loaded) << load.error;
    EXPECT_TRUE(load.warnings.empty());
    EXPECT_EQ(load.model_name, "Bolt");
    EXPECT_EQ(load.layout_name, "bolt");
    const KeyboardLayout& l = *load.layout;

    EXPECT_EQ(l.device_type, 201);
    EXPECT_EQ(l.model_name, "Bolt");
    EXPECT_EQ(l.page_flags, 0x43u);
    EXPECT_TRUE(l.ShowsPage(kPageMacros));
    EXPECT_FALSE(l.ShowsPage(kPageLighting));
    EXPECT_TRUE(l.sleep_time);
    EXPECT_EQ(l.firmware_version, "105");
    EXPECT_EQ(l.firmware_file, "tool");
    EXPECT_EQ(l.firmware_url, "https://updates.vendor.example/fw/");
    EXPECT_TRUE(l.FirmwareButtonVisible());

    EXPECT_TRUE(l.light.rgb_keyboard);
    EXPECT_EQ(l.light.default_mode, 2);
    EXPECT_EQ(l.light.default_brightness, 3);
    EXPECT_EQ(l.light.default_speed, 2);
    EXPECT_EQ(l.light.brightness_max, 5);
    EXPECT_EQ(l.light.speed_max, 6);
    ASSERT_EQ(l.light_modes.size(), 2u);
    const LightModeInfo& first = l.light_modes[0];
    EXPECT_EQ(first.name, "400");
    EXPECT_EQ(first.name_text, 400);
    EXPECT_EQ(first.mode, 1);
    EXPECT_EQ(first.functions, LF_BRIGHTNESS | LF_RGB | LF_COLOR);
    EXPECT_EQ(first.brightness, 3);
    EXPECT_EQ(first.speed, 2);
    EXPECT_EQ(first.direction, 0);
    EXPECT_EQ(first.colorful, 1);
    EXPECT_EQ(first.color_index, 0);
    EXPECT_EQ(first.color_value, 16623632u);
    EXPECT_EQ(l.light_modes[1].functions, LF_MUSIC);

    EXPECT_TRUE(l.has_keyboard);
    EXPECT_EQ(l.KeyboardRect(), (KeyRect{330, 105, 1230, 405}));
    EXPECT_EQ(l.KeyboardPicturePath(), "keyboard/board.png");
    EXPECT_EQ(l.row_count, 6);
    EXPECT_EQ(l.col_count, 21);

    ASSERT_EQ(l.keys.size(), 2u);
    const KeyItem& esc = l.keys[0];
    EXPECT_EQ(esc.name, "Esc");
    EXPECT_EQ(esc.desc, "Escape");
    EXPECT_EQ(esc.code, 0x29);
    EXPECT_EQ(esc.rect, (KeyRect{10, 20, 40, 60}));
    EXPECT_EQ(esc.icon, "icons/esc.png");
    EXPECT_EQ(esc.light_index, 7);
    EXPECT_EQ(l.keys[1].code, 0x04);

    EXPECT_EQ(l.matrix.At(0, 0), 0x29);
    EXPECT_EQ(l.matrix.At(3, 12), 0x04);
    EXPECT_EQ(NonEmptyCells(l.matrix), 2);
    EXPECT_EQ(l.KeyIndexOf(0x04), 31);
    // Both maps come from key_index; light_index is read but not used.
    EXPECT_EQ(l.LightIndexOf(0x29), 0);
    EXPECT_EQ(l.KeyIndexOf(0x05), std::nullopt);
    ASSERT_NE(l.FindKey(0x04), nullptr);
    EXPECT_EQ(l.FindKey(0x04)->name, "A");
}

TEST(LayoutLoader, MenuFlagsFromMacroAndLightMode) {
    const struct {
        const char* macro;
        const char* light;
        std::uint32_t flags;
    } cases[] = {{"0", "0", 0x41}, {"1", "0", 0x43},  {"0", "1", 0x45},
                 {"1", "1", 0x47}, {"2", "01", 0x45}, {"", "", 0x41}};
    for (const auto& c : cases) {
        const KeyboardLayout l = ReadText(Layout(std::string("<menu macro=\"") + c.macro +
                                                 "\" light_mode=\"" + c.light + "\"/>"));
        EXPECT_EQ(l.page_flags, c.flags) << c.macro << " " << c.light;
    }
}

TEST(LayoutLoader, PageFlagsSurviveALayoutWithoutMenu) {
    TempProgramFolder folder;
    folder.WriteLayout("with_menu", Layout("<menu macro=\"1\" light_mode=\"0\"/>"));
    folder.WriteLayout("no_menu", Layout(Keys(Key("04", 0, "0_0"))));
    const std::vector<ModelRecord> models = {Model("A", 201, "with_menu"),
                                             Model("B", 202, "no_menu")};
    const LayoutLoad first = LoadLayout(201, models, nullptr);
    ASSERT_TRUE(first.loaded);
    EXPECT_EQ(first.layout->page_flags, 0x43u);
    const LayoutLoad second = LoadLayout(202, models, first.layout);
    ASSERT_TRUE(second.loaded);
    EXPECT_EQ(second.layout->page_flags, 0x43u);
    EXPECT_EQ(second.layout->keys.size(), 1u);
    // The first layout is a snapshot: loading another one leaves it as it was.
    EXPECT_TRUE(first.layout->keys.empty());

    const LayoutLoad fresh = LoadLayout(202, models, nullptr);
    EXPECT_EQ(fresh.layout->page_flags, 0x7Fu);
}

TEST(LayoutLoader, RowColTexts) {
    const struct {
        const char* text;
        std::optional<MatrixCell> cell;
    } cases[] = {
        {"0_0", MatrixCell{0, 0}},  {"3_5", MatrixCell{3, 5}},   {"3_12", MatrixCell{3, 12}},
        {"3,05", MatrixCell{3, 5}}, {"7_31", MatrixCell{7, 31}}, {"3__12", MatrixCell{3, 12}},
        {"", std::nullopt},         {"3", std::nullopt},         {"35", std::nullopt},
        {"8_0", std::nullopt},      {"9_9", std::nullopt},       {"0_32", std::nullopt},
        {"0_99", std::nullopt},     {"3_-5", std::nullopt},      {"-_5", std::nullopt},
        {"x_5", std::nullopt},      {"3_5x", std::nullopt},      {"3125", std::nullopt},
        {"10_5", std::nullopt},     {"3_ 5", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseRowCol(c.text), c.cell) << '"' << c.text << '"';
    }
}

TEST(LayoutLoader, RowColOutsideTheMatrixTouchesNothing) {
    std::vector<std::string> warnings;
    const KeyboardLayout l =
        ReadText(Layout(Keys(Key("04", 0, "8_0") + Key("05", 1, "0_32") + Key("06", 2, "3_-1") +
                             Key("07", 3, "9") + Key("08", 4, "") + Key("09", 5, "7_31") +
                             Key("1FF", 6, "1_1") + Key("-4", 7, "2_2"))),
                 &warnings);
    EXPECT_EQ(NonEmptyCells(l.matrix), 1);
    EXPECT_EQ(l.matrix.At(7, 31), 0x09);
    // Without row_col no cell is taken either, not even cell 0.
    EXPECT_EQ(l.matrix.At(0, 0), kNoKey);
    EXPECT_EQ(l.matrix.At(1, 1), kNoKey);
    // The keys stay in the views and the maps.
    ASSERT_EQ(l.keys.size(), 8u);
    EXPECT_EQ(l.key_index_map.size(), 8u);
    EXPECT_EQ(l.KeyIndexOf(0x1FF), 6);
    EXPECT_FALSE(l.keys[0].in_matrix);
    EXPECT_TRUE(l.keys[5].in_matrix);
    EXPECT_TRUE(Mentions(warnings, "\"8_0\""));
    EXPECT_TRUE(Mentions(warnings, "\"0_32\""));
    EXPECT_TRUE(Mentions(warnings, "\"3_-1\""));
    EXPECT_TRUE(Mentions(warnings, "0x1FF"));
    EXPECT_EQ(warnings.size(), 6u); // the key without row_col is not worth a warning
}

TEST(LayoutLoader, KeyRectangles) {
    const struct {
        const char* text;
        KeyRect rect;
    } cases[] = {
        {"10#20#30#40", {10, 20, 40, 60}},
        {"10#20", {10, 20, 10, 20}},
        {"", {0, 0, 0, 0}},
        {"-5#-5#10#10", {-5, -5, 5, 5}},
        {" 7 # 8 #9#x", {7, 8, 16, 8}},
        {"2147483647#0#10#0", {INT_MAX, 0, INT_MAX, 0}},
        {"-2147483648#0#-1#0", {INT_MIN, 0, INT_MIN, 0}},
        {"1#2#3#4#5", {1, 2, 4, 6}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseKeyRect(c.text), c.rect) << '"' << c.text << '"';
    }
}

TEST(LayoutLoader, DuplicateCodesKeepBothItemsAndTheSecondIndex) {
    std::vector<std::string> warnings;
    const KeyboardLayout l =
        ReadText(Layout(Keys(Key("04", 10, "1_1") + Key("04", 20, "1_1"))), &warnings);
    ASSERT_EQ(l.keys.size(), 2u);
    EXPECT_EQ(l.keys[0].key_index, 10);
    EXPECT_EQ(l.keys[1].key_index, 20);
    EXPECT_EQ(l.KeyIndexOf(0x04), 20);
    EXPECT_EQ(l.LightIndexOf(0x04), 20);
    EXPECT_TRUE(Mentions(warnings, "replaces an earlier key"));
}

TEST(LayoutLoader, FirmwareButtonNeedsVersionAndFile) {
    const struct {
        const char* attributes;
        bool visible;
    } cases[] = {
        {"version=\"105\" file=\"tool\"", true},
        {"version=\"105\"", false},
        {"file=\"tool\"", false},
        {"", false},
        {"version=\"105\" file=\"../tool\"", false},
    };
    for (const auto& c : cases) {
        const KeyboardLayout l = ReadText(Layout(std::string("<firmware ") + c.attributes + "/>"));
        EXPECT_EQ(l.FirmwareButtonVisible(), c.visible) << c.attributes;
    }
}

TEST(LayoutLoader, FirmwareAddressIsClearedAtEveryLoad) {
    TempProgramFolder folder;
    folder.WriteLayout("a", Layout("<firmware version=\"1\" file=\"t\" url=\"http://x/\"/>"));
    folder.WriteLayout("b", Layout("<menu macro=\"1\"/>"));
    const std::vector<ModelRecord> models = {Model("A", 201, "a"), Model("B", 202, "b")};
    const LayoutLoad a = LoadLayout(201, models, nullptr);
    EXPECT_EQ(a.layout->firmware_url, "http://x/");
    const LayoutLoad b = LoadLayout(202, models, a.layout);
    ASSERT_TRUE(b.loaded);
    EXPECT_EQ(b.layout->firmware_url, "");
    // Without a firmware element version and file are left as they were.
    EXPECT_EQ(b.layout->firmware_version, "1");
    EXPECT_EQ(b.layout->firmware_file, "t");
}

TEST(LayoutLoader, MissingElementsKeepThePreviousValuesButKeysAreRebuilt) {
    KeyboardLayout previous = ReadText(Layout(kFullLayout));
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText(Layout("<function sleep_time=\"0\"/>")));
    ASSERT_TRUE(doc.FindElement("device.info"));
    std::vector<std::string> warnings;
    ReadLayout(doc, previous, warnings);
    EXPECT_FALSE(previous.sleep_time);
    EXPECT_EQ(previous.light_modes.size(), 2u);
    EXPECT_EQ(previous.light.speed_max, 6);
    EXPECT_EQ(previous.KeyboardRect(), (KeyRect{330, 105, 1230, 405}));
    EXPECT_TRUE(previous.keys.empty());
    EXPECT_TRUE(previous.key_index_map.empty());
    EXPECT_TRUE(previous.light_index_map.empty());
    EXPECT_EQ(NonEmptyCells(previous.matrix), 0);
    EXPECT_EQ(previous.row_count, 0);
    EXPECT_EQ(previous.col_count, 0);
}

TEST(LayoutLoader, ElementsAreSearchedInTheirOrder) {
    // Each element is looked for after the one found before it: a menu that
    // follows the light element is found, the light element before it is not.
    const KeyboardLayout l = ReadText(
        Layout("<light speed_max=\"9\"><info name=\"1\" mode=\"1\" attribute=\"1\"/></light>\r\n"
               "<menu macro=\"0\" light_mode=\"0\"/>\r\n"));
    EXPECT_EQ(l.page_flags, 0x41u);
    EXPECT_TRUE(l.light_modes.empty());
    EXPECT_EQ(l.light.speed_max, 4);
}

TEST(LayoutLoader, MatrixSizeIsKeptInsideTheMatrix) {
    const struct {
        const char* rows;
        const char* cols;
        int row_count;
        int col_count;
        std::size_t warnings;
    } cases[] = {{"6", "21", 6, 21, 0},
                 {"8", "32", 8, 32, 0},
                 {"9", "33", 8, 32, 2},
                 {"-1", "0", 0, 0, 1},
                 {"", "", 0, 0, 0}};
    for (const auto& c : cases) {
        std::vector<std::string> warnings;
        const KeyboardLayout l = ReadText(Layout(Keys("", std::string("row_count=\"") + c.rows +
                                                              "\" col_count=\"" + c.cols + "\"")),
                                          &warnings);
        EXPECT_EQ(l.row_count, c.row_count) << c.rows;
        EXPECT_EQ(l.col_count, c.col_count) << c.cols;
        EXPECT_EQ(warnings.size(), c.warnings) << c.rows << " " << c.cols;
    }
}

TEST(LayoutLoader, PicturesAndIconsStayInsideTheSkin) {
    std::vector<std::string> warnings;
    const KeyboardLayout l = ReadText(Layout(Keys(Key("04", 0, "0_0", "icon=\"../../secret.png\"") +
                                                      Key("05", 1, "0_1", "icon=\"/etc/passwd\"") +
                                                      Key("06", 2, "0_2", "icon=\"icons/ok.png\""),
                                                  "image=\"../../../home/user/x.png\"")),
                                      &warnings);
    EXPECT_EQ(l.keyboard_image, "");
    EXPECT_EQ(l.KeyboardPicturePath(), "");
    ASSERT_EQ(l.keys.size(), 3u);
    EXPECT_EQ(l.keys[0].icon, "");
    EXPECT_EQ(l.keys[1].icon, "");
    EXPECT_EQ(l.keys[2].icon, "icons/ok.png");
    EXPECT_EQ(warnings.size(), 3u);
}

TEST(LayoutLoader, AFailedLoadLeavesThePreviousLayout) {
    TempProgramFolder folder;
    folder.WriteLayout("good", Layout(kFullLayout));
    folder.WriteLayout("broken", "<device.info><menu></device.info>");
    folder.WriteLayout("wrong_root", std::string(kXmlHeader) + "<layout><menu/></layout>");
    const std::vector<ModelRecord> models = {
        Model("Good", 201, "good"), Model("Missing", 202, "missing"),
        Model("Broken", 203, "broken"), Model("WrongRoot", 204, "wrong_root")};
    const LayoutLoad good = LoadLayout(201, models, nullptr);
    ASSERT_TRUE(good.loaded);

    const struct {
        int device_type;
        const char* model;
        const char* error;
    } cases[] = {{202, "Missing", "cannot be read"},
                 {203, "Broken", "not well-formed"},
                 {204, "WrongRoot", "no device.info root"},
                 {299, "", "no model of device type 299"}};
    for (const auto& c : cases) {
        const LayoutLoad load = LoadLayout(c.device_type, models, good.layout);
        EXPECT_FALSE(load.loaded) << c.device_type;
        EXPECT_EQ(load.layout, good.layout) << c.device_type;
        EXPECT_NE(load.error.find(c.error), std::string::npos) << load.error;
        // The model is chosen all the same; the caller switches its database.
        EXPECT_EQ(load.device_type, c.device_type);
        EXPECT_EQ(load.model_name, c.model);
    }
    const LayoutLoad none = LoadLayout(202, models, nullptr);
    EXPECT_FALSE(none.loaded);
    ASSERT_NE(none.layout, nullptr);
    EXPECT_EQ(none.layout->page_flags, 0x7Fu);
}

TEST(LayoutLoader, LayoutNamesNeverLeaveTheLayoutsFolder) {
    TempProgramFolder folder;
    // A valid layout just outside the layouts folder, where "../outside" would lead.
    folder.Write("outside.xml", Layout(kFullLayout));
    folder.WriteLayout("inside", Layout(kFullLayout));
    const std::string names[] = {
        "../outside", "sub/inside", "..", ".", "", std::string("inside\0x", 8), "/etc/passwd"};
    for (const std::string& name : names) {
        const LayoutLoad load = LoadModelLayout(Model("M", 201, name), nullptr);
        EXPECT_FALSE(load.loaded) << name;
        EXPECT_NE(load.error.find("not a plain file name"), std::string::npos) << load.error;
        EXPECT_TRUE(load.layout->keys.empty());
    }
    EXPECT_TRUE(LoadModelLayout(Model("M", 201, "inside"), nullptr).loaded);
}

TEST(LayoutLoader, KeyMatrixBounds) {
    KeyMatrix matrix;
    EXPECT_TRUE(matrix.Set(7, 31, 0x04));
    EXPECT_EQ(matrix.cells()[255], 0x04);
    const int outside[][2] = {{8, 0}, {0, 32}, {-1, 0}, {0, -1}, {100, 100}};
    for (const auto& o : outside) {
        EXPECT_FALSE(matrix.Set(o[0], o[1], 0x05));
        EXPECT_EQ(matrix.At(o[0], o[1]), kNoKey);
    }
    EXPECT_EQ(NonEmptyCells(matrix), 1);
}

TEST(LightModes, DescribesTheFunctionBits) {
    EXPECT_EQ(DescribeLightFunctions(0), "");
    EXPECT_EQ(DescribeLightFunctions(LF_BRIGHTNESS | LF_MUSIC), "brightness music");
    EXPECT_EQ(DescribeLightFunctions(kAllLightFunctions),
              "brightness speed left-right up-down rgb colour presets presets-off per-key music "
              "screen areas");
    EXPECT_EQ(DescribeLightFunctions(0x1001), "brightness 0x1000");
}
