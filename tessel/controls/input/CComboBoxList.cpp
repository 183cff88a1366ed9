#include "tessel/controls/input/CComboBoxList.h"

#include "tessel/MScroll.h"
#include "tessel/Manager.h"
#include "tessel/PaintManager.h"

namespace Tessel {

CComboBoxList::CComboBoxList(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MPanel(parent, id, rect, visible, enabled, 1) {
    vscroll_->SetScrollSize(0, kRowHeight); // a line step is a row
}

void CComboBoxList::SetControlRect(CRect rect) {
    MPanel::SetControlRect(rect);
    SetVirtualHeight(static_cast<int>(items_.size()) * kRowHeight);
}

void CComboBoxList::SetItems(const std::vector<ComboItem>& items) {
    items_ = items;
    hover_ = pressed_ = -1;
    SetVirtualHeight(static_cast<int>(items_.size()) * kRowHeight);
    UpdateControl(1);
}

int CComboBoxList::RowAt(CPoint pt) const {
    if (!rect_.PtInRect(pt) || (vscroll_->IsVisible() && vscroll_->GetRect().PtInRect(pt))) {
        return -1;
    }
    const int y = pt.y - rect_.top + GetScrollOffsetY();
    const int row = y / kRowHeight;
    return y >= 0 && row < static_cast<int>(items_.size()) ? row : -1;
}

void CComboBoxList::DrawControl(HDC& dc, CRect clip) {
    if (rect_.IsRectEmpty()) {
        return;
    }
    const int offset = GetScrollOffsetY();
    const int right = vscroll_->IsVisible() ? vscroll_->GetRect().left - 1 : rect_.right;
    cairo_save(dc);
    cairo_rectangle(dc, rect_.left, rect_.top, rect_.Width(), rect_.Height());
    cairo_clip(dc);
    TextFormat f;
    f.valign = 4;
    f.ellipsis = true;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const int top = rect_.top + static_cast<int>(i) * kRowHeight - offset;
        if (top + kRowHeight <= rect_.top || top >= rect_.bottom) {
            continue;
        }
        const CRect row(rect_.left, top, right, top + kRowHeight);
        const bool hover = static_cast<int>(i) == hover_;
        if (hover) {
            MRender::FillSolidRect(dc, row, Manager::GetSelectColor());
        } else if (static_cast<int>(i) == selected_) {
            MRender::FillSolidRect(dc, row, 0x30FFFFFF);
        }
        const ComboItem& item = items_[i];
        int text_left = row.left + 10;
        if (!item.icon.empty() && manager_ != nullptr) {
            if (ImgResInfo* icon = manager_->AddImgResInfo(item.icon, 1)) {
                const int y = top + (kRowHeight - icon->frameHeight) / 2;
                MRender::DrawImage(
                    dc, icon->image.get(),
                    CRect(text_left, y, text_left + icon->frameWidth, y + icon->frameHeight),
                    CRect(0, 0, icon->frameWidth, icon->frameHeight));
                text_left += icon->frameWidth + 6;
            }
        }
        const Color colour = hover ? 0xFFFFFFFF : item.color != 0 ? item.color : text_color_;
        MRender::DrawText(dc, item.text, GetFontChoice(),
                          CRect(text_left, top, row.right - 6, top + kRowHeight), colour, f);
    }
    cairo_restore(dc);
    if (vscroll_->IsVisible()) {
        vscroll_->Draw(dc, clip);
    }
}

int CComboBoxList::OnControlMouseMove(UINT, CPoint pt) {
    const int row = RowAt(pt);
    if (row != hover_) {
        hover_ = row;
        UpdateControl(0);
    }
    return rect_.PtInRect(pt) ? 1 : 0;
}

int CComboBoxList::OnControlLButtonDown(UINT, CPoint pt) {
    pressed_ = RowAt(pt);
    return pressed_ >= 0 ? 1 : 0;
}

int CComboBoxList::OnControlLButtonUp(UINT, CPoint pt) {
    const int row = RowAt(pt);
    const int pressed = pressed_;
    pressed_ = -1;
    if (row >= 0 && row == pressed) {
        SendMessageW(CN_CLICKED, static_cast<WPARAM>(row), LIST_PICK);
    }
    return 1;
}

int CComboBoxList::OnControlScroll(int, UINT direction, CPoint) {
    if (!vscroll_->IsVisible()) {
        return 0;
    }
    if (vscroll_->ScrollRow(direction == 1 ? 2 : -2)) {
        SetUpdate(0);
        UpdateControl(1);
    }
    return 1;
}

} // namespace Tessel
