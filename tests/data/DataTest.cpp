// Checks of the data the product ships: config.xml, the layouts, the language
// files and the udev rules.

#include "app/Language.h"
#include "app/Paths.h"
#include "base/Utf.h"
#include "device/Catalogue.h"
#include "device/LayoutLoader.h"
#include "platform/Files.h"
#include "tools/udevgen/UdevRules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string_view>

using namespace kovrin;

namespace {

const std::string kData = std::string(KOVRIN_SOURCE_DIR) + "/data/";
const int kLanguages[] = {1033, 2052};

class ShippedData : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramFolder(kData);
        std::string error;
        ASSERT_TRUE(LoadCatalogueFile(kData + "config.xml", catalogue_, &error)) << error;
    }
    void TearDown() override { SetProgramFolder(""); }

    std::vector<std::shared_ptr<const KeyboardLayout>> Layouts() {
        std::vector<std::shared_ptr<const KeyboardLayout>> layouts;
        for (const ModelRecord& model : catalogue_.models) {
            const LayoutLoad load = LoadModelLayout(model, nullptr);
            EXPECT_TRUE(load.loaded) << model.name << ": " << load.error;
            if (load.loaded) {
                layouts.push_back(load.layout);
            }
        }
        return layouts;
    }

    Catalogue catalogue_;
};

// Number of decimal digits starting at pos.
std::size_t DigitsAt(std::string_view text, std::size_t pos) {
    std::size_t n = 0;
    while (pos + n < text.size() && text[pos + n] >= '0' && text[pos + n] <= '9') {
        ++n;
    }
    return n;
}

std::size_t SkipSpaces(std::string_view text, std::size_t pos) {
    while (pos < text.size() &&
           (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' || text[pos] == '\r')) {
        ++pos;
    }
    return pos;
}

std::string ReadFile(const std::string& path) {
    const auto bytes = platform::ReadWholeFile(path);
    EXPECT_TRUE(bytes.has_value()) << path;
    return bytes.value_or("");
}

// Text number -> text of a language file, after checking its form.
std::map<int, std::string> ReadLanguageFile(int lcid) {
    const std::string path = LanguageFilePath(lcid);
    const std::string text = ReadFile(path);
    EXPECT_TRUE(IsValidUtf8(text)) << path;
    EXPECT_FALSE(text.starts_with("\xEF\xBB\xBF")) << path << " starts with a byte-order mark";
    std::map<int, std::string> texts;
    std::size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (first) {
            EXPECT_EQ(line, "[KB.DIALOG]") << path;
            first = false;
            continue;
        }
        const std::size_t digits = DigitsAt(line, 0);
        if (digits == 0 || line[0] == '0' || digits + 1 >= line.size() || line[digits] != '=') {
            ADD_FAILURE() << path << ": line \"" << line << "\" is not N=text";
            continue;
        }
        const int number = std::stoi(line.substr(0, digits));
        const std::string value = line.substr(digits + 1);
        EXPECT_FALSE(texts.contains(number)) << path << ": " << number << " twice";
        EXPECT_LE(Utf16Length(value), kMaxTextUnits) << path << ": " << number;
        texts[number] = value;
    }
    return texts;
}

// Numbers of every GetText(N) / GetText(section, N) call with a literal N.
std::set<int> TextNumbersCalledIn(const std::string& source) {
    std::set<int> numbers;
    const std::string_view call = "GetText";
    for (std::size_t at = source.find(call); at != std::string::npos;
         at = source.find(call, at + 1)) {
        std::size_t pos = SkipSpaces(source, at + call.size());
        if (pos >= source.size() || source[pos] != '(') {
            continue;
        }
        pos = SkipSpaces(source, pos + 1);
        for (const std::string_view section : {"kDialogSection", "\"KB.DIALOG\""}) {
            if (std::string_view(source).substr(pos).starts_with(section)) {
                const std::size_t comma = SkipSpaces(source, pos + section.size());
                if (comma < source.size() && source[comma] == ',') {
                    pos = SkipSpaces(source, comma + 1);
                }
            }
        }
        const std::size_t digits = DigitsAt(source, pos);
        const std::size_t close = SkipSpaces(source, pos + digits);
        if (digits > 0 && close < source.size() && source[close] == ')') {
            numbers.insert(std::stoi(source.substr(pos, digits)));
        }
    }
    return numbers;
}

