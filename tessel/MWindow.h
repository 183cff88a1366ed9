#pragma once
// One top-level window and its window procedure. Native events become window
// messages (the numbers of Messages.h) handed to OnWindowMessage; posted
// messages, timers and painting come through the UI thread's event loop.

#include "platform/window/NativeWindow.h"
#include "tessel/Image.h"
#include "tessel/Messages.h"
#include "tessel/TesselTypes.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace Tessel {

class MWindow;
using HWND = MWindow*;

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Window styles that change how a window is created.
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;
inline constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr DWORD WS_EX_LAYERED = 0x00080000;
inline constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;

class MWindow : public kovrin::platform::WindowDelegate {
public:
    MWindow();
    ~MWindow() override;
    MWindow(const MWindow&) = delete;
    MWindow& operator=(const MWindow&) = delete;

    virtual const char* GetWindowClassName() const { return "LumoClient"; }
    virtual const char* GetSuperClassName() const { return nullptr; }
    virtual void ShowWindow(int cmd);
    virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual int PreTranslateMessage(MSG* msg) {
        (void)msg;
        return 0;
    }
    virtual int OnInitDialog() { return 1; }
    virtual void OnDestroyMessage(HWND hwnd) { (void)hwnd; }

    // Creates the window (client rectangle in screen coordinates) and runs
    // OnInitDialog. Returns the handle, or null. A parent makes it an owned
    // window; WS_POPUP makes it a pop-up outside the window manager's control.
    HWND Create(HWND parent, const char* title, DWORD style, DWORD exStyle, CRect rect);
    HWND Create(HWND parent) {
        return Create(parent, "LumoClient", 0x80B, 0, CRect(0, 0, 800, 600));
    }
    HWND Create(HWND parent, CRect rect) { return Create(parent, "LumoClient", 0x80B, 0, rect); }
    // Before Create: a WS_POPUP window that grabs the pointer while shown and
    // takes a press outside it as deactivation (menus, drop-downs).
    void SetPopupGrab(bool grab) { popup_grab_ = grab; }

    HWND GetSafeHwnd() const { return native_ ? const_cast<MWindow*>(this) : nullptr; }
    kovrin::platform::NativeWindow* Native() const { return native_.get(); }

    // Shows the window, disables its owner and runs the loop until the window
    // is gone. Returns the wParam of the WM_CLOSE that closed it, 0xFFFFFFFF
    // when the window does not exist.
    UINT ShowModal(int cmdShow = SW_SHOW);
    bool InModalLoop() const { return in_modal_; }

    void CenterWindow(MWindow* ref = nullptr);
    void BringToTop();
    // The icon from <program>/res/<id>.ico.
    bool SetIcon(unsigned resourceId);
    bool SetIcon(const Image& image);

    HWND GetParentHwnd() const { return parent_; }
    DWORD GetStyle() const { return style_; }
    DWORD GetExStyle() const { return ex_style_; }
    void ModifyStyle(DWORD remove, DWORD add) { style_ = (style_ & ~remove) | add; }
    void ModifyExStyle(DWORD remove, DWORD add) { ex_style_ = (ex_style_ & ~remove) | add; }
    CRect GetClientRect() const;
    CRect GetWindowRect() const;
    void SetWindowTextW(const std::string& text);
    std::string GetWindowTextW() const { return title_; }
    int GetWindowTextLengthW() const { return static_cast<int>(title_.size()); }
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    bool IsWindowVisible() const;
    bool IsIconic() const;
    void InvalidateRect(const CRect* rect, int erase = 0);
    void SetCapture();
    void ReleaseCapture();
    bool HasCapture() const;
    void SetFocus();
    bool IsActive() const;
    bool SetTimer(UINT id, UINT ms);
    void KillTimer(UINT id);
    CPoint ClientToScreen(CPoint pt) const;
    CPoint ScreenToClient(CPoint pt) const;
    // Moves and sizes the client area (screen coordinates); a size of 0 or
    // below keeps that dimension.
    void SetWindowPos(int x, int y, int cx, int cy);
    void MoveWindow(int x, int y, int width, int height) { SetWindowPos(x, y, width, height); }
    virtual void DestroyWindow();
    // From the UI thread it runs at once; from another thread it waits for it.
    LRESULT SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
    // Any thread; false when the window or the UI loop is gone.
    bool PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam);

    // Window messages other processes may send to this window (see
    // platform/instance/InstanceWindow.h). Only these are delivered, as
    // queued messages: the parameters of most messages are meaningful only
    // inside the process. None by default.
    void AcceptForeignMessage(UINT msg) { foreign_messages_.insert(msg); }
    bool AcceptsForeignMessage(UINT msg) const { return foreign_messages_.count(msg) != 0; }

    // Asks for WM_MOUSELEAVE when the pointer leaves and WM_MOUSEHOVER when it
    // rests for hoverMs; each fires once per request.
    void TrackMouseEvent(bool leave, bool hover, unsigned hoverMs = 400);
    bool IsTrackingLeave() const { return track_leave_; }
    // The update rectangle of the paint being handled.
    CRect GetUpdateRect() const { return update_rect_; }
    CPoint GetCursorPosClient() const { return last_mouse_; }
    // The default procedure: closing, caption drags, system commands.
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // kovrin::platform::WindowDelegate
    void OnNativeEvent(const kovrin::platform::Event& event) override;
    void OnNativePaint(const kovrin::platform::Rect& update) override;
    void OnNativeTimer(unsigned id) override;

protected:
    // Queued messages (input, timers, posted) go through the pre-translation
    // of the innermost modal window, or of this window, first.
    void DispatchQueued(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND parent_ = nullptr;
    std::unique_ptr<kovrin::platform::NativeWindow> native_;
    int spare_ = 0;

private:
    void HoverTimer();

    std::shared_ptr<bool> alive_;
    std::string title_;
    DWORD style_ = 0;
    DWORD ex_style_ = 0;
    bool popup_grab_ = false;
    CRect last_client_;
    bool in_modal_ = false;
    UINT modal_result_ = 0;
    bool track_leave_ = false;
    bool track_hover_ = false;
    unsigned hover_ms_ = 400;
    std::uint64_t hover_timer_ = 0;
    CPoint last_mouse_{-1, -1};
    CRect update_rect_;
    std::set<UINT> foreign_messages_;
};

} // namespace Tessel
