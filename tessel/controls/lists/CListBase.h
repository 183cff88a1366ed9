#pragma once
// What the scrolling lists share: rows of one height drawn over the window
// background, the vertical bar, the wheel, hover and selection, hit testing
// and the in-place editor's life cycle. The rows themselves belong to the
// subclasses; every access to them holds the list's lock.

#include "tessel/MPanel.h"
#include "tessel/controls/lists/ListEditor.h"

#include <memory>
#include <mutex>
#include <string>

namespace Tessel {

class CListBase : public MPanel, protected ListEditorOwner {
public:
    CListBase(MObject* parent, UINT id, CRect rect, int visible, int itemHeight, int iconColumn,
              bool alwaysReserveBar);
    ~CListBase() override;

    // -1..count-1 (-1 clears); redraws when it changes; 1, or 0 out of range.
    int SetCurSel(int index);
    int GetCurSel() const { return selected_; }
    int GetHoverItem() const { return hover_; }
    int GetItemCount() const;
    // Takes effect at the next draw.
    void SetItemHeight(int height) { item_height_ = height > 0 ? height : 1; }
    int GetItemHeight() const { return item_height_; }
    // 0 out of range; else clears hover and selection, removes the row, 1.
    int DeleteItem(int index);
    int DeleteAllItems();
    // Exchanges two valid, different rows; does not redraw. Any thread.
    bool SwapItem(int i, int j);

    void EnableShowEdit(int flag) { edit_enabled_ = flag != 0; }
    bool IsShowEditEnabled() const { return edit_enabled_; }
    // Opens the editor on the selected row.
    virtual void ShowEdit();
    // Closes the editor, committing a changed text (force 0 keeps it open
    // while the edited row is still the selected one).
    void HideEdit(int force);
    // Closes the editor, dropping what was typed.
    void CancelEdit();
    int GetEditItem() const { return edit_item_; }
    bool IsEditing() const { return edit_item_ >= 0; }
    ListEditor* GetEditor() const { return editor_.get(); }

    // ---- view state (known after the first draw) ----
    bool IsBarShown() const;
    int GetViewWidth() const;
    int GetFirstVisible() const { return first_; }
    int GetLastVisible() const { return last_; }
    // Row i's rectangle in window coordinates as last drawn; empty when it
    // is not visible.
    CRect GetRowWindowRect(int index) const;
    Color GetHoverColor() const { return hover_colour_; }
    Color GetSelectColor() const { return selected_colour_; }
    void SetHoverColor(Color c) { hover_colour_ = c; }
    void SetSelectColor(Color c) { selected_colour_ = c; }

    // ---- MControl ----
    void DrawControl(HDC& dc, CRect clip) override;
    int SetControlFocus(int focus) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    void SetControlRect(CRect rect) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlScroll(int step, UINT direction, CPoint pt) override;
    int OnControlLButtonDblClk(UINT flags, CPoint pt) override;

protected:
    // ---- rows, under the lock ----
    virtual int CountLocked() const = 0;
    virtual CRect& RowRectLocked(int index) = 0;
    virtual void DrawRowLocked(cairo_t* cr, int index, int viewWidth) = 0;
    virtual void EraseLocked(int index) = 0;
    virtual void ClearLocked() = 0;
    virtual void SwapLocked(int i, int j) = 0;
    // The text the editor starts with, and storing what it ends with; true
    // when the row changed.
    virtual std::string EditTextLocked(int index) const = 0;
    virtual bool CommitEditLocked(int index, const std::string& text) = 0;
    // ---- the editor ----
    virtual ListEditorStyle EditorStyle() const = 0;
    // Where the editor goes for a row at rowRect (window coordinates).
    virtual CRect EditorRect(const CRect& rowRect) const = 0;
    // Makes the editor on its first use; null when there is none.
    virtual std::unique_ptr<ListEditor> CreateEditor(const ListEditorStyle& style);
    virtual bool CanShowEdit() const;
    virtual void BeforeWheelScroll() {}

    // ListEditorOwner
    void OnEditorTextChanged(const std::string& text) override;
    void OnEditorEnter() override;
    void OnEditorCancel() override;
    void OnEditorFocusLost() override;
    // Ends the edit once the focus has settled, unless it is back on the
    // list or its editor.
    void CheckFocusLater();
    // The focus goes back from the closed editor to the list.
    void TakeBackFocus();

    // Shows or hides the bar and sets its range from the row count.
    void UpdateBar();
    void ScrollToEnd();
    void Redraw() { UpdateControl(1); }
    // The first visible row under a window point, -1 for none.
    int RowAt(CPoint pt) const;
    bool InList(CPoint pt) const { return rect_.PtInRect(pt); }
    // Keeps the edited row's index right when rows come and go.
    void RowInserted(int index);
    void RowErased(int index);
    void Notify(UINT code, int wParam, int lParam);
    // The keyboard focus is on the list or its editor.
    bool HoldsFocus() const;

    mutable std::recursive_mutex lock_;
    int hover_ = -1;
    int selected_ = -1;
    Color hover_colour_;
    Color selected_colour_;
    Color row_text_colour_ = 0xFFFFFFFF;
    int first_ = -1;
    int last_ = -1;
    int icon_column_;
    bool always_reserve_bar_;
    bool edit_enabled_ = false;
    int edit_item_ = -1;
    int row_offset_ = 0;
    int item_height_;
    std::unique_ptr<ListEditor> editor_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace Tessel
