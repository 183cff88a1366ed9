#pragma once
// The state of one window: its two control layers, painting into one
// off-screen buffer per paint, input routing (hover, capture, focus and Tab
// order, wheel, keys), tooltips, control timers, the animation tick, the
// message and progress overlay, the caret, and the window's image cache and
// private fonts.

#include "platform/window/WindowTypes.h"
#include "tessel/ImgResInfo.h"
#include "tessel/MControl.h"
#include "tessel/Messages.h"
#include "tessel/RKTimer.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Tessel {

class MWindow;
class MDialog;
class ToolTipWindow;
struct MSG;

enum enumBackMode { BACK_MODE_IMAGE = 0, BACK_MODE_FRAME = 1 };
enum MsgLevel { MSG_LEVEL_INFO = 0, MSG_LEVEL_WARNING = 1, MSG_LEVEL_ERROR = 2 };

// Window timer ids the paint manager keeps for itself.
inline constexpr UINT kTimerCaret = 6553;
inline constexpr UINT kTimerOverlayShow = 66;
inline constexpr UINT kTimerOverlayFade = 88;
inline constexpr UINT kTimerProgress = 99;

class PaintManager : public RKTimer {
public:
    PaintManager();
    ~PaintManager() override;

    // ---- window ----
    void Init(MWindow* window);
    bool IsInitialised() const { return initialised_; }
    MWindow* GetPaintWnd() const { return window_; }
    MDialog* GetMDialog() const;
    CRect GetClientRect() const;
    CRect GetWindowRect() const;
    CSize GetClientSize() const;
    void SetBackColor(COLORREF back, COLORREF frame) {
        back_color_ = back;
        frame_color_ = frame;
    }
    COLORREF GetBackColor() const { return back_color_; }
    void SetCaptionRect(CRect rect) { caption_rect_ = rect; }
    void SetWindowMaxSize(int w, int h) { max_size_ = {w, h}; }
    void SetWindowMixSize(int w, int h) { min_size_ = {w, h}; }
    void SetLayeredWindow(int layered);
    bool IsLayered() const { return layered_; }
    bool LoadBKImage(const std::string& fileName);
    bool LoadBKImage(unsigned resourceId, const std::string& type);
    void SetBackMode(enumBackMode mode, int value) {
        back_mode_ = mode;
        back_value_ = value;
    }
    void EnableWndDrag(int on) { window_drag_ = on != 0; }
    bool IsWndDragEnabled() const { return window_drag_; }
    void SetScrollResID(unsigned vertical, unsigned horizontal) {
        scroll_v_id_ = vertical;
        scroll_h_id_ = horizontal;
    }
    unsigned GetScrollResIDV() const { return scroll_v_id_; }
    unsigned GetScrollResIDH() const { return scroll_h_id_; }
    COLORREF GetDefaultEnabledColor() const { return default_enabled_color_; }
    void SetDefaultEnabledColor(COLORREF c) { default_enabled_color_ = c; }

