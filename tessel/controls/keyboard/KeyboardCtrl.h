#pragma once
// The keyboard view: the picture of a keyboard model with one rectangle per
// key laid over it. Modes: 100 key map (labels on black keys), 101 key
// selection (white outlines on marked, hovered and selected keys), 102 light
// effect preview (cyan outlines whose alpha follows the preview frames),
// 103 per-key colours (a click toggles a key between 0 and the brush colour)
// and 104 live colours (outlines in each key's colour).
//
// Notifications to the parent: CN_CLICKED (select index or 0xFFFFFFFF, key
// value or 0) on a left release inside; CN_RCLICK (select index or
// 0xFFFFFFFF, key value or 0) on a right release inside; CN_FRAMESELECT
// (0, 0) on the right release that ends a frame selection.
//
// Threads: the key list and the preview data are guarded by the control's
// lock. SetKeyColor, GetKeyColor, ResetAllItemsColor, GetKeyItems and
// Redraw may be called from any thread; everything else belongs to the
// window's thread.

#include "tessel/MPanel.h"
#include "tessel/controls/keyboard/KeyInfo.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Tessel {

class KeyTipSink;

enum KeyboardMode : int {
    KBMODE_KEYMAP = 100,
    KBMODE_SELECT = 101,
    KBMODE_PREVIEW = 102,
    KBMODE_CUSTOM = 103,
    KBMODE_LIVE = 104,
};

class KeyboardCtrl : public MPanel {
public:
    KeyboardCtrl(MObject* parent, UINT id, CRect rect, int visible);
    ~KeyboardCtrl() override;

    // ---- keys ----
    // Appends a key (check 0, colour 0x00E1FF, no tips); the icon, when
    // named, is loaded from the skin folder. Returns the new index.
    int AddKeyItem(const std::string& label, const std::string& name, std::uint32_t keyValue,
                   CRect rect, const std::string& iconFile);
    void ClearItem();
    // A copy of every key, taken under the lock.
    std::vector<KEY_INFO> GetKeyItems() const;
    int GetKeyCount() const;

    // ---- picture and geometry ----
    // The picture from the skin folder (e.g. "keyboard/<image>"); false when
    // it cannot be loaded (the view then has no picture).
    bool SetKeyboardImage(const std::string& fileName);
    bool HasKeyboardImage() const;
    void SetWidthAndHeight(int width, int height);
    CPoint GetPictureOffset() const { return {x_offset_, y_offset_}; }
    // A key's rectangle in window client coordinates.
    CRect KeyWindowRect(const CRect& keyRect) const;

    // ---- modes and marks ----
    void SetKeyboardCtrlMode(int mode);
    int GetKeyboardCtrlMode() const { return mode_.load(); }
    void SetSelectItem(int index) { select_ = index; }
    int GetSelectItem() const { return select_; }
    int GetHoverItem() const { return hover_; }
    void SetKeyCheck(std::uint32_t keyValue, int check);
    void ResetAllItemCheck();
    void ResetAllItemCheck(int check);
    int GetCheckItemCount() const;

    // ---- colours (COLORREF) ----
    void SetKeyColor(std::uint32_t keyValue, COLORREF colour);
    COLORREF GetKeyColor(std::uint32_t keyValue) const;
    void ResetAllItemsColor(COLORREF colour);
    void SetAllSelectColor(COLORREF colour);
    void SetCustomColor(COLORREF colour) { custom_colour_ = colour; }
    COLORREF GetCustomColor() const { return custom_colour_; }
    void SetLightModeColor(int white, COLORREF colour);
    void SetMusicBrightness(int brightness);

    // ---- light effect preview ----
    // Frame-major alpha bytes, one per key in key-list order.
    void SetLightModeData(const std::uint8_t* data, int length);
    void SetLightSpeed(int speed);
    int GetPreviewFrame() const;
    int GetPreviewFrames() const;
    int GetPreviewStep() const { return step_; }

