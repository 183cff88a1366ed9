#include "tessel/controls/lists/DListBox.h"

#include "tessel/PaintManager.h"

#include <utility>

namespace Tessel {
namespace {

constexpr COLORREF kEditBackground = 0x351806;
constexpr int kEditLimit = 10;
constexpr int kEditCorner = 6;

COLORREF ArgbToColorRef(Color c) {
    return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

} // namespace

DListBox::DListBox(MObject* parent, UINT id, CRect rect, int visible)
    : CListBase(parent, id, rect, visible, kItemHeight, kIconColumn, false) {
    row_text_colour_ = text_color_;
}

int DListBox::SetImage(const char* fileName, int count) {
    const int r = MControlFont::SetImage(fileName, count);
    if (r != 0) {
        Redraw();
    }
    return r;
}

int DListBox::SetEditImage(const char* fileName, int count) {
    if (manager_ == nullptr || fileName == nullptr) {
        return 0;
    }
    ImgResInfo* info = manager_->AddImgResInfo(fileName, count <= 0 ? 4 : count);
    if (info == nullptr) {
        return 0;
    }
    edit_image_ = info;
    Redraw();
    return 1;
}

// ---- rows ----

int DListBox::AddString(const std::string& text, int image) {
    return InsertString(-1, text, image, 0);
}

int DListBox::AddString(const std::string& text, std::int32_t data, int image) {
    return InsertString(-1, text, image, data);
}

int DListBox::InsertString(int index, const std::string& text, int image, std::int32_t data) {
    int at = -1;
    {
        std::lock_guard lock(lock_);
        const int n = CountLocked();
        if (index == -1 || n == 0) {
            at = n;
        } else if (index >= 0 && index < n) {
            at = index;
        } else {
            return -1;
        }
        items_.insert(items_.begin() + at, ListItem{text, image, data, {}});
        RowInserted(at);
        if (selected_ >= at) {
            ++selected_;
        }
        hover_ = -1;
    }
    UpdateBar();
    ScrollToEnd();
    Redraw();
    return at;
}

int DListBox::SetItemData(int index, std::int32_t data) {
    std::lock_guard lock(lock_);
    if (index < 0 || index >= CountLocked()) {
        return 0;
    }
    items_[static_cast<std::size_t>(index)].data = data;
    return 1;
}

std::int32_t DListBox::GetItemData(int index) const {
    std::lock_guard lock(lock_);
    if (index < 0 || index >= CountLocked()) {
        return 0;
    }
    return items_[static_cast<std::size_t>(index)].data;
}

int DListBox::ModifyItemString(int index, const std::string& text) {
    std::lock_guard lock(lock_);
    if (index < 0 || index >= CountLocked()) {
        return 0;
    }
    items_[static_cast<std::size_t>(index)].text = text;
    return 1;
}

int DListBox::FindString(const std::string& text) const {
    std::lock_guard lock(lock_);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].text == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int DListBox::FindItemData(std::int32_t data) const {
    std::lock_guard lock(lock_);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].data == data) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int DListBox::SetCurData(std::int32_t data) {
    const int row = FindItemData(data);
    if (row >= 0) {
        SetCurSel(row);
    }
    return row;
}

std::int32_t DListBox::GetCurData() const {
    return GetItemData(selected_);
}

std::string DListBox::GetItemText(int index) const {
    std::lock_guard lock(lock_);
    if (index < 0 || index >= CountLocked()) {
        return {};
    }
    return items_[static_cast<std::size_t>(index)].text;
}

std::vector<ListItem> DListBox::GetItems() const {
    std::lock_guard lock(lock_);
    return items_;
}

void DListBox::EraseLocked(int index) {
    items_.erase(items_.begin() + index);
}

void DListBox::SwapLocked(int i, int j) {
    std::swap(items_[static_cast<std::size_t>(i)], items_[static_cast<std::size_t>(j)]);
}

// ---- drawing ----

void DListBox::DrawRowLocked(cairo_t* cr, int index, int viewWidth) {
    const ListItem& item = items_[static_cast<std::size_t>(index)];
    const CRect row = item.rect;
    const int ih = row.Height();
    const bool hovered = index == hover_;
    const bool selected = index == selected_;
    const bool edited = edit_enabled_ && index == edit_item_;
    if (!edited) {
        if (hovered) {
            MRender::FillSolidRect(cr, CRect(1, row.top, viewWidth, row.bottom), hover_colour_);
        } else if (selected) {
            MRender::FillSolidRect(cr, CRect(1, row.top, viewWidth, row.bottom), selected_colour_);
        }
    }
    if (const Image* strip = GetImage(); strip != nullptr && frame_width_ > 0) {
        const int cell = selected ? 1 : 0;
        const int x = (icon_column_ - frame_width_) / 2;
        const int y = row.top + (ih - frame_height_) / 2;
        MRender::DrawImage(cr, strip, CRect(x, y, x + frame_width_, y + frame_height_),
                           CRect(cell * frame_width_, 0, (cell + 1) * frame_width_, frame_height_));
    }
    if (edited) {
        if (edit_image_ != nullptr && edit_image_->image) {
            const int cw = edit_image_->frameWidth;
            MRender::DrawImageFrame(cr, edit_image_->image.get(),
                                    CRect(icon_column_ - 3, row.top, row.right - 6, row.bottom), cw,
                                    0, cw, edit_image_->frameHeight, kEditCorner);
        }
        return;
    }
    TextFormat format;
    format.valign = 4;
    MRender::DrawText(cr, item.text, GetFontChoice(),
                      CRect(icon_column_, row.top, viewWidth, row.bottom),
                      hovered || selected ? row_text_colour_ : text_color_, format);
}

// ---- mouse ----

int DListBox::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    if (InList(pt) && hover_ >= 0) {
        selected_ = hover_;
        Notify(CN_PRESSED, selected_, 0);
        HideEdit(0);
    }
    Redraw();
    return 1;
}