    // ---- painting (invalidation from any thread) ----
    void Invalidate();
    void InvalidateRect(CRect rect, int erase);
    LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control);
    // The back buffer of the last paint (window size).
    Bitmap& BackBuffer() { return back_; }
    int PaintCount() const { return paint_count_; }

    // ---- mouse and messages ----
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const { return captured_; }
    LRESULT SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
    bool PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
    void SetCursor(kovrin::platform::CursorKind kind);

    // ---- control timers: WM_TIMER ticks reach the control's OnTimer ----
    // 1 when started or restarted, 0 when already running or no id is free.
    int SetTimer(MControl* control, UINT key, UINT ms);
    int KillTimer(MControl* control, UINT key);
    int KillTimer(MControl* control);
    void ClearTimers();
    // The window timer id a control timer runs under (0 when none).
    UINT GetTimerEventId(MControl* control, UINT key) const;
    // While a control timer's tick is delivered: its key.
    UINT GetCurrentTimerKey() const { return current_timer_key_; }

    // ---- animation tick ----
    // SetMTimer sets the period of the tick that reaches the controls added
    // with AddMTimer; the tick runs only while at least one is added, so an
    // idle window does not wake. Returns the tick's id (for KillMTimer).
    unsigned SetMTimer(UINT ms);
    void KillMTimer(unsigned id);
    void KillMTimer();
    void AddMTimer(MControl* control);
    void DeleteFSTimer(MControl* control);
    void OnMTimer(unsigned id) override;
    unsigned GetMTimerId() const { return animation_timer_; }
    // Whether the tick is running now.
    bool IsAnimationTickRunning() const { return animation_tick_ != 0; }

    // ---- caret of a windowless text control ----
    void CreateCaret(int width, int height);
    void ShowCaret(bool on);
    void SetCaretPos(MControl* edit, int x, int y);
    MControl* GetCurrentCaretObject() const { return caret_object_; }
    void SetCaretColor(Color c) { caret_color_ = c; }
    void DrawCaret(HDC& dc);

    // ---- controls ----
    MControl* CreateControl(UINT layer, MObject* parent, const char* cls, UINT id, CRect rect,
                            const char* title, int visible, int enabled);
    MControl* CreateControl(MObject* parent, const char* cls, UINT id, CRect rect,
                            const char* title, int visible, int enabled) {
        return CreateControl(1, parent, cls, id, rect, title, visible, enabled);
    }
    MControl* CreateArea(MObject* parent, const char* cls, UINT id, CRect rect, const char* title,
                         int visible, int enabled) {
        return CreateControl(0, parent, cls, id, rect, title, visible, enabled);
    }
    // Adds a control built by its constructor (layer 0 areas, 1 controls),
    // sets its manager and calls InitControl.
    void AttachControl(int layer, MControl* control);
    MControl* GetControl(UINT id);
    bool RemoveControl(MControl* control);
    void ClearAllControls();
    void ClearAreaControls();
    void ClearControls();
    std::vector<MControl*> GetControls() const;
    std::vector<MControl*> GetAreas() const;
    MControl* GetHoverControl() const { return hover_; }
    MControl* GetFocusControl() const { return focus_; }
    void SetFocusControl(MControl* control);
    MControl* GetNextFocusableControl() const;
    MControl* GetPrevFocusableControl() const;
    // A control is being deleted: drop every reference to it.
    void ForgetControl(MControl* control);

    // ---- tooltip ----
    void SetTooltip(const std::string& text, CRect rect);
    void ClearTooltip();
    UINT GetTooltipCtrlID() const { return tooltip_owner_; }
    void SetTooltipCtrlID(UINT id) { tooltip_owner_ = id; }
    MControl* GetTooltipOwner() const { return tooltip_owner_ctrl_; }
    void SetTooltipOwner(MControl* c) {
        tooltip_owner_ctrl_ = c;
        tooltip_owner_ = c != nullptr ? c->GetControlID() : 0;
    }
    const std::string& GetTooltipText() const { return tooltip_text_; }
    bool IsTooltipShown() const;

    // ---- message and progress overlay ----
    void SetMessage(const std::string& text, CRect rect, MsgLevel level);
    void SetProgress(int percent, const std::string& text, CRect rect);
    int GetOverlayAlpha() const { return overlay_alpha_; }
    int GetShownProgress() const { return shown_progress_; }
    CRect GetOverlayRect() const { return overlay_rect_; }
    void SetMessageOffset(int dy) { message_offset_ = dy; }

    // ---- images and fonts of this window ----
    ImgResInfo* AddImgResInfo(const std::string& fileName, int count);
    ImgResInfo* AddImgResInfo(unsigned resourceId, const std::string& type, int count,
                              int fromApplication);
    void ClearImgResInfo();
    // Adds a font file as a private family stored under `name`; returns the
    // family (empty on failure).
    std::string AddTempFont(const std::string& name, const std::string& filePath);
    std::string AddTempFont(const std::string& name, unsigned resourceId);
    bool AddGDITempFont(unsigned resourceId);
    // The family stored under the process-wide font name, or the installed
    // family of that name; empty when there is none.
    std::string FindTempFont(const std::string& name);
    void ClearTempFont();

    // ---- window procedure part ----
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    int PreTranslateMessage(const MSG* msg);
    void DestroyData();

    // Handlers (exposed for windows that route themselves).
    void OnPaint(CRect update);
    int OnMouseMove(UINT flags, CPoint pt);
    int OnMouseLeave();
    int OnLButtonDown(UINT flags, CPoint pt);
    int OnLButtonUp(UINT flags, CPoint pt);
    int OnLButtonDblClk(UINT flags, CPoint pt);
    int OnRButtonDown(UINT flags, CPoint pt);
    int OnRButtonUp(UINT flags, CPoint pt);
    int OnRButtonDblClk(UINT flags, CPoint pt);
    int OnMouseWheel(UINT flags, int delta, CPoint pt);
    int OnKeyDown(UINT key);
    int OnKeyUp(UINT key);
    int OnNcActivate(int active);
    void OnTimer(UINT id);
    static UINT KeyModifier();

