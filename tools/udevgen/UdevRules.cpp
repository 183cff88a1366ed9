#include "tools/udevgen/UdevRules.h"

#include <cstdio>
#include <set>
#include <utility>

namespace kovrin {
namespace {

// Keeps a catalogue text on its comment line.
std::string CommentText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    }
    return out;
}

std::string Hex4(int value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04X", static_cast<unsigned>(value));
    return buffer;
}

const ModelRecord* ModelOf(const Catalogue& catalogue, const ModelRecord& mode) {
    for (const ModelRecord& model : catalogue.models) {
        if (model.device_type == mode.device_type && model.layout_name == mode.layout_name) {
            return &model;
        }
    }
    return nullptr;
}

} // namespace

std::string MakeUdevRules(const Catalogue& catalogue, std::vector<std::string>* skipped) {
    std::string rules =
        "# Kovrin: lets the user at the seat open the hidraw nodes of the supported\n"
        "# keyboards. Generated from config.xml by kovrin-udevgen: change config.xml,\n"
        "# not this file.\n"
        "#\n"
        "# Install: sudo install -m 644 70-kovrin.rules /etc/udev/rules.d/\n"
        "#          sudo udevadm control --reload && sudo udevadm trigger\n";
    std::set<std::pair<int, int>> seen;
    for (const ModelRecord& mode : catalogue.modes) {
        const bool fits = mode.vendor_id > 0 && mode.vendor_id <= 0xFFFF && mode.product_id > 0 &&
                          mode.product_id <= 0xFFFF;
        if (!fits) {
            if (skipped != nullptr) {
                skipped->push_back("mode " + std::to_string(mode.mode) + " of layout \"" +
                                   mode.layout_name + "\": vendor or product id out of range");
            }
            continue;
        }
        if (!seen.insert({mode.vendor_id, mode.product_id}).second) {
            continue;
        }
        // The HID device above the hidraw node is named bus:vendor:product.instance
        // in upper-case hexadecimal, for USB and Bluetooth alike.
        const ModelRecord* model = ModelOf(catalogue, mode);
        rules += "\n# " + CommentText(model != nullptr ? model->name : mode.layout_name) +
                 ", mode " + std::to_string(mode.mode) + ": " + CommentText(mode.description) +
                 "\n";
        rules += "SUBSYSTEM==\"hidraw\", KERNELS==\"*:" + Hex4(mode.vendor_id) + ":" +
                 Hex4(mode.product_id) + ".*\", TAG+=\"uaccess\"\n";
    }
    return rules;
}

} // namespace kovrin