std::set<int> TextNumbersCalledInSources() {
    std::set<int> numbers;
    for (const char* dir : {"app", "device", "store", "keys", "macros", "lighting", "services",
                            "tessel", "mainwindow", "tools"}) {
        const std::filesystem::path root = std::string(KOVRIN_SOURCE_DIR) + "/" + dir;
        if (!std::filesystem::is_directory(root)) {
            continue;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            const auto ext = entry.path().extension();
            if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h")) {
                numbers.merge(TextNumbersCalledIn(ReadFile(entry.path().string())));
            }
        }
    }
    return numbers;
}

std::set<int> TextIdsList() {
    std::set<int> numbers;
    const std::string text = ReadFile(kData + "language/TEXT_IDS");
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t digits = DigitsAt(text, start);
        if (digits > 0 && start + digits < text.size() && text[start + digits] == '\t') {
            numbers.insert(std::stoi(text.substr(start, digits)));
        }
        const std::size_t end = text.find('\n', start);
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return numbers;
}

} // namespace

TEST(TextNumbers, FoundInGetTextCalls) {
    EXPECT_EQ(TextNumbersCalledIn("a = GetText(65); b = GetText( kDialogSection , 331 );\n"
                                  "GetText(\"KB.DIALOG\", 7); GetText(id); GetText(700 + n);"),
              (std::set<int>{7, 65, 331}));
}

TEST_F(ShippedData, CatalogueHoldsEveryKindOfModel) {
    EXPECT_TRUE(catalogue_.problems.empty());
    ASSERT_GE(catalogue_.models.size(), 3u);
    bool family_a = false;
    bool start_type = false;
    bool three_modes = false;
    for (const ModelRecord& model : catalogue_.models) {
        std::set<int> modes;
        for (const ModelRecord& mode : catalogue_.modes) {
            if (mode.layout_name == model.layout_name && mode.device_type == model.device_type) {
                modes.insert(mode.mode);
            }
        }
        EXPECT_FALSE(modes.empty()) << model.name;
        family_a |= model.device_type <= 200 && modes == std::set<int>{0};
        start_type |= model.device_type == kStartDeviceType;
        three_modes |=
            model.device_type > 200 && model.device_type < 300 && modes == std::set<int>{0, 1, 2};
    }
    EXPECT_TRUE(family_a);
    EXPECT_TRUE(start_type);
    EXPECT_TRUE(three_modes);
}

TEST_F(ShippedData, ModesHaveDistinctIdsAndMatchingInterfacePatterns) {
    std::set<std::pair<int, int>> ids;
    for (const ModelRecord& mode : catalogue_.modes) {
        EXPECT_GT(mode.vendor_id, 0);
        EXPECT_LE(mode.vendor_id, 0xFFFF);
        EXPECT_GT(mode.product_id, 0);
        EXPECT_LE(mode.product_id, 0xFFFF);
        EXPECT_TRUE(ids.insert({mode.vendor_id, mode.product_id}).second)
            << "ids used twice: " << mode.layout_name << " mode " << mode.mode;
        // A product name would never match: product strings are not read.
        EXPECT_EQ(mode.name, "");
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "VID_%04X&PID_%04X",
                      static_cast<unsigned>(mode.vendor_id),
                      static_cast<unsigned>(mode.product_id));
        EXPECT_TRUE(mode.interface_pattern.starts_with(prefix))
            << mode.interface_pattern << " for " << prefix;
        for (const char c : mode.interface_pattern) {
            EXPECT_FALSE(c >= 'a' && c <= 'z')
                << "interface names are compared upper-case: " << mode.interface_pattern;
        }
    }
}

