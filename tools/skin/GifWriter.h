#pragma once
// Writes an animated GIF whose frames are one colour laid with varying
// coverage over a background: every pixel's alpha picks one of 255 blends
// between the background and the colour, and alpha 0 is transparent.

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kovrin::skin {

struct GifAnimation {
    int width = 0;
    int height = 0;
    int delay_cs = 5;             // per frame, hundredths of a second
    std::uint32_t background = 0; // 0xRRGGBB the blends start from
    std::uint32_t colour = 0;     // 0xRRGGBB the blends end at
    // ARGB32 surfaces of width × height; only their alpha is used.
    std::vector<cairo_surface_t*> frames;
};

// False (with a message on stderr) when the file cannot be written.
bool WriteGif(const std::string& path, const GifAnimation& animation);

} // namespace kovrin::skin
