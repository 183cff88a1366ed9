#pragma once
// A single-line text entry box: a four-cell frame image drawn as a nine-grid
// (corner 4), the text (or the grey tip while it is empty) and, while it has
// the focus, a TextEditor with caret and selection. Taking the focus (a
// press, or Tab) starts editing and sends CN_EDITBEGIN; every change of the
// text sends CN_TEXTCHANGED; Enter, losing the focus or HideEdit end it with
// one CN_EDITEND. An optional icon at the right end is a button of its own
// (CN_PRESSED_ALT, CN_EDITCLICK).

#include "tessel/ImgResInfo.h"
#include "tessel/MControlFont.h"
#include "tessel/controls/input/TextEditor.h"

#include <string>

namespace Tessel {

class MEdit : public MControlFont {
public:
    // The title argument is the tip shown while the text is empty.
    MEdit(MObject* parent, UINT id, CRect rect, const char* title, int visible, int enabled);

    void DrawControl(HDC& dc, CRect clip) override;
    void SetControlRect(CRect rect) override;
    void SetControlEnabled(int enabled) override;
    void SetControlVisible(int visible) override;
    int SetControlFocus(int focus) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlLButtonDblClk(UINT flags, CPoint pt) override;
    int OnControlKeyDown(UINT key, UINT repeat, UINT modifier) override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // ---- text ----
    void SetEditText(const std::string& text);
    // The text being edited while editing, else the stored title.
    std::string GetEditText() const;
    void SetTipInfo(const std::string& tip);
    const std::string& GetTipInfo() const { return tip_; }
    // What the box shows when not editing: the title, or the tip when it is empty.
    std::string GetTitleEx() const { return title_.empty() ? tip_ : title_; }

    // ---- editing ----
    // Starts editing (not when read-only, disabled or hidden).
    void ShowEdit();
    // Ends editing: the text becomes the title and CN_EDITEND is sent.
    void HideEdit();
    bool IsEditFocused() const { return editing_; }
    TextEditor& Editor() { return editor_; }

    // ---- options ----
    // Relative to the control; empty: computed from the font size.
    void SetTextRect(CRect rect);
    // The rectangle the text is drawn in (window coordinates).
    CRect GetTextRect() const;
    bool SetIconImage(const char* fileName, int count);
    void SetEditFont(); // the control's own font
    void SetEditFont(const std::string& face, int size, bool bold, bool underline, bool italic);
    // The font of the text: the one SetEditFont gave, else the control's.
    FontChoice GetDefaultFont() const { return own_font_ ? edit_font_ : GetFontChoice(); }
    COLORREF GetEditTextColor() const;
    // The colour behind the text while editing; 0xFFFFFFFF: none.
    void SetEditBKColor(COLORREF colour);
    COLORREF GetEditBKColor() const { return edit_back_; }
    void SetPassWordChar(std::uint32_t codepoint);
    void EnablePassWord(int on);
    // Multi-line boxes wrap the text they show; editing stays on one line.
    void EnableMultLine(int on);
    void SetReadOnly(int on);
    void SetNumberOnly(int on);
    // While off, typed characters are dropped (editing keys still work).
    void EnableCharMessage(int on) { char_message_ = on != 0; }
    void SetLimitText(int chars);

    int GetState() const { return state_; }
    int GetIconState() const { return icon_state_; }

private:
    CRect IconRect() const;
    void ApplyEditorOptions();
    void SyncCaret();
    void TextChanged();
    bool OnIcon(CPoint pt) const;

    std::string tip_;
    int state_ = 0;
    int icon_state_ = 0;
    CRect text_rect_;
    bool multi_line_ = false;
    bool password_ = false;
    std::uint32_t password_char_ = '*';
    bool number_only_ = false;
    bool read_only_ = false;
    bool char_message_ = true;
    int limit_ = 120;
    COLORREF edit_back_ = 0x351806;
    FontChoice edit_font_;
    bool own_font_ = false;
    ImgResInfo* icon_ = nullptr;
    int icon_count_ = 1;
    bool editing_ = false;
    bool pressed_text_ = false;
    bool selecting_ = false;
    TextEditor editor_;
};

} // namespace Tessel
