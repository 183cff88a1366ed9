#include "tessel/controls/devices/BatteryCtrl.h"

#include "tessel/controls/SkinFile.h"

#include <algorithm>
#include <string>

namespace Tessel {

BatteryCtrl::BatteryCtrl(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, "", visible, enabled, 1) {
    font_size_ = 14;
    align_ = 1;
    valign_ = 4;
}

int BatteryCtrl::SetImage(const char* fileName, int) {
    return MControlFont::SetImage(fileName, 1);
}

int BatteryCtrl::SetBatteryIcon(const std::string& levelFile, const std::string& chargingFile) {
    ImagePtr level = LoadSkinImage(levelFile);
    ImagePtr charging = LoadSkinImage(chargingFile);
    const bool loaded = level && charging;
    if (level) {
        level_image_ = std::move(level);
    }
    if (charging) {
        charging_icon_ = std::move(charging);
    }
    UpdateControl(1);
    return loaded ? 1 : 0;
}

void BatteryCtrl::SetBatteryInfo(int level, int charging) {
    level = std::clamp(level, 0, 100);
    if (level == level_ && (charging != 0) == charging_) {
        return;
    }
    level_ = level;
    charging_ = charging != 0;
    UpdateControl(1);
}

int BatteryCtrl::FillWidth() const {
    if (charging_ || !level_image_) {
        return 0;
    }
    return level_ * level_image_->Width() / 100;
}

void BatteryCtrl::DrawControl(HDC& dc, CRect) {
    const int w = rect_.Width();
    const int h = rect_.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    if (!update_ || Strip().Width() != w || Strip().Height() != h) {
        UpdateMemDC(dc, w, h);
        CopyBackgroundToCell(dc, 0);
        cairo_t* cr = Strip().Context();
        const Image* frame = GetImage();
        const int frame_w = frame != nullptr ? frame->Width() : 0;
        if (frame != nullptr) {
            MRender::DrawImage(cr, frame, 0, 0);
        }
        if (const int fill = FillWidth(); fill > 0) {
            const int ih = level_image_->Height();
            MRender::DrawImage(cr, level_image_.get(), CRect(0, 0, fill, ih),
                               CRect(0, 0, fill, ih));
        }
        if (charging_) {
            if (charging_icon_) {
                const int y = static_cast<int>((h - charging_icon_->Height()) * 0.5);
                MRender::DrawImage(cr, charging_icon_.get(), frame_w + 5, y);
            }
        } else if (level_ != 0) {
            title_ = std::to_string(level_) + "%";
            MRender::DrawText(cr, title_, GetFontChoice(), CRect(0, 0, frame_w, h), text_color_,
                              GetTextFormat());
        }
    }
    DrawStripCell(dc, 0);
}

} // namespace Tessel
