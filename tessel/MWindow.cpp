#include "tessel/MWindow.h"

#include "platform/window/EventLoop.h"
#include "platform/window/WindowSystem.h"
#include "tessel/Manager.h"

#include <algorithm>

namespace Tessel {
namespace {

using kovrin::platform::EventType;
using kovrin::platform::MouseButton;

// Windows whose modal loops are running, innermost last.
std::vector<MWindow*> g_modal;

WPARAM MouseKeys(unsigned mods) {
    WPARAM k = 0;
    if ((mods & kovrin::platform::kModLeft) != 0) {
        k |= MK_LBUTTON;
    }
    if ((mods & kovrin::platform::kModRight) != 0) {
        k |= MK_RBUTTON;
    }
    if ((mods & kovrin::platform::kModMiddle) != 0) {
        k |= MK_MBUTTON;
    }
    if ((mods & kovrin::platform::kModShift) != 0) {
        k |= MK_SHIFT;
    }
    if ((mods & kovrin::platform::kModControl) != 0) {
        k |= MK_CONTROL;
    }
    return k;
}

UINT ButtonMessage(EventType type, MouseButton b) {
    const UINT base = b == MouseButton::Left    ? WM_LBUTTONDOWN
                      : b == MouseButton::Right ? WM_RBUTTONDOWN
                                                : WM_MBUTTONDOWN;
    switch (type) {
    case EventType::ButtonDown:
        return base;
    case EventType::ButtonUp:
        return base + 1;
    default:
        return base + 2;
    }
}

// Decodes UTF-8 into code points; malformed bytes become U+FFFD.
std::vector<std::uint32_t> CodePoints(const std::string& s) {
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        std::uint32_t cp = n == 1 ? c : c & (0x7F >> n);
        bool ok = true;
        for (int k = 1; k < n; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            ok = ok && (cc >> 6) == 2;
            cp = cp << 6 | (cc & 0x3F);
        }
        out.push_back(ok ? cp : 0xFFFD);
        i += ok ? n : 1;
    }
    return out;
}

} // namespace

MWindow::MWindow() : alive_(std::make_shared<bool>(true)) {
    Manager::AddWnd(this);
}

MWindow::~MWindow() {
    *alive_ = false;
    Manager::DeleteWnd(this);
    if (native_) {
        native_->SetDelegate(nullptr);
        native_->KillAllTimers();
    }
    g_modal.erase(std::remove(g_modal.begin(), g_modal.end(), this), g_modal.end());
    if (hover_timer_ != 0 && Manager::Loop() != nullptr) {
        Manager::Loop()->CancelTimer(hover_timer_);
    }
}

HWND MWindow::Create(HWND parent, const char* title, DWORD style, DWORD exStyle, CRect rect) {
    if (native_) {
        return this;
    }
    if (Manager::System() == nullptr && !Manager::InitUiThread()) {
        return nullptr;
    }
    parent_ = parent;
    title_ = title != nullptr ? title : "";
    style_ = style;
    ex_style_ = exStyle;
    kovrin::platform::WindowOptions o;
    o.kind = (style & WS_POPUP) != 0 ? kovrin::platform::WindowKind::Popup
             : parent != nullptr     ? kovrin::platform::WindowKind::Dialog
                                     : kovrin::platform::WindowKind::TopLevel;
    if (parent != nullptr && parent->native_) {
        o.owner = parent->native_.get();
    }
    o.rect = {rect.left, rect.top, rect.right, rect.bottom};
    o.title = title_;
    o.alpha = (exStyle & WS_EX_LAYERED) != 0;
    o.topmost = (exStyle & WS_EX_TOPMOST) != 0;
    o.tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    o.grab_pointer = popup_grab_;
    native_ = Manager::System()->CreateWindow(o, this);
    if (native_) {
        last_client_ = CRect(0, 0, rect.Width(), rect.Height());
        OnWindowMessage(WM_CREATE, 0, 0);
        if ((style & WS_VISIBLE) != 0) {
            ShowWindow(SW_SHOW);
        }
    }
    OnInitDialog();
    return native_ ? this : nullptr;
}

