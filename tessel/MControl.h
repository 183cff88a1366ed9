#pragma once
// A windowless control: a rectangle in window client coordinates that the
// paint manager draws into the window's back buffer and routes input to.
// Controls own their children in two layers (areas, drawn first, and
// controls), report to their parent through OnBaseMessage and ask their
// parent to repaint through OnControlUpdate.

#include "platform/window/WindowTypes.h"
#include "tessel/Image.h"
#include "tessel/MObject.h"
#include "tessel/MRender.h"

#include <mutex>
#include <string>
#include <vector>

namespace Tessel {

class PaintManager;

class MControl : public MObject {
public:
    MControl(MObject* parent, UINT id, CRect rect, int visible, int enabled, int Rresponse);
    ~MControl() override;
    MControl(const MControl&) = delete;
    MControl& operator=(const MControl&) = delete;

    const char* GetClassNameW() const override { return "FSControl"; }

    // ---- overridable behaviour ----
    // Once, when the control is attached to a window.
    virtual void InitControl(PaintManager* manager) { (void)manager; }
    virtual bool PtInRect(CPoint pt) const { return visible_ && rect_.PtInRect(pt); }
    virtual void DrawControl(HDC& dc, CRect clip) = 0;
    virtual int DrawSubControls(HDC& dc, CRect clip);
    virtual int IsDraw(CPoint pt) {
        (void)pt;
        return 0;
    }
    // Marks the cached state strip valid or stale, for this control and every
    // child of the control layer that overlaps it.
    virtual void SetUpdate(int update, DWORD colour = 0);
    virtual int SetControlFocus(int focus);
    virtual void InitUI(CRect rect) { (void)rect; }
    virtual int OnMousePointChange(CPoint& pt) {
        (void)pt;
        return 0;
    }
    virtual int OnCheckMouseResponse(UINT flags, CPoint pt) {
        (void)flags;
        (void)pt;
        return 1;
    }
    // Non-zero consumes the window message.
    virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
        (void)msg;
        (void)wParam;
        (void)lParam;
        return 0;
    }
    virtual LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
        (void)id;
        (void)code;
        (void)wParam;
        (void)lParam;
        return 0;
    }
    virtual void SetControlRect(CRect rect) { rect_ = rect; }
    virtual void SetControlVisible(int visible) { visible_ = visible != 0; }
    virtual void SetControlWndVisible(int visible) { (void)visible; }
    virtual void SetControlEnabled(int enabled) { enabled_ = enabled != 0; }
    virtual int OnControlTimer() { return 0; }
    virtual Bitmap* GetControlDropBitmap() { return nullptr; }
    virtual int OnControlMouseMove(UINT flags, CPoint pt) {
        (void)flags;
        (void)pt;
        return 0;
    }
    virtual int OnControlSetCursor(UINT flags, CPoint pt);
    virtual int OnControlLButtonDown(UINT flags, CPoint pt) {
        (void)flags;
        (void)pt;
        return 0;
    }
    virtual int OnControlLButtonUp(UINT flags, CPoint pt) {
        (void)flags;
        (void)pt;
        return 0;
    }
    virtual int OnControlLButtonDblClk(UINT flags, CPoint pt) {
        (void)flags;
        (void)pt;
        return 0;
    }
    // direction 1: wheel toward the user (scroll down), 0: away.
    virtual int OnControlScroll(int step, UINT direction, CPoint pt) {
        (void)step;
        (void)direction;
        (void)pt;
        return 0;
    }
    virtual int OnControlRButtonDown(UINT flags, CPoint pt) {
        (void)flags;
        (void)pt;
        return 0;
    }
    virtual int OnControlRButtonUp(UINT flags, CPoint pt) {
        (void)flags;
        (void)pt;
        return 0;
    }
    virtual int OnControlRButtonDblClk(UINT flags, CPoint pt) {
        (void)flags;
        (void)pt;
        return 0;
    }
    // True when a shortcut is set and both key and modifier match.
    virtual int OnControlKeyDown(UINT key, UINT repeat, UINT modifier);
    virtual void OnPositionChange() {}
    // Asks the window to repaint this control's rect.
    virtual void InvalidateRect(const CRect* rect, int erase);

    // ---- routing (the paint manager calls these on top-level controls) ----
    int Draw(HDC& dc, CRect clip);
    int OnMouseMove(UINT flags, CPoint pt);
    int OnLButtonDown(UINT flags, CPoint pt);
    int OnLButtonUp(UINT flags, CPoint pt);
    int OnLButtonDblClk(UINT flags, CPoint pt);
    int OnRButtonDown(UINT flags, CPoint pt);
    int OnRButtonUp(UINT flags, CPoint pt);
    int OnRButtonDblClk(UINT flags, CPoint pt);
    int OnScroll(int step, UINT direction, CPoint pt);
    int OnKeyDown(UINT key, UINT repeat, UINT modifier);
    int OnKeyUp(UINT key, UINT repeat, UINT modifier);
    int OnTimer();

    // ---- state ----
    MObject* GetParantObject() const { return parent_; }
    void SetParent(MObject* parent) { parent_ = parent; }
    PaintManager* GetManager() const { return manager_; }
    void SetManager(PaintManager* manager) { manager_ = manager; }
    UINT GetControlID() const { return id_; }
    void SetControlID(UINT id) { id_ = id; }
    CRect GetRect() const { return rect_; }
    bool IsVisible() const { return visible_; }
    bool IsEnabled() const { return enabled_; }
    bool IsDragDrop() const { return drag_drop_; }
    void SetDragDrop(int on) { drag_drop_ = on != 0; }
    bool GetRresponse() const { return response_; }
    void SetRresponse(int on) { response_ = on != 0; }
    bool IsTabStop() const { return tab_stop_; }
    void SetTabStop(int on) { tab_stop_ = on != 0; }
    bool GetDblClk() const { return dbl_clk_; }
    void SetDblClk(int on) { dbl_clk_ = on != 0; }
    bool IsPressedInside() const { return pressed_inside_; }
    int IsKeyDown() const { return key_down_; }
    bool IsFocused() const { return focused_; }
    bool GetUpdate() const { return update_; }
    bool IsAnimate() const { return animate_; }
    bool IsRunTimer() const { return run_timer_; }
    void SetRunTimer(int on) { run_timer_ = on != 0; }
    int UseImageECM() const { return image_ecm_; }
    void SetShortcut(UINT key, UINT modifier) {
        shortcut_key_ = key;
        shortcut_modifier_ = modifier;
    }
    void SetLeaveTracking(int on) { leave_tracking_ = on != 0; }
    void SetDblNotify(int on) { dbl_notify_ = on != 0; }
    void SetKeyNotify(int on) { key_notify_ = on != 0; }
    MControl* GetCapturedChild() const { return captured_; }

    // ---- public operations ----
    void SetRect(CRect rect);
    void SetRect(int x, int y, int width, int height) {
        SetRect(CRect(x, y, x + width, y + height));
    }
    void SetVisible(int visible) { SetVisible(visible, 1); }
    void SetVisible(int visible, int notify);
    bool IsParentVisible() const;
    void SetEnabled(int enabled);
    void UpdateControl(int redraw, int force = 0);
    void UpdateControl(CRect rect, int redraw, int force);
    void UpdateAControl(int keep, int force);
    MControl* GetControl(UINT id);
    // Removes and deletes a child of the control layer.
    bool RemoveControl(MControl* child);
    void RemoveAllControl();
    // Adds a control built by its constructor to layer 0 (areas) or 1 (controls).
    void AttachChild(int layer, MControl* child);
    std::vector<MControl*> GetControls() const;
    std::vector<MControl*> GetAreas() const;

    const std::string& GetTooltip() const { return tooltip_; }
    void SetTooltip(const char* text) { tooltip_ = text != nullptr ? text : ""; }
    void SetTooltip(const std::string& text, CRect rect);
    void ClearTooltip();
    // "arrow", "wait", "cross", "sizewe", "sizens", "hand", "help"; others change nothing.
    void SetCursorEx(const char* name);
    bool HasCursor() const { return has_cursor_; }
    kovrin::platform::CursorKind GetCursorKind() const { return cursor_; }

    LRESULT SendMessageW(UINT code, WPARAM wParam, LPARAM lParam);
    void AddMTimer();
    void OnFocus(int focus) { SetControlFocus(focus); }
    bool IsFocusControl() const;
    Bitmap* GetDropBitmap() { return GetControlDropBitmap(); }
    MControl* GetNextFocusableControl() { return nullptr; }
    MControl* GetPrevFocusableControl() { return nullptr; }
    MControl* GetFocusControl() { return nullptr; }

    // ---- state strip: all visual states side by side, over the background ----
    // Makes the strip width × height (re-created only when the size changed)
    // and marks it valid.
    void UpdateMemDC(HDC& dc, int width, int height);
    // Copies the back-buffer pixels under the control into cell i of the strip.
    void CopyBackgroundToCell(HDC& dc, int cell);
    // Draws cell i of the strip at the control's rect.
    void DrawStripCell(HDC& dc, int cell);
    Bitmap& Strip() { return strip_; }
    void UpdateAnimateDC(int width, int height);
    Bitmap& AnimateBitmap() { return animate_bitmap_; }

