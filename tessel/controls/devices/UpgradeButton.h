#pragma once
// A push button that can carry a red "1" badge announcing a newer version.

#include "tessel/controls/devices/CStateButton.h"

namespace Tessel {

class UpgradeButton : public CStateButton {
public:
    UpgradeButton(MObject* parent, UINT id, CRect rect, const char* title, int visible,
                  int enabled);

    // Non-zero shows the badge; redraws on a change.
    void SetUpgradeStatus(int status);
    int GetUpgradeStatus() const { return status_; }

    void DrawControl(HDC& dc, CRect) override { DrawStrip(dc); }

    static constexpr Color kBadgeColour = 0xFFFF0000;

protected:
    void DecorateCell(cairo_t* cr, int cell) override;

private:
    int status_ = 0;
};

// A push button that turns into a progress bar while a download runs.
class DownloadButton : public CStateButton {
public:
    DownloadButton(MObject* parent, UINT id, CRect rect, const char* title, int visible,
                   int enabled);

    // Percent; above 0 the button shows the progress. Redraws on a change.
    void SetDownloadProcess(int percent);
    int GetDownloadProcess() const { return progress_; }

    void DrawControl(HDC& dc, CRect clip) override;

private:
    int progress_ = 0;
};

} // namespace Tessel
