#pragma once
// A windowless single-line text editor: UTF-8 text edited by whole
// characters, a caret and a selection, the editing keys, the clipboard of the
// window system, and its drawing into a rectangle with horizontal scrolling.
// It has no window or control of its own: an owner control routes keys,
// typed characters and the mouse to it, shows the caret where it says and
// calls Draw while painting. Positions are characters (code points).

#include "tessel/MRender.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Tessel {

class TextEditor {
public:
    // What an input did: whether it was taken, whether the text changed, and
    // whether it was Enter or Escape (left to the owner).
    struct Result {
        bool handled = false;
        bool changed = false;
        bool enter = false;
        bool escape = false;
    };

    TextEditor();

    // ---- text ----
    // Malformed UTF-8 becomes U+FFFD; caret at the end, nothing selected.
    void SetText(const std::string& text);
    const std::string& GetText() const { return text_; }
    std::size_t Length() const { return bounds_.size() - 1; }

    // ---- options ----
    // Most characters the text may hold when typing or pasting (0: no limit).
    void SetLimit(std::size_t chars) { limit_ = chars; }
    std::size_t GetLimit() const { return limit_; }
    void SetDigitsOnly(bool on) { digits_only_ = on; }
    bool IsDigitsOnly() const { return digits_only_; }
    // Shows this character for every character of the text; 0: plain text.
    // Copying and cutting are refused while it is set.
    void SetPasswordChar(std::uint32_t codepoint);
    std::uint32_t GetPasswordChar() const { return password_; }
    void SetReadOnly(bool on) { read_only_ = on; }
    // 0 left, 1 centre, 2 right; applies while the text fits the rectangle.
    void SetAlignment(unsigned h);
    void SetFont(const FontChoice& font);
    const FontChoice& GetFont() const { return font_; }
    // The rectangle the text is shown in (window client coordinates).
    void SetRect(const CRect& rect);
    const CRect& GetRect() const { return rect_; }

    // ---- caret and selection ----
    std::size_t Caret() const { return caret_; }
    std::size_t Anchor() const { return anchor_; }
    void SetSelection(std::size_t anchor, std::size_t caret);
    void SelectAll() { SetSelection(0, Length()); }
    bool HasSelection() const { return anchor_ != caret_; }
    std::string SelectedText() const;

    // ---- editing ----
    // Replaces the selection with the text, filtered (no control characters,
    // only digits when digits-only, the first line only) and cut to the
    // limit. True when the text changed.
    bool ReplaceSelection(const std::string& text);
    // Arrows, Home, End (Shift extends, Ctrl moves by words), Backspace,
    // Delete, Ctrl+A, Ctrl+C / Ctrl+Insert, Ctrl+X / Shift+Delete,
    // Ctrl+V / Shift+Insert, Enter, Escape.
    Result OnKeyDown(unsigned vk, bool shift, bool ctrl);
    // A typed character (control characters are not taken).
    Result OnChar(std::uint32_t codepoint);
    void OnMouseDown(CPoint pt, bool shift);
    void OnMouseDrag(CPoint pt);
    // Selects the word under the point.
    void OnDoubleClick(CPoint pt);

    // ---- geometry and drawing ----
    // The boundary nearest the x coordinate.
    std::size_t IndexAt(int x) const;
    // Window x of a boundary.
    int XOf(std::size_t index) const;
    CRect CaretRect() const;
    int ScrollOffset() const { return scroll_; }
    // What is shown: the text, or the password characters.
    std::string DisplayText() const;
    // One `mask` character for every character of the text.
    static std::string Mask(const std::string& text, std::uint32_t mask);
    // Draws the text clipped to the rectangle, the selection in its colours.
    void Draw(HDC dc, Color text, Color selectionBack, Color selectionText,
              bool showSelection = true) const;

private:
    void Rebuild();
    void Layout();
    std::size_t WordLeft(std::size_t from) const;
    std::size_t WordRight(std::size_t from) const;
    std::size_t SelStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
    std::size_t SelEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
    void MoveTo(std::size_t index, bool extend);
    std::string Filter(const std::string& text) const;

    std::string text_;
    std::vector<std::size_t> bounds_;  // byte offset of every character start, then the end
    std::vector<std::uint32_t> chars_; // the code points
    std::vector<int> offsets_;         // x of every boundary of the display text
    int line_height_ = 0;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    std::size_t limit_ = 0;
    bool digits_only_ = false;
    bool read_only_ = false;
    std::uint32_t password_ = 0;
    unsigned align_ = 0;
    FontChoice font_;
    CRect rect_;
    int scroll_ = 0;
    int base_ = 0; // alignment offset while the text fits
};

} // namespace Tessel
