#include "tessel/controls/input/TextEditor.h"

#include "platform/window/WindowSystem.h"
#include "tessel/Manager.h"
#include "tessel/Messages.h"

#include <algorithm>

namespace Tessel {
namespace {

// Decodes UTF-8 into code points; a malformed byte becomes U+FFFD.
std::vector<std::uint32_t> Decode(const std::string& s) {
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int n = c < 0x80         ? 1
                      : (c >> 5) == 6  ? 2
                      : (c >> 4) == 14 ? 3
                      : (c >> 3) == 30 ? 4
                                       : 0;
        if (n == 0 || i + static_cast<std::size_t>(n) > s.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        std::uint32_t cp = n == 1 ? c : c & (0x7Fu >> n);
        bool ok = true;
        for (int k = 1; k < n; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            ok = ok && (cc >> 6) == 2;
            cp = cp << 6 | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are malformed too.
        const std::uint32_t least = n == 2 ? 0x80 : n == 3 ? 0x800 : n == 4 ? 0x10000 : 0;
        ok = ok && cp >= least && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        out.push_back(ok ? cp : 0xFFFD);
        i += ok ? static_cast<std::size_t>(n) : 1;
    }
    return out;
}

void Append(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool IsControl(std::uint32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp < 0xA0) || cp == 0x2028 || cp == 0x2029;
}

bool IsWordChar(std::uint32_t cp) {
    return !(cp == ' ' || cp == '\t' ||
             (cp < 0x80 && cp != '_' && !(cp >= '0' && cp <= '9') &&
              !((cp | 0x20) >= 'a' && (cp | 0x20) <= 'z')));
}

kovrin::platform::WindowSystem* Clipboard() {
    return Manager::System();
}

} // namespace

TextEditor::TextEditor() {
    Rebuild();
}

void TextEditor::SetText(const std::string& text) {
    text_.clear();
    for (std::uint32_t cp : Decode(text)) {
        Append(text_, cp);
    }
    Rebuild();
    anchor_ = caret_ = Length();
    Layout();
}

void TextEditor::SetPasswordChar(std::uint32_t codepoint) {
    if (codepoint == password_) {
        return;
    }
    password_ = codepoint;
    Rebuild();
    Layout();
}

void TextEditor::SetAlignment(unsigned h) {
    align_ = h;
    Layout();
}

void TextEditor::SetFont(const FontChoice& font) {
    if (font.name == font_.name && font.size == font_.size && font.style == font_.style) {
        return;
    }
    font_ = font;
    Rebuild();
    Layout();
}

void TextEditor::SetRect(const CRect& rect) {
    rect_ = rect;
    Layout();
}

std::string TextEditor::DisplayText() const {
    return password_ == 0 ? text_ : Mask(text_, password_);
}

std::string TextEditor::Mask(const std::string& text, std::uint32_t mask) {
    std::string out;
    for (std::size_t i = 0; i < Decode(text).size(); ++i) {
        Append(out, mask);
    }
    return out;
}

void TextEditor::Rebuild() {
    chars_ = Decode(text_);
    bounds_.clear();
    std::size_t at = 0;
    for (std::uint32_t cp : chars_) {
        bounds_.push_back(at);
        at += cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    }
    bounds_.push_back(at);
    offsets_ = MRender::GetCharOffsets(font_, DisplayText());
    if (offsets_.size() != bounds_.size()) {
        // The shaper merged characters: fall back to equal steps.
        const int width = offsets_.empty() ? 0 : offsets_.back();
        offsets_.assign(bounds_.size(), 0);
        for (std::size_t i = 0; i < offsets_.size(); ++i) {
            offsets_[i] = Length() == 0 ? 0 : static_cast<int>(width * i / Length());
        }
    }
    line_height_ = MRender::MeasureText(font_, "Ag").cy;
    caret_ = std::min(caret_, Length());
    anchor_ = std::min(anchor_, Length());
}

void TextEditor::Layout() {
    const int width = offsets_.back();
    const int room = rect_.Width();
    if (width < room) {
        scroll_ = 0;
        base_ = align_ == 1 ? (room - width) / 2 : align_ == 2 ? room - width - 1 : 0;
        base_ = std::max(0, base_);
        return;
    }
    base_ = 0;
    // Keep the caret (one pixel wide) inside the rectangle, and no blank
    // space after the end of the text.
    const int caret = offsets_[caret_];
    if (caret - scroll_ < 0) {
        scroll_ = caret;
    } else if (caret - scroll_ > room - 1) {
        scroll_ = caret - room + 1;
    }
    scroll_ = std::clamp(scroll_, 0, std::max(0, width - room + 1));
}

void TextEditor::SetSelection(std::size_t anchor, std::size_t caret) {
    anchor_ = std::min(anchor, Length());
    caret_ = std::min(caret, Length());
    Layout();
}

std::string TextEditor::SelectedText() const {
    return text_.substr(bounds_[SelStart()], bounds_[SelEnd()] - bounds_[SelStart()]);
}

std::string TextEditor::Filter(const std::string& text) const {
    std::string out;
    for (std::uint32_t cp : Decode(text)) {
        if (cp == '\n' || cp == '\r') {
            break; // one line
        }
        if (IsControl(cp) || (digits_only_ && (cp < '0' || cp > '9'))) {
            continue;
        }
        Append(out, cp);
    }
    return out;
}

bool TextEditor::ReplaceSelection(const std::string& text) {
    if (read_only_) {
        return false;
    }
    const std::string add = Filter(text);
    std::vector<std::uint32_t> cps = Decode(add);
    const std::size_t kept = Length() - (SelEnd() - SelStart());
    if (limit_ > 0) {
        const std::size_t room = limit_ > kept ? limit_ - kept : 0;
        if (cps.size() > room) {
            cps.resize(room);
        }
    }
    if (cps.empty() && !HasSelection()) {
        return false;
    }
    std::string piece;
    for (std::uint32_t cp : cps) {
        Append(piece, cp);
    }
    const std::size_t start = SelStart();
    text_.replace(bounds_[start], bounds_[SelEnd()] - bounds_[start], piece);
    caret_ = anchor_ = start + cps.size();
    Rebuild();
    Layout();
    return true;
}

std::size_t TextEditor::WordLeft(std::size_t from) const {
    std::size_t i = from;
    while (i > 0 && !IsWordChar(chars_[i - 1])) {
        --i;
    }
    while (i > 0 && IsWordChar(chars_[i - 1])) {
        --i;
    }
    return i;
}

std::size_t TextEditor::WordRight(std::size_t from) const {
    std::size_t i = from;
    while (i < Length() && IsWordChar(chars_[i])) {
        ++i;
    }
    while (i < Length() && !IsWordChar(chars_[i])) {
        ++i;
    }
    return i;
}

void TextEditor::MoveTo(std::size_t index, bool extend) {
    caret_ = std::min(index, Length());
    if (!extend) {
        anchor_ = caret_;
    }
    Layout();
}

TextEditor::Result TextEditor::OnKeyDown(unsigned vk, bool shift, bool ctrl) {
    Result r;
    r.handled = true;
    const bool password = password_ != 0;
    switch (vk) {
    case VK_LEFT:
        if (HasSelection() && !shift) {
            MoveTo(ctrl ? WordLeft(SelStart()) : SelStart(), false);
        } else {
            MoveTo(ctrl ? WordLeft(caret_) : (caret_ > 0 ? caret_ - 1 : 0), shift);
        }
        break;
    case VK_RIGHT:
        if (HasSelection() && !shift) {
            MoveTo(ctrl ? WordRight(SelEnd()) : SelEnd(), false);
        } else {
            MoveTo(ctrl ? WordRight(caret_) : caret_ + 1, shift);
        }
        break;
    case VK_HOME:
        MoveTo(0, shift);
        break;
    case VK_END:
        MoveTo(Length(), shift);
        break;
    case VK_BACK:
        if (!HasSelection() && caret_ > 0) {
            anchor_ = ctrl && !password ? WordLeft(caret_) : caret_ - 1;
        }
        r.changed = ReplaceSelection("");
        break;
    case VK_DELETE:
        if (shift && !ctrl) { // cut
            if (!password && HasSelection()) {
                if (auto* clip = Clipboard()) {
                    clip->SetClipboardText(SelectedText());
                }
                r.changed = ReplaceSelection("");
            }
            break;
        }
        if (!HasSelection() && caret_ < Length()) {
            anchor_ = ctrl && !password ? WordRight(caret_) : caret_ + 1;
        }
        r.changed = ReplaceSelection("");
        break;
    case VK_INSERT:
        if (ctrl && !shift) {
            if (!password && HasSelection() && Clipboard() != nullptr) {
                Clipboard()->SetClipboardText(SelectedText());
            }
        } else if (shift && !ctrl) {
            if (Clipboard() != nullptr) {
                r.changed = ReplaceSelection(Clipboard()->GetClipboardText());
            }
        } else {
            r.handled = false;
        }
        break;
    case VK_RETURN:
        r.enter = true;
        break;
    case VK_ESCAPE:
        r.escape = true;
        break;
    case 'A':
    case 'C':
    case 'X':
    case 'V':
        if (!ctrl) {
            r.handled = false; // a letter: it comes as a character
            break;
        }
        if (vk == 'A') {
            SelectAll();
        } else if (vk == 'V') {
            if (Clipboard() != nullptr) {
                r.changed = ReplaceSelection(Clipboard()->GetClipboardText());
            }
        } else if (!password && HasSelection() && Clipboard() != nullptr) {
            Clipboard()->SetClipboardText(SelectedText());
            if (vk == 'X') {
                r.changed = ReplaceSelection("");
            }
        }
        break;
    default:
        r.handled = false;
        break;
    }
    return r;
}

TextEditor::Result TextEditor::OnChar(std::uint32_t codepoint) {
    Result r;
    if (IsControl(codepoint)) {
        return r;
    }
    r.handled = true;
    std::string s;
    Append(s, codepoint);
    r.changed = ReplaceSelection(s);
    return r;
}

std::size_t TextEditor::IndexAt(int x) const {
    const int local = x - rect_.left - base_ + scroll_;
    for (std::size_t i = 0; i + 1 < offsets_.size(); ++i) {
        if (local < (offsets_[i] + offsets_[i + 1] + 1) / 2) {
            return i;
        }
    }
    return Length();
}

int TextEditor::XOf(std::size_t index) const {
    return rect_.left + base_ + offsets_[std::min(index, Length())] - scroll_;
}

void TextEditor::OnMouseDown(CPoint pt, bool shift) {
    MoveTo(IndexAt(pt.x), shift);
}

void TextEditor::OnMouseDrag(CPoint pt) {
    MoveTo(IndexAt(pt.x), true);
}

void TextEditor::OnDoubleClick(CPoint pt) {
    const std::size_t at = IndexAt(pt.x);
    std::size_t start = at;
    std::size_t end = at;
    while (start > 0 && IsWordChar(chars_[start - 1])) {
        --start;
    }
    while (end < Length() && IsWordChar(chars_[end])) {
        ++end;
    }
    SetSelection(start, end);
}

CRect TextEditor::CaretRect() const {
    const int x = XOf(caret_);
    const int top = rect_.top + (rect_.Height() - line_height_) / 2;
    return CRect(x, top, x + 1, top + line_height_);
}

void TextEditor::Draw(HDC dc, Color text, Color selectionBack, Color selectionText,
                      bool showSelection) const {
    if (dc == nullptr || rect_.IsRectEmpty()) {
        return;
    }
    const std::string shown = DisplayText();
    const int x0 = rect_.left + base_ - scroll_;
    const CRect line(x0, rect_.top, x0 + offsets_.back() + 2, rect_.bottom);
    TextFormat f;
    f.valign = 4;
    cairo_save(dc);
    cairo_rectangle(dc, rect_.left, rect_.top, rect_.Width(), rect_.Height());
    cairo_clip(dc);
    MRender::DrawText(dc, shown, font_, line, text, f);
    if (showSelection && HasSelection()) {
        const int top = rect_.top + (rect_.Height() - line_height_) / 2;
        const CRect sel(XOf(SelStart()), top, XOf(SelEnd()), top + line_height_);
        MRender::FillSolidRect(dc, sel, selectionBack);
        cairo_rectangle(dc, sel.left, sel.top, sel.Width(), sel.Height());
        cairo_clip(dc);
        MRender::DrawText(dc, shown, font_, line, selectionText, f);
    }
    cairo_restore(dc);
}

} // namespace Tessel