void MWindow::ShowWindow(int cmd) {
    if (!native_) {
        return;
    }
    using kovrin::platform::ShowCommand;
    switch (cmd) {
    case SW_HIDE:
        native_->Show(ShowCommand::Hide);
        break;
    case SW_MINIMIZE:
        native_->Show(ShowCommand::Minimize);
        break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
        native_->Show(ShowCommand::ShowNoActivate);
        break;
    case SW_RESTORE:
        native_->Show(ShowCommand::Restore);
        break;
    case SW_MAXIMIZE:
        native_->Show(ShowCommand::Maximize);
        break;
    default:
        native_->Show((ex_style_ & WS_EX_NOACTIVATE) != 0 ? ShowCommand::ShowNoActivate
                                                          : ShowCommand::Show);
        break;
    }
}

LRESULT MWindow::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(msg, wParam, lParam);
}

LRESULT MWindow::DefWindowProc(UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION && native_ && Manager::System() != nullptr) {
            const auto p = Manager::System()->CursorPosition();
            native_->BeginMoveDrag(p);
        }
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_MINIMIZE) {
            ShowWindow(SW_MINIMIZE);
        } else if (wParam == SC_RESTORE) {
            ShowWindow(SW_RESTORE);
        } else if (wParam == SC_CLOSE) {
            PostMessageW(WM_CLOSE, 0, 0);
        }
        return 0;
    default:
        return 0;
    }
}

void MWindow::DispatchQueued(UINT msg, WPARAM wParam, LPARAM lParam) {
    MSG m{this, msg, wParam, lParam};
    MWindow* pre = g_modal.empty() ? this : g_modal.back();
    if (!g_modal.empty() && Manager::PreTranslateMessage(&m) != 0) {
        return;
    }
    auto alive = alive_;
    if (pre->PreTranslateMessage(&m) != 0 || !*alive) {
        return;
    }
    OnWindowMessage(msg, wParam, lParam);
}

void MWindow::OnNativeEvent(const kovrin::platform::Event& e) {
    auto alive = alive_;
    const LPARAM pos = MAKELPARAM(e.x, e.y);
    switch (e.type) {
    case EventType::MouseMove:
        last_mouse_ = {e.x, e.y};
        if (track_hover_) {
            HoverTimer();
        }
        DispatchQueued(WM_MOUSEMOVE, MouseKeys(e.modifiers), pos);
        break;
    case EventType::ButtonDown:
    case EventType::ButtonUp:
    case EventType::ButtonDoubleClick:
        last_mouse_ = {e.x, e.y};
        DispatchQueued(ButtonMessage(e.type, e.button), MouseKeys(e.modifiers), pos);
        break;
    case EventType::Wheel: {
        const CPoint screen = ClientToScreen({e.x, e.y});
        DispatchQueued(WM_MOUSEWHEEL,
                       MouseKeys(e.modifiers) |
                           (static_cast<WPARAM>(static_cast<std::uint16_t>(e.wheel_delta)) << 16),
                       MAKELPARAM(screen.x, screen.y));
        break;
    }
    case EventType::MouseEnter:
        break;
    case EventType::MouseLeave:
        if (track_hover_ && hover_timer_ != 0 && Manager::Loop() != nullptr) {
            Manager::Loop()->CancelTimer(hover_timer_);
            hover_timer_ = 0;
        }
        track_hover_ = false;
        if (track_leave_) {
            track_leave_ = false;
            DispatchQueued(WM_MOUSELEAVE, 0, 0);
        }
        break;
    case EventType::KeyDown:
    case EventType::KeyUp: {
        const bool alt = (e.modifiers & kovrin::platform::kModAlt) != 0;
        const bool sys = alt || e.vk == VK_F1 + 9;
        const UINT msg = e.type == EventType::KeyDown ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN)
                                                      : (sys ? WM_SYSKEYUP : WM_KEYUP);
        LPARAM l = static_cast<LPARAM>((e.repeat & 0xFFFF) | ((e.scan & 0xFF) << 16));
        if (e.was_down || e.type == EventType::KeyUp) {
            l |= LPARAM(1) << 30;
        }
        if (e.type == EventType::KeyUp) {
            l |= static_cast<LPARAM>(static_cast<std::uint32_t>(1u << 31));
        }
        DispatchQueued(msg, e.vk, l);
        break;
    }
    case EventType::Char:
        for (std::uint32_t cp : CodePoints(e.text)) {
            if (!*alive) {
                return;
            }
            DispatchQueued(WM_CHAR, cp, 1);
        }
        break;
    case EventType::GotFocus:
        OnWindowMessage(WM_NCACTIVATE, 1, 0);
        if (*alive) {
            OnWindowMessage(WM_ACTIVATE, WA_ACTIVE, 0);
        }
        if (*alive) {
            OnWindowMessage(WM_SETFOCUS, 0, 0);
        }
        break;
    case EventType::LostFocus:
    case EventType::OutsidePress:
        OnWindowMessage(WM_NCACTIVATE, 0, 0);
        if (*alive) {
            OnWindowMessage(WM_ACTIVATE, WA_INACTIVE, 0);
        }
        if (*alive) {
            OnWindowMessage(WM_KILLFOCUS, 0, 0);
        }
        break;
    case EventType::Moved:
        OnWindowMessage(WM_MOVE, 0, MAKELPARAM(e.x, e.y));
        break;
    case EventType::Resized:
        last_client_ = CRect(0, 0, e.width, e.height);
        OnWindowMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(e.width, e.height));
        break;
    case EventType::CloseRequest:
        OnWindowMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case EventType::Mapped:
        OnWindowMessage(WM_SHOWWINDOW, 1, 0);
        break;
    case EventType::Unmapped:
        OnWindowMessage(WM_SHOWWINDOW, 0, 0);
        break;
    case EventType::CaptureLost:
        OnWindowMessage(WM_CAPTURECHANGED, 0, 0);
        break;
    case EventType::ShowRequest:
        BringToTop();
        break;
    case EventType::ForeignMessage:
        if (AcceptsForeignMessage(e.message)) {
            DispatchQueued(e.message, e.wparam, e.lparam);
        }
        break;
    }
}

