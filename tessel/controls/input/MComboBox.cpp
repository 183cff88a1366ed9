#include "tessel/controls/input/MComboBox.h"

#include "platform/window/WindowSystem.h"
#include "tessel/Manager.h"
#include "tessel/PaintManager.h"
#include "tessel/controls/input/CComboBoxWnd.h"

#include <algorithm>

namespace Tessel {
namespace {
// The combo box sends itself this request to open its drop-down.
constexpr UINT kOpenRequestId = 9;
} // namespace

MComboBox::MComboBox(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, "", visible, enabled, 1) {
    state_ = enabled != 0 ? 0 : 3;
}

MComboBox::~MComboBox() {
    ReleasePopup();
}

void MComboBox::ReleasePopup() {
    if (!popup_) {
        return;
    }
    // The drop-down may be delivering the event that led here: it goes with
    // the closure below, at the loop's next turn (or when the loop drops it).
    popup_->SetParentObject(nullptr);
    std::shared_ptr<CComboBoxWnd> dying(popup_.release(), [](CComboBoxWnd* popup) {
        popup->DestroyWindow();
        delete popup;
    });
    PostToUi([dying] {});
}

int MComboBox::AddItem(const std::string& text, long data, const std::string& iconPath,
                       Color color) {
    items_.push_back({text, data, iconPath, color});
    return static_cast<int>(items_.size()) - 1;
}

int MComboBox::InsertItem(int index, const std::string& text, long data,
                          const std::string& iconPath, Color color) {
    if (index == -1) {
        return AddItem(text, data, iconPath, color);
    }
    if (index < 0 || index > GetCount()) {
        return -1;
    }
    items_.insert(items_.begin() + index, {text, data, iconPath, color});
    if (selected_ >= index) {
        ++selected_;
    }
    return index;
}

bool MComboBox::DeleteItem(int index) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    items_.erase(items_.begin() + index);
    if (selected_ == index) {
        selected_ = -1;
        SetTitle("");
    } else if (selected_ > index) {
        --selected_;
    }
    return true;
}

void MComboBox::DelAllItems() {
    items_.clear();
    selected_ = -1;
    SetTitle("");
}

bool MComboBox::SetItemText(int index, const std::string& text) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    items_[static_cast<std::size_t>(index)].text = text;
    if (index == selected_) {
        SetTitle(text);
    }
    return true;
}

bool MComboBox::SetItemData(int index, long data) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    items_[static_cast<std::size_t>(index)].data = data;
    return true;
}

long MComboBox::GetItemData(int index) const {
    return index >= 0 && index < GetCount() ? items_[static_cast<std::size_t>(index)].data : 0;
}

std::string MComboBox::GetItemText(int index) const {
    return index >= 0 && index < GetCount() ? items_[static_cast<std::size_t>(index)].text
                                            : std::string();
}

int MComboBox::SetCurSel(int index) {
    if (index < -1 || index >= GetCount()) {
        return 0;
    }
    selected_ = index;
    SetTitle(index >= 0 ? items_[static_cast<std::size_t>(index)].text : std::string());
    return 1;
}

long MComboBox::GetCurData() const {
    return GetItemData(selected_);
}

int MComboBox::FindData(long data) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (items_[static_cast<std::size_t>(i)].data == data) {
            return i;
        }
    }
    return -1;
}

int MComboBox::SelectData(long data) {
    const int index = FindData(data);
    return index < 0 ? 0 : SetCurSel(index);
}

void MComboBox::SetScrollResID(unsigned vertical, unsigned horizontal) {
    scroll_v_ = vertical;
    scroll_h_ = horizontal;
}

void MComboBox::SetShowModeMID(int left, int top, int right, int bottom) {
    margins_ = CRect(left, top, right, bottom);
    UpdateControl(1);
}

void MComboBox::SetTextRect(CRect rect) {
    text_rect_ = rect;
    UpdateControl(1);
}

