#pragma once
// Windows icon files: one 32-bit entry (a bottom-up BGRA bitmap with straight
// alpha and its AND mask) per picture.

#include <cairo.h>

#include <string>
#include <vector>

namespace kovrin::skin {

// The bytes of an icon file holding the pictures (ARGB32 image surfaces, at
// most 256 pixels each way), in order.
std::string EncodeIco(const std::vector<cairo_surface_t*>& pictures);

bool WriteIco(const std::string& path, const std::vector<cairo_surface_t*>& pictures);

} // namespace kovrin::skin