void MWindow::OnNativePaint(const kovrin::platform::Rect& update) {
    update_rect_ = CRect(update.left, update.top, update.right, update.bottom);
    OnWindowMessage(WM_PAINT, 0, 0);
    update_rect_ = CRect();
}

void MWindow::OnNativeTimer(unsigned id) {
    DispatchQueued(WM_TIMER, id, 0);
}

void MWindow::TrackMouseEvent(bool leave, bool hover, unsigned hoverMs) {
    track_leave_ = leave;
    track_hover_ = hover;
    hover_ms_ = hoverMs;
    if (hover) {
        HoverTimer();
    }
}

void MWindow::HoverTimer() {
    auto* loop = Manager::Loop();
    if (loop == nullptr) {
        return;
    }
    if (hover_timer_ != 0) {
        loop->CancelTimer(hover_timer_);
    }
    auto alive = alive_;
    hover_timer_ = loop->AddTimer(hover_ms_, false, [this, alive] {
        if (!*alive) {
            return;
        }
        hover_timer_ = 0;
        if (track_hover_) {
            track_hover_ = false;
            DispatchQueued(WM_MOUSEHOVER, 0, MAKELPARAM(last_mouse_.x, last_mouse_.y));
        }
    });
}

UINT MWindow::ShowModal(int cmdShow) {
    if (!native_) {
        return 0xFFFFFFFF;
    }
    auto* loop = Manager::Loop();
    HWND owner = parent_;
    ShowWindow(cmdShow);
    if (owner != nullptr && Manager::IsWindow(owner)) {
        owner->EnableWindow(false);
    }
    modal_result_ = 0;
    in_modal_ = true;
    g_modal.push_back(this);
    auto alive = alive_;
    // A quit request ends this loop and stays set, so outer loops end too.
    loop->RunUntil([this, alive] { return !*alive || !native_; });
    if (!*alive) {
        return 0;
    }
    g_modal.erase(std::remove(g_modal.begin(), g_modal.end(), this), g_modal.end());
    in_modal_ = false;
    if (owner != nullptr && Manager::IsWindow(owner)) {
        owner->EnableWindow(true);
        owner->SetFocus();
    }
    return modal_result_;
}