protected:
    // Walks a layer under its lock, re-reading the size each step.
    template <typename F> void ForEachChild(int layer, F&& f) const;

    MObject* parent_;
    PaintManager* manager_ = nullptr;
    UINT id_;
    CRect rect_;
    bool visible_;
    bool enabled_;
    bool drag_drop_ = false;
    bool response_;
    bool tab_stop_ = false;
    bool dbl_clk_ = false;
    bool pressed_inside_ = false;
    int key_down_ = 0;
    bool focused_ = false;
    UINT shortcut_key_ = 0;
    UINT shortcut_modifier_ = 0;
    bool update_ = false;
    bool animate_ = false;
    bool run_timer_ = false;
    int image_ecm_ = 0;

    mutable std::recursive_mutex area_lock_;
    std::vector<MControl*> areas_;
    mutable std::recursive_mutex control_lock_;
    std::vector<MControl*> controls_;
    MControl* captured_ = nullptr;

    Bitmap strip_;
    Bitmap animate_bitmap_;

    std::string tooltip_;
    bool has_cursor_ = false;
    kovrin::platform::CursorKind cursor_ = kovrin::platform::CursorKind::Arrow;
    bool leave_tracking_ = false;
    bool dbl_notify_ = false;
    bool key_notify_ = false;

private:
    friend class PaintManager;
    void ForgetChild(MControl* child);
    int RouteButton(int button, int kind, UINT flags, CPoint pt);
};

template <typename F> void MControl::ForEachChild(int layer, F&& f) const {
    auto& lock = layer == 0 ? area_lock_ : control_lock_;
    const auto& list = layer == 0 ? areas_ : controls_;
    std::lock_guard guard(lock);
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!f(list[i])) {
            break;
        }
    }
}

} // namespace Tessel
