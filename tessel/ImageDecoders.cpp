// Picture decoders: PNG through cairo, GIF through giflib, ICO and BMP here.
// Every size and offset read from a file is checked before it is used.

#include "tessel/Image.h"

#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace Tessel {
namespace {

constexpr int kMaxSide = 16384;
constexpr std::uint64_t kMaxPixels = 64ull * 1024 * 1024;

bool SaneSize(std::int64_t w, std::int64_t h) {
    return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide &&
           static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h) <= kMaxPixels;
}

std::uint32_t Premultiply(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    if (a != 255) {
        r = (r * a + 127) / 255;
        g = (g * a + 127) / 255;
        b = (b * a + 127) / 255;
    }
    return a << 24 | r << 16 | g << 8 | b;
}

cairo_surface_t* NewSurface(int w, int h) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    return s;
}

std::uint32_t* Row(cairo_surface_t* s, int y) {
    return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s) +
                                            static_cast<std::ptrdiff_t>(y) *
                                                cairo_image_surface_get_stride(s));
}

std::uint32_t U16(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}
std::uint32_t U32(const std::string& b, std::size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

// ---- PNG ----

struct MemoryReader {
    const std::string* bytes;
    std::size_t at;
};

cairo_status_t ReadMemory(void* closure, unsigned char* data, unsigned int length) {
    auto* r = static_cast<MemoryReader*>(closure);
    if (r->bytes->size() - r->at < length) {
        return CAIRO_STATUS_READ_ERROR;
    }
    std::memcpy(data, r->bytes->data() + r->at, length);
    r->at += length;
    return CAIRO_STATUS_SUCCESS;
}

ImagePtr DecodePng(const std::string& bytes) {
    MemoryReader reader{&bytes, 0};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(ReadMemory, &reader);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    // Pictures come back in the format of the file; drawing wants ARGB.
    if (cairo_image_surface_get_format(s) != CAIRO_FORMAT_ARGB32) {
        cairo_surface_t* argb =
            NewSurface(cairo_image_surface_get_width(s), cairo_image_surface_get_height(s));
        if (argb == nullptr) {
            cairo_surface_destroy(s);
            return nullptr;
        }
        cairo_t* cr = cairo_create(argb);
        cairo_set_source_surface(cr, s, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_destroy(s);
        s = argb;
    }
    auto image = std::make_shared<Image>();
    return image->AddFrame(s) ? image : nullptr;
}

// ---- GIF ----

int ReadGif(GifFileType* gif, GifByteType* out, int length) {
    auto* r = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t left = r->bytes->size() - r->at;
    const std::size_t n =
        std::min<std::size_t>(left, static_cast<std::size_t>(std::max(length, 0)));
    std::memcpy(out, r->bytes->data() + r->at, n);
    r->at += n;
    return static_cast<int>(n);
}

ImagePtr DecodeGif(const std::string& bytes) {
    MemoryReader reader{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadGif, &error);
    if (gif == nullptr) {
        return nullptr;
    }
    struct Closer {
        GifFileType* g;
        ~Closer() {
            int e = 0;
            DGifCloseFile(g, &e);
        }
    } closer{gif};
    if (DGifSlurp(gif) != GIF_OK || gif->ImageCount <= 0 || !SaneSize(gif->SWidth, gif->SHeight) ||
        static_cast<std::uint64_t>(gif->SWidth) * gif->SHeight * gif->ImageCount > kMaxPixels) {
        return nullptr;
    }
    const int w = gif->SWidth;
    const int h = gif->SHeight;
    std::vector<std::uint32_t> canvas(static_cast<std::size_t>(w) * h, 0);
    std::vector<std::uint32_t> saved;
    auto image = std::make_shared<Image>();
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& frame = gif->SavedImages[i];
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, i, &gcb);
        const ColorMapObject* map =
            frame.ImageDesc.ColorMap != nullptr ? frame.ImageDesc.ColorMap : gif->SColorMap;
        const int fl = frame.ImageDesc.Left;
        const int ft = frame.ImageDesc.Top;
        const int fw = frame.ImageDesc.Width;
        const int fh = frame.ImageDesc.Height;
        if (gcb.DisposalMode == DISPOSE_PREVIOUS) {
            saved = canvas;
        }
        if (map != nullptr && frame.RasterBits != nullptr && fw > 0 && fh > 0) {
            for (int y = 0; y < fh; ++y) {
                const int cy = ft + y;
                if (cy < 0 || cy >= h) {
                    continue;
                }
                for (int x = 0; x < fw; ++x) {
                    const int cx = fl + x;
                    if (cx < 0 || cx >= w) {
                        continue;
                    }
                    const int index = frame.RasterBits[static_cast<std::size_t>(y) * fw + x];
                    if (index == gcb.TransparentColor || index >= map->ColorCount) {
                        continue;
                    }
                    const GifColorType c = map->Colors[index];
                    canvas[static_cast<std::size_t>(cy) * w + cx] =
                        0xFF000000u | c.Red << 16 | c.Green << 8 | c.Blue;
                }
            }
        }
        cairo_surface_t* s = NewSurface(w, h);
        if (s == nullptr) {
            return nullptr;
        }
        cairo_surface_flush(s);
        for (int y = 0; y < h; ++y) {
            std::memcpy(Row(s, y), &canvas[static_cast<std::size_t>(y) * w],
                        static_cast<std::size_t>(w) * 4);
        }
        cairo_surface_mark_dirty(s);
        image->AddFrame(s, gcb.DelayTime * 10);
        if (gcb.DisposalMode == DISPOSE_BACKGROUND) {
            for (int y = std::max(ft, 0); y < std::min(ft + fh, h); ++y) {
                for (int x = std::max(fl, 0); x < std::min(fl + fw, w); ++x) {
                    canvas[static_cast<std::size_t>(y) * w + x] = 0;
                }
            }
        } else if (gcb.DisposalMode == DISPOSE_PREVIOUS && !saved.empty()) {
            canvas = saved;
        }
    }
    return image->FrameCount() > 0 ? image : nullptr;
}

