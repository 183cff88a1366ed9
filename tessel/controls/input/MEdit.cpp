#include "tessel/controls/input/MEdit.h"

#include "platform/window/WindowSystem.h"
#include "tessel/Manager.h"
#include "tessel/PaintManager.h"

#include <algorithm>

namespace Tessel {
namespace {

bool KeyHeld(unsigned vk) {
    return Manager::System() != nullptr && Manager::System()->IsKeyDown(vk);
}

} // namespace

MEdit::MEdit(MObject* parent, UINT id, CRect rect, const char* title, int visible, int enabled)
    : MControlFont(parent, id, rect, "", visible, enabled, 1), tip_(title != nullptr ? title : "") {
    tab_stop_ = true;
    state_ = enabled != 0 ? 0 : 3;
    ApplyEditorOptions();
}

void MEdit::ApplyEditorOptions() {
    editor_.SetFont(GetDefaultFont());
    editor_.SetLimit(limit_ > 0 ? static_cast<std::size_t>(limit_) : 0);
    editor_.SetDigitsOnly(number_only_);
    editor_.SetPasswordChar(password_ ? password_char_ : 0);
    editor_.SetReadOnly(read_only_);
    editor_.SetAlignment(align_);
    const CRect t = GetTextRect();
    editor_.SetRect(CRect(t.left, rect_.top + 2, t.right, rect_.bottom - 2));
}

CRect MEdit::IconRect() const {
    if (icon_ == nullptr || !icon_->image) {
        return {};
    }
    const int w = icon_->frameWidth;
    const int h = icon_->frameHeight;
    const int top = rect_.top + (rect_.Height() - h) / 2;
    return CRect(rect_.right - w - 4, top, rect_.right - 4, top + h);
}

CRect MEdit::GetTextRect() const {
    if (!text_rect_.IsRectEmpty()) {
        CRect r = text_rect_;
        r.OffsetRect(rect_.left, rect_.top);
        return r;
    }
    CRect r;
    if (multi_line_) {
        r = CRect(rect_.left + 6, rect_.top + 5, rect_.right - 6, rect_.bottom - 5);
    } else {
        const int size = GetDefaultFont().size;
        const int h = size == 10 ? 14 : size == 12 ? 18 : size;
        const int top = rect_.top + (rect_.Height() - h) / 2;
        r = CRect(rect_.left + 8, top, rect_.right - 8, top + h);
    }
    if (icon_ != nullptr && icon_->image) {
        r.right -= icon_->frameWidth + 6;
    }
    return r;
}

void MEdit::SetControlRect(CRect rect) {
    MControlFont::SetControlRect(rect);
    ApplyEditorOptions();
    if (editing_) {
        SyncCaret();
    }
}

void MEdit::SetTextRect(CRect rect) {
    text_rect_ = rect;
    ApplyEditorOptions();
    UpdateControl(1);
}

bool MEdit::SetIconImage(const char* fileName, int count) {
    if (manager_ == nullptr || fileName == nullptr || *fileName == '\0') {
        return false;
    }
    ImgResInfo* info = manager_->AddImgResInfo(fileName, count);
    if (info == nullptr) {
        return false;
    }
    icon_ = info;
    icon_count_ = std::max(1, count);
    ApplyEditorOptions();
    UpdateControl(1);
    return true;
}

void MEdit::SetEditFont() {
    SetEditFont(font_name_, font_size_, (font_style_ & FontStyleBold) != 0,
                (font_style_ & FontStyleUnderline) != 0, (font_style_ & FontStyleItalic) != 0);
}

void MEdit::SetEditFont(const std::string& face, int size, bool bold, bool underline, bool italic) {
    edit_font_ = {face, size,
                  (bold ? FontStyleBold : 0) | (underline ? FontStyleUnderline : 0) |
                      (italic ? FontStyleItalic : 0)};
    own_font_ = true;
    ApplyEditorOptions();
    UpdateControl(1);
}

COLORREF MEdit::GetEditTextColor() const {
    return RGB(text_color_ >> 16 & 0xFF, text_color_ >> 8 & 0xFF, text_color_ & 0xFF);
}

void MEdit::SetEditBKColor(COLORREF colour) {
    edit_back_ = colour;
    UpdateControl(0);
}

void MEdit::SetPassWordChar(std::uint32_t codepoint) {
    password_char_ = codepoint != 0 ? codepoint : '*';
    ApplyEditorOptions();
    UpdateControl(0);
}

void MEdit::EnablePassWord(int on) {
    password_ = on != 0;
    ApplyEditorOptions();
    UpdateControl(0);
}

void MEdit::EnableMultLine(int on) {
    multi_line_ = on != 0;
    ApplyEditorOptions();
    UpdateControl(0);
}

void MEdit::SetReadOnly(int on) {
    read_only_ = on != 0;
    if (read_only_) {
        HideEdit();
    }
    ApplyEditorOptions();
}

void MEdit::SetNumberOnly(int on) {
    number_only_ = on != 0;
    ApplyEditorOptions();
}

void MEdit::SetLimitText(int chars) {
    limit_ = std::max(0, chars);
    ApplyEditorOptions();
}

void MEdit::SetTipInfo(const std::string& tip) {
    tip_ = tip;
    UpdateControl(0);
}

void MEdit::SetEditText(const std::string& text) {
    SetControlTitle(text.c_str());
    if (editing_) {
        editor_.SetText(text);
        SyncCaret();
    }
    UpdateControl(0);
}

std::string MEdit::GetEditText() const {
    return editing_ ? editor_.GetText() : title_;
}

void MEdit::SyncCaret() {
    if (manager_ == nullptr) {
        return;
    }
    const CRect c = editor_.CaretRect();
    manager_->CreateCaret(c.Width(), c.Height());
    manager_->SetCaretPos(this, c.left, c.top);
    manager_->SetCaretColor(text_color_);
    manager_->ShowCaret(true);
    UpdateControl(0);
}

void MEdit::ShowEdit() {
    if (read_only_ || !enabled_ || !visible_) {
        return;
    }
    if (editing_) {
        SyncCaret();
        return;
    }
    editing_ = true;
    ApplyEditorOptions();
    editor_.SetText(title_);
    if (manager_ != nullptr && manager_->GetFocusControl() != this) {
        manager_->SetFocusControl(this);
    }
    focused_ = true;
    SyncCaret();
    SendMessageW(CN_EDITBEGIN, 0, 0);
}

void MEdit::HideEdit() {
    if (!editing_) {
        return;
    }
    editing_ = false;
    selecting_ = false;
    if (manager_ != nullptr && manager_->GetCurrentCaretObject() == this) {
        manager_->ShowCaret(false);
    }
    if (editor_.GetText() != title_) {
        SetControlTitle(editor_.GetText().c_str());
    }
    UpdateControl(0);
    SendMessageW(CN_EDITEND, 0, 0);
}

void MEdit::TextChanged() {
    if (editor_.GetText() != title_) {
        SetControlTitle(editor_.GetText().c_str());
    }
    SyncCaret();
    SendMessageW(CN_TEXTCHANGED, 0, 0);
}

int MEdit::SetControlFocus(int focus) {
    MControlFont::SetControlFocus(focus);
    if (focus != 0) {
        ShowEdit();
    } else {
        HideEdit();
    }
    return 0;
}

void MEdit::SetControlEnabled(int enabled) {
    if (enabled == 0) {
        HideEdit();
    }
    MControlFont::SetControlEnabled(enabled);
    state_ = enabled != 0 ? 0 : 3;
    icon_state_ = state_;
}

void MEdit::SetControlVisible(int visible) {
    if (visible == 0) {
        HideEdit();
    }
    MControlFont::SetControlVisible(visible);
}

bool MEdit::OnIcon(CPoint pt) const {
    const CRect icon = IconRect();
    return !icon.IsRectEmpty() && pt.x >= icon.left - 2;
}

int MEdit::OnControlMouseMove(UINT, CPoint pt) {
    if (!enabled_) {
        return 0;
    }
    const bool inside = rect_.PtInRect(pt);
    if (selecting_) {
        editor_.OnMouseDrag(pt);
        SyncCaret();
        return 1;
    }
    if (state_ != 2) {
        const int s = inside ? 1 : 0;
        const int is = inside && OnIcon(pt) ? 1 : 0;
        if (s != state_ || (icon_state_ != 2 && is != icon_state_)) {
            state_ = s;
            if (icon_state_ != 2) {
                icon_state_ = is;
            }
            UpdateControl(0);
        }
    }
    return inside ? 1 : 0;
}

int MEdit::OnControlLButtonDown(UINT, CPoint pt) {
    if (!enabled_ || !rect_.PtInRect(pt)) {
        return 0;
    }
    if (OnIcon(pt)) {
        icon_state_ = 2;
        pressed_text_ = false;
        HideEdit();
        UpdateControl(0);
        SendMessageW(CN_PRESSED_ALT, 0, 0);
        return 1;
    }
    state_ = 2;
    pressed_text_ = true;
    ShowEdit();
    if (editing_) {
        editor_.OnMouseDown(pt, KeyHeld(VK_SHIFT));
        selecting_ = true;
        SyncCaret();
    }
    UpdateControl(0);
    SendMessageW(CN_PRESSED, 0, 0);
    return 1;
}

int MEdit::OnControlLButtonDblClk(UINT flags, CPoint pt) {
    if (!enabled_ || !rect_.PtInRect(pt) || OnIcon(pt) || !editing_) {
        return OnControlLButtonDown(flags, pt);
    }
    state_ = 2;
    pressed_text_ = true;
    editor_.OnDoubleClick(pt);
    SyncCaret();
    return 1;
}

int MEdit::OnControlLButtonUp(UINT, CPoint pt) {
    selecting_ = false;
    if (!enabled_) {
        return 0;
    }
    const bool inside = rect_.PtInRect(pt);
    const bool was_text = pressed_text_;
    const bool was_icon = icon_state_ == 2;
    pressed_text_ = false;
    if (!inside) {
        state_ = 0;
        icon_state_ = 0;
        UpdateControl(0);
        return 1;
    }
    state_ = 1;
    if (was_icon) {
        icon_state_ = 1;
        HideEdit();
        UpdateControl(0);
        SendMessageW(CN_EDITCLICK, 0, 0);
        return 1;
    }
    UpdateControl(0);
    if (was_text) {
        SendMessageW(CN_CLICKED, 0, 0);
    }
    return 1;
}

int MEdit::OnControlKeyDown(UINT key, UINT repeat, UINT modifier) {
    if (!enabled_ || !visible_) {
        return 0;
    }
    if (!editing_) {
        if (IsFocused() && key == VK_SPACE && modifier == KEYMOD_NONE) {
            SendMessageW(CN_PRESSED, 0, 0);
            SendMessageW(CN_CLICKED, 0, 0);
            return 1;
        }
        return MControlFont::OnControlKeyDown(key, repeat, modifier);
    }
    const TextEditor::Result r =
        editor_.OnKeyDown(key, KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL) && !KeyHeld(VK_MENU));
    if (r.enter) {
        HideEdit();
        return 1;
    }
    if (r.changed) {
        TextChanged();
    } else if (r.handled) {
        SyncCaret();
    }
    return r.handled ? 1 : 0;
}

