#include "device/HotplugNames.h"

#include <cctype>
#include <cstdio>

namespace kovrin {

namespace {

std::optional<std::uint32_t> ParseHexField(std::string_view text) {
    if (text.empty() || text.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isxdigit(u)) {
            return std::nullopt;
        }
        value = value * 16 +
                static_cast<std::uint32_t>(std::isdigit(u) ? u - '0' : std::toupper(u) - 'A' + 10);
    }
    return value;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// FNV-1a, for a stable instance part.
std::uint32_t Hash(std::string_view text) {
    std::uint32_t h = 2166136261u;
    for (char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h;
}

} // namespace

std::optional<HidIdentity> ParseHidId(std::string_view hid_id) {
    const auto first = hid_id.find(':');
    const auto second = hid_id.find(':', first == std::string_view::npos ? first : first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos) {
        return std::nullopt;
    }
    const auto bus = ParseHexField(hid_id.substr(0, first));
    const auto vendor = ParseHexField(hid_id.substr(first + 1, second - first - 1));
    const auto product = ParseHexField(hid_id.substr(second + 1));
    if (!bus || !vendor || !product || *bus > 0xFFFF || *vendor > 0xFFFF || *product > 0xFFFF) {
        return std::nullopt;
    }
    return HidIdentity{static_cast<std::uint16_t>(*bus), static_cast<std::uint16_t>(*vendor),
                       static_cast<std::uint16_t>(*product)};
}

int InterfaceNumberFromPhys(std::string_view hid_phys) {
    const auto at = hid_phys.rfind("/input");
    if (at == std::string_view::npos) {
        return -1;
    }
    const std::string_view digits = hid_phys.substr(at + 6);
    if (digits.empty() || digits.size() > 3) {
        return -1;
    }
    int value = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string InterfaceName(const HidIdentity& id, int interface_number, std::string_view instance) {
    char ids[64];
    std::string name = "\\\\?\\HID#";
    if (id.bus == kBusBluetooth) {
        std::snprintf(ids, sizeof ids, "_DEV_VID&02%04X_PID&%04X", id.vendor_id, id.product_id);
        name += "{" + std::string(kBluetoothHidService) + "}" + ids;
    } else {
        std::snprintf(ids, sizeof ids, "VID_%04X&PID_%04X", id.vendor_id, id.product_id);
        name += ids;
        if (interface_number >= 0 && interface_number < 256) {
            std::snprintf(ids, sizeof ids, "&MI_%02X", interface_number);
            name += ids;
        }
    }
    name.append("#").append(instance).append("#{4D1E55B2-F16F-11CF-88CB-001111000030}");
    return Upper(std::move(name));
}

std::string InterfaceNameOf(const HidrawEvent& event) {
    const auto id = ParseHidId(event.hid_id);
    if (!id) {
        return {};
    }
    int number = event.usb_interface_number;
    if (number < 0) {
        number = InterfaceNumberFromPhys(event.hid_phys);
    }
    char instance[32];
    std::snprintf(instance, sizeof instance, "7&%08X&0&%04X", Hash(event.syspath),
                  number < 0 ? 0 : number);
    return InterfaceName(*id, number, instance);
}

} // namespace kovrin
