#include "device/KeyboardLayout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kovrin {
namespace {

int ClampedSum(int a, int b) {
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    return static_cast<int>(std::clamp<std::int64_t>(sum, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

std::optional<int> Lookup(const std::map<int, int>& map, int code) {
    const auto it = map.find(code);
    if (it == map.end()) {
        return std::nullopt;
    }
    return it->second;
}

} // namespace

KeyRect KeyboardLayout::KeyboardRect() const {
    return {keyboard_x, keyboard_y, ClampedSum(keyboard_x, keyboard_width),
            ClampedSum(keyboard_y, keyboard_height)};
}

std::string KeyboardLayout::KeyboardPicturePath() const {
    return keyboard_image.empty() ? std::string() : "keyboard/" + keyboard_image;
}

std::optional<int> KeyboardLayout::KeyIndexOf(int code) const {
    return Lookup(key_index_map, code);
}

std::optional<int> KeyboardLayout::LightIndexOf(int code) const {
    return Lookup(light_index_map, code);
}

const KeyItem* KeyboardLayout::FindKey(int code) const {
    const auto it =
        std::find_if(keys.begin(), keys.end(), [code](const KeyItem& k) { return k.code == code; });
    return it == keys.end() ? nullptr : &*it;
}

} // namespace kovrin
