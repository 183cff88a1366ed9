#include "tools/skin/GifWriter.h"

#include <gif_lib.h>

#include <cstdio>

namespace kovrin::skin {

bool WriteGif(const std::string& path, const GifAnimation& a) {
    GifColorType colours[256];
    colours[0] = {static_cast<GifByteType>(a.background >> 16),
                  static_cast<GifByteType>(a.background >> 8),
                  static_cast<GifByteType>(a.background)};
    for (int i = 1; i < 256; ++i) {
        const auto mix = [i](std::uint32_t from, std::uint32_t to, int shift) {
            const int f = static_cast<int>(from >> shift & 0xFF);
            const int t = static_cast<int>(to >> shift & 0xFF);
            return static_cast<GifByteType>(f + (t - f) * i / 255);
        };
        colours[i] = {mix(a.background, a.colour, 16), mix(a.background, a.colour, 8),
                      mix(a.background, a.colour, 0)};
    }
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (gif == nullptr) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), GifErrorString(error));
        return false;
    }
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = GifMakeMapObject(256, colours);
    bool ok = map != nullptr && EGifPutScreenDesc(gif, a.width, a.height, 8, 0, map) == GIF_OK;
    // Loop for ever.
    static const GifByteType kApp[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static const GifByteType kLoop[] = {1, 0, 0};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, sizeof kApp, kApp) == GIF_OK &&
         EGifPutExtensionBlock(gif, sizeof kLoop, kLoop) == GIF_OK &&
         EGifPutExtensionTrailer(gif) == GIF_OK;
    std::vector<GifPixelType> row(static_cast<std::size_t>(a.width));
    for (cairo_surface_t* frame : a.frames) {
        if (!ok) {
            break;
        }
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSE_BACKGROUND;
        gcb.UserInputFlag = false;
        gcb.DelayTime = a.delay_cs;
        gcb.TransparentColor = 0;
        GifByteType ext[4];
        const std::size_t len = EGifGCBToExtension(&gcb, ext);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, a.width, a.height, false, nullptr) == GIF_OK;
        cairo_surface_flush(frame);
        const unsigned char* data = cairo_image_surface_get_data(frame);
        const int stride = cairo_image_surface_get_stride(frame);
        for (int y = 0; ok && y < a.height; ++y) {
            const auto* px = reinterpret_cast<const std::uint32_t*>(data + y * stride);
            for (int x = 0; x < a.width; ++x) {
                row[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(px[x] >> 24);
            }
            ok = EGifPutLine(gif, row.data(), a.width) == GIF_OK;
        }
    }
    if (EGifCloseFile(gif, &error) != GIF_OK) {
        ok = false;
    }
    if (map != nullptr) {
        GifFreeMapObject(map);
    }
    if (!ok) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
    }
    return ok;
}

} // namespace kovrin::skin
