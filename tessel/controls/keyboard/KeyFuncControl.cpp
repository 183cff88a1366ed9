#include "tessel/controls/keyboard/KeyFuncControl.h"

#include "tessel/PaintManager.h"
#include "tessel/controls/SkinFile.h"

namespace Tessel {
namespace {

// Codes above this are the keyboard's multimedia functions; only they show
// their description as a tooltip.
constexpr int kLastKeyUsage = 231;
// Items up to this width stretch their background cell; wider ones use it
// as a nine-grid.
constexpr int kStretchWidth = 60;
constexpr int kFrameCorner = 8;
constexpr int kIconSize = 20;

struct Row {
    int top;
    int bottom;
};

struct ItemDef {
    const char* label;
    int code;
    int left;
    int right;
    int bottom; // 0: the row's
    const char* icon;
};

struct RowDef {
    Row row;
    std::vector<ItemDef> items;
};

const std::vector<RowDef>& Table() {
    static const std::vector<RowDef> table = {
        {{0, 28},
         {{"", 249, 0, 43, 0, "icon//icon_pc.png"},
          {"", 242, 50, 93, 0, "icon//icon_cal.png"},
          {"", 240, 100, 143, 0, "icon//icon_email.png"},
          {"", 238, 150, 193, 0, "icon//icon_playpause.png"},
          {"", 237, 200, 243, 0, "icon//icon_pre.png"},
          {"", 239, 250, 293, 0, "icon//icon_next.png"},
          {"", 233, 300, 343, 0, "icon//icon_vol_down.png"},
          {"", 234, 350, 393, 0, "icon//icon_vol_up.png"},
          {"", 235, 400, 443, 0, "icon//icon_vol_mute.png"},
          {"", 241, 450, 493, 0, "icon//icon_home.png"},
          {"", 247, 500, 543, 0, "icon//icon_web_search.png"}}},
        {{38, 66},
         {{"Esc", 41, 0, 36, 0, nullptr},
          {"F1", 58, 78, 114, 0, nullptr},
          {"F2", 59, 117, 153, 0, nullptr},
          {"F3", 60, 156, 192, 0, nullptr},
          {"F4", 61, 195, 231, 0, nullptr},
          {"F5", 62, 260, 296, 0, nullptr},
          {"F6", 63, 299, 335, 0, nullptr},
          {"F7", 64, 338, 374, 0, nullptr},
          {"F8", 65, 377, 413, 0, nullptr},
          {"F9", 66, 442, 478, 0, nullptr},
          {"F10", 67, 481, 517, 0, nullptr},
          {"F11", 68, 520, 556, 0, nullptr},
          {"F12", 69, 559, 595, 0, nullptr},
          {"Print", 70, 616, 652, 0, nullptr},
          {"Scroll Lock", 71, 655, 691, 0, nullptr},
          {"Pause", 72, 694, 730, 0, nullptr}}},
        {{76, 104}, {{"~", 53, 0, 36, 0, nullptr},       {"1", 30, 39, 75, 0, nullptr},
                     {"2", 31, 78, 114, 0, nullptr},     {"3", 32, 117, 153, 0, nullptr},
                     {"4", 33, 156, 192, 0, nullptr},    {"5", 34, 195, 231, 0, nullptr},
                     {"6", 35, 234, 270, 0, nullptr},    {"7", 36, 273, 309, 0, nullptr},
                     {"8", 37, 312, 348, 0, nullptr},    {"9", 38, 351, 387, 0, nullptr},
                     {"0", 39, 390, 426, 0, nullptr},    {"-", 45, 429, 465, 0, nullptr},
                     {"=", 46, 468, 504, 0, nullptr},    {"Back", 42, 507, 595, 0, nullptr},
                     {"Ins", 73, 616, 652, 0, nullptr},  {"Home", 74, 655, 691, 0, nullptr},
                     {"PgUp", 75, 694, 730, 0, nullptr}, {"NumLock", 83, 750, 786, 0, nullptr},
                     {"/", 84, 789, 825, 0, nullptr},    {"*", 85, 828, 864, 0, nullptr},
                     {"-", 86, 867, 903, 0, nullptr}}},
        {{109, 137}, {{"Tab", 43, 0, 75, 0, nullptr},     {"Q", 20, 78, 114, 0, nullptr},
                      {"W", 26, 117, 153, 0, nullptr},    {"E", 8, 156, 192, 0, nullptr},
                      {"R", 21, 195, 231, 0, nullptr},    {"T", 23, 234, 270, 0, nullptr},
                      {"Y", 28, 273, 309, 0, nullptr},    {"U", 24, 312, 348, 0, nullptr},
                      {"I", 12, 351, 387, 0, nullptr},    {"O", 18, 390, 426, 0, nullptr},
                      {"P", 19, 429, 465, 0, nullptr},    {"[", 47, 468, 503, 0, nullptr},
                      {"]", 48, 507, 542, 0, nullptr},    {"\\", 49, 546, 595, 0, nullptr},
                      {"Del", 76, 616, 652, 0, nullptr},  {"End", 77, 655, 691, 0, nullptr},
                      {"PgDn", 78, 694, 730, 0, nullptr}, {"7", 95, 750, 786, 0, nullptr},
                      {"8", 96, 789, 825, 0, nullptr},    {"9", 97, 828, 864, 0, nullptr},
                      {"+", 87, 867, 903, 170, nullptr}}},
        {{142, 170},
         {{"Caps", 57, 0, 85, 0, nullptr},
          {"A", 4, 88, 124, 0, nullptr},
          {"S", 22, 127, 163, 0, nullptr},
          {"D", 7, 166, 202, 0, nullptr},
          {"F", 9, 205, 241, 0, nullptr},
          {"G", 10, 244, 280, 0, nullptr},
          {"H", 11, 283, 319, 0, nullptr},
          {"J", 13, 322, 358, 0, nullptr},
          {"K", 14, 361, 397, 0, nullptr},
          {"L", 15, 400, 436, 0, nullptr},
          {";", 51, 439, 475, 0, nullptr},
          {"'", 52, 478, 514, 0, nullptr},
          {"Enter", 40, 517, 595, 0, nullptr},
          {"4", 92, 750, 786, 0, nullptr},
          {"5", 93, 789, 825, 0, nullptr},
          {"6", 94, 828, 864, 0, nullptr}}},
        {{175, 203},
         {{"Shift", 225, 0, 101, 0, nullptr},
          {"Z", 29, 104, 140, 0, nullptr},
          {"X", 27, 143, 179, 0, nullptr},
          {"C", 6, 182, 218, 0, nullptr},
          {"V", 25, 221, 257, 0, nullptr},
          {"B", 5, 260, 296, 0, nullptr},
          {"N", 17, 299, 335, 0, nullptr},
          {"M", 16, 338, 374, 0, nullptr},
          {",<", 54, 377, 413, 0, nullptr},
          {".>", 55, 416, 452, 0, nullptr},
          {"/?", 56, 455, 491, 0, nullptr},
          {"Shift", 229, 494, 595, 0, nullptr},
          {"Up", 82, 655, 691, 0, nullptr},
          {"1", 89, 750, 786, 0, nullptr},
          {"2", 90, 789, 825, 0, nullptr},
          {"3", 91, 828, 864, 0, nullptr},
          {"Enter", 88, 867, 903, 236, nullptr}}},
        {{208, 236},
         {{"Ctrl", 224, 0, 50, 0, nullptr},
          {"Win", 227, 53, 103, 0, nullptr},
          {"Alt", 226, 106, 156, 0, nullptr},
          {"Space", 44, 159, 383, 0, nullptr},
          {"Alt", 230, 386, 436, 0, nullptr},
          {"App", 101, 439, 489, 0, nullptr},
          {"Ctrl", 228, 492, 542, 0, nullptr},
          {"Left", 80, 616, 652, 0, nullptr},
          {"Down", 81, 655, 691, 0, nullptr},
          {"Right", 79, 694, 730, 0, nullptr},
          {"0", 98, 750, 786, 0, nullptr},
          {".", 99, 789, 864, 0, nullptr}}},
    };
    return table;
}

} // namespace

KeyFuncControl::KeyFuncControl(MObject* parent, UINT id, CRect rect, int visible)
    : MPanel(parent, id, rect, visible) {}

void KeyFuncControl::InitControl(PaintManager* manager) {
    MPanel::InitControl(manager);
    SetControlRect(rect_);
}

void KeyFuncControl::SetControlRect(CRect rect) {
    MPanel::SetControlRect(rect);
}

// ---- items ----

void KeyFuncControl::AddKeyItem(const char* label, int code, CRect rect, const char* icon) {
    KeyFuncItem item;
    item.label = label;
    item.code = code;
    item.rect = rect;
    if (icon != nullptr) {
        item.icon = LoadSkinImage(icon);
    }
    std::lock_guard lock(lock_);
    items_.push_back(std::move(item));
}

void KeyFuncControl::InitItemInfo() {
    ClearItems();
    for (const RowDef& row : Table()) {
        for (const ItemDef& d : row.items) {
            AddKeyItem(
                d.label, d.code,
                CRect(d.left, row.row.top, d.right, d.bottom != 0 ? d.bottom : row.row.bottom),
                d.icon);
        }
    }
    UpdateControl(1);
}

void KeyFuncControl::ClearItems() {
    std::lock_guard lock(lock_);
    items_.clear();
    hover_ = -1;
    selected_ = -1;
    marked_ = -1;
    tooltip_ = -1;
}

void KeyFuncControl::SetItemDesc(int code, const std::string& text) {
    std::lock_guard lock(lock_);
    for (KeyFuncItem& item : items_) {
        if (item.code == code) {
            item.label = text;
            return;
        }
    }
}

void KeyFuncControl::SetItemCheckByItemData(int code, int value2, int value3) {
    {
        std::lock_guard lock(lock_);
        selected_ = -1;
        marked_ = -1;
        if (code != 0) {
            for (std::size_t i = 0; i < items_.size(); ++i) {
                const KeyFuncItem& item = items_[i];
                if (item.code == code && item.value2 == value2 && item.value3 == value3) {
                    marked_ = static_cast<int>(i);
                    break;
                }
            }
        }
    }
    UpdateControl(1);
}

bool KeyFuncControl::GetCurItemData(int&, int& code, int& value2, int& value3,
                                    std::string& label) const {
    std::lock_guard lock(lock_);
    if (selected_ < 0 || selected_ >= static_cast<int>(items_.size())) {
        return false;
    }
    const KeyFuncItem& item = items_[static_cast<std::size_t>(selected_)];
    code = item.code;
    value2 = item.value2;
    value3 = item.value3;
    label = item.label;
    return true;
}

std::vector<KeyFuncItem> KeyFuncControl::GetItems() const {
    std::lock_guard lock(lock_);
    return items_;
}

int KeyFuncControl::GetItemCount() const {
    std::lock_guard lock(lock_);
    return static_cast<int>(items_.size());
}

int KeyFuncControl::ItemState(int index) const {
    if (index < 0) {
        return 0;
    }
    if (index == marked_ || index == selected_) {
        return 2;
    }
    return index == hover_ ? 1 : 0;
}

// ---- hit testing and mouse ----

CRect KeyFuncControl::ItemWindowRect(const KeyFuncItem& item) const {
    CRect r = item.rect;
    r.OffsetRect(rect_.left, rect_.top - GetScrollOffsetY());
    return r;
}

int KeyFuncControl::HitTestLocked(CPoint pt) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (ItemWindowRect(items_[i]).PtInRect(pt)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int KeyFuncControl::HitTest(CPoint pt) const {
    std::lock_guard lock(lock_);
    return HitTestLocked(pt);
}

void KeyFuncControl::ClearOwnTooltip() {
    if (manager_ != nullptr && manager_->GetTooltipOwner() == this) {
        ClearTooltip();
    }
}

int KeyFuncControl::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    using kovrin::platform::CursorKind;
    const int before = hover_;
    const bool inside = rect_.PtInRect(pt);
    if (!inside) {
        ClearOwnTooltip();
        hover_ = -1;
        tooltip_ = -1;
    } else {
        bool still = false;
        std::string tip;
        CRect tip_rect;
        {
            std::lock_guard lock(lock_);
            still = hover_ >= 0 && hover_ < static_cast<int>(items_.size()) &&
                    ItemWindowRect(items_[static_cast<std::size_t>(hover_)]).PtInRect(pt);
            if (still) {
                const KeyFuncItem& item = items_[static_cast<std::size_t>(hover_)];
                if (item.code > kLastKeyUsage && !item.label.empty() && hover_ != tooltip_) {
                    tooltip_ = hover_;
                    tip = item.label;
                    tip_rect = ItemWindowRect(item);
                }
            }
        }
        if (still) {
            if (manager_ != nullptr) {
                manager_->SetCursor(CursorKind::Hand);
            }
            if (!tip.empty()) {
                SetTooltip(tip, tip_rect);
            }
        } else {
            if (hover_ >= 0) {
                hover_ = -1;
                tooltip_ = -1;
                ClearOwnTooltip();
            }
            std::lock_guard lock(lock_);
            hover_ = HitTestLocked(pt);
        }
    }
    if (hover_ != before) {
        UpdateControl(1);
    }
    return inside ? 1 : 0;
}

int KeyFuncControl::OnControlLButtonDown(UINT, CPoint) {
    return 0;
}

int KeyFuncControl::OnControlLButtonUp(UINT, CPoint pt) {
    if (!enabled_ || !rect_.PtInRect(pt)) {
        return 0;
    }
    {
        std::lock_guard lock(lock_);
        // The item under the release; the hover index may still be -1 when
        // no move preceded the click.
        const int hit = HitTestLocked(pt);
        hover_ = hit;
        selected_ = hit;
    }
    SendMessageW(CN_CLICKED, static_cast<WPARAM>(static_cast<std::uint32_t>(selected_)), 0);
    UpdateControl(1);
    return 1;
}

int KeyFuncControl::OnControlScroll(int, UINT, CPoint) {
    return 0;
}

LRESULT KeyFuncControl::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
    return parent_ != nullptr ? parent_->OnBaseMessage(id, code, wParam, lParam) : 0;
}

