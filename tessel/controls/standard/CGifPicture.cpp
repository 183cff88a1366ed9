#include "tessel/controls/standard/CGifPicture.h"

#include "tessel/PaintManager.h"

namespace Tessel {

CGifPicture::CGifPicture(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, "", visible, enabled, 0) {
    image_count_ = 1;
    run_timer_ = true;
}

void CGifPicture::InitControl(PaintManager* manager) {
    if (manager != nullptr && running_) {
        manager->AddMTimer(this);
    }
}

int CGifPicture::SetImage(const char* fileName, int count) {
    if (MControlFont::SetImage(fileName, count) == 0) {
        return 0;
    }
    const Image* img = GetImage();
    frames_ = img != nullptr ? img->FrameCount() : 0;
    frame_ = 0;
    ticks_ = 0;
    return 1;
}

int CGifPicture::SetRunState(int run, int startFrame) {
    if (frames_ < 2) {
        return 0;
    }
    frame_ = startFrame >= 0 && startFrame < frames_ ? startFrame : 0;
    running_ = run != 0;
    ticks_ = 0;
    // Only a running animation keeps the window's tick going.
    if (manager_ != nullptr) {
        if (running_) {
            manager_->AddMTimer(this);
        } else {
            manager_->DeleteFSTimer(this);
        }
    }
    UpdateControl(0);
    return 1;
}

int CGifPicture::OnControlTimer() {
    if (!running_ || !visible_ || frames_ < 2) {
        return 0;
    }
    if (++ticks_ < kTicksPerFrame) {
        return 0;
    }
    ticks_ = 0;
    frame_ = (frame_ + 1) % frames_;
    UpdateControl(0);
    return 1;
}

void CGifPicture::DrawControl(HDC& dc, CRect) {
    const Image* img = GetImage();
    if (img == nullptr || rect_.IsRectEmpty()) {
        return;
    }
    cairo_save(dc);
    cairo_rectangle(dc, rect_.left, rect_.top, rect_.Width(), rect_.Height());
    cairo_clip(dc);
    MRender::DrawImage(dc, img, rect_.left, rect_.top, frame_);
    cairo_restore(dc);
}

} // namespace Tessel
