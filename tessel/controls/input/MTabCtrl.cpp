#include "tessel/controls/input/MTabCtrl.h"

#include "tessel/PaintManager.h"

#include <algorithm>

namespace Tessel {

MTabCtrl::MTabCtrl(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, "", visible, enabled, 1) {
    image_count_ = 3;
}

int MTabCtrl::GetCtrlWidth() const {
    return ctrl_w_ > 0 ? ctrl_w_ : rect_.Width();
}

int MTabCtrl::GetCtrlHeight() const {
    return ctrl_h_ > 0 ? ctrl_h_ : rect_.Height();
}

void MTabCtrl::SetControlRect(CRect rect) {
    rect_ = rect;
    RefreshItems();
}

int MTabCtrl::InsertItem(UINT id, const std::string& text, const std::string& iconFile,
                         MControl* page, int count, int width) {
    TabItemInfo item;
    item.id = id;
    item.text = text;
    item.page = page;
    item.count = count <= 0 ? 3 : count;
    if (manager_ != nullptr && !iconFile.empty()) {
        item.image = manager_->AddImgResInfo(iconFile, item.count);
        if (item.image != nullptr && item.image->image) {
            item.cellWidth = CellWidth(item.image->image->Width(), item.count);
            item.cellHeight = item.image->image->Height();
        }
    }
    const int w = width > 0 ? width : item.cellWidth;
    item.rect = CRect(rect_.left, rect_.top, rect_.left + w, rect_.top);
    items_.push_back(item);
    RefreshItems();
    return static_cast<int>(items_.size()) - 1;
}

bool MTabCtrl::DeleteItem(int index) {
    if (index < 0 || index >= GetItemCount()) {
        return false;
    }
    items_.erase(items_.begin() + index);
    if (selected_ > index) {
        --selected_;
    } else if (selected_ == index) {
        selected_ = GetItemCount(); // no longer exists: RefreshItems moves it
    }
    hover_ = pressed_ = -1;
    RefreshItems();
    return true;
}

const TabItemInfo* MTabCtrl::GetItemInfo(int index) const {
    return index >= 0 && index < GetItemCount() ? &items_[static_cast<std::size_t>(index)]
                                                : nullptr;
}

UINT MTabCtrl::GetItemID(int index) const {
    const TabItemInfo* info = GetItemInfo(index);
    return info != nullptr ? info->id : 0;
}

bool MTabCtrl::SetItemText(int index, const std::string& text) {
    if (index < 0 || index >= GetItemCount()) {
        return false;
    }
    items_[static_cast<std::size_t>(index)].text = text;
    UpdateControl(1);
    return true;
}

bool MTabCtrl::SetItemVisible(int index, int visible) {
    if (index < 0 || index >= GetItemCount()) {
        return false;
    }
    items_[static_cast<std::size_t>(index)].visible = visible != 0 ? 1 : 0;
    RefreshItems();
    return true;
}

int MTabCtrl::GetItemVisible(int index) const {
    const TabItemInfo* info = GetItemInfo(index);
    return info != nullptr ? info->visible : 0;
}

void MTabCtrl::SetItemWidth(int maximum, int minimum, int refresh) {
    item_w_max_ = maximum;
    item_w_min_ = minimum;
    if (refresh != 0) {
        RefreshItems();
    }
}

void MTabCtrl::SetItemHeight(int maximum, int minimum, int refresh) {
    item_h_max_ = maximum;
    item_h_min_ = minimum;
    if (refresh != 0) {
        RefreshItems();
    }
}

void MTabCtrl::SetTabCtrlWidth(int width) {
    ctrl_w_ = width;
    RefreshItems();
}

void MTabCtrl::SetTabCtrlHeight(int height) {
    ctrl_h_ = height;
    RefreshItems();
}

void MTabCtrl::SetLeftRightPading(int left, int right) {
    pad_left_ = left;
    pad_right_ = right;
    RefreshItems();
}

void MTabCtrl::SetTopBottomPading(int top, int bottom) {
    pad_top_ = top;
    pad_bottom_ = bottom;
    RefreshItems();
}

void MTabCtrl::SetTabType(TAB_TYPE type) {
    type_ = type;
    RefreshItems();
}

void MTabCtrl::RefreshItems() {
    const int shown = static_cast<int>(std::count_if(
        items_.begin(), items_.end(), [](const TabItemInfo& t) { return t.visible; }));
    // The tabs share the length of the bar; across it each takes the whole bar.
    const int across_w = GetCtrlWidth() - pad_left_ - pad_right_;
    const int across_h = GetCtrlHeight() - pad_top_ - pad_bottom_;
    const int n = std::max(1, shown);
    const auto fit = [](int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); };
    const int w =
        fit(type_ == TAB_TYPE_HORIZONTAL ? across_w / n : across_w, item_w_min_, item_w_max_);
    const int h =
        fit(type_ == TAB_TYPE_VERTICAL ? across_h / n : across_h, item_h_min_, item_h_max_);
    int x = rect_.left + pad_left_;
    int y = rect_.top + pad_top_;
    for (TabItemInfo& t : items_) {
        if (!t.visible) {
            t.rect = CRect();
            continue;
        }
        t.rect = CRect(x, y, x + std::max(0, w), y + std::max(0, h));
        if (type_ == TAB_TYPE_HORIZONTAL) {
            x += std::max(0, w);
        } else {
            y += std::max(0, h);
        }
    }
    if (selected_ >= 0 &&
        (selected_ >= GetItemCount() || !items_[static_cast<std::size_t>(selected_)].visible)) {
        selected_ = -1;
        for (int i = GetItemCount() - 1; i >= 0; --i) {
            if (items_[static_cast<std::size_t>(i)].visible) {
                selected_ = i;
                break;
            }
        }
    }
    ShowPages();
    UpdateControl(1);
}