bool MWindow::PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    auto alive = alive_;
    return PostToUi([this, alive, msg, wParam, lParam] {
        if (!*alive || !native_) {
            return;
        }
        if (msg == WM_CLOSE && in_modal_) {
            modal_result_ = static_cast<UINT>(wParam);
        }
        DispatchQueued(msg, wParam, lParam);
    });
}

LRESULT MWindow::SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (Manager::IsUiThread()) {
        return OnWindowMessage(msg, wParam, lParam);
    }
    LRESULT result = 0;
    auto alive = alive_;
    InvokeOnUi([&] {
        if (*alive) {
            result = OnWindowMessage(msg, wParam, lParam);
        }
    });
    return result;
}

void MWindow::DestroyWindow() {
    if (!native_) {
        return;
    }
    auto alive = alive_;
    // The windows this one owns go first: none outlives its owner.
    for (MWindow* owned : Manager::OwnedWindows(this)) {
        if (Manager::IsWindow(owned)) {
            owned->DestroyWindow();
        }
    }
    if (!*alive || !native_) {
        return;
    }
    OnWindowMessage(WM_DESTROY, 0, 0);
    if (!*alive || !native_) {
        return;
    }
    native_->Show(kovrin::platform::ShowCommand::Hide);
    native_->ReleaseMouse();
    native_->KillAllTimers();
    OnWindowMessage(WM_NCDESTROY, 0, 0);
    if (!*alive) {
        return;
    }
    // The native window may be in the middle of delivering the event that
    // led here; it goes at the loop's next turn.
    std::shared_ptr<kovrin::platform::NativeWindow> dying(native_.release());
    dying->SetDelegate(nullptr);
    if (!PostToUi([dying] {})) {
        dying.reset();
    }
    if (hover_timer_ != 0 && Manager::Loop() != nullptr) {
        Manager::Loop()->CancelTimer(hover_timer_);
        hover_timer_ = 0;
    }
    OnDestroyMessage(this);
}

void MWindow::CenterWindow(MWindow* ref) {
    if (!native_ || Manager::System() == nullptr) {
        return;
    }
    if (ref == nullptr) {
        ref = parent_;
    }
    const CRect me = GetWindowRect();
    CPoint centre;
    bool have_ref =
        ref != nullptr && Manager::IsWindow(ref) && ref->IsWindowVisible() && !ref->IsIconic();
    kovrin::platform::Point probe;
    if (have_ref) {
        const CRect r = ref->GetWindowRect();
        centre = r.CenterPoint();
        probe = {centre.x, centre.y};
    } else {
        probe = {me.CenterPoint().x, me.CenterPoint().y};
    }
    const auto w = Manager::System()->WorkArea(probe);
    const CRect work(w.left, w.top, w.right, w.bottom);
    if (!have_ref) {
        centre = work.CenterPoint();
    }
    int left = centre.x - me.Width() / 2;
    int top = centre.y - me.Height() / 2;
    if (left + me.Width() > work.right) {
        left = work.right - me.Width();
    }
    if (top + me.Height() > work.bottom) {
        top = work.bottom - me.Height();
    }
    left = std::max(left, work.left);
    top = std::max(top, work.top);
    SetWindowPos(left, top, 0, 0);
}

void MWindow::BringToTop() {
    if (!native_) {
        return;
    }
    if (native_->IsMinimized()) {
        ShowWindow(SW_RESTORE);
    } else {
        ShowWindow(SW_SHOW);
    }
    native_->Raise();
    native_->Activate();
}

bool MWindow::SetIcon(unsigned resourceId) {
    ImagePtr image = LoadImageFile(Manager::GetResourcePath(resourceId, "ico", true));
    return image && SetIcon(*image);
}

