#include "tessel/controls/lists/CListBase.h"

#include "tessel/MScroll.h"
#include "tessel/Manager.h"
#include "tessel/PaintManager.h"
#include "tessel/controls/lists/CEditWindow.h"

#include <algorithm>

namespace Tessel {

CListBase::CListBase(MObject* parent, UINT id, CRect rect, int visible, int itemHeight,
                     int iconColumn, bool alwaysReserveBar)
    : MPanel(parent, id, rect, visible), hover_colour_(Manager::GetSelectColor()),
      selected_colour_(Manager::GetSelectColor()), icon_column_(iconColumn),
      always_reserve_bar_(alwaysReserveBar), item_height_(itemHeight) {}

CListBase::~CListBase() {
    editor_.reset();
}

int CListBase::GetItemCount() const {
    std::lock_guard lock(lock_);
    return CountLocked();
}

// ---- selection and rows ----

int CListBase::SetCurSel(int index) {
    if (index < -1 || index >= GetItemCount()) {
        return 0;
    }
    if (index != selected_) {
        selected_ = index;
        Redraw();
    }
    return 1;
}

int CListBase::DeleteItem(int index) {
    {
        std::lock_guard lock(lock_);
        if (index < 0 || index >= CountLocked()) {
            return 0;
        }
        hover_ = -1;
        selected_ = -1;
        RowErased(index);
        EraseLocked(index);
        first_ = -1;
        last_ = -1;
    }
    UpdateBar();
    Redraw();
    return 1;
}

int CListBase::DeleteAllItems() {
    if (editor_ && editor_->IsOpen()) {
        editor_->Close();
    }
    {
        std::lock_guard lock(lock_);
        ClearLocked();
        hover_ = -1;
        selected_ = -1;
        edit_item_ = -1;
        first_ = -1;
        last_ = -1;
    }
    vscroll_->SetScrollMaxRange(0);
    vscroll_->SetVisible(0);
    Redraw();
    return 1;
}

bool CListBase::SwapItem(int i, int j) {
    std::lock_guard lock(lock_);
    const int n = CountLocked();
    if (i < 0 || j < 0 || i >= n || j >= n || i == j) {
        return false;
    }
    SwapLocked(i, j);
    if (edit_item_ == i) {
        edit_item_ = j;
    } else if (edit_item_ == j) {
        edit_item_ = i;
    }
    return true;
}

void CListBase::RowInserted(int index) {
    if (edit_item_ >= index && edit_item_ >= 0) {
        ++edit_item_;
    }
}

void CListBase::RowErased(int index) {
    if (edit_item_ == index) {
        // The edited row is gone: its edit is dropped, not stored elsewhere.
        edit_item_ = -1;
        if (editor_ && editor_->IsOpen()) {
            editor_->Close();
        }
    } else if (edit_item_ > index) {
        --edit_item_;
    }
}

void CListBase::Notify(UINT code, int wParam, int lParam) {
    SendMessageW(code, static_cast<WPARAM>(static_cast<std::uint32_t>(wParam)),
                 static_cast<LPARAM>(lParam));
}

// ---- bar and layout ----

bool CListBase::IsBarShown() const {
    return vscroll_->IsVisible();
}

int CListBase::GetViewWidth() const {
    return rect_.Width() - (always_reserve_bar_ || IsBarShown() ? kScrollThickness : 0);
}

void CListBase::UpdateBar() {
    const int content = GetItemCount() * item_height_;
    const bool shown = rect_.Height() < content;
    vscroll_->SetScrollMaxRange(content);
    if (!shown) {
        vscroll_->SetScrollCurrentPos(0);
    }
    vscroll_->SetVisible(shown ? 1 : 0);
}

void CListBase::ScrollToEnd() {
    vscroll_->SetScrollFinalPos();
}

void CListBase::SetControlRect(CRect rect) {
    MPanel::SetControlRect(rect);
    UpdateBar();
}

// ---- drawing ----

void CListBase::DrawControl(HDC& dc, CRect) {
    const int view_h = rect_.Height();
    const int view_w = GetViewWidth();
    if (view_h <= 0 || view_w <= 0) {
        return;
    }
    std::lock_guard lock(lock_);
    const int count = CountLocked();
    const int ih = item_height_;
    const int content = count * ih;
    const int range = vscroll_->GetScrollMaxRange();
    int offset = 0;
    if (range > 0) {
        offset = static_cast<int>(static_cast<long long>(content - view_h) *
                                  vscroll_->GetScrollCurrentPos() / range);
    }
    offset = std::max(0, offset);
    first_ = std::max(0, offset / ih);
    last_ = std::max(0, std::min((view_h + offset) / ih, count - 1));
    const int surface_h = std::max(view_h, (last_ - first_ + 1) * ih);
    row_offset_ = std::max(0, offset - first_ * ih);

    if (!update_ || Strip().Width() != view_w || Strip().Height() != surface_h) {
        UpdateMemDC(dc, view_w, surface_h);
        cairo_t* cr = Strip().Context();
        MRender::FillSolidRect(cr, CRect(0, 0, view_w, surface_h), 0xFFFFFFFF);
        cairo_surface_t* back = cairo_get_target(dc);
        cairo_surface_flush(back);
        cairo_save(cr);
        cairo_rectangle(cr, 0, row_offset_, view_w, view_h);
        cairo_clip(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, back, -rect_.left, row_offset_ - rect_.top);
        cairo_paint(cr);
        cairo_restore(cr);
        if (count > 0 && range > 0) {
            for (int i = first_; i <= last_; ++i) {
                RowRectLocked(i) = CRect(0, (i - first_) * ih, view_w, (i - first_ + 1) * ih);
                DrawRowLocked(cr, i, view_w);
            }
        }
    }
    cairo_save(dc);
    cairo_rectangle(dc, rect_.left, rect_.top, view_w, view_h);
    cairo_clip(dc);
    cairo_set_operator(dc, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(dc, Strip().Surface(), rect_.left, rect_.top - row_offset_);
    cairo_paint(dc);
    cairo_restore(dc);
}

CRect CListBase::GetRowWindowRect(int index) const {
    std::lock_guard lock(lock_);
    if (first_ < 0 || index < first_ || index > last_ || index >= CountLocked()) {
        return {};
    }
    CRect r = const_cast<CListBase*>(this)->RowRectLocked(index);
    r.OffsetRect(rect_.left, rect_.top - row_offset_);
    return r;
}

int CListBase::RowAt(CPoint pt) const {
    std::lock_guard lock(lock_);
    if (first_ < 0) {
        return -1;
    }
    const int n = CountLocked();
    for (int i = first_; i <= last_ && i < n; ++i) {
        CRect r = const_cast<CListBase*>(this)->RowRectLocked(i);
        r.OffsetRect(rect_.left, rect_.top - row_offset_);
        if (r.PtInRect(pt)) {
            return i;
        }
    }
    return -1;
}

// ---- mouse ----

int CListBase::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    if (GetItemCount() == 0 || first_ < 0) {
        return InList(pt) ? 1 : 0;
    }
    const int before = hover_;
    if (InList(pt)) {
        const CRect still = hover_ >= 0 ? GetRowWindowRect(hover_) : CRect();
        if (!still.PtInRect(pt)) {
            hover_ = RowAt(pt);
        }
    } else {
        hover_ = -1;
    }
    if (hover_ != before) {
        Redraw();
    }
    return InList(pt) ? 1 : 0;
}

int CListBase::OnControlLButtonDblClk(UINT flags, CPoint pt) {
    // A quick second press is a press like any other.
    return OnControlLButtonDown(flags, pt);
}

int CListBase::OnControlScroll(int, UINT direction, CPoint) {
    const int content = GetItemCount() * item_height_;
    if (content <= rect_.Height()) {
        return 0;
    }
    const int before = vscroll_->GetScrollCurrentPos();
    const int step = 10 * vscroll_->GetLineStep();
    vscroll_->SetScrollCurrentPos(before + (direction == 1 ? step : -step));
    vscroll_->UpdateControl(1);
    if (vscroll_->GetScrollCurrentPos() != before) {
        BeforeWheelScroll();
        hover_ = -1;
        Redraw();
    }
    return 1;
}

bool CListBase::HoldsFocus() const {
    if (manager_ == nullptr) {
        return false;
    }
    const MControl* focus = manager_->GetFocusControl();
    return focus == this || (editor_ && focus != nullptr && focus == editor_->Control());
}

int CListBase::SetControlFocus(int focus) {
    if (focus != 0) {
        focused_ = true;
        return 1;
    }
    MPanel::SetControlFocus(0);
    if (!enabled_) {
        return 0;
    }
    if (edit_item_ < 0) {
        Redraw();
        return 0;
    }
    CheckFocusLater();
    return 0;
}

void CListBase::CheckFocusLater() {
    // A press inside the panel that holds the list takes the focus from the
    // list (or its editor) before it reaches them and then gives it back; the
    // edit ends only when the focus has really gone elsewhere.
    const std::weak_ptr<bool> alive = alive_;
    const bool posted = PostToUi([this, alive] {
        if (!alive.expired() && edit_item_ >= 0 && !HoldsFocus()) {
            HideEdit(1);
            Redraw();
        }
    });
    if (!posted) {
        HideEdit(1);
        Redraw();
    }
}

void CListBase::TakeBackFocus() {
    if (manager_ != nullptr && editor_ && editor_->Control() != nullptr &&
        manager_->GetFocusControl() == editor_->Control()) {
        manager_->SetFocusControl(this);
    }
}

LRESULT CListBase::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
    return MPanel::OnMessage(id, code, wParam, lParam);
}