void MTabCtrl::ShowPages() {
    for (int i = 0; i < GetItemCount(); ++i) {
        if (MControl* page = items_[static_cast<std::size_t>(i)].page) {
            page->SetVisible(i == selected_ ? 1 : 0);
        }
    }
}

int MTabCtrl::SetSelectItem(int index) {
    const int before = selected_;
    if (index == selected_ || index < 0 || index >= GetItemCount()) {
        return before;
    }
    previous_ = before;
    selected_ = index;
    hover_ = -1;
    ShowPages();
    UpdateControl(0);
    SendMessageW(CN_CLICKED, static_cast<WPARAM>(index), 0);
    return before;
}

void MTabCtrl::SetTabTooltip(int index, const std::string& text) {
    if (index >= 0 && index < GetItemCount()) {
        items_[static_cast<std::size_t>(index)].tooltip = text;
    }
}

void MTabCtrl::ClearTabTooltip() {
    for (TabItemInfo& t : items_) {
        t.tooltip.clear();
    }
    ClearTooltip();
}

MControl* MTabCtrl::CreatePanel(const char* cls, UINT id, CRect rect) {
    if (manager_ == nullptr) {
        return nullptr;
    }
    MControl* panel = manager_->CreateControl(1, parent_, cls, id, rect, "", 1, 1);
    if (panel != nullptr) {
        panel->SetRunTimer(1);
    }
    return panel;
}

int MTabCtrl::TabAt(CPoint pt) const {
    for (int i = 0; i < GetItemCount(); ++i) {
        const TabItemInfo& t = items_[static_cast<std::size_t>(i)];
        if (t.visible && t.rect.PtInRect(pt)) {
            return i;
        }
    }
    return -1;
}

int MTabCtrl::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const int tab = TabAt(pt);
    if (pressed_ < 0 && tab != hover_) {
        hover_ = tab;
        UpdateControl(0);
        if (tab >= 0 && !items_[static_cast<std::size_t>(tab)].tooltip.empty()) {
            SetTooltip(items_[static_cast<std::size_t>(tab)].tooltip,
                       items_[static_cast<std::size_t>(tab)].rect);
        }
    }
    if (tab >= 0 && manager_ != nullptr) {
        manager_->SetCursor(kovrin::platform::CursorKind::Hand);
    }
    return rect_.PtInRect(pt) ? 1 : 0;
}