bool MWindow::SetIcon(const Image& image) {
    if (!native_ || image.FrameCount() == 0) {
        return false;
    }
    cairo_surface_t* s = image.Surface();
    cairo_surface_flush(s);
    kovrin::platform::IconImage icon;
    icon.width = image.Width();
    icon.height = image.Height();
    const auto* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < icon.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < icon.width; ++x) {
            // Straight alpha for the window manager.
            const std::uint32_t p = row[x];
            const std::uint32_t a = p >> 24;
            if (a == 0 || a == 255) {
                icon.argb.push_back(a == 0 ? 0 : p);
                continue;
            }
            const auto un = [a](std::uint32_t c) { return std::min(255u, (c * 255 + a / 2) / a); };
            icon.argb.push_back(a << 24 | un(p >> 16 & 0xFF) << 16 | un(p >> 8 & 0xFF) << 8 |
                                un(p & 0xFF));
        }
    }
    native_->SetIcon({icon});
    return true;
}

CRect MWindow::GetClientRect() const {
    if (!native_) {
        return last_client_;
    }
    const auto b = native_->Bounds();
    return CRect(0, 0, b.Width(), b.Height());
}

CRect MWindow::GetWindowRect() const {
    if (!native_) {
        return CRect();
    }
    const auto b = native_->Bounds();
    return CRect(b.left, b.top, b.right, b.bottom);
}

void MWindow::SetWindowTextW(const std::string& text) {
    title_ = text;
    if (native_) {
        native_->SetTitle(text);
    }
}

void MWindow::EnableWindow(bool enable) {
    if (native_ && native_->IsEnabled() != enable) {
        native_->SetEnabled(enable);
        OnWindowMessage(WM_ENABLE, enable ? 1 : 0, 0);
    }
}

bool MWindow::IsWindowEnabled() const {
    return native_ && native_->IsEnabled();
}
bool MWindow::IsWindowVisible() const {
    return native_ && native_->IsVisible();
}
bool MWindow::IsIconic() const {
    return native_ && native_->IsMinimized();
}
bool MWindow::IsActive() const {
    return native_ && native_->IsActive();
}

void MWindow::InvalidateRect(const CRect* rect, int) {
    if (!native_) {
        return;
    }
    if (rect == nullptr) {
        native_->InvalidateAll();
    } else {
        native_->Invalidate({rect->left, rect->top, rect->right, rect->bottom});
    }
}

void MWindow::SetCapture() {
    if (native_) {
        native_->CaptureMouse();
    }
}

void MWindow::ReleaseCapture() {
    if (native_) {
        native_->ReleaseMouse();
    }
}

bool MWindow::HasCapture() const {
    return native_ && native_->HasCapture();
}

void MWindow::SetFocus() {
    if (native_ && native_->IsVisible()) {
        native_->Activate();
    }
}

bool MWindow::SetTimer(UINT id, UINT ms) {
    return native_ && native_->SetTimer(id, ms);
}

void MWindow::KillTimer(UINT id) {
    if (native_) {
        native_->KillTimer(id);
    }
}

CPoint MWindow::ClientToScreen(CPoint pt) const {
    const CRect r = GetWindowRect();
    return {pt.x + r.left, pt.y + r.top};
}

CPoint MWindow::ScreenToClient(CPoint pt) const {
    const CRect r = GetWindowRect();
    return {pt.x - r.left, pt.y - r.top};
}

void MWindow::SetWindowPos(int x, int y, int cx, int cy) {
    if (!native_) {
        return;
    }
    const CRect r = GetWindowRect();
    int w = cx > 0 ? cx : r.Width();
    int h = cy > 0 ? cy : r.Height();
    MINMAXINFO info{};
    if (OnWindowMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)) != 0) {
        if (info.ptMinTrackSize.x > 0) {
            w = std::max(w, info.ptMinTrackSize.x);
        }
        if (info.ptMinTrackSize.y > 0) {
            h = std::max(h, info.ptMinTrackSize.y);
        }
        if (info.ptMaxTrackSize.x > 0) {
            w = std::min(w, info.ptMaxTrackSize.x);
        }
        if (info.ptMaxTrackSize.y > 0) {
            h = std::min(h, info.ptMaxTrackSize.y);
        }
    }
    native_->SetBounds({x, y, x + w, y + h});
}

} // namespace Tessel
