#include "tessel/menus/MenuWnd.h"

#include "platform/window/WindowSystem.h"
#include "tessel/Manager.h"
#include "tessel/menus/MenuItem.h"

#include <algorithm>
#include <memory>

namespace Tessel {

MenuWnd::MenuWnd(MObject* parent)
    : parent_menu_object_(parent), font_name_(Manager::GetFontName()),
      font_size_(Manager::GetFontWidth()) {
    SetBackTranslucent(0xFFFFFF, 255);
    notify_close_ = false;
}

bool MenuWnd::Finish(bool created) {
    if (!created) {
        // Nothing will destroy a window that does not exist.
        DeleteLater();
        return false;
    }
    EnableWndDrag(0);
    return true;
}

bool MenuWnd::Create(HWND owner, CPoint pt, UINT message, const std::string& backImage,
                     int backValue, int width, enumBackMode mode) {
    message_ = message;
    owner_ = owner;
    width_ = width;
    const bool created =
        CreatePopup(owner, CRect(pt.x, pt.y, pt.x + width, pt.y + width), "Menu Window") != nullptr;
    if (created && !backImage.empty()) {
        LoadBKImage(backImage);
    }
    SetBackMode(mode, backValue);
    return Finish(created);
}

bool MenuWnd::Create(HWND owner, CPoint pt, UINT message, unsigned backResourceId, int backValue,
                     int width, enumBackMode mode) {
    message_ = message;
    owner_ = owner;
    width_ = width;
    const bool created =
        CreatePopup(owner, CRect(pt.x, pt.y, pt.x + width, pt.y + width), "Menu Window") != nullptr;
    if (created) {
        LoadBKImage(backResourceId, "PNG");
    }
    SetBackMode(mode, backValue);
    return Finish(created);
}

bool MenuWnd::Create(HWND owner, CPoint pt, UINT message, int width) {
    return Create(owner, pt, message, std::string(), 4, width, BACK_MODE_IMAGE);
}

void MenuWnd::InitUI(CRect) {
    for (MControl* c : pm_.GetControls()) {
        if (auto* item = dynamic_cast<MenuItem*>(c)) {
            Apply(item);
        }
    }
    SetMenuPoint();
}

LRESULT MenuWnd::PostNcDestroy() {
    DeleteLater();
    return 0;
}

void MenuWnd::DeleteLater() {
    // Deleted with the closure: after it ran at the loop's next turn, or
    // when a loop that shuts down drops it.
    std::shared_ptr<MenuWnd> self(this);
    PostToUi([self] {});
}

void MenuWnd::SetMenuFont(const std::string& name, int size, int style) {
    font_name_ = name;
    font_size_ = size;
    font_style_ = style;
}

bool MenuWnd::SetHoverImage(const std::string& fileName) {
    hover_image_ = pm_.AddImgResInfo(fileName, 1);
    return hover_image_ != nullptr;
}

bool MenuWnd::SetCheckImage(const std::string& fileName) {
    check_image_ = pm_.AddImgResInfo(fileName, 1);
    return check_image_ != nullptr;
}

MenuItem* MenuWnd::FindItem(UINT id) {
    for (MControl* c : pm_.GetControls()) {
        if (c->GetControlID() == id) {
            if (auto* item = dynamic_cast<MenuItem*>(c)) {
                return item;
            }
        }
    }
    return nullptr;
}

void MenuWnd::Apply(MenuItem* item) {
    auto it = settings_.find(item->GetControlID());
    if (it == settings_.end()) {
        return;
    }
    const ItemSetting& s = it->second;
    if (s.has_title) {
        item->SetTitle(s.title);
    }
    if (s.visible >= 0) {
        item->SetVisible(s.visible);
    }
    if (s.enabled >= 0) {
        item->SetEnabled(s.enabled);
    }
    if (s.check >= 0) {
        item->SetCheck(s.check);
    }
}

void MenuWnd::SetItemTitle(UINT id, const std::string& title) {
    settings_[id].title = title;
    settings_[id].has_title = true;
    if (MenuItem* item = FindItem(id)) {
        Apply(item);
    }
}

void MenuWnd::SetItemVisible(UINT id, int visible) {
    settings_[id].visible = visible != 0 ? 1 : 0;
    if (MenuItem* item = FindItem(id)) {
        Apply(item);
        SetMenuPoint();
    }
}

void MenuWnd::SetItemEnable(UINT id, int enabled) {
    settings_[id].enabled = enabled != 0 ? 1 : 0;
    if (MenuItem* item = FindItem(id)) {
        Apply(item);
    }
}

void MenuWnd::SetItemCheck(UINT id, int check) {
    settings_[id].check = check != 0 ? 1 : 0;
    if (MenuItem* item = FindItem(id)) {
        Apply(item);
    }
}

int MenuWnd::AddMenu(const std::string& text, UINT id, const std::string& iconFile, int, int) {
    const int text_width = MRender::GetTextBounds(MenuFont(), {}, text).cx;
    if (width_ - text_margin_ - 4 < text_width) {
        width_ = text_width + text_margin_ + 4;
    }
    auto* item = dynamic_cast<MenuItem*>(
        pm_.CreateControl(1, this, "MenuItem", id, CRect(), text.c_str(), 1, 1));
    if (item == nullptr) {
        return -1;
    }
    item->SetFont(font_name_, font_size_, font_style_);
    if (!iconFile.empty()) {
        item->SetImage(iconFile.c_str(), 4);
    }
    Apply(item);
    SetMenuPoint();
    return -1;
}

int MenuWnd::AddSeparator(UINT id, const std::string& imageFile) {
    auto* item =
        dynamic_cast<MenuItem*>(pm_.CreateControl(1, this, "MenuItem", id, CRect(), "", 1, 1));
    if (item == nullptr) {
        return -1;
    }
    item->SetSeparator(1);
    if (!imageFile.empty()) {
        item->SetImage(imageFile.c_str(), 1);
    }
    SetMenuPoint();
    return -1;
}

void MenuWnd::SetMenuPoint() {
    int y = top_margin_ != 0 ? top_margin_ : 2;
    for (MControl* c : pm_.GetControls()) {
        const CRect before = c->GetRect();
        CRect r;
        if (auto* item = dynamic_cast<MenuItem*>(c)) {
            item->SetFrameWidth(frame_width_);
            if (!item->IsVisible()) {
                r = CRect();
            } else if (item->IsSeparator()) {
                r = CRect(text_margin_ + 1, y + 1, width_ - 1, y + 2);
                y += 4;
            } else {
                r = CRect(2, y, width_ - 2, y + item_height_);
                y += item_height_;
                item->SetTextMargin(text_margin_);
                item->SetHoverColor(hover_color_);
                item->SetHoverImage(hover_image_);
                item->SetCheckImage(check_image_);
            }
        } else if (c->GetControlID() == static_cast<UINT>(-1) && c->IsVisible()) {
            r = CRect(text_margin_ + 4, y + 1, width_ - 9, y + 2);
            y += 4;
        } else {
            continue;
        }
        if (r != before) {
            c->SetRect(r);
        }
    }
    const int height = y + (bottom_margin_ != 0 ? bottom_margin_ : 2);
    if (GetSafeHwnd() == nullptr) {
        return;
    }
    CRect at = GetWindowRect();
    int left = at.left;
    int top = at.top;
    // Kept on the screen: a menu opened near the bottom or right edge moves in.
    if (Manager::System() != nullptr) {
        const auto work = Manager::System()->WorkArea({left, top});
        if (left + width_ > work.right) {
            left = std::max(work.left, work.right - width_);
        }
        if (top + height > work.bottom) {
            top = std::max(work.top, work.bottom - height);
        }
    }
    SetWindowPos(left, top, width_, height);
    pm_.Invalidate();
}

LRESULT MenuWnd::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM) {
    if (owner_ != nullptr && Manager::IsWindow(owner_)) {
        owner_->PostMessageW(message_, wParam, static_cast<LPARAM>(id));
    }
    if (code == CN_CLICKED) {
        CloseWindow();
    }
    return 1;
}

} // namespace Tessel
