#include "tessel/controls/devices/CDeviceCtrl.h"

#include "tessel/PaintManager.h"

#include <algorithm>

namespace Tessel {
namespace {

constexpr Color kListedText = 0xFF808080;

} // namespace

CDeviceCtrl::CDeviceCtrl(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, "", visible, enabled, 1) {
    align_ = 1;
    valign_ = 4;
}

void CDeviceCtrl::AddDevice(const std::string& name, int first, int second, int deviceType,
                            bool flag) {
    std::lock_guard lock(lock_);
    entries_.push_back(DeviceEntry{
        name, first, second, deviceType, flag ? DEVICE_LISTED : DEVICE_HIDDEN, flag, {}});
}

void CDeviceCtrl::SetDeviceState(int deviceType, int state) {
    {
        std::lock_guard lock(lock_);
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].deviceType == deviceType) {
                entries_[i].state = state;
                if (state != DEVICE_HIDDEN) {
                    current_ = static_cast<int>(i);
                }
                break;
            }
        }
        present_ =
            static_cast<int>(std::count_if(entries_.begin(), entries_.end(), [](const auto& e) {
                return e.state == DEVICE_PRESENT;
            }));
    }
    UpdateControl(1);
}

void CDeviceCtrl::ResetAllState() {
    {
        std::lock_guard lock(lock_);
        for (DeviceEntry& e : entries_) {
            e.state = DEVICE_HIDDEN;
        }
    }
    UpdateControl(1);
}

int CDeviceCtrl::GetCurDeviceType() const {
    std::lock_guard lock(lock_);
    if (present_ == 0 || current_ < 0 || current_ >= static_cast<int>(entries_.size())) {
        return 0;
    }
    return entries_[static_cast<std::size_t>(current_)].deviceType;
}

int CDeviceCtrl::GetConnectCount() const {
    std::lock_guard lock(lock_);
    return present_;
}

void CDeviceCtrl::ClearList() {
    {
        std::lock_guard lock(lock_);
        entries_.clear();
        present_ = 0;
        hover_ = -1;
        current_ = -1;
    }
    UpdateControl(1);
}

std::vector<DeviceEntry> CDeviceCtrl::GetDevices() const {
    std::lock_guard lock(lock_);
    return entries_;
}

// ---- drawing ----

void CDeviceCtrl::DrawControl(HDC& dc, CRect) {
    const int w = rect_.Width();
    const int h = rect_.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    if (!update_ || Strip().Width() != w || Strip().Height() != h) {
        UpdateMemDC(dc, w, h);
        CopyBackgroundToCell(dc, 0);
        cairo_t* cr = Strip().Context();
        const Image* strip = GetImage();
        std::lock_guard lock(lock_);
        if (present_ > 0) {
            CRect row(0, 0, w, kRowHeight);
            for (const int state : {DEVICE_PRESENT, DEVICE_LISTED}) {
                const int cell = state == DEVICE_PRESENT ? 1 : 0;
                for (DeviceEntry& e : entries_) {
                    if (e.state != state) {
                        continue;
                    }
                    e.rect = row;
                    if (strip != nullptr && frame_width_ > 0) {
                        MRender::DrawImageFrame(cr, strip, row, cell * frame_width_, 0,
                                                frame_width_, frame_height_, kRowCorner);
                    }
                    MRender::DrawText(cr, e.name, GetFontChoice(), row,
                                      state == DEVICE_PRESENT ? text_color_ : kListedText,
                                      GetTextFormat());
                    row.OffsetRect(0, kRowPitch);
                }
            }
        }
    }
    DrawStripCell(dc, 0);
}

// ---- mouse ----

bool CDeviceCtrl::InRowLocked(int index, CPoint pt) const {
    if (index < 0 || index >= static_cast<int>(entries_.size())) {
        return false;
    }
    const DeviceEntry& e = entries_[static_cast<std::size_t>(index)];
    CRect r = e.rect;
    r.OffsetRect(rect_.left, rect_.top);
    return e.state != DEVICE_HIDDEN && r.PtInRect(pt);
}

int CDeviceCtrl::RowAtLocked(CPoint pt) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (InRowLocked(static_cast<int>(i), pt)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int CDeviceCtrl::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    using kovrin::platform::CursorKind;
    const int before = hover_;
    const bool inside = rect_.PtInRect(pt);
    {
        std::lock_guard lock(lock_);
        if (inside && InRowLocked(hover_, pt)) {
            if (manager_ != nullptr) {
                manager_->SetCursor(CursorKind::Hand);
            }
            return 1;
        }
        hover_ = inside ? RowAtLocked(pt) : -1;
    }
    if (hover_ != before) {
        UpdateControl(1);
    }
    return inside ? 1 : 0;
}

int CDeviceCtrl::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_ || !rect_.PtInRect(pt)) {
        return 0;
    }
    int row = -1;
    {
        // The row under the press: rows may have moved since the pointer did.
        std::lock_guard lock(lock_);
        row = RowAtLocked(pt);
        hover_ = row;
        if (row < 0) {
            return 0;
        }
        current_ = row;
    }
    SendMessageW(CN_PRESSED, static_cast<WPARAM>(row), 0);
    return 1;
}

int CDeviceCtrl::OnControlLButtonUp(UINT, CPoint) {
    return enabled_ ? 1 : 0;
}

} // namespace Tessel
