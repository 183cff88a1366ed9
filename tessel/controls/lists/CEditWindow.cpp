#include "tessel/controls/lists/CEditWindow.h"

#include "platform/window/WindowSystem.h"
#include "tessel/Manager.h"
#include "tessel/PaintManager.h"

namespace Tessel {
namespace {

bool KeyHeld(unsigned vk) {
    return Manager::System() != nullptr && Manager::System()->IsKeyDown(vk);
}

// The list's handle on its editor; the control itself belongs to the list's
// control layer and goes with it.
class EditorHandle : public ListEditor {
public:
    explicit EditorHandle(CEditWindow* window) : window_(window) {}
    void Open(const CRect& rect, const std::string& text) override { window_->Open(rect, text); }
    void Close() override { window_->Close(); }
    bool IsOpen() const override { return window_->IsOpen(); }
    std::string GetText() const override { return window_->GetText(); }
    MControl* Control() override { return window_; }

private:
    CEditWindow* window_;
};

} // namespace

CEditWindow::CEditWindow(MControl* host, ListEditorOwner* owner, const ListEditorStyle& style)
    : MControlFont(host, 0, CRect(), "", 0, 1, 1), owner_(owner), style_(style) {
    editor_.SetFont({style.fontName, style.fontSize, style.fontStyle});
    editor_.SetLimit(style.limit > 0 ? static_cast<std::size_t>(style.limit) : 0);
    editor_.SetDigitsOnly(style.digitsOnly);
    editor_.SetAlignment(style.align);
    SetCursorEx("arrow");
}

void CEditWindow::Open(const CRect& rect, const std::string& text) {
    SetControlRect(rect);
    editor_.SetRect(CRect(rect.left + kMargin, rect.top, rect.right - kMargin, rect.bottom));
    editor_.SetText(text); // caret at the end
    open_ = true;
    selecting_ = false;
    visible_ = true;
    if (manager_ != nullptr) {
        manager_->SetFocusControl(this);
    }
    focused_ = true;
    SyncCaret();
    UpdateControl(1);
}

void CEditWindow::Close() {
    if (!open_) {
        return;
    }
    open_ = false;
    selecting_ = false;
    if (manager_ != nullptr && manager_->GetCurrentCaretObject() == this) {
        manager_->ShowCaret(false);
    }
    UpdateControl(1, 1);
    visible_ = false;
}

void CEditWindow::SyncCaret() {
    if (manager_ == nullptr || !open_) {
        return;
    }
    const CRect c = editor_.CaretRect();
    manager_->CreateCaret(c.Width(), c.Height());
    manager_->SetCaretPos(this, c.left, c.top);
    manager_->SetCaretColor(ColorRefToArgb(style_.text));
    manager_->ShowCaret(true);
    UpdateControl(0);
}

void CEditWindow::Changed() {
    SyncCaret();
    if (owner_ != nullptr) {
        owner_->OnEditorTextChanged(editor_.GetText());
    }
}

int CEditWindow::SetControlFocus(int focus) {
    MControlFont::SetControlFocus(focus);
    if (focus == 0 && open_ && owner_ != nullptr) {
        owner_->OnEditorFocusLost();
    }
    return focus != 0 ? 1 : 0;
}

// ---- input ----

int CEditWindow::OnControlMouseMove(UINT, CPoint pt) {
    if (!open_) {
        return 0;
    }
    if (selecting_) {
        editor_.OnMouseDrag(pt);
        SyncCaret();
        return 1;
    }
    return rect_.PtInRect(pt) ? 1 : 0;
}

int CEditWindow::OnControlLButtonDown(UINT, CPoint pt) {
    if (!open_ || !rect_.PtInRect(pt)) {
        return 0;
    }
    editor_.OnMouseDown(pt, KeyHeld(VK_SHIFT));
    selecting_ = true;
    SyncCaret();
    return 1;
}

int CEditWindow::OnControlLButtonUp(UINT, CPoint) {
    selecting_ = false;
    return open_ ? 1 : 0;
}

int CEditWindow::OnControlLButtonDblClk(UINT, CPoint pt) {
    if (!open_ || !rect_.PtInRect(pt)) {
        return 0;
    }
    editor_.OnDoubleClick(pt);
    SyncCaret();
    return 1;
}

int CEditWindow::OnControlKeyDown(UINT key, UINT, UINT) {
    if (!open_ || !focused_) {
        return 0;
    }
    const TextEditor::Result r =
        editor_.OnKeyDown(key, KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL) && !KeyHeld(VK_MENU));
    if (r.enter || r.escape) {
        if (owner_ != nullptr) {
            if (r.enter) {
                owner_->OnEditorEnter();
            } else {
                owner_->OnEditorCancel();
            }
        }
        return 1;
    }
    if (r.changed) {
        Changed();
    } else if (r.handled) {
        SyncCaret();
    }
    return r.handled ? 1 : 0;
}

LRESULT CEditWindow::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM) {
    if (msg != WM_CHAR || !open_ || !focused_) {
        return 0;
    }
    if (editor_.OnChar(static_cast<std::uint32_t>(wParam)).changed) {
        Changed();
    }
    return 1;
}

void CEditWindow::DrawControl(HDC& dc, CRect) {
    if (!open_ || rect_.IsRectEmpty()) {
        return;
    }
    MRender::FillSolidRect(dc, rect_, ColorRefToArgb(style_.background));
    editor_.Draw(dc, ColorRefToArgb(style_.text), Manager::GetSelectColor(), 0xFFFFFFFF);
}

std::unique_ptr<ListEditor> MakeListEditor(MControl* host, ListEditorOwner* owner,
                                           const ListEditorStyle& style) {
    if (host == nullptr) {
        return nullptr;
    }
    auto* window = new CEditWindow(host, owner, style);
    host->AttachChild(1, window);
    return std::make_unique<EditorHandle>(window);
}

} // namespace Tessel
