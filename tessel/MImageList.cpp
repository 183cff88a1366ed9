#include "tessel/MImageList.h"

#include "tessel/MRender.h"

namespace Tessel {

int MImageList::InsertImage(int index, const std::string& path, int id, int count) {
    if (path.empty()) {
        return -1;
    }
    {
        std::lock_guard lock(mutex_);
        if (index < -1 || index >= static_cast<int>(items_.size())) {
            return -1;
        }
    }
    ImagePtr image = LoadImageFile(path);
    if (!image) {
        return -1;
    }
    _M_IAMGELIST entry;
    entry.count = count <= 0 ? 1 : count;
    entry.frameWidth = image->Width() / entry.count;
    entry.frameHeight = image->Height();
    entry.image = std::move(image);
    entry.id = id;
    entry.path = path;
    std::lock_guard lock(mutex_);
    if (index == -1 || index >= static_cast<int>(items_.size())) {
        items_.push_back(std::move(entry));
        return static_cast<int>(items_.size()) - 1;
    }
    items_.insert(items_.begin() + index, std::move(entry));
    return index;
}

void MImageList::DrawItemIcon(cairo_t* cr, const CRect& rect, int index) const {
    DrawItemIcon(cr, rect, index, 0);
}

void MImageList::DrawItemIcon(cairo_t* cr, const CRect& rect, int index, int cell) const {
    std::lock_guard lock(mutex_);
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        return;
    }
    const _M_IAMGELIST& e = items_[static_cast<std::size_t>(index)];
    MRender::DrawImageCell(cr, e.image.get(), std::min(cell, e.count - 1), e.count, rect);
}

const _M_IAMGELIST* MImageList::GetItemImageData(int index) const {
    std::lock_guard lock(mutex_);
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        return nullptr;
    }
    return &items_[static_cast<std::size_t>(index)];
}

const _M_IAMGELIST* MImageList::GetImageDataByID(int id) const {
    std::lock_guard lock(mutex_);
    for (const auto& e : items_) {
        if (e.id == id) {
            return &e;
        }
    }
    return nullptr;
}

std::string MImageList::GetImagePath(int index) const {
    const _M_IAMGELIST* e = GetItemImageData(index);
    return e != nullptr ? e->path : std::string();
}

std::string MImageList::GetImagePathByID(int id) const {
    const _M_IAMGELIST* e = GetImageDataByID(id);
    return e != nullptr ? e->path : std::string();
}

int MImageList::GetImageCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(items_.size());
}

void MImageList::DelAllImages() {
    std::lock_guard lock(mutex_);
    items_.clear();
}

void MImageList::SetDrawImgSize(int width, int height) {
    std::lock_guard lock(mutex_);
    draw_size_ = {width, height};
}

CSize MImageList::GetIconSize() const {
    std::lock_guard lock(mutex_);
    return draw_size_;
}

} // namespace Tessel
