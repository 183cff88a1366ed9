#pragma once
// A skinned window: a control tree drawn by its paint manager over a
// background image or colour, optionally translucent, with the modal-result
// close protocol (DoOK, DoCancel, ... post a close request that becomes
// WM_CLOSE with the result).

#include "tessel/MObject.h"
#include "tessel/MWindow.h"
#include "tessel/PaintManager.h"

namespace Tessel {

class MDialog : public MWindow, public MObject {
public:
    MDialog();
    ~MDialog() override;

    const char* GetClassNameW() const override { return "MDialog"; }
    LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override {
        return OnMessage(id, code, wParam, lParam);
    }
    LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control) override {
        return pm_.OnControlUpdate(rect, redraw, control);
    }

    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int PreTranslateMessage(MSG* msg) override { return pm_.PreTranslateMessage(msg); }
    int OnInitDialog() override;
    void OnDestroyMessage(HWND hwnd) override;

    // ---- hooks ----
    // Screen point at the bottom edge of the control: x at its left (0),
    // centre (1) or right (2).
    virtual CPoint GetAirBladderPoint(MControl* control, unsigned type);
    virtual void OnMinimize() { ShowWindow(SW_MINIMIZE); }
    virtual void OnMaximize() { ShowWindow(SW_RESTORE); }
    virtual void InitUI(CRect client) { (void)client; }
    virtual void UISize(CRect client) { (void)client; }
    virtual LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
        (void)id;
        (void)code;
        (void)wParam;
        (void)lParam;
        return 0;
    }
    virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnCreate();
    virtual LRESULT OnSize(UINT type, int cx, int cy);
    virtual LRESULT OnMouseMove(UINT flags, CPoint pt) { return Hook(flags, pt); }
    virtual LRESULT OnMouseLeave() { return 0; }
    virtual LRESULT OnMouseHover(UINT flags, CPoint pt) { return Hook(flags, pt); }
    virtual LRESULT OnMouseWheel(UINT flags, int delta, CPoint pt) {
        (void)delta;
        return Hook(flags, pt);
    }
    virtual LRESULT OnLButtonDown(UINT flags, CPoint pt) { return Hook(flags, pt); }
    virtual LRESULT OnLButtonUp(UINT flags, CPoint pt) { return Hook(flags, pt); }
    virtual LRESULT OnLButtonDblClk(UINT flags, CPoint pt) { return Hook(flags, pt); }
    virtual LRESULT OnRButtonDown(UINT flags, CPoint pt) { return Hook(flags, pt); }
    virtual LRESULT OnRButtonUp(UINT flags, CPoint pt) { return Hook(flags, pt); }
    virtual LRESULT OnRButtonDblClk(UINT flags, CPoint pt) { return Hook(flags, pt); }
    virtual LRESULT OnKeyDown(UINT key, UINT repeat, UINT flags) {
        (void)key;
        (void)repeat;
        (void)flags;
        return 0;
    }
    virtual LRESULT OnGetMinMaxInfo(MINMAXINFO* info) {
        (void)info;
        return 0;
    }
    virtual LRESULT OnNcActivate(int active) {
        (void)active;
        return 0;
    }
    virtual LRESULT OnPaint() { return 0; }
    virtual void OnTimer(UINT id) { (void)id; }
    virtual LRESULT OnClose() { return 1; }
    virtual LRESULT OnDestroy() { return 0; }
    virtual LRESULT PostNcDestroy() { return 0; }

    // ---- controls ----
    MControl* CreateControl(const char* cls, UINT id, CRect rect, const char* title, int visible,
                            int enabled) {
        return pm_.CreateControl(1, this, cls, id, rect, title, visible, enabled);
    }
    MControl* CreateArea(const char* cls, UINT id, CRect rect, const char* title, int visible,
                         int enabled) {
        return pm_.CreateControl(0, this, cls, id, rect, title, visible, enabled);
    }
    // Adds a control made by its constructor (with this dialog as parent).
    void AddControl(MControl* control, int layer = 1) { pm_.AttachControl(layer, control); }
    MControl* GetControl(UINT id) { return pm_.GetControl(id); }
    std::vector<MControl*> GetControls() const { return pm_.GetControls(); }
    PaintManager& GetPaintManager() { return pm_; }

    int LoadBKImage(const std::string& name) { return pm_.LoadBKImage(name) ? 1 : 0; }
    int LoadBKImage(unsigned resourceId, const std::string& type) {
        return pm_.LoadBKImage(resourceId, type) ? 1 : 0;
    }
    void SetBackMode(enumBackMode mode, int value) { pm_.SetBackMode(mode, value); }
    void SetBackColor(COLORREF back, COLORREF frame) { pm_.SetBackColor(back, frame); }
    void SetLayeredWindow(int on) { pm_.SetLayeredWindow(on); }
    void EnableWndDrag(int on) { pm_.EnableWndDrag(on); }
    void SetScrollResID(unsigned v, unsigned h) { pm_.SetScrollResID(v, h); }
    void SetFocusControl(MControl* control) { pm_.SetFocusControl(control); }
    unsigned SetMTimer(UINT ms) { return pm_.SetMTimer(ms); }
    void KillMTimer(unsigned id) { pm_.KillMTimer(id); }
    void SetTooltip(const std::string& text, CRect rect) { pm_.SetTooltip(text, rect); }
    void ClearTooltip() { pm_.ClearTooltip(); }
    void SetTooltipCtrlID(UINT id) { pm_.SetTooltipCtrlID(id); }
    UINT GetTooltipCtrlID() const { return pm_.GetTooltipCtrlID(); }
    void SetMessage(const std::string& text, CRect rect, MsgLevel level) {
        pm_.SetMessage(text, rect, level);
    }
    void SetProgress(int percent, const std::string& text, CRect rect) {
        pm_.SetProgress(percent, text, rect);
    }
    // A constant alpha (below 255) or a colour key (not 0xFFFFFF) makes the
    // window translucent.
    void SetBackTranslucent(COLORREF colourKey, int alpha) {
        colour_key_ = colourKey;
        alpha_ = alpha;
    }
    void SetupBackTranslucent();
    int GetWindowAlpha() const { return alpha_; }
    COLORREF GetColourKey() const { return colour_key_; }
    void SetMessageOffset(int dy) { pm_.SetMessageOffset(dy); }

    void DoOK() { PostMessageW(WM_USER_CLOSE_WINDOW, IDOK, 0); }
    void DoCancel() { PostMessageW(WM_USER_CLOSE_WINDOW, IDCANCEL, 0); }
    void DoClose() { PostMessageW(WM_USER_CLOSE_WINDOW, IDCANCEL, 0); }
    void DoYes() { PostMessageW(WM_USER_CLOSE_WINDOW, IDYES, 0); }
    void DoNo() { PostMessageW(WM_USER_CLOSE_WINDOW, IDNO, 0); }

    CRect GetClient() const { return client_; }

protected:
    LRESULT Hook(UINT, CPoint) { return 0; }

    PaintManager pm_;
    CRect client_;
    COLORREF colour_key_ = 0xFFFFFF;
    int alpha_ = 255;
};

} // namespace Tessel
