#include "tessel/controls/keyboard/KeyboardCtrl.h"

#include "tessel/Manager.h"
#include "tessel/PaintManager.h"
#include "tessel/controls/SkinFile.h"

#include <algorithm>

namespace Tessel {
namespace {

constexpr Color kLabelColour = 0xFFFFFFFF;
constexpr Color kLabelShadow = 0xFF505050;
constexpr Color kSelectOutline = 0xFFFFFFFF;
constexpr Color kFrameColour = 0xFF4CFF29;

void DrawLabel(cairo_t* cr, const std::string& text, const FontChoice& font, CRect rect) {
    TextFormat centred;
    centred.align = 1;
    centred.valign = 4;
    CRect shadow = rect;
    shadow.OffsetRect(1, 1);
    MRender::DrawText(cr, text, font, shadow, kLabelShadow, centred);
    MRender::DrawText(cr, text, font, rect, kLabelColour, centred);
}

} // namespace

KeyboardCtrl::KeyboardCtrl(MObject* parent, UINT id, CRect rect, int visible)
    : MPanel(parent, id, rect, visible), paint_rect_(rect) {}

KeyboardCtrl::~KeyboardCtrl() {
    if (own_tips_) {
        own_tips_->Hide();
    }
}

void KeyboardCtrl::InitControl(PaintManager* manager) {
    MPanel::InitControl(manager);
    SetRunTimer(1);
    UpdateAnimation();
}

void KeyboardCtrl::UpdateAnimation() {
    if (manager_ == nullptr) {
        return;
    }
    bool animates = false;
    {
        std::lock_guard lock(lock_);
        animates = mode_.load() == KBMODE_PREVIEW && frames_ > 0;
    }
    if (animates) {
        manager_->AddMTimer(this);
    } else {
        manager_->DeleteFSTimer(this);
    }
}

void KeyboardCtrl::SetControlRect(CRect rect) {
    MPanel::SetControlRect(rect);
    std::lock_guard lock(lock_);
    paint_rect_ = rect;
}

// ---- keys ----

int KeyboardCtrl::AddKeyItem(const std::string& label, const std::string& name,
                             std::uint32_t keyValue, CRect rect, const std::string& iconFile) {
    KEY_INFO key;
    key.keyValue = keyValue;
    key.label = label;
    key.name = name;
    key.rect = rect;
    if (!iconFile.empty()) {
        if ((key.icon = LoadSkinImage(iconFile))) {
            key.iconWidth = key.icon->Width();
            key.iconHeight = key.icon->Height();
        }
    }
    std::lock_guard lock(lock_);
    key.index = static_cast<int>(keys_.size());
    keys_.push_back(std::move(key));
    ++key_count_;
    return static_cast<int>(keys_.size()) - 1;
}

void KeyboardCtrl::ClearItem() {
    {
        std::lock_guard lock(lock_);
        keys_.clear();
        key_count_ = 0;
        frames_ = 0;
        frame_index_ = 0;
    }
    hover_ = -1;
    select_ = -1;
    HideTip();
    UpdateAnimation();
    Redraw();
}

std::vector<KEY_INFO> KeyboardCtrl::GetKeyItems() const {
    std::lock_guard lock(lock_);
    return keys_;
}

int KeyboardCtrl::GetKeyCount() const {
    std::lock_guard lock(lock_);
    return static_cast<int>(keys_.size());
}

KEY_INFO* KeyboardCtrl::FindKeyLocked(std::uint32_t keyValue) {
    for (KEY_INFO& k : keys_) {
        if (k.keyValue == keyValue) {
            return &k;
        }
    }
    return nullptr;
}

const KEY_INFO* KeyboardCtrl::FindKeyLocked(std::uint32_t keyValue) const {
    return const_cast<KeyboardCtrl*>(this)->FindKeyLocked(keyValue);
}

// ---- picture and geometry ----

bool KeyboardCtrl::SetKeyboardImage(const std::string& fileName) {
    ImagePtr picture = LoadSkinImage(fileName);
    const bool loaded = picture != nullptr;
    {
        std::lock_guard lock(lock_);
        picture_ = std::move(picture);
    }
    Redraw();
    return loaded;
}

bool KeyboardCtrl::HasKeyboardImage() const {
    std::lock_guard lock(lock_);
    return picture_ != nullptr;
}

void KeyboardCtrl::SetWidthAndHeight(int width, int height) {
    picture_width_ = width;
    picture_height_ = height;
    if (!rect_.IsRectNull()) {
        scale_ = 1.0;
        y_offset_ = 0;
        x_offset_ = (rect_.Width() - width) / 2;
    }
    Redraw();
}

CRect KeyboardCtrl::KeyWindowRect(const CRect& keyRect) const {
    CRect r = keyRect;
    r.OffsetRect(x_offset_ + rect_.left, y_offset_ + rect_.top);
    return r;
}

// ---- modes and marks ----

void KeyboardCtrl::SetKeyboardCtrlMode(int mode) {
    mode_ = mode;
    UpdateAnimation();
    Redraw();
}

void KeyboardCtrl::SetKeyCheck(std::uint32_t keyValue, int check) {
    std::lock_guard lock(lock_);
    if (KEY_INFO* k = FindKeyLocked(keyValue)) {
        k->check = check;
    }
}

void KeyboardCtrl::ResetAllItemCheck() {
    ResetAllItemCheck(0);
}

void KeyboardCtrl::ResetAllItemCheck(int check) {
    {
        std::lock_guard lock(lock_);
        for (KEY_INFO& k : keys_) {
            k.check = check;
        }
    }
    select_ = -1;
    Redraw();
}

int KeyboardCtrl::GetCheckItemCount() const {
    std::lock_guard lock(lock_);
    return static_cast<int>(
        std::count_if(keys_.begin(), keys_.end(), [](const KEY_INFO& k) { return k.check != 0; }));
}

// ---- colours ----

void KeyboardCtrl::SetKeyColor(std::uint32_t keyValue, COLORREF colour) {
    std::lock_guard lock(lock_);
    if (KEY_INFO* k = FindKeyLocked(keyValue)) {
        k->color = colour;
    }
}

COLORREF KeyboardCtrl::GetKeyColor(std::uint32_t keyValue) const {
    std::lock_guard lock(lock_);
    const KEY_INFO* k = FindKeyLocked(keyValue);
    return k != nullptr ? k->color : 0;
}

void KeyboardCtrl::ResetAllItemsColor(COLORREF colour) {
    {
        std::lock_guard lock(lock_);
        for (KEY_INFO& k : keys_) {
            k.color = colour;
        }
    }
    Redraw();
}

void KeyboardCtrl::SetAllSelectColor(COLORREF colour) {
    {
        std::lock_guard lock(lock_);
        for (KEY_INFO& k : keys_) {
            if (k.check != 0 || k.index == select_) {
                k.color = colour;
            }
        }
    }
    Redraw();
}

void KeyboardCtrl::SetLightModeColor(int white, COLORREF colour) {
    ResetAllItemsColor(white != 0 ? 0xFFFFFF : colour);
}

void KeyboardCtrl::SetMusicBrightness(int brightness) {
    if (brightness == music_brightness_) {
        return;
    }
    music_brightness_ = brightness;
    ResetAllItemsColor(0xFFFF00);
}

// ---- preview ----

void KeyboardCtrl::SetLightModeData(const std::uint8_t* data, int length) {
    {
        std::lock_guard lock(lock_);
        if (data != nullptr && length > 0) {
            preview_.assign(data, data + length);
        } else {
            preview_.clear();
        }
        frame_index_ = 0;
        frames_ = length > 0 && !keys_.empty() ? length / static_cast<int>(keys_.size()) : 0;
    }
    tick_counter_ = 0;
    UpdateAnimation();
    Redraw();
}

void KeyboardCtrl::SetLightSpeed(int speed) {
    step_ = speed >= 0 && speed <= 4 ? 5 - speed : 1;
}

int KeyboardCtrl::GetPreviewFrame() const {
    std::lock_guard lock(lock_);
    return frame_index_;
}

int KeyboardCtrl::GetPreviewFrames() const {
    std::lock_guard lock(lock_);
    return frames_;
}

int KeyboardCtrl::OnControlTimer() {
    if (mode_.load() != KBMODE_PREVIEW) {
        return 0;
    }
    {
        std::lock_guard lock(lock_);
        if (frames_ <= 0) {
            return 0;
        }
        if (++tick_counter_ < step_) {
            return 0;
        }
        tick_counter_ = 0;
        frame_index_ = (frame_index_ + 1) % frames_;
    }
    Redraw();
    return 1;
}

// ---- texts ----

void KeyboardCtrl::SetKeyDesc(std::uint32_t keyValue, const std::string& text) {
    {
        std::lock_guard lock(lock_);
        if (KEY_INFO* k = FindKeyLocked(keyValue)) {
            k->label = text;
            k->name = text;
        }
    }
    Redraw();
}

void KeyboardCtrl::SetTipKey(std::uint32_t keyValue, const std::string& title,
                             const std::string& text) {
    std::lock_guard lock(lock_);
    if (KEY_INFO* k = FindKeyLocked(keyValue)) {
        k->tipTitle = title;
        k->tipText = text;
    }
}

void KeyboardCtrl::ResetTipKey() {
    std::lock_guard lock(lock_);
    for (KEY_INFO& k : keys_) {
        k.tipTitle.clear();
        k.tipText.clear();
    }
}

// ---- drawing ----

void KeyboardCtrl::Redraw() {
    stale_ = true;
    if (Manager::IsUiThread()) {
        UpdateControl(0);
        return;
    }
    if (manager_ != nullptr) {
        CRect r;
        {
            std::lock_guard lock(lock_);
            r = paint_rect_;
        }
        manager_->InvalidateRect(r, 0);
    }
}

void KeyboardCtrl::DrawControl(HDC& dc, CRect) {
    const int w = rect_.Width();
    const int h = rect_.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    if (stale_.exchange(false) || !update_ || Strip().Width() != w || Strip().Height() != h) {
        UpdateMemDC(dc, w, h);
        CopyBackgroundToCell(dc, 0);
        Paint(Strip().Context(), mode_.load());
    }
    DrawStripCell(dc, 0);
    if (mode_.load() == KBMODE_SELECT && frame_active_) {
        DrawFrame(dc);
    }
}

void KeyboardCtrl::Paint(cairo_t* cr, int mode) {
    if (mode == KBMODE_KEYMAP) {
        DrawKeyMap(cr);
    } else if (mode >= KBMODE_SELECT && mode <= KBMODE_LIVE) {
        DrawOutlines(cr, mode);
    }
}

void KeyboardCtrl::DrawKeyMap(cairo_t* cr) {
    const FontChoice font{font_name_, std::max(1, static_cast<int>(10 * scale_)), 0};
    std::lock_guard lock(lock_);
    for (const KEY_INFO& k : keys_) {
        CRect r = k.rect;
        r.OffsetRect(x_offset_, y_offset_);
        CRect inner = r;
        inner.DeflateRect(1, 1);
        MRender::FillSolidRect(cr, inner, 0xFF000000);
        const Image* icon = k.icon.get();
        if (icon != nullptr && !k.label.empty()) {
            DrawLabel(cr, k.label, font, CRect(r.left, r.top + 1, r.right, r.bottom - 20));
            MRender::DrawImage(cr, icon, r.left + (r.Width() - k.iconWidth) / 2, r.bottom - 20);
        } else if (icon != nullptr) {
            MRender::DrawImage(cr, icon, r.left + (r.Width() - k.iconWidth) / 2,
                               r.top + (r.Height() - k.iconHeight) / 2);
        } else {
            DrawLabel(cr, k.label, font, r);
        }
    }
}

void KeyboardCtrl::DrawOutlines(cairo_t* cr, int mode) {
    std::lock_guard lock(lock_);
    if (!picture_) {
        return;
    }
    const int pw = picture_width_ > 0 ? picture_width_ : picture_->Width();
    const int ph = picture_height_ > 0 ? picture_height_ : picture_->Height();
    MRender::DrawImage(cr, picture_.get(),
                       CRect(x_offset_, y_offset_, x_offset_ + pw, y_offset_ + ph),
                       CRect(0, 0, picture_->Width(), picture_->Height()));
    const int count = static_cast<int>(keys_.size());
    for (const KEY_INFO& k : keys_) {
        Color pen = 0;
        switch (mode) {
        case KBMODE_SELECT:
            if (k.check == 0 && k.index != hover_ && k.index != select_) {
                continue;
            }
            pen = kSelectOutline;
            break;
        case KBMODE_PREVIEW: {
            unsigned alpha = 255;
            const std::size_t at =
                static_cast<std::size_t>(count) * static_cast<std::size_t>(frame_index_) +
                static_cast<std::size_t>(k.index);
            if (frames_ > 0 && at < preview_.size()) {
                alpha = preview_[at];
            }
            pen = MakeArgb(alpha, 0x00, 0xFF, 0xFF);
            break;
        }
        default:
            pen = ColorRefToArgb(k.color);
            break;
        }
        if ((pen >> 24) == 0) {
            continue;
        }
        MRender::DrawRoundRectange(cr, k.rect.left + x_offset_, k.rect.top + y_offset_,
                                   k.rect.Width(), k.rect.Height(), 12, pen, 2, false, 0);
    }
}

void KeyboardCtrl::DrawFrame(HDC& dc) const {
    const CRect r(std::min(frame_start_.x, frame_end_.x), std::min(frame_start_.y, frame_end_.y),
                  std::max(frame_start_.x, frame_end_.x), std::max(frame_start_.y, frame_end_.y));
    if (r.IsRectEmpty()) {
        return;
    }
    cairo_save(dc);
    MRender::SetSource(dc, kFrameColour);
    const double dash[] = {2.0, 2.0};
    cairo_set_dash(dc, dash, 2, 0);
    cairo_set_line_width(dc, 2);
    cairo_rectangle(dc, r.left + 1, r.top + 1, r.Width() - 2, r.Height() - 2);
    cairo_stroke(dc);
    cairo_restore(dc);
}

} // namespace Tessel
