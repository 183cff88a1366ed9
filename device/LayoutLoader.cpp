#include "device/LayoutLoader.h"

#include "app/DeviceName.h"
#include "app/Paths.h"
#include "base/WinNumbers.h"
#include "device/Catalogue.h"
#include "xml/XmlDocument.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace kovrin {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int ClampedSum(int a, int b) {
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    return static_cast<int>(std::clamp<std::int64_t>(sum, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

std::string Hex(int code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%02X", static_cast<unsigned>(code));
    return buffer;
}

std::string KeyLabel(const KeyItem& key) {
    return "key " + Hex(key.code) + " (" + key.name + ")";
}

void ReadMenu(XmlDocument& doc, KeyboardLayout& layout) {
    if (!doc.FindElement("menu")) {
        return;
    }
    std::uint32_t flags = kPageKeys | kPageThirdView;
    if (ParseDecimal(doc.GetAttribute("macro")) == 1) {
        flags |= kPageMacros;
    }
    if (ParseDecimal(doc.GetAttribute("light_mode")) == 1) {
        flags |= kPageLighting;
    }
    layout.page_flags = flags;
}

void ReadLight(XmlDocument& doc, KeyboardLayout& layout) {
    if (!doc.FindElement("light")) {
        return;
    }
    LightSettings& light = layout.light;
    light.rgb_keyboard = ParseDecimal(doc.GetAttribute("rgb_keyboard")) == 1;
    light.default_mode = ParseDecimal(doc.GetAttribute("default_mode"));
    light.default_brightness = ParseDecimal(doc.GetAttribute("default_brightness"));
    light.default_speed = ParseDecimal(doc.GetAttribute("default_speed"));
    light.brightness_max = ParseDecimal(doc.GetAttribute("brightness_max"));
    light.speed_max = ParseDecimal(doc.GetAttribute("speed_max"));
    layout.light_modes.clear();
    if (!doc.EnterElement()) {
        return;
    }
    while (doc.FindElement("info")) {
        LightModeInfo info;
        info.name = doc.GetAttribute("name");
        info.name_text = ParseDecimal(info.name);
        info.mode = ParseDecimal(doc.GetAttribute("mode"));
        info.functions = static_cast<LightFunctions>(ParseDecimal(doc.GetAttribute("attribute")));
        info.brightness = light.default_brightness;
        info.speed = light.default_speed;
        layout.light_modes.push_back(std::move(info));
    }
    doc.LeaveElement();
}

int CountInRange(XmlDocument& doc, std::string_view name, int max, std::string_view what,
                 std::vector<std::string>& warnings) {
    const std::string text = doc.GetAttribute(name);
    const int value = ParseDecimal(text);
    if (value < 0 || value > max) {
        warnings.push_back("Keyboard " + std::string(name) + " \"" + text +
                           "\" lies outside 0 to " + std::to_string(max) + " " + std::string(what) +
                           "; " + std::to_string(std::clamp(value, 0, max)) + " is used");
    }
    return std::clamp(value, 0, max);
}

void ReadKey(XmlDocument& doc, KeyboardLayout& layout,
             std::array<bool, kMatrixRows * kMatrixColumns>& taken,
             std::vector<std::string>& warnings) {
    KeyItem key;
    key.code = ParseHex(doc.GetAttribute("code"));
    key.name = doc.GetAttribute("name");
    key.desc = doc.GetAttribute("desc");
    key.key_index = ParseDecimal(doc.GetAttribute("key_index"));
    key.light_index = ParseDecimal(doc.GetAttribute("light_index"));
    key.icon = doc.GetAttribute("icon");
    if (!key.icon.empty() && !IsSafeRelativePath(key.icon)) {
        warnings.push_back(KeyLabel(key) + ": icon \"" + key.icon +
                           "\" would lie outside the skin folder; no icon is used");
        key.icon.clear();
    }
    layout.key_index_map[key.code] = key.key_index;
    layout.light_index_map[key.code] = key.key_index;

    key.row_col = doc.GetAttribute("row_col");
    const auto cell = ParseRowCol(key.row_col);
    if (key.code < 0 || key.code > 0xFF) {
        warnings.push_back(KeyLabel(key) + ": the code does not fit one byte; the key stays out "
                                           "of the key matrix");
    } else if (!cell) {
        if (!key.row_col.empty()) {
            warnings.push_back(KeyLabel(key) + ": row_col \"" + key.row_col +
                               "\" is no cell of the 8 x 32 key matrix; the key stays out of it");
        }
    } else {
        const auto index = static_cast<std::size_t>(cell->row * kMatrixColumns + cell->column);
        if (taken[index]) {
            warnings.push_back(KeyLabel(key) + ": row_col \"" + key.row_col +
                               "\" replaces an earlier key in that matrix cell");
        }
        taken[index] = true;
        layout.matrix.Set(cell->row, cell->column, static_cast<std::uint8_t>(key.code));
        key.in_matrix = true;
    }
    key.rect = ParseKeyRect(doc.GetAttribute("rect"));
    layout.keys.push_back(std::move(key));
}

void ReadKeyboard(XmlDocument& doc, KeyboardLayout& layout, std::vector<std::string>& warnings) {
    if (!doc.FindElement("Keyboard")) {
        return;
    }
    layout.has_keyboard = true;
    layout.keyboard_x = ParseDecimal(doc.GetAttribute("xpos"));
    layout.keyboard_y = ParseDecimal(doc.GetAttribute("ypos"));
    layout.keyboard_width = ParseDecimal(doc.GetAttribute("width"));
    layout.keyboard_height = ParseDecimal(doc.GetAttribute("height"));
    layout.keyboard_image = doc.GetAttribute("image");
    if (!layout.keyboard_image.empty() && !IsSafeRelativePath(layout.keyboard_image)) {
        warnings.push_back("Keyboard image \"" + layout.keyboard_image +
                           "\" would lie outside the skin's keyboard folder; no picture is used");
        layout.keyboard_image.clear();
    }
    layout.row_count = CountInRange(doc, "row_count", kMatrixRows, "rows", warnings);
    layout.col_count = CountInRange(doc, "col_count", kMatrixColumns, "columns", warnings);

    if (!doc.EnterElement()) {
        return;
    }
    if (doc.FindElement("KeyItems") && doc.EnterElement()) {
        std::array<bool, kMatrixRows * kMatrixColumns> taken{};
        while (doc.FindElement("key")) {
            ReadKey(doc, layout, taken, warnings);
        }
        doc.LeaveElement();
    }
    doc.LeaveElement();
}

} // namespace

std::optional<MatrixCell> ParseRowCol(std::string_view text) {
    if (text.size() < 3 || !IsDigit(text.front())) {
        return std::nullopt;
    }
    const std::size_t column_digits = text.size() == 3 ? 1 : 2;
    const std::string_view column = text.substr(text.size() - column_digits);
    const std::string_view separator = text.substr(1, text.size() - 1 - column_digits);
    if (!std::all_of(column.begin(), column.end(), IsDigit) ||
        std::any_of(separator.begin(), separator.end(), IsDigit)) {
        return std::nullopt;
    }
    const MatrixCell cell{ParseDecimal(text.substr(0, 1)), ParseDecimal(column)};
    if (!KeyMatrix::Inside(cell.row, cell.column)) {
        return std::nullopt;
    }
    return cell;
}

KeyRect ParseKeyRect(std::string_view text) {
    std::array<int, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t hash = text.find('#');
        values[i] = ParseDecimal(text.substr(0, hash));
        if (hash == std::string_view::npos) {
            break;
        }
        text.remove_prefix(hash + 1);
    }
    return {values[0], values[1], ClampedSum(values[0], values[2]),
            ClampedSum(values[1], values[3])};
}

