#pragma once
// The device selector: one button-like row per keyboard model that is
// present (cell 1 of the row strip, the text colour), then the models that
// are only listed (cell 0, grey). Pressing a row picks it and sends
// CN_PRESSED (the row's index in the list, 0).

#include "tessel/MControlFont.h"

#include <mutex>
#include <string>
#include <vector>

namespace Tessel {

enum DeviceRowState : int { DEVICE_HIDDEN = 0, DEVICE_PRESENT = 1, DEVICE_LISTED = 2 };

struct DeviceEntry {
    std::string name;
    int first = 0;
    int second = 0;
    int deviceType = 0;
    int state = DEVICE_HIDDEN;
    bool flag = false;
    CRect rect; // inside the control, set when the row is drawn
};

class CDeviceCtrl : public MControlFont {
public:
    CDeviceCtrl(MObject* parent, UINT id, CRect rect, int visible, int enabled);

    // Appends a model: listed when flag is set, else hidden. No redraw.
    void AddDevice(const std::string& name, int first, int second, int deviceType, bool flag);
    // The first entry of the type gets the state (a non-zero state makes it
    // the current one); then the present entries are counted and it redraws.
    void SetDeviceState(int deviceType, int state);
    // Every entry hidden; the present count and the current entry stay.
    void ResetAllState();
    // The current entry's type; 0 without one or while none is present.
    int GetCurDeviceType() const;
    int GetConnectCount() const;
    void ClearList();
    std::vector<DeviceEntry> GetDevices() const;
    int GetHoverIndex() const { return hover_; }
    int GetCurrentIndex() const { return current_; }

    void DrawControl(HDC& dc, CRect clip) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

    static constexpr int kRowHeight = 38;
    static constexpr int kRowPitch = 50;
    static constexpr int kRowCorner = 12;

private:
    int RowAtLocked(CPoint pt) const;
    bool InRowLocked(int index, CPoint pt) const;

    mutable std::mutex lock_;
    std::vector<DeviceEntry> entries_;
    int present_ = 0;
    int hover_ = -1;
    int current_ = -1;
};

} // namespace Tessel
