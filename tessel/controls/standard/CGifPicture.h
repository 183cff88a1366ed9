#pragma once
// A multi-frame (GIF) animation on the window's animation tick: while
// running and visible, every fifth tick shows the next frame.

#include "tessel/MControlFont.h"

namespace Tessel {

class CGifPicture : public MControlFont {
public:
    CGifPicture(MObject* parent, UINT id, CRect rect, int visible, int enabled);

    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC& dc, CRect clip) override;
    int OnControlTimer() override;

    // Loads the image and counts its frames.
    int SetImage(const char* fileName, int count) override;
    // Refused (0) for images with fewer than two frames; otherwise sets the
    // frame and the running flag, repaints and returns 1.
    int SetRunState(int run, int startFrame = 0);
    // While off (the default) the picture takes no part in mouse routing.
    void SetMouseMoveActive(int on) { SetRresponse(on); }
    // True while running.
    bool IsAnimate() const { return running_; }
    int GetFrameCount() const { return frames_; }
    int GetFrame() const { return frame_; }

    static constexpr int kTicksPerFrame = 5;

private:
    int frames_ = 0;
    int frame_ = 0;
    int ticks_ = 0;
    bool running_ = false;
};

} // namespace Tessel
