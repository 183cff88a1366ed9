#include "tessel/controls/devices/UpgradeButton.h"

#include <algorithm>
#include <string>

namespace Tessel {

UpgradeButton::UpgradeButton(MObject* parent, UINT id, CRect rect, const char* title, int visible,
                             int enabled)
    : CStateButton(parent, id, rect, title, visible, enabled) {}

void UpgradeButton::SetUpgradeStatus(int status) {
    if (status != status_) {
        status_ = status;
        UpdateControl(1);
    }
}

void UpgradeButton::DecorateCell(cairo_t* cr, int cell) {
    if (status_ == 0) {
        return;
    }
    const int right = (cell + 1) * rect_.Width();
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
    MRender::SetSource(cr, kBadgeColour);
    cairo_arc(cr, right - 8.0, 8.0, 8.0, 0, 2 * 3.14159265358979323846);
    cairo_fill(cr);
    cairo_restore(cr);
    TextFormat centred;
    centred.align = 1;
    centred.valign = 4;
    MRender::DrawText(cr, "1", FontChoice{font_name_, 8, font_style_},
                      CRect(right - 15, 1, right + 1, 17), text_color_, centred);
}

DownloadButton::DownloadButton(MObject* parent, UINT id, CRect rect, const char* title, int visible,
                               int enabled)
    : CStateButton(parent, id, rect, title, visible, enabled) {}

void DownloadButton::SetDownloadProcess(int percent) {
    if (percent != progress_) {
        progress_ = percent;
        UpdateControl(1);
    }
}

void DownloadButton::DrawControl(HDC& dc, CRect) {
    if (progress_ <= 0) {
        DrawStrip(dc);
        return;
    }
    const int w = rect_.Width();
    const int h = rect_.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    // One picture whatever the button's state: the bar and the percentage.
    UpdateMemDC(dc, w, h);
    CopyBackgroundToCell(dc, 0);
    cairo_t* cr = Strip().Context();
    if (const Image* img = GetImage(); img != nullptr && frame_width_ > 0) {
        MRender::DrawImageFrame(cr, img, CRect(0, 0, w, h), 0, 0, frame_width_, frame_height_,
                                frame_size_);
        const int fill = w * std::min(progress_, 100) / 100;
        MRender::DrawImageFrame(cr, img, CRect(0, 0, fill, h), frame_width_, 0, frame_width_,
                                frame_height_, frame_size_);
    }
    TextFormat centred;
    centred.align = 1;
    centred.valign = 4;
    MRender::DrawText(cr, std::to_string(progress_) + "%", GetFontChoice(), CRect(0, 0, w, h),
                      text_color_, centred);
    update_ = false; // the strip no longer holds the four looks
    DrawStripCell(dc, 0);
}

} // namespace Tessel
