#include "tessel/ToolTipWindow.h"

#include "tessel/MRender.h"
#include "tessel/Manager.h"

namespace Tessel {
namespace {
constexpr int kPad = 4;
FontChoice TipFont() {
    return {Manager::GetFontName(), 12, 0};
}
} // namespace

ToolTipWindow::~ToolTipWindow() {
    DestroyWindow();
}

void ToolTipWindow::ShowAt(const std::string& text, CPoint screen) {
    if (text.empty()) {
        Hide();
        return;
    }
    const CSize size = MRender::MeasureText(TipFont(), text, kMaxWidth);
    const int w = size.cx + 2 * kPad + 2;
    const int h = size.cy + 2 * kPad;
    if (GetSafeHwnd() == nullptr) {
        Create(nullptr, "tooltip", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
               CRect(screen.x, screen.y, screen.x + w, screen.y + h));
    }
    if (GetSafeHwnd() == nullptr) {
        return;
    }
    text_ = text;
    SetWindowPos(screen.x, screen.y, w, h);
    ShowWindow(SW_SHOWNA);
    shown_ = true;
    InvalidateRect(nullptr);
}

void ToolTipWindow::Hide() {
    if (shown_) {
        ShowWindow(SW_HIDE);
        shown_ = false;
    }
}

LRESULT ToolTipWindow::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        Paint();
        return 0;
    }
    if (msg == WM_CLOSE) {
        Hide();
        return 0;
    }
    return MWindow::OnWindowMessage(msg, wParam, lParam);
}

void ToolTipWindow::Paint() {
    if (Native() == nullptr) {
        return;
    }
    const CRect client = GetClientRect();
    buffer_.Create(client.Width(), client.Height());
    cairo_t* cr = buffer_.Context();
    MRender::FillSolidRect(cr, CRect(0, 0, buffer_.Width(), buffer_.Height()), 0xFFFFFFFF);
    MRender::DrawRectangle(cr, CRect(0, 0, buffer_.Width(), buffer_.Height()), 0xFF767676, 1);
    TextFormat f;
    f.wrap = true;
    MRender::DrawText(cr, text_, TipFont(),
                      CRect(kPad + 1, kPad, client.Width() - kPad, client.Height() - kPad),
                      0xFF000000, f);
    buffer_.Flush();
    Native()->Present({buffer_.Data(), buffer_.Width(), buffer_.Height(), buffer_.StridePixels()},
                      {0, 0, client.Width(), client.Height()});
}

} // namespace Tessel