TEST_F(ShippedData, EveryModelHasALayoutThatLoadsCleanly) {
    std::set<std::size_t> key_counts;
    for (const ModelRecord& model : catalogue_.models) {
        const LayoutLoad load = LoadModelLayout(model, nullptr);
        ASSERT_TRUE(load.loaded) << model.name << ": " << load.error;
        EXPECT_TRUE(load.warnings.empty()) << model.name << ": " << load.warnings.front();
        const KeyboardLayout& layout = *load.layout;
        EXPECT_TRUE(layout.has_keyboard) << model.name;
        EXPECT_FALSE(layout.keyboard_image.empty()) << model.name;
        EXPECT_FALSE(layout.firmware_version.empty()) << model.name;
        EXPECT_TRUE(layout.firmware_url.ends_with("/")) << model.name;
        key_counts.insert(layout.keys.size());
    }
    EXPECT_TRUE(key_counts.contains(104));
    EXPECT_TRUE(key_counts.contains(87));
    // The start-up load by device type finds its model.
    EXPECT_TRUE(LoadLayout(kStartDeviceType, catalogue_.models, nullptr).loaded);
}

TEST_F(ShippedData, KeysAreUniqueAndFitThePictureAndTheMatrix) {
    for (const auto& layout : Layouts()) {
        const std::string& name = layout->layout_name;
        std::set<int> codes;
        std::set<int> indexes;
        std::set<std::pair<int, int>> cells;
        for (const KeyItem& key : layout->keys) {
            const std::string what = name + " " + key.name + " (" + key.desc + ")";
            EXPECT_TRUE(codes.insert(key.code).second) << what << ": code used twice";
            EXPECT_TRUE(indexes.insert(key.key_index).second) << what << ": key_index used twice";
            EXPECT_GE(key.code, 0x04) << what;
            EXPECT_LT(key.code, 0xFF) << what;
            // Only light indexes 0 to 109 reach the keyboard.
            EXPECT_GE(key.key_index, 0) << what;
            EXPECT_LT(key.key_index, 110) << what;
            EXPECT_FALSE(key.name.empty()) << what;
            EXPECT_FALSE(key.desc.empty()) << what;

            EXPECT_GE(key.rect.left, 0) << what;
            EXPECT_GE(key.rect.top, 0) << what;
            EXPECT_LT(key.rect.left, key.rect.right) << what;
            EXPECT_LT(key.rect.top, key.rect.bottom) << what;
            EXPECT_LE(key.rect.right, layout->keyboard_width) << what;
            EXPECT_LE(key.rect.bottom, layout->keyboard_height) << what;

            const auto cell = ParseRowCol(key.row_col);
            ASSERT_TRUE(cell.has_value()) << what << ": row_col " << key.row_col;
            EXPECT_TRUE(key.in_matrix) << what;
            EXPECT_LT(cell->row, layout->row_count) << what;
            EXPECT_LT(cell->column, layout->col_count) << what;
            EXPECT_TRUE(cells.insert({cell->row, cell->column}).second)
                << what << ": matrix cell " << key.row_col << " used twice";
            EXPECT_EQ(layout->matrix.At(cell->row, cell->column), key.code) << what;
        }
        EXPECT_EQ(layout->key_index_map.size(), layout->keys.size()) << name;
    }
}

