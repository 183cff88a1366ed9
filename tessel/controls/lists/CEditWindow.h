#pragma once
// The lists' in-place editor: a single-line text field laid over the edited
// row, a child control of the list. It keeps the list's colours, limit and
// digits-only rule, takes the keyboard focus while open, reports every change
// of its text and Enter to the list, and gives up on Escape.

#include "tessel/MControlFont.h"
#include "tessel/controls/input/TextEditor.h"
#include "tessel/controls/lists/ListEditor.h"

#include <memory>

namespace Tessel {

class CEditWindow : public MControlFont {
public:
    CEditWindow(MControl* host, ListEditorOwner* owner, const ListEditorStyle& style);

    void Open(const CRect& rect, const std::string& text);
    void Close();
    bool IsOpen() const { return open_; }
    std::string GetText() const { return editor_.GetText(); }
    TextEditor& Editor() { return editor_; }
    const ListEditorStyle& Style() const { return style_; }

    void DrawControl(HDC& dc, CRect clip) override;
    int SetControlFocus(int focus) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlLButtonDblClk(UINT flags, CPoint pt) override;
    int OnControlKeyDown(UINT key, UINT repeat, UINT modifier) override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    static constexpr int kMargin = 3;

private:
    void SyncCaret();
    void Changed();

    ListEditorOwner* owner_;
    ListEditorStyle style_;
    TextEditor editor_;
    bool open_ = false;
    bool selecting_ = false;
};

// An editor hosted by the list `host` (as a child control), reporting to
// `owner`.
std::unique_ptr<ListEditor> MakeListEditor(MControl* host, ListEditorOwner* owner,
                                           const ListEditorStyle& style);

} // namespace Tessel