private:
    struct ControlTimer {
        MControl* control;
        UINT key;
        UINT event;
        bool stopped;
    };

    void DrawBackImage(HDC& dc);
    // UI thread: starts or stops the loop timer behind the animation tick.
    void UpdateAnimationTick();
    void StopAnimationTick();
    // Any thread: the list of animated controls changed.
    void AnimationChanged();
    void DrawOverlay(HDC& dc);
    bool DragWindow(CPoint pt);
    UINT AllocateTimerEvent() const;
    // Walks copy the layer and call into controls without holding its lock,
    // so a control's own locks are never taken inside a layer lock. A walk
    // skips controls removed meanwhile (checked only after a removal).
    std::vector<MControl*> Snapshot(int layer) const;
    bool Contains(int layer, MControl* c) const;
    bool StillThere(int layer, MControl* c, unsigned generation) const {
        return generation == removals_ || Contains(layer, c);
    }

    MWindow* window_ = nullptr;
    bool initialised_ = false;
    COLORREF back_color_ = 0x130D09;
    COLORREF frame_color_ = 0x0000FF;
    CRect caption_rect_;
    CSize max_size_{};
    CSize min_size_{};
    bool layered_ = false;
    ImagePtr back_image_;
    enumBackMode back_mode_ = BACK_MODE_IMAGE;
    int back_value_ = 4;
    bool window_drag_ = true;
    unsigned scroll_v_id_ = 102;
    unsigned scroll_h_id_ = 101;
    COLORREF default_enabled_color_ = 0x808080;

    Bitmap back_;
    int paint_count_ = 0;

    bool tracking_ = false;
    bool captured_ = false;
    bool left_held_ = false;
    bool left_double_ = false;
    bool right_held_ = false;
    bool right_double_ = false;
    MControl* hover_ = nullptr;
    MControl* focus_ = nullptr;

    mutable std::recursive_mutex area_lock_;
    std::vector<MControl*> areas_;
    mutable std::recursive_mutex control_lock_;
    std::vector<MControl*> controls_;
    unsigned removals_ = 0; // bumped whenever a control leaves a layer

    mutable std::mutex anim_lock_;
    std::vector<MControl*> animated_;
    unsigned animation_timer_ = 0;  // set by SetMTimer
    unsigned animation_period_ = 0; // ms
    unsigned animation_tick_ = 0;   // the running loop timer (RKTimer id), 0 when stopped
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

    mutable std::mutex timer_lock_;
    std::vector<ControlTimer> timers_;
    UINT timer_counter_ = 4096;
    UINT current_timer_key_ = 0;
    bool cursor_set_ = false;

    std::unique_ptr<ToolTipWindow> tooltip_;
    std::string tooltip_text_;
    CRect tooltip_rect_;
    UINT tooltip_owner_ = 0;
    MControl* tooltip_owner_ctrl_ = nullptr;

    std::string overlay_text_;
    MsgLevel overlay_level_ = MSG_LEVEL_INFO;
    int overlay_alpha_ = 0;
    int shown_progress_ = 0;
    int target_progress_ = 0;
    CRect overlay_rect_;
    int message_offset_ = 0;
    std::string overlay_font_;

    CRect caret_rect_;
    MControl* caret_object_ = nullptr;
    bool caret_shown_ = false;
    bool caret_on_ = false;
    Color caret_color_ = 0xFFFFFFFF;

    mutable std::mutex image_lock_;
    std::map<std::string, std::unique_ptr<ImgResInfo>> file_images_;
    std::map<unsigned, std::unique_ptr<ImgResInfo>> app_images_;
    std::map<unsigned, std::unique_ptr<ImgResInfo>> lib_images_;

    mutable std::mutex font_lock_;
    std::map<std::string, std::string> temp_fonts_;
    std::vector<std::string> gdi_fonts_;
};

} // namespace Tessel
