#include "device/LightModes.h"

#include <cstdio>

namespace kovrin {

std::string DescribeLightFunctions(LightFunctions functions) {
    static constexpr struct {
        LightFunctions bit;
        const char* name;
    } kNames[] = {
        {LF_BRIGHTNESS, "brightness"},
        {LF_SPEED, "speed"},
        {LF_DIRECTION_LR, "left-right"},
        {LF_DIRECTION_UD, "up-down"},
        {LF_RGB, "rgb"},
        {LF_COLOR, "colour"},
        {LF_PRESETS, "presets"},
        {LF_PRESETS_OFF, "presets-off"},
        {LF_PER_KEY, "per-key"},
        {LF_MUSIC, "music"},
        {LF_SCREEN, "screen"},
        {LF_AREAS, "areas"},
    };
    std::string text;
    for (const auto& n : kNames) {
        if ((functions & n.bit) != 0) {
            if (!text.empty()) {
                text += ' ';
            }
            text += n.name;
        }
    }
    if (const LightFunctions other = functions & ~kAllLightFunctions; other != 0) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "0x%X", static_cast<unsigned>(other));
        if (!text.empty()) {
            text += ' ';
        }
        text += buffer;
    }
    return text;
}

} // namespace kovrin
