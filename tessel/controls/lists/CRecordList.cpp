#include "tessel/controls/lists/CRecordList.h"

#include <algorithm>
#include <string>
#include <utility>

namespace Tessel {
namespace {

constexpr int kDelayDigits = 5;

} // namespace

CRecordList::CRecordList(MObject* parent, UINT id, CRect rect, int visible)
    : CListBase(parent, id, rect, visible, kItemHeight, 0, true) {
    edit_enabled_ = true;
}

int CRecordList::AddString(const std::string& text, int type, int value, int delay) {
    int at = 0;
    {
        std::lock_guard lock(lock_);
        items_.push_back(RecordItem{text, type, value, delay, {}});
        at = CountLocked() - 1;
    }
    UpdateBar();
    ScrollToEnd();
    Redraw();
    return at;
}

bool CRecordList::UpdateDelayTime(int delay) {
    {
        std::lock_guard lock(lock_);
        if (items_.empty()) {
            return false;
        }
        items_.back().delay = delay;
    }
    Redraw();
    return true;
}

std::vector<RecordItem> CRecordList::GetRecordItems() const {
    std::lock_guard lock(lock_);
    return items_;
}

void CRecordList::SwapLocked(int i, int j) {
    std::swap(items_[static_cast<std::size_t>(i)], items_[static_cast<std::size_t>(j)]);
}

int CRecordList::ParseDelay(const std::string& text) {
    if (text.empty()) {
        return kEmptyDelay;
    }
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = std::min<long long>(value * 10 + (c - '0'), kMaxRecordDelay);
    }
    return static_cast<int>(value);
}

// ---- drawing ----

void CRecordList::DrawRowLocked(cairo_t* cr, int index, int viewWidth) {
    const RecordItem& item = items_[static_cast<std::size_t>(index)];
    const CRect row = item.rect;
    const CRect outline(0, row.top, viewWidth - 2, row.bottom - 1);
    if (index == selected_) {
        MRender::DrawRectangle(cr, outline, selected_colour_, 1);
    } else if (index == hover_) {
        MRender::DrawRectangle(cr, outline, hover_colour_, 1);
    }
    TextFormat centred;
    centred.align = 1;
    centred.valign = 4;
    const FontChoice font = GetFontChoice();
    const Color colour = index == selected_ || index == hover_ ? row_text_colour_ : text_color_;
    MRender::DrawText(cr, item.text, font, CRect(kNameLeft, row.top, kNameRight, row.bottom),
                      colour, centred);
    const char* action = item.type == kRecordKeyDown ? "Key Down"
                         : item.type == kRecordKeyUp ? "Key Up"
                                                     : "";
    MRender::DrawText(cr, action, font, CRect(kTypeLeft, row.top, kTypeRight, row.bottom), colour,
                      centred);
    if (!(edit_enabled_ && index == edit_item_ && editor_)) {
        MRender::DrawText(cr, std::to_string(item.delay), font,
                          CRect(kDelayLeft, row.top, kDelayRight, row.bottom), colour, centred);
    }
}

// ---- mouse ----

int CRecordList::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_ || !InList(pt)) {
        return 0;
    }
    const int before = selected_;
    selected_ = hover_;
    if (selected_ >= 0) {
        if (pt.x >= rect_.left + kDelayLeft && pt.x < rect_.left + kDelayRight) {
            ShowEdit();
        } else {
            HideEdit(0);
        }
    }
    Notify(CN_PRESSED, selected_, 0);
    if (selected_ != before) {
        Redraw();
    }
    return 1;
}

int CRecordList::OnControlLButtonUp(UINT, CPoint) {
    return 0;
}

int CRecordList::OnControlRButtonUp(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const int before = selected_;
    selected_ = hover_;
    if (InList(pt) && selected_ >= 0) {
        Notify(CN_RCLICK, selected_, 0);
    }
    if (selected_ != before) {
        Redraw();
    }
    return 1;
}

// ---- editing ----

bool CRecordList::CanShowEdit() const {
    return CListBase::CanShowEdit() && hover_ >= 0;
}

std::string CRecordList::EditTextLocked(int index) const {
    return std::to_string(items_[static_cast<std::size_t>(index)].delay);
}

bool CRecordList::CommitEditLocked(int index, const std::string& text) {
    RecordItem& item = items_[static_cast<std::size_t>(index)];
    const int delay = ParseDelay(text);
    if (delay == item.delay) {
        return false;
    }
    item.delay = delay;
    return true;
}

ListEditorStyle CRecordList::EditorStyle() const {
    ListEditorStyle s;
    s.limit = kDelayDigits;
    s.digitsOnly = true;
    s.align = 1;
    s.fontName = font_name_;
    s.fontSize = font_size_;
    s.fontStyle = font_style_;
    return s;
}

CRect CRecordList::EditorRect(const CRect& row) const {
    const int f = font_size_;
    const int top = row.top + (row.Height() - f) / 2 - 3;
    return {rect_.left + kDelayLeft, top, rect_.left + kDelayRight, top + f + 3};
}

} // namespace Tessel
