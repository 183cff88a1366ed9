#include "tools/skin/IcoWriter.h"

#include <algorithm>
#include <cstdint>
#include <fstream>

namespace kovrin::skin {
namespace {

void Le16(std::string& out, unsigned v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Le32(std::string& out, std::uint32_t v) {
    Le16(out, v & 0xFFFF);
    Le16(out, v >> 16);
}

// BITMAPINFOHEADER, the colour rows bottom-up, then the mask rows.
std::string Entry(cairo_surface_t* s) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s);
    const int h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int mask_stride = ((w + 31) / 32) * 4;
    std::string out;
    Le32(out, 40);
    Le32(out, static_cast<std::uint32_t>(w));
    Le32(out, static_cast<std::uint32_t>(2 * h)); // colour and mask
    Le16(out, 1);                                 // planes
    Le16(out, 32);                                // bits per pixel
    Le32(out, 0);                                 // no compression
    Le32(out, static_cast<std::uint32_t>(w * h * 4 + mask_stride * h));
    Le32(out, 0);
    Le32(out, 0);
    Le32(out, 0);
    Le32(out, 0);
    std::string mask;
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        std::string bits(static_cast<std::size_t>(mask_stride), '\0');
        for (int x = 0; x < w; ++x) {
            // Cairo keeps premultiplied colour; icons carry it straight.
            const std::uint32_t p = row[x];
            const std::uint32_t a = p >> 24;
            const auto un = [a](std::uint32_t c) {
                return a == 0 ? 0u : std::min<std::uint32_t>(255, (c * 255 + a / 2) / a);
            };
            out.push_back(static_cast<char>(un(p & 0xFF)));
            out.push_back(static_cast<char>(un((p >> 8) & 0xFF)));
            out.push_back(static_cast<char>(un((p >> 16) & 0xFF)));
            out.push_back(static_cast<char>(a));
            if (a == 0) {
                bits[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
            }
        }
        mask += bits;
    }
    return out + mask;
}

} // namespace

std::string EncodeIco(const std::vector<cairo_surface_t*>& pictures) {
    std::vector<std::string> entries;
    for (cairo_surface_t* s : pictures) {
        entries.push_back(Entry(s));
    }
    std::string out;
    Le16(out, 0);
    Le16(out, 1); // icon
    Le16(out, static_cast<unsigned>(entries.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int w = cairo_image_surface_get_width(pictures[i]);
        const int h = cairo_image_surface_get_height(pictures[i]);
        out.push_back(static_cast<char>(w >= 256 ? 0 : w));
        out.push_back(static_cast<char>(h >= 256 ? 0 : h));
        out.push_back(0); // no palette
        out.push_back(0);
        Le16(out, 1);  // planes
        Le16(out, 32); // bits per pixel
        Le32(out, static_cast<std::uint32_t>(entries[i].size()));
        Le32(out, offset);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const std::string& e : entries) {
        out += e;
    }
    return out;
}

bool WriteIco(const std::string& path, const std::vector<cairo_surface_t*>& pictures) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::string bytes = EncodeIco(pictures);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace kovrin::skin