TEST_F(ShippedData, LightModesAreCompleteAndNamedInEveryLanguage) {
    LightFunctions all = 0;
    for (const auto& layout : Layouts()) {
        const std::string& name = layout->layout_name;
        ASSERT_FALSE(layout->light_modes.empty()) << name;
        std::set<int> modes;
        for (const LightModeInfo& mode : layout->light_modes) {
            EXPECT_TRUE(modes.insert(mode.mode).second) << name << " mode " << mode.mode;
            EXPECT_GE(mode.mode, 1) << name;
            EXPECT_NE(mode.functions, 0u) << name << " mode " << mode.mode;
            EXPECT_EQ(mode.functions & ~kAllLightFunctions, 0u) << name << " mode " << mode.mode;
            all |= mode.functions;
            for (const int lcid : kLanguages) {
                EXPECT_FALSE(
                    ReadLanguageText(LanguageFilePath(lcid), kDialogSection, mode.name_text)
                        .empty())
                    << name << " mode " << mode.mode << ": no text " << mode.name << " in " << lcid;
            }
        }
        const LightSettings& light = layout->light;
        EXPECT_TRUE(modes.contains(light.default_mode)) << name;
        EXPECT_GE(light.default_brightness, 1) << name;
        EXPECT_LE(light.default_brightness, light.brightness_max) << name;
        EXPECT_GE(light.default_speed, 1) << name;
        EXPECT_LE(light.default_speed, light.speed_max) << name;
    }
    EXPECT_EQ(all, kAllLightFunctions);
}

TEST_F(ShippedData, LanguageFilesHoldEveryTextTheProgramUses) {
    std::set<int> required = TextIdsList();
    ASSERT_GE(required.size(), 150u) << "language/TEXT_IDS lost its entries";
    ASSERT_TRUE(required.contains(1));
    ASSERT_TRUE(required.contains(715));
    required.merge(TextNumbersCalledInSources());
    for (const auto& layout : Layouts()) {
        for (const LightModeInfo& mode : layout->light_modes) {
            required.insert(mode.name_text);
        }
    }
    std::map<int, std::map<int, std::string>> files;
    for (const int lcid : kLanguages) {
        files[lcid] = ReadLanguageFile(lcid);
        for (const int number : required) {
            EXPECT_TRUE(files[lcid].contains(number)) << lcid << ".lan lacks text " << number;
        }
        // What the program reads is what the file says.
        SetLanguageId(lcid);
        EXPECT_EQ(GetText(65), files[lcid][65]);
    }
    SetLanguageId(kDefaultLanguageId);
    std::set<int> english;
    std::set<int> chinese;
    for (const auto& [number, text] : files[1033]) {
        english.insert(number);
    }
    for (const auto& [number, text] : files[2052]) {
        chinese.insert(number);
    }
    EXPECT_EQ(english, chinese);
}

TEST_F(ShippedData, NameWordsMatchTheStoredDefaultNames) {
    // Stored default names are translated by their leading word.
    const auto english = ReadLanguageFile(1033);
    const auto chinese = ReadLanguageFile(2052);
    EXPECT_EQ(english.at(65), "Profile");
    EXPECT_EQ(chinese.at(65), "配置方案");
    EXPECT_EQ(english.at(331), "Macro");
    EXPECT_EQ(chinese.at(331), "宏");
}

TEST_F(ShippedData, XmlFilesUseCrLfLineEnds) {
    std::vector<std::string> files = {kData + "config.xml"};
    for (const ModelRecord& model : catalogue_.models) {
        files.push_back(LayoutsFolder() + model.layout_name + ".xml");
    }
    for (const std::string& path : files) {
        const std::string text = ReadFile(path);
        ASSERT_FALSE(text.empty()) << path;
        EXPECT_TRUE(text.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n")) << path;
        for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1)) {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << path << ": bare LF at byte " << i;
        }
    }
}

TEST_F(ShippedData, UdevRulesAreWhatTheGeneratorMakes) {
    std::vector<std::string> skipped;
    EXPECT_EQ(ReadFile(kData + "udev/70-kovrin.rules"), MakeUdevRules(catalogue_, &skipped))
        << "run kovrin-udevgen data/config.xml data/udev/70-kovrin.rules";
    EXPECT_TRUE(skipped.empty());
}
