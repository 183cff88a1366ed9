#pragma once
// The battery gauge: the frame image, the first columns of the level image
// for the level, and the level in percent, or a charging icon.

#include "tessel/MControlFont.h"

namespace Tessel {

class BatteryCtrl : public MControlFont {
public:
    BatteryCtrl(MObject* parent, UINT id, CRect rect, int visible, int enabled);

    // The gauge frame (skin folder), used whole; 0 when it cannot be loaded.
    int SetImage(const char* fileName, int count) override;
    // The level and charging images; 0 when either cannot be loaded.
    int SetBatteryIcon(const std::string& levelFile, const std::string& chargingFile);
    // Level in percent (0..100) and the charging flag; redraws on a change.
    void SetBatteryInfo(int level, int charging);
    int GetLevel() const { return level_; }
    bool IsCharging() const { return charging_; }
    // Columns of the level image drawn for the current state.
    int FillWidth() const;

    void DrawControl(HDC& dc, CRect clip) override;

private:
    ImagePtr level_image_;
    ImagePtr charging_icon_;
    int level_ = 100;
    bool charging_ = false;
};

} // namespace Tessel