int MTabCtrl::OnControlLButtonDown(UINT, CPoint pt) {
    const int tab = TabAt(pt);
    if (!enabled_ || tab < 0) {
        return 0;
    }
    pressed_ = tab;
    hover_ = tab;
    items_[static_cast<std::size_t>(tab)].state = 2;
    UpdateControl(0);
    SendMessageW(CN_PRESSED_ALT, static_cast<WPARAM>(tab), 0);
    return 1;
}

int MTabCtrl::OnControlLButtonUp(UINT, CPoint pt) {
    const int pressed = pressed_;
    pressed_ = -1;
    if (pressed >= 0 && pressed < GetItemCount()) {
        items_[static_cast<std::size_t>(pressed)].state = 0;
    }
    const int tab = TabAt(pt);
    hover_ = tab;
    UpdateControl(0);
    if (enabled_ && tab >= 0 && tab == pressed) {
        SetSelectItem(tab);
    }
    return 1;
}

void MTabCtrl::DrawStrip(HDC strip, int cell, int w, int h) {
    const int x0 = cell * w;
    const FontChoice font{font_name_, 13, font_style_};
    TextFormat f;
    f.align = 1;
    f.valign = 4;
    const Color colour = cell == 0 ? 0xFFFFFFFF : cell == 3 ? 0xFF808080 : 0xFFFF0000;
    cairo_save(strip);
    cairo_rectangle(strip, x0, 0, w, h);
    cairo_clip(strip);
    for (const TabItemInfo& t : items_) {
        if (!t.visible || t.rect.IsRectEmpty()) {
            continue;
        }
        const int left = x0 + t.rect.left - rect_.left;
        const int top = t.rect.top - rect_.top;
        const int th = t.rect.Height();
        int ih = 0;
        if (t.image != nullptr && t.image->image && t.cellWidth > 0) {
            ih = t.cellHeight;
            const int ic = std::min(cell, t.count - 1);
            const int ix = left + (t.rect.Width() - t.cellWidth) / 2;
            const int iy = top + (th - ih - 25) / 2;
            MRender::DrawImage(strip, t.image->image.get(),
                               CRect(ix, iy, ix + t.cellWidth, iy + ih),
                               CRect(ic * t.cellWidth, 0, (ic + 1) * t.cellWidth, ih));
        }
        const int ty = top + ih + (th - ih - 20) / 2 + 3;
        MRender::DrawText(strip, t.text, font, CRect(left, ty, left + t.rect.Width(), ty + 20),
                          colour, f);
    }
    cairo_restore(strip);
}

void MTabCtrl::DrawControl(HDC& dc, CRect) {
    const int w = rect_.Width();
    const int h = rect_.Height();
    if (items_.empty() || w <= 0 || h <= 0) {
        return;
    }
    if (!update_) {
        UpdateMemDC(dc, w * 4, h);
        for (int cell = 0; cell < 4; ++cell) {
            CopyBackgroundToCell(dc, cell);
            DrawStrip(Strip().Context(), cell, w, h);
        }
    }
    DrawStripCell(dc, enabled_ ? 0 : 3);
    if (!enabled_) {
        return;
    }
    // Parts of the other strips over the hovered and the selected tab.
    const auto copy = [&](int index, int cell) {
        if (index < 0 || index >= GetItemCount()) {
            return;
        }
        CRect r;
        if (!r.IntersectRect(items_[static_cast<std::size_t>(index)].rect, rect_)) {
            return;
        }
        cairo_save(dc);
        cairo_rectangle(dc, r.left, r.top, r.Width(), r.Height());
        cairo_clip(dc);
        cairo_set_operator(dc, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(dc, Strip().Surface(), rect_.left - cell * w, rect_.top);
        cairo_paint(dc);
        cairo_restore(dc);
    };
    copy(hover_, pressed_ >= 0 && pressed_ == hover_ ? 2 : 1);
    copy(selected_, 2);
}

} // namespace Tessel