int DListBox::OnControlLButtonUp(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    if (InList(pt) && hover_ >= 0) {
        selected_ = hover_;
        Notify(CN_CLICKED, selected_, 0);
    }
    return 1;
}

int DListBox::OnControlRButtonUp(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const int before = selected_;
    selected_ = hover_;
    if (InList(pt)) {
        Notify(CN_RCLICK, selected_, 0);
    }
    if (selected_ != before) {
        Redraw();
    }
    return 1;
}

// ---- editing ----

std::string DListBox::EditTextLocked(int index) const {
    return items_[static_cast<std::size_t>(index)].text;
}

bool DListBox::CommitEditLocked(int index, const std::string& text) {
    ListItem& item = items_[static_cast<std::size_t>(index)];
    if (text == item.text) {
        return false;
    }
    item.text = text;
    return true;
}

ListEditorStyle DListBox::EditorStyle() const {
    ListEditorStyle s;
    s.background = kEditBackground;
    s.text = ArgbToColorRef(text_color_);
    s.limit = kEditLimit;
    s.fontName = font_name_;
    s.fontSize = font_size_;
    s.fontStyle = font_style_;
    return s;
}

CRect DListBox::EditorRect(const CRect& row) const {
    const int f = font_size_;
    const int h = row.Height();
    CRect r(row.left + icon_column_, row.top, row.right - 10, row.bottom);
    int top = r.top;
    int height = 0;
    switch (f) {
    case 8:
        top += (h - f - 4) / 2;
        height = f + 4;
        break;
    case 14:
        top += (h - f - 6) / 2 - 1;
        height = f + 6;
        break;
    case 16:
        top += (h - f - 8) / 2 - 1;
        height = f + 8;
        break;
    default:
        top += (h - f - 6) / 2;
        height = f + 6;
        break;
    }
    r.top = top;
    r.bottom = top + height;
    return r;
}

} // namespace Tessel
