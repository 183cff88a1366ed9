#pragma once
// One cached image of a window: the picture cut into `count` equal cells.

#include "tessel/Image.h"

#include <string>

namespace Tessel {

struct ImgResInfo {
    ImagePtr image;
    int frameWidth = 0;  // image width / count
    int frameHeight = 0; // image height
    int count = 1;
    std::string name; // file images: the name as requested
    unsigned resourceId = 0;
};

// Cell width for an image of that width cut into count cells; a count of 0
// or below counts as 1.
inline int CellWidth(int imageWidth, int count) {
    return imageWidth / (count <= 0 ? 1 : count);
}

} // namespace Tessel
