#include "tessel/Image.h"

namespace Tessel {

Image::~Image() {
    for (cairo_surface_t* s : frames_) {
        cairo_surface_destroy(s);
    }
}

bool Image::AddFrame(cairo_surface_t* surface, int delay_ms) {
    if (surface == nullptr) {
        return false;
    }
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) {
        cairo_surface_destroy(surface);
        return false;
    }
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    if (w <= 0 || h <= 0 || (!frames_.empty() && (w != width_ || h != height_))) {
        cairo_surface_destroy(surface);
        return false;
    }
    width_ = w;
    height_ = h;
    frames_.push_back(surface);
    delays_.push_back(delay_ms);
    return true;
}

cairo_surface_t* Image::Surface(int frame) const {
    if (frames_.empty()) {
        return nullptr;
    }
    if (frame < 0 || frame >= FrameCount()) {
        frame = 0;
    }
    return frames_[static_cast<std::size_t>(frame)];
}

int Image::FrameDelayMs(int frame) const {
    if (frame < 0 || frame >= FrameCount()) {
        return 0;
    }
    return delays_[static_cast<std::size_t>(frame)];
}

bool Bitmap::Create(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (surface_ != nullptr && width == width_ && height == height_) {
        return false;
    }
    Reset();
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cr_ = cairo_create(surface_);
    width_ = width;
    height_ = height;
    return true;
}

void Bitmap::Reset() {
    if (cr_ != nullptr) {
        cairo_destroy(cr_);
        cr_ = nullptr;
    }
    if (surface_ != nullptr) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
    }
    width_ = 0;
    height_ = 0;
}

void Bitmap::Clear() {
    if (cr_ == nullptr) {
        return;
    }
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

std::uint32_t* Bitmap::Data() const {
    return surface_ == nullptr
               ? nullptr
               : reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_));
}

int Bitmap::StridePixels() const {
    return surface_ == nullptr ? 0 : cairo_image_surface_get_stride(surface_) / 4;
}

void Bitmap::Flush() const {
    if (surface_ != nullptr) {
        cairo_surface_flush(surface_);
    }
}

std::uint32_t Bitmap::Pixel(int x, int y) const {
    if (surface_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    Flush();
    return Data()[static_cast<std::size_t>(y) * StridePixels() + x];
}

bool Bitmap::SavePng(const std::string& path) const {
    if (surface_ == nullptr) {
        return false;
    }
    Flush();
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace Tessel
