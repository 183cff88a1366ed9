#include "device/Catalogue.h"

#include "app/DeviceName.h"
#include "app/Paths.h"
#include "base/WinNumbers.h"
#include "xml/XmlDocument.h"

#include <algorithm>
#include <filesystem>

namespace kovrin {
namespace {

// Why the model cannot be used, or empty.
std::string ModelRefusal(const ModelRecord& model) {
    if (!IsSafeFolderName(model.name)) {
        return "its name is empty or not usable as a file name";
    }
    if (!IsSafeFolderName(model.layout_name)) {
        return "its device_info \"" + model.layout_name +
               "\" is empty or not a plain file name (no '/', NUL, \".\" or \"..\")";
    }
    return {};
}

void ReadModes(XmlDocument& doc, const ModelRecord& model, bool usable, Catalogue& catalogue) {
    if (!doc.EnterElement()) {
        return;
    }
    while (doc.FindElement("mode")) {
        if (!usable) {
            continue;
        }
        ModelRecord mode;
        mode.name = doc.GetAttribute("product_name");
        mode.device_type = model.device_type;
        mode.layout_name = model.layout_name;
        mode.mode = ParseDecimal(doc.GetAttribute("value"));
        mode.vendor_id = ParseHex(doc.GetAttribute("vid"));
        mode.product_id = ParseHex(doc.GetAttribute("pid"));
        mode.description = doc.GetAttribute("desc");
        mode.interface_pattern = doc.GetAttribute("hid_interface");
        catalogue.supported.push_back({mode.vendor_id, mode.product_id, mode.name, mode.device_type,
                                       mode.mode, mode.interface_pattern});
        catalogue.modes.push_back(std::move(mode));
    }
    doc.LeaveElement();
}

} // namespace

bool ReadCatalogue(XmlDocument& doc, Catalogue& catalogue) {
    catalogue = Catalogue{};
    if (!doc.FindElement("device.info") || !doc.EnterElement()) {
        return false;
    }
    while (doc.FindElement("keyboard")) {
        ModelRecord model;
        model.name = doc.GetAttribute("name");
        model.device_type = ParseDecimal(doc.GetAttribute("device_type"));
        model.layout_name = doc.GetAttribute("device_info");
        const std::string refusal = ModelRefusal(model);
        if (!refusal.empty()) {
            catalogue.problems.push_back("model \"" + model.name + "\" refused: " + refusal);
        }
        ReadModes(doc, model, refusal.empty(), catalogue);
        if (refusal.empty()) {
            catalogue.models.push_back(std::move(model));
        }
    }
    doc.LeaveElement();
    return true;
}

bool LoadCatalogueFile(const std::string& path, Catalogue& catalogue, std::string* error) {
    catalogue = Catalogue{};
    XmlDocument doc;
    if (!doc.LoadFile(path)) {
        if (error != nullptr) {
            std::error_code ec;
            *error = std::filesystem::exists(path, ec) ? path + " is not well-formed XML"
                                                       : "cannot read " + path;
        }
        return false;
    }
    if (!doc.FindElement("config") || !doc.EnterElement()) {
        if (error != nullptr) {
            *error = path + " has no config root element";
        }
        return false;
    }
    ReadCatalogue(doc, catalogue);
    return true;
}

const Catalogue& CatalogueOfRun() {
    static const Catalogue catalogue = [] {
        Catalogue c;
        std::string error;
        if (!LoadCatalogueFile(ConfigFilePath(), c, &error)) {
            c.problems.push_back(error);
        }
        return c;
    }();
    return catalogue;
}

const ModelRecord* FindModelByType(const std::vector<ModelRecord>& models, int device_type) {
    const auto it = std::find_if(models.begin(), models.end(), [device_type](const auto& m) {
        return m.device_type == device_type;
    });
    return it == models.end() ? nullptr : &*it;
}

const ModelRecord* FindModelByName(const std::vector<ModelRecord>& models, std::string_view name) {
    const auto it = std::find_if(models.begin(), models.end(),
                                 [name](const auto& m) { return m.name == name; });
    return it == models.end() ? nullptr : &*it;
}

bool IsSafeRelativePath(std::string_view path) {
    if (path.empty() || path.front() == '/' || path.front() == '\\' ||
        path.find('\0') != std::string_view::npos) {
        return false;
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("/\\", start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (path.substr(start, end - start) == "..") {
            return false;
        }
        start = end + 1;
    }
    return true;
}

} // namespace kovrin
