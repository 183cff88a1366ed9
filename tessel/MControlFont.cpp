#include "tessel/MControlFont.h"

#include "tessel/Manager.h"
#include "tessel/PaintManager.h"

namespace Tessel {

MControlFont::MControlFont(MObject* parent, UINT id, CRect rect, const char* title, int visible,
                           int enabled, int Rresponse)
    : MControl(parent, id, rect, visible, enabled, Rresponse),
      title_(title != nullptr ? title : ""), font_name_(Manager::GetFontName()),
      font_size_(Manager::GetFontWidth()) {}

int MControlFont::SetImage(unsigned resourceId, const std::string& type, int count) {
    if (manager_ == nullptr) {
        return 0;
    }
    ImgResInfo* info = manager_->AddImgResInfo(resourceId, type, count, 0);
    if (info == nullptr) {
        return 0;
    }
    image_ = info;
    image_path_.clear();
    frame_width_ = info->frameWidth;
    frame_height_ = info->frameHeight;
    image_count_ = count <= 0 ? 1 : count;
    UpdateControl(1);
    return 1;
}

int MControlFont::SetImage(const char* fileName, int count) {
    if (manager_ == nullptr || fileName == nullptr || *fileName == '\0') {
        return 0;
    }
    ImgResInfo* info = manager_->AddImgResInfo(fileName, count);
    if (info == nullptr) {
        return 0;
    }
    image_ = info;
    image_path_ = fileName;
    frame_width_ = info->frameWidth;
    frame_height_ = info->frameHeight;
    image_count_ = count <= 0 ? 1 : count;
    UpdateControl(1);
    return 1;
}

void MControlFont::SetImageCount(int count) {
    image_count_ = count <= 0 ? 1 : count;
    if (image_ != nullptr && image_->image) {
        frame_width_ = image_->image->Width() / image_count_;
    }
}

void MControlFont::SetTitle(const char* title) {
    SetControlTitle(title);
    if (visible_) {
        UpdateControl(1);
    }
}

void MControlFont::SetAlignment(unsigned h) {
    if (h != align_) {
        align_ = h;
        UpdateControl(1);
    }
}

void MControlFont::SetVAlignment(unsigned v) {
    if (v != valign_) {
        valign_ = v;
        UpdateControl(1);
    }
}

void MControlFont::SetAlignment(unsigned h, unsigned v) {
    if (h != align_ || v != valign_) {
        align_ = h;
        valign_ = v;
        UpdateControl(1);
    }
}

std::string MControlFont::GetFontFamily(const std::string& name) const {
    return manager_ != nullptr ? manager_->FindTempFont(name) : std::string();
}

TextFormat MControlFont::GetTextFormat() const {
    TextFormat f;
    f.align = align_;
    f.valign = valign_;
    return f;
}

void MControlFont::DrawTitle(HDC& dc, const CRect& rect, Color color) const {
    MRender::DrawText(dc, GetControlTitle(), GetFontChoice(), rect, color, GetTextFormat());
}

} // namespace Tessel