LRESULT MEdit::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_KILLFOCUS) {
        HideEdit();
        return 0;
    }
    if (msg != WM_CHAR || !editing_) {
        return 0;
    }
    if (char_message_) {
        const TextEditor::Result r = editor_.OnChar(static_cast<std::uint32_t>(wParam));
        if (r.changed) {
            TextChanged();
        }
    }
    return 1;
}

void MEdit::DrawControl(HDC& dc, CRect) {
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
                MRender::DrawImageFrame(Strip().Context(), img, CRect(cell * w, 0, cell * w + w, h),
                                        std::min(cell, image_count_ - 1) * frame_width_, 0,
                                        frame_width_, frame_height_, 4);
            }
        }
    }
    DrawStripCell(dc, !enabled_ ? 3 : editing_ ? 2 : state_);
    if (icon_ != nullptr && icon_->image) {
        const CRect icon = IconRect();
        const int cell = std::min(enabled_ ? icon_state_ : 3, icon_count_ - 1);
        MRender::DrawImage(
            dc, icon_->image.get(), icon,
            CRect(cell * icon_->frameWidth, 0, (cell + 1) * icon_->frameWidth, icon_->frameHeight));
    }
    if (editing_) {
        ApplyEditorOptions();
        const CRect area = editor_.GetRect();
        if (edit_back_ != 0xFFFFFFFF) {
            MRender::FillSolidRect(dc, area, ColorRefToArgb(edit_back_));
        }
        editor_.Draw(dc, text_color_, Manager::GetSelectColor(), 0xFFFFFFFF);
        return;
    }
    const bool tip = title_.empty();
    std::string shown = tip ? tip_ : title_;
    if (!tip && password_) {
        shown = TextEditor::Mask(title_, password_char_);
    }
    const Color colour = !enabled_ || tip ? 0xFF808080 : text_color_;
    TextFormat f;
    f.align = align_;
    if (multi_line_) {
        f.wrap = true;
        MRender::DrawText(dc, shown, GetDefaultFont(), GetTextRect(), colour, f);
        return;
    }
    f.valign = 4;
    f.ellipsis = true;
    const CRect t = GetTextRect();
    MRender::DrawText(dc, shown, GetDefaultFont(),
                      CRect(t.left, rect_.top + 2, t.right, rect_.bottom - 2), colour, f);
}

} // namespace Tessel