// ---- editing ----

std::unique_ptr<ListEditor> CListBase::CreateEditor(const ListEditorStyle& style) {
    return MakeListEditor(this, this, style);
}

bool CListBase::CanShowEdit() const {
    return edit_enabled_ && enabled_ && selected_ >= 0 && selected_ < GetItemCount();
}

void CListBase::ShowEdit() {
    if (!CanShowEdit()) {
        return;
    }
    if (edit_item_ == selected_ && editor_ && editor_->IsOpen()) {
        return; // already editing this row
    }
    if (edit_item_ >= 0 && edit_item_ != selected_) {
        HideEdit(1); // the other row's edit is stored first
    }
    std::string text;
    {
        std::lock_guard lock(lock_);
        edit_item_ = selected_;
        text = EditTextLocked(edit_item_);
    }
    if (!editor_) {
        editor_ = CreateEditor(EditorStyle());
    }
    focused_ = true;
    if (editor_) {
        CRect row = GetRowWindowRect(edit_item_);
        if (row.IsRectEmpty()) {
            // Not drawn yet: where the row will be.
            const int top = rect_.top + (edit_item_ - std::max(first_, 0)) * item_height_;
            row = CRect(rect_.left, top, rect_.left + GetViewWidth(), top + item_height_);
        }
        editor_->Open(EditorRect(row), text);
        OnEditorTextChanged(text);
    }
    Redraw();
}

