#pragma once
// The colours the gallery's keyboard page gives its keys: a rainbow across
// the key list (key i of n at hue 360 × i / n, full saturation), shifted by
// `phase` degrees while the live colours run.

#include "tessel/TesselTypes.h"

#include <cmath>

namespace gallery {

inline Tessel::COLORREF RainbowColour(int index, int count, double phase = 0) {
    const double hue = std::fmod(360.0 * index / (count > 0 ? count : 1) + phase, 360.0) / 60.0;
    const double x = 1 - std::fabs(std::fmod(hue, 2.0) - 1);
    double r = 0;
    double g = 0;
    double b = 0;
    switch (static_cast<int>(hue)) {
    case 0:
        r = 1, g = x;
        break;
    case 1:
        r = x, g = 1;
        break;
    case 2:
        g = 1, b = x;
        break;
    case 3:
        g = x, b = 1;
        break;
    case 4:
        r = x, b = 1;
        break;
    default:
        r = 1, b = x;
        break;
    }
    const auto byte = [](double v) { return static_cast<unsigned>(std::lround(v * 255)); };
    return Tessel::RGB(byte(r), byte(g), byte(b));
}

} // namespace gallery