// ---- drawing ----

void KeyFuncControl::DrawControl(HDC& dc, CRect) {
    const int w = rect_.Width();
    const int h = rect_.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    if (!update_ || Strip().Width() != w || Strip().Height() != h) {
        UpdateMemDC(dc, w, h);
        CopyBackgroundToCell(dc, 0);
        cairo_t* cr = Strip().Context();
        const FontChoice font = GetFontChoice();
        TextFormat centred;
        centred.align = 1;
        centred.valign = 4;
        const Image* strip = GetImage();
        const int dy = -GetScrollOffsetY();
        std::lock_guard lock(lock_);
        for (std::size_t i = 0; i < items_.size(); ++i) {
            const KeyFuncItem& item = items_[i];
            CRect r = item.rect;
            r.OffsetRect(0, dy);
            const int state = ItemState(static_cast<int>(i));
            if (strip != nullptr && frame_width_ > 0) {
                if (r.Width() <= kStretchWidth) {
                    MRender::DrawImage(
                        cr, strip, r,
                        CRect(state * frame_width_, 0, (state + 1) * frame_width_, frame_height_));
                } else {
                    MRender::DrawImageFrame(cr, strip, r, state * frame_width_, 0, frame_width_,
                                            frame_height_, kFrameCorner);
                }
            }
            if (item.icon) {
                MRender::DrawImage(cr, item.icon.get(),
                                   CRect(r.left + (r.Width() - kIconSize) / 2,
                                         r.top + (r.Height() - kIconSize) / 2,
                                         r.left + (r.Width() - kIconSize) / 2 + kIconSize,
                                         r.top + (r.Height() - kIconSize) / 2 + kIconSize),
                                   CRect(0, 0, item.icon->Width(), item.icon->Height()));
            } else {
                MRender::DrawText(cr, item.label, font, r, text_color_, centred);
            }
        }
    }
    DrawStripCell(dc, 0);
}

} // namespace Tessel