void ReadLayout(XmlDocument& doc, KeyboardLayout& layout, std::vector<std::string>& warnings) {
    if (!doc.EnterElement()) {
        return;
    }
    ReadMenu(doc, layout);
    if (doc.FindElement("function")) {
        layout.sleep_time = ParseDecimal(doc.GetAttribute("sleep_time")) == 1;
    }
    if (doc.FindElement("firmware")) {
        layout.firmware_version = doc.GetAttribute("version");
        layout.firmware_file = doc.GetAttribute("file");
        layout.firmware_url = doc.GetAttribute("url");
        if (!layout.firmware_file.empty() && !IsSafeFolderName(layout.firmware_file)) {
            warnings.push_back("firmware file \"" + layout.firmware_file +
                               "\" is not a plain file name; no firmware tool is offered");
            layout.firmware_file.clear();
        }
    }
    ReadLight(doc, layout);

    layout.key_index_map.clear();
    layout.light_index_map.clear();
    layout.row_count = 0;
    layout.col_count = 0;
    layout.matrix.Clear();
    layout.keys.clear();
    ReadKeyboard(doc, layout, warnings);
    doc.LeaveElement();
}

LayoutLoad LoadModelLayout(const ModelRecord& model,
                           std::shared_ptr<const KeyboardLayout> previous) {
    LayoutLoad result;
    result.device_type = model.device_type;
    result.model_name = model.name;
    result.layout_name = model.layout_name;
    result.layout = previous ? std::move(previous) : std::make_shared<const KeyboardLayout>();

    if (!IsSafeFolderName(model.layout_name)) {
        result.error = "layout name \"" + model.layout_name + "\" of model \"" + model.name +
                       "\" is not a plain file name (no '/', NUL, \".\" or \"..\")";
        return result;
    }
    const std::string path = LayoutsFolder() + model.layout_name + ".xml";
    XmlDocument doc;
    if (!doc.LoadFile(path)) {
        std::error_code ec;
        result.error = std::filesystem::exists(path, ec)
                           ? "layout file " + path + " is not well-formed XML"
                           : "layout file " + path + " cannot be read";
        return result;
    }
    if (!doc.FindElement("device.info")) {
        result.error = "layout file " + path + " has no device.info root element";
        return result;
    }
    auto layout = std::make_shared<KeyboardLayout>(*result.layout);
    layout->device_type = model.device_type;
    layout->model_name = model.name;
    layout->layout_name = model.layout_name;
    layout->firmware_url.clear();
    ReadLayout(doc, *layout, result.warnings);
    result.layout = std::move(layout);
    result.loaded = true;
    return result;
}