// ---- DIB (ICO entries, BMP) ----

// Decodes a device-independent bitmap that starts with its info header at
// `at`. Icons store twice the height (colour rows, then a 1-bit mask).
cairo_surface_t* DecodeDib(const std::string& b, std::size_t at, bool icon,
                           std::size_t pixel_offset = 0) {
    if (at > b.size() || b.size() - at < 40) {
        return nullptr;
    }
    const std::uint32_t header = U32(b, at);
    const auto width = static_cast<std::int32_t>(U32(b, at + 4));
    auto height = static_cast<std::int32_t>(U32(b, at + 8));
    const std::uint32_t bpp = U16(b, at + 14);
    const std::uint32_t compression = U32(b, at + 16);
    std::uint32_t colors = U32(b, at + 32);
    if (header < 40 || header > b.size() - at || compression != 0) {
        return nullptr;
    }
    bool top_down = false;
    if (icon) {
        height /= 2;
    } else if (height < 0) {
        top_down = true;
        height = -height;
    }
    if (!SaneSize(width, height) || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)) {
        return nullptr;
    }
    if (bpp <= 8 && (colors == 0 || colors > (1u << bpp))) {
        colors = 1u << bpp;
    }
    const std::size_t palette_at = at + header;
    const std::size_t palette_size = bpp <= 8 ? static_cast<std::size_t>(colors) * 4 : 0;
    if (palette_at > b.size() || b.size() - palette_at < palette_size) {
        return nullptr;
    }
    const std::size_t row_bytes = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    const std::size_t pixels_at = pixel_offset != 0 ? pixel_offset : palette_at + palette_size;
    const std::size_t data_size = row_bytes * static_cast<std::size_t>(height);
    if (pixels_at > b.size() || b.size() - pixels_at < data_size) {
        return nullptr;
    }
    const std::size_t mask_row = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
    const std::size_t mask_at = pixels_at + data_size;
    const bool has_mask = icon && mask_at <= b.size() &&
                          b.size() - mask_at >= mask_row * static_cast<std::size_t>(height);

    cairo_surface_t* s = NewSurface(width, height);
    if (s == nullptr) {
        return nullptr;
    }
    cairo_surface_flush(s);
    bool any_alpha = false;
    for (int y = 0; y < height; ++y) {
        const int src_y = top_down ? y : height - 1 - y;
        const auto* src = reinterpret_cast<const unsigned char*>(b.data()) + pixels_at +
                          static_cast<std::size_t>(src_y) * row_bytes;
        std::uint32_t* dst = Row(s, y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t a = 255;
            std::uint32_t r = 0;
            std::uint32_t g = 0;
            std::uint32_t bl = 0;
            if (bpp == 32) {
                bl = src[x * 4];
                g = src[x * 4 + 1];
                r = src[x * 4 + 2];
                a = src[x * 4 + 3];
                any_alpha = any_alpha || a != 0;
            } else if (bpp == 24) {
                bl = src[x * 3];
                g = src[x * 3 + 1];
                r = src[x * 3 + 2];
            } else {
                const std::size_t bit = static_cast<std::size_t>(x) * bpp;
                const unsigned shift = 8 - bpp - (bit % 8);
                const std::uint32_t index = (src[bit / 8] >> shift) & ((1u << bpp) - 1);
                if (index < colors) {
                    const std::size_t p = palette_at + index * 4;
                    bl = static_cast<unsigned char>(b[p]);
                    g = static_cast<unsigned char>(b[p + 1]);
                    r = static_cast<unsigned char>(b[p + 2]);
                }
            }
            dst[x] = a << 24 | r << 16 | g << 8 | bl; // straight for now
        }
    }
    // 32-bit entries carry alpha; the others (and 32-bit ones whose alpha is
    // all zero) take transparency from the mask.
    const bool use_mask = has_mask && (bpp != 32 || !any_alpha);
    for (int y = 0; y < height; ++y) {
        std::uint32_t* dst = Row(s, y);
        const int src_y = height - 1 - y;
        const auto* mask = reinterpret_cast<const unsigned char*>(b.data()) + mask_at +
                           static_cast<std::size_t>(src_y) * mask_row;
        for (int x = 0; x < width; ++x) {
            std::uint32_t a = dst[x] >> 24;
            if (bpp == 32 && !any_alpha) {
                a = 255;
            }
            if (use_mask && ((mask[x / 8] >> (7 - x % 8)) & 1) != 0) {
                a = 0;
            }
            dst[x] = Premultiply(a, dst[x] >> 16 & 0xFF, dst[x] >> 8 & 0xFF, dst[x] & 0xFF);
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

ImagePtr DecodeIco(const std::string& b) {
    if (b.size() < 6) {
        return nullptr;
    }
    const std::uint32_t count = U16(b, 4);
    if (count == 0 || b.size() < 6 + static_cast<std::size_t>(count) * 16) {
        return nullptr;
    }
    // The largest entry, then the deepest.
    int best = -1;
    std::uint32_t best_area = 0;
    std::uint32_t best_bpp = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t e = 6 + static_cast<std::size_t>(i) * 16;
        const std::uint32_t w =
            static_cast<unsigned char>(b[e]) == 0 ? 256 : static_cast<unsigned char>(b[e]);
        const std::uint32_t h =
            static_cast<unsigned char>(b[e + 1]) == 0 ? 256 : static_cast<unsigned char>(b[e + 1]);
        const std::uint32_t bpp = U16(b, e + 6);
        const std::uint32_t area = w * h;
        if (area > best_area || (area == best_area && bpp > best_bpp)) {
            best = static_cast<int>(i);
            best_area = area;
            best_bpp = bpp;
        }
    }
    const std::size_t e = 6 + static_cast<std::size_t>(best) * 16;
    const std::uint32_t size = U32(b, e + 8);
    const std::uint32_t offset = U32(b, e + 12);
    if (offset >= b.size() || size > b.size() - offset || size < 8) {
        return nullptr;
    }
    const std::string entry = b.substr(offset, size);
    if (entry.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
        return DecodePng(entry);
    }
    auto image = std::make_shared<Image>();
    return image->AddFrame(DecodeDib(entry, 0, true)) ? image : nullptr;
}

ImagePtr DecodeBmp(const std::string& b) {
    if (b.size() < 14 + 40) {
        return nullptr;
    }
    const std::uint32_t pixels = U32(b, 10);
    if (pixels >= b.size() || pixels < 14 + 40) {
        return nullptr;
    }
    auto image = std::make_shared<Image>();
    return image->AddFrame(DecodeDib(b, 14, false, pixels)) ? image : nullptr;
}

} // namespace

ImagePtr DecodeImage(const std::string& bytes) {
    if (bytes.size() >= 8 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
        return DecodePng(bytes);
    }
    if (bytes.size() >= 6 &&
        (bytes.compare(0, 6, "GIF87a") == 0 || bytes.compare(0, 6, "GIF89a") == 0)) {
        return DecodeGif(bytes);
    }
    if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 1 && bytes[3] == 0) {
        return DecodeIco(bytes);
    }
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return DecodeBmp(bytes);
    }
    return nullptr;
}

ImagePtr LoadImageFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return nullptr;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return nullptr;
    }
    return DecodeImage(bytes);
}

} // namespace Tessel
