#pragma once
// A decoded picture: one or more frames of one size (an animated GIF has
// several), each a premultiplied ARGB cairo image surface.

#include <cairo.h>

#include <algorithm>
#include <cstdint>

#include <memory>
#include <string>
#include <vector>

namespace Tessel {

class Image {
public:
    Image() = default;
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Takes ownership of the surface; false (and the surface released) when
    // it is unusable or of another size than the frames already held.
    bool AddFrame(cairo_surface_t* surface, int delay_ms = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int FrameCount() const { return static_cast<int>(frames_.size()); }
    // Frame i, or the first frame when i is out of range; null for an empty image.
    cairo_surface_t* Surface(int frame = 0) const;
    int FrameDelayMs(int frame) const;

private:
    std::vector<cairo_surface_t*> frames_;
    std::vector<int> delays_;
    int width_ = 0;
    int height_ = 0;
};

using ImagePtr = std::shared_ptr<Image>;

// Decoders. Null for missing, unreadable or malformed input.
ImagePtr LoadImageFile(const std::string& path);
// PNG, GIF (every frame), ICO (the largest entry) and BMP, told apart by content.
ImagePtr DecodeImage(const std::string& bytes);

// An off-screen ARGB bitmap with a drawing context.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height) { Create(width, height); }
    ~Bitmap() { Reset(); }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    // Makes the bitmap this size, cleared to transparent when it had to be
    // re-created. True when it was re-created.
    bool Create(int width, int height);
    void Reset();
    void Clear();

    bool Valid() const { return surface_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    cairo_surface_t* Surface() const { return surface_; }
    cairo_t* Context() const { return cr_; }
    // Premultiplied ARGB pixels; call Flush after drawing through the context.
    std::uint32_t* Data() const;
    int StridePixels() const;
    void Flush() const;
    std::uint32_t Pixel(int x, int y) const;
    bool SavePng(const std::string& path) const;

private:
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

} // namespace Tessel
