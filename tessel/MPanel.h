#pragma once
// A container control with its own two child layers, two scroll bars (ids 1
// and 2, the first two children of its control layer) and a virtual size
// that its content may scroll through.

#include "tessel/MControlFont.h"

namespace Tessel {

class MScroll;

class MPanel : public MControlFont {
public:
    MPanel(MObject* parent, UINT id, CRect rect, int visible, int enabled = 1, int Rresponse = 1);

    // Factory into the area layer (0) or the control layer (1) of this panel.
    virtual MControl* CreateArea(const char* cls, UINT id, CRect rect, const char* title,
                                 int visible, int enabled);
    virtual MControl* CreateControl(UINT layer, MObject* parent, const char* cls, UINT id,
                                    CRect rect, const char* title, int visible, int enabled);
    virtual MControl* CreateControl(const char* cls, UINT id, CRect rect, const char* title,
                                    int visible, int enabled);
    virtual int OnControlKeyUp(UINT key, UINT repeat, UINT modifier) {
        (void)key;
        (void)repeat;
        (void)modifier;
        return 0;
    }

    LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    // Passes notifications of the panel's children on to its own parent.
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control) override;
    void InitControl(PaintManager* manager) override;
    void SetControlRect(CRect rect) override;
    void SetControlVisible(int visible) override;
    void SetControlEnabled(int enabled) override;
    void DrawControl(HDC& dc, CRect clip) override;
    int DrawSubControls(HDC& dc, CRect clip) override;
    int OnMousePointChange(CPoint& pt) override;
    int OnControlScroll(int step, UINT direction, CPoint pt) override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    MScroll* GetScrollVertical() const { return vscroll_; }
    MScroll* GetScrollHorizontal() const { return hscroll_; }
    void SetVirtualHeight(int height);
    void SetVirtualWidth(int width);
    int GetVirtualHeight() const { return virtual_height_; }
    int GetVirtualWidth() const { return virtual_width_; }
    void SetEnableScroll(int on) { enable_scroll_ = on != 0; }
    bool GetEnableScroll() const { return enable_scroll_; }
    // Current scroll offsets in pixels.
    int GetScrollOffsetY() const;
    int GetScrollOffsetX() const;
    bool IsScrolling() const;

    static constexpr int kScrollThickness = 7;

protected:
    void UpdateScrollBars();

    bool first_layout_ = true;
    bool enable_scroll_ = true;
    MScroll* vscroll_ = nullptr;
    MScroll* hscroll_ = nullptr;
    int virtual_height_ = 0;
    int virtual_width_ = 0;
};

} // namespace Tessel
