#pragma once
// A small list of images (icons of list items), each cut into cells.

#include "tessel/Image.h"
#include "tessel/TesselTypes.h"

#include <cairo.h>

#include <mutex>
#include <string>
#include <vector>

namespace Tessel {

struct _M_IAMGELIST {
    ImagePtr image;
    int frameWidth = 0;
    int frameHeight = 0;
    int id = 0;
    int count = 1;
    std::string path;
};

class MImageList {
public:
    // Appends; returns the new index, or -1.
    int AddImage(const std::string& path, int id, int count) {
        return InsertImage(-1, path, id, count);
    }
    // Index -1 appends; an index outside -1..size-1, an empty path or a file
    // that cannot be read give -1. The path is used as given.
    int InsertImage(int index, const std::string& path, int id, int count);
    // The first cell scaled into rect.
    void DrawItemIcon(cairo_t* cr, const CRect& rect, int index) const;
    // Cell min(cell, count - 1) scaled into rect.
    void DrawItemIcon(cairo_t* cr, const CRect& rect, int index, int cell) const;
    const _M_IAMGELIST* GetItemImageData(int index) const;
    const _M_IAMGELIST* GetImageDataByID(int id) const;
    std::string GetImagePath(int index) const;
    std::string GetImagePathByID(int id) const;
    int GetImageCount() const;
    void DelAllImages();
    void SetDrawImgSize(int width, int height);
    CSize GetIconSize() const;

private:
    mutable std::mutex mutex_;
    std::vector<_M_IAMGELIST> items_;
    CSize draw_size_{};
};

} // namespace Tessel