void CListBase::HideEdit(int force) {
    if (force == 0 && edit_item_ == selected_) {
        return;
    }
    focused_ = false;
    const int edited = edit_item_;
    bool changed = false;
    if (editor_ && editor_->IsOpen()) {
        const std::string text = editor_->GetText();
        editor_->Close();
        if (edited >= 0) {
            std::lock_guard lock(lock_);
            changed = edited < CountLocked() && CommitEditLocked(edited, text);
        }
    }
    edit_item_ = -1;
    TakeBackFocus();
    if (changed) {
        Notify(CN_EDITEND, 0, edited);
    }
    if (edited >= 0) {
        Redraw();
    }
}

void CListBase::OnEditorTextChanged(const std::string& text) {
    if (text == GetControlTitle()) {
        return;
    }
    SetControlTitle(text.c_str());
    Notify(CN_TEXTCHANGED, 0, 0);
    Redraw();
}

void CListBase::OnEditorEnter() {
    HideEdit(1);
}

void CListBase::OnEditorCancel() {
    CancelEdit();
}

void CListBase::OnEditorFocusLost() {
    if (enabled_ && edit_item_ >= 0) {
        CheckFocusLater();
    }
}

void CListBase::CancelEdit() {
    if (editor_ && editor_->IsOpen()) {
        editor_->Close();
    }
    const bool was = edit_item_ >= 0;
    edit_item_ = -1;
    TakeBackFocus();
    if (was) {
        Redraw();
    }
}

} // namespace Tessel
