#include "tessel/menus/CKeyboardTips.h"

#include "tessel/FontRegistry.h"
#include "tessel/MRender.h"
#include "tessel/Manager.h"

namespace Tessel {

CKeyboardTips::~CKeyboardTips() {
    DestroyWindow();
}

bool CKeyboardTips::LoadBKImage(const std::string& fileName) {
    ImagePtr image = LoadImageFile(Manager::GetSkinFolder() + fileName);
    if (!image) {
        return false;
    }
    back_ = std::move(image);
    return true;
}

void CKeyboardTips::SetAirBladderMsg(const std::string& name, const std::string& title,
                                     const std::string& text, CPoint pt, HWND owner) {
    if (stored_ && name == name_ && title == title_ && text == text_ && pt == anchor_) {
        return;
    }
    stored_ = true;
    name_ = name;
    title_ = title;
    text_ = text;
    anchor_ = pt;
    if (name.empty()) {
        return;
    }
    const CRect rect(pt.x - kWidth / 2, pt.y - kHeight, pt.x - kWidth / 2 + kWidth, pt.y);
    if (GetSafeHwnd() == nullptr) {
        Create(owner, "KeyboardTip Window", WS_POPUP,
               WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, rect);
        if (GetSafeHwnd() == nullptr) {
            return;
        }
        Native()->SetLayered(true);
    }
    SetWindowPos(rect.left, rect.top, kWidth, kHeight);
    ShowWindow(SW_SHOWNA);
    shown_ = true;
    InvalidateRect(nullptr);
}

void CKeyboardTips::Hide() {
    if (shown_) {
        ShowWindow(SW_HIDE);
        shown_ = false;
    }
}

LRESULT CKeyboardTips::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_KILLFOCUS:
    case WM_CLOSE:
        Hide();
        return 0;
    default:
        return MWindow::OnWindowMessage(msg, wParam, lParam);
    }
}

void CKeyboardTips::Paint() {
    if (Native() == nullptr) {
        return;
    }
    if (family_.empty()) {
        family_ = FontRegistry::Instance().AddFontFile(Manager::GetResourcePath(106, "ttf", false));
        if (family_.empty()) {
            family_ = Manager::GetFontName();
        }
    }
    const CRect client = GetClientRect();
    buffer_.Create(client.Width(), client.Height());
    buffer_.Clear();
    cairo_t* cr = buffer_.Context();
    const int w = client.Width();
    const CRect inner(0, 0, w - 1, client.Height() - 1);
    if (back_) {
        if (back_mode_ == BACK_MODE_FRAME) {
            MRender::DrawImageFrame(cr, back_.get(), inner, 0, 0, back_->Width(), back_->Height(),
                                    back_value_);
        } else {
            MRender::DrawImage(cr, back_.get(), inner,
                               CRect(0, 0, back_->Width(), back_->Height()));
        }
    } else {
        MRender::FillSolidRect(cr, inner, 0xF0202228);
    }
    if (!name_.empty()) {
        TextFormat f;
        f.align = 1;
        f.valign = 4;
        MRender::DrawText(cr, name_, {family_, 14, 0}, CRect(10, 8, w - 10, 28), 0xFFC8C8C8, f);
        MRender::DrawText(cr, title_, {family_, 14, 0}, CRect(10, 35, w - 10, 55), 0xFFFFFFFF, f);
        MRender::DrawText(cr, text_, {family_, 18, 0}, CRect(10, 63, w - 10, 83), 0xFFFFFFFF, f);
    }
    buffer_.Flush();
    Native()->Present({buffer_.Data(), buffer_.Width(), buffer_.Height(), buffer_.StridePixels()},
                      {0, 0, client.Width(), client.Height()});
    ++paints_;
}

} // namespace Tessel