LayoutLoad LoadLayout(int device_type, const std::vector<ModelRecord>& models,
                      std::shared_ptr<const KeyboardLayout> previous) {
    if (const ModelRecord* model = FindModelByType(models, device_type)) {
        return LoadModelLayout(*model, std::move(previous));
    }
    LayoutLoad result;
    result.device_type = device_type;
    result.layout = previous ? std::move(previous) : std::make_shared<const KeyboardLayout>();
    result.error = "the catalogue has no model of device type " + std::to_string(device_type);
    return result;
}

SharedLayout::SharedLayout() : layout_(std::make_shared<const KeyboardLayout>()) {}

std::shared_ptr<const KeyboardLayout> SharedLayout::Get() const {
    std::lock_guard lock(mutex_);
    return layout_;
}

void SharedLayout::Set(std::shared_ptr<const KeyboardLayout> layout) {
    if (!layout) {
        return;
    }
    std::lock_guard lock(mutex_);
    layout_.swap(layout);
}

LayoutLoad SharedLayout::Reload(int device_type, const std::vector<ModelRecord>& models) {
    std::lock_guard reload(reload_mutex_);
    LayoutLoad result = LoadLayout(device_type, models, Get());
    if (result.loaded) {
        Set(result.layout);
    }
    return result;
}

} // namespace kovrin