void MComboBox::DrawControl(HDC& dc, CRect) {
    const int w = rect_.Width();
    const int h = rect_.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    if (!update_) {
        UpdateMemDC(dc, w * 4, h);
        const Image* img = GetImage();
        for (int cell = 0; cell < 4; ++cell) {
            CopyBackgroundToCell(dc, cell);
            if (img != nullptr && frame_width_ > 0) {
                MRender::DrawImageFrameMID(
                    Strip().Context(), img, CRect(cell * w, 0, cell * w + w, h),
                    std::min(cell, image_count_ - 1) * frame_width_, 0, frame_width_, frame_height_,
                    margins_.left, margins_.top, margins_.right, margins_.bottom);
            }
        }
    }
    DrawStripCell(dc, !enabled_ ? 3 : open_ ? 2 : state_);
    CRect text = text_rect_.IsRectEmpty() ? CRect(10, 0, w - margins_.right, h) : text_rect_;
    text.OffsetRect(rect_.left, rect_.top);
    TextFormat f;
    f.valign = 4;
    f.ellipsis = true;
    MRender::DrawText(dc, title_, GetFontChoice(), text, enabled_ ? text_color_ : 0xFF808080, f);
}

void MComboBox::SetState(int state) {
    if (state != state_) {
        state_ = state;
        UpdateControl(0);
    }
}

int MComboBox::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const bool inside = rect_.PtInRect(pt);
    if (state_ != 2) {
        SetState(inside ? 1 : 0);
    }
    return inside ? 1 : 0;
}

int MComboBox::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_ || !rect_.PtInRect(pt)) {
        return 0;
    }
    SetState(2);
    return 1;
}

int MComboBox::OnControlLButtonUp(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const bool pressed = state_ == 2;
    const bool inside = rect_.PtInRect(pt);
    SetState(inside ? 1 : 0);
    if (inside && pressed) {
        OnMessage(kOpenRequestId, CN_CLICKED, 0, 0);
    }
    return 1;
}

void MComboBox::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    state_ = enabled != 0 ? 0 : 3;
}

void MComboBox::OpenPopup() {
    if (popup_) {
        popup_->SetParentObject(nullptr);
        popup_->DestroyWindow();
        popup_.reset();
    }
    open_ = false;
    MWindow* window = manager_ != nullptr ? manager_->GetPaintWnd() : nullptr;
    if (window == nullptr || window->GetSafeHwnd() == nullptr || items_.empty()) {
        return;
    }
    const int rows = std::min(GetCount(), kVisibleRows);
    const int height = rows * CComboBoxList::kRowHeight + 12;
    const CPoint below = window->ClientToScreen({rect_.left + 4, rect_.bottom});
    CRect screen(below.x, below.y, below.x + rect_.Width() - 10, below.y + height);
    if (Manager::System() != nullptr) {
        const auto work = Manager::System()->WorkArea({below.x, below.y});
        if (screen.bottom > work.bottom) {
            const int top = window->ClientToScreen({rect_.left, rect_.top}).y - height;
            screen = CRect(screen.left, top, screen.right, top + height);
        }
    }
    auto popup = std::make_unique<CComboBoxWnd>();
    if (!popup->Open(window, screen, items_, selected_, text_color_, GetFontChoice(), scroll_v_,
                     scroll_h_)) {
        return;
    }
    popup->SetParentObject(this);
    popup_ = std::move(popup);
    open_ = true;
    popup_->ShowWindow(SW_SHOWNA);
    UpdateControl(0);
}

LRESULT MComboBox::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
    if (id == kOpenRequestId && code == CN_CLICKED) {
        OpenPopup();
        return 1;
    }
    if (code == CN_CLICKED && lParam == LIST_PICK) {
        const int row = static_cast<int>(wParam);
        open_ = false;
        if (popup_) {
            popup_->CloseWindow();
        }
        UpdateControl(0);
        // A row past the items (they changed while the list was open) picks nothing.
        if (row >= 0 && row < GetCount()) {
            SetCurSel(row);
            SendMessageW(CN_CLICKED, static_cast<WPARAM>(row), 0);
        }
        return 1;
    }
    if (code == CN_POPUP_CLOSED) {
        open_ = false;
        UpdateControl(0);
        return 1;
    }
    return 0;
}

} // namespace Tessel