    // ---- texts and tips ----
    void SetKeyDesc(std::uint32_t keyValue, const std::string& text);
    void SetTipKey(std::uint32_t keyValue, const std::string& title, const std::string& text);
    void ResetTipKey();
    void EnableKBTips(bool on);
    void EnableFrameSelect(int on) { frame_select_ = on != 0; }
    std::uint32_t GetCurrentKeyValue() const { return current_key_; }
    // Where key tips go (the tip window by default; tests may watch).
    void SetTipSink(KeyTipSink* sink) { tip_sink_ = sink; }

    // Any thread: the view is drawn again at the window's next paint.
    void Redraw();

    // ---- frame selection state (window coordinates) ----
    bool IsFrameActive() const { return frame_active_; }
    CRect GetFrameRect() const;

    // ---- MControl ----
    void InitControl(PaintManager* manager) override;
    void SetControlRect(CRect rect) override;
    void DrawControl(HDC& dc, CRect clip) override;
    int OnControlTimer() override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlLButtonDblClk(UINT flags, CPoint pt) override;
    int OnControlRButtonDown(UINT flags, CPoint pt) override;
    int OnControlRButtonUp(UINT flags, CPoint pt) override;
    int OnControlRButtonDblClk(UINT flags, CPoint pt) override;

private:
    // Registers for the window's animation tick while a preview runs (preview
    // mode with frames), and leaves it otherwise.
    void UpdateAnimation();
    KEY_INFO* FindKeyLocked(std::uint32_t keyValue);
    const KEY_INFO* FindKeyLocked(std::uint32_t keyValue) const;
    int KeyAtLocked(CPoint pt) const;
    bool KeyContainsLocked(int index, CPoint pt) const;
    void Paint(cairo_t* cr, int mode);
    void DrawKeyMap(cairo_t* cr);
    void DrawOutlines(cairo_t* cr, int mode);
    void DrawFrame(HDC& dc) const;
    void UpdateFrame(CPoint pt);
    void ClearFrame();
    void ShowTip(int index);
    void HideTip();
    bool Inside(CPoint pt) const { return rect_.PtInRect(pt); }
    void Notify(UINT code, int index, std::uint32_t keyValue);

    mutable std::mutex lock_; // keys, preview data, picture, paint rectangle
    std::vector<KEY_INFO> keys_;
    int key_count_ = 0;
    ImagePtr picture_;
    std::vector<std::uint8_t> preview_;
    int frame_index_ = 0;
    int frames_ = 0;
    CRect paint_rect_; // rect_ for other threads

    int hover_ = -1;
    int select_ = -1;
    std::atomic<int> mode_{KBMODE_KEYMAP};
    int x_offset_ = 6;
    int y_offset_ = 6;
    int picture_width_ = 0;
    int picture_height_ = 0;
    double scale_ = 1.0;
    int tick_counter_ = 0;
    int step_ = 0;
    int music_brightness_ = 255;
    COLORREF custom_colour_ = 0x0000FF;
    std::uint32_t current_key_ = 0;
    bool tips_enabled_ = false;
    bool frame_select_ = false;
    bool frame_active_ = false;
    bool frame_armed_ = false; // a press inside started a possible frame
    CPoint frame_start_;
    CPoint frame_end_;
    std::atomic<bool> stale_{true};

    std::unique_ptr<KeyTipSink> own_tips_;
    KeyTipSink* tip_sink_ = nullptr;
};

// Receives the key view's tips: name, title, text and the anchor (the middle
// of the key's top edge, screen coordinates); Hide when none is shown.
class KeyTipSink {
public:
    virtual ~KeyTipSink() = default;
    virtual void Show(const std::string& name, const std::string& title, const std::string& text,
                      CPoint anchor) = 0;
    virtual void Hide() = 0;
};

class MWindow;

// The keyboard view's own tip window ("KeyboardTip Window", owned by the
// view's window), made on the first tip.
std::unique_ptr<KeyTipSink> MakeKeyTipWindow(MWindow* owner);

} // namespace Tessel
