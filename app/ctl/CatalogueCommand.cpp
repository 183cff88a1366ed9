#include "app/Language.h"
#include "app/Paths.h"
#include "app/ctl/CtlCommand.h"
#include "device/Catalogue.h"
#include "device/LayoutLoader.h"

#include <cstdio>
#include <ostream>
#include <string>

namespace kovrin::ctl {
namespace {

const char* Family(int device_type) {
    if (device_type <= 200) {
        return "A";
    }
    return device_type <= 299 ? "B" : "-";
}

std::string HexId(int value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*x", digits, static_cast<unsigned>(value));
    return buffer;
}

void PrintModels(const Catalogue& catalogue, std::ostream& out) {
    for (const ModelRecord& model : catalogue.models) {
        out << model.name << "  device type " << model.device_type << "  family "
            << Family(model.device_type) << "  layout " << model.layout_name << '\n';
        for (const ModelRecord& mode : catalogue.modes) {
            if (mode.device_type != model.device_type || mode.layout_name != model.layout_name) {
                continue;
            }
            out << "  mode " << mode.mode << "  " << HexId(mode.vendor_id, 4) << ':'
                << HexId(mode.product_id, 4) << "  "
                << (mode.interface_pattern.empty() ? "(any interface)" : mode.interface_pattern)
                << "  " << mode.description << '\n';
        }
    }
}

std::string PageNames(std::uint32_t flags) {
    std::string names;
    const auto add = [&](std::uint32_t bit, const char* name) {
        if ((flags & bit) != 0) {
            names += names.empty() ? name : std::string(", ") + name;
        }
    };
    add(kPageKeys, "keys");
    add(kPageMacros, "macros");
    add(kPageLighting, "lighting");
    add(kPageThirdView, "third keyboard view");
    return names.empty() ? "none" : names;
}

void PrintLayout(const KeyboardLayout& layout, std::ostream& out) {
    out << "layout " << layout.layout_name << "  model " << layout.model_name << "  device type "
        << layout.device_type << '\n';
    out << "pages: 0x" << HexId(static_cast<int>(layout.page_flags), 2) << " ("
        << PageNames(layout.page_flags) << ")\n";
    out << "sleep time: " << (layout.sleep_time ? "yes" : "no") << '\n';
    out << "firmware: version \"" << layout.firmware_version << "\"  file \""
        << layout.firmware_file << "\"  upgrade button "
        << (layout.FirmwareButtonVisible() ? "shown" : "hidden") << '\n';
    const LightSettings& light = layout.light;
    out << "light: rgb " << (light.rgb_keyboard ? "yes" : "no") << "  default mode "
        << light.default_mode << "  brightness " << light.default_brightness << " (max "
        << light.brightness_max << ")  speed " << light.default_speed << " (max " << light.speed_max
        << ")\n";
    out << "light modes: " << layout.light_modes.size() << '\n';
    for (const LightModeInfo& mode : layout.light_modes) {
        out << "  " << mode.mode << "  " << GetText(mode.name_text) << " (text " << mode.name
            << ")  0x" << HexId(static_cast<int>(mode.functions), 3) << "  "
            << DescribeLightFunctions(mode.functions) << '\n';
    }
    out << "keys: " << layout.keys.size() << '\n';
    out << "matrix: " << layout.row_count << " rows x " << layout.col_count << " columns\n";
}

} // namespace

// kovrinctl catalogue [--layout MODEL]
int RunCatalogue(CtlContext& context) {
    bool missing = false;
    const std::string model_name = TakeOption(context.args, "--layout", &missing);
    if (missing || !context.args.empty()) {
        context.err << "usage: kovrinctl catalogue [--layout MODEL]\n";
        return 2;
    }
    Catalogue catalogue;
    std::string error;
    if (!LoadCatalogueFile(ConfigFilePath(), catalogue, &error)) {
        context.err << "kovrinctl: " << error << '\n';
        return 1;
    }
    for (const std::string& problem : catalogue.problems) {
        context.err << "kovrinctl: warning: " << problem << '\n';
    }
    if (model_name.empty()) {
        PrintModels(catalogue, context.out);
        return 0;
    }
    const ModelRecord* model = FindModelByName(catalogue.models, model_name);
    if (model == nullptr) {
        context.err << "kovrinctl: no model named \"" << model_name << "\" in " << ConfigFilePath()
                    << '\n';
        return 1;
    }
    const LayoutLoad load = LoadModelLayout(*model, nullptr);
    if (!load.loaded) {
        context.err << "kovrinctl: " << load.error << '\n';
        return 1;
    }
    for (const std::string& warning : load.warnings) {
        context.err << "kovrinctl: warning: " << warning << '\n';
    }
    PrintLayout(*load.layout, context.out);
    return 0;
}

} // namespace kovrin::ctl
