#pragma once
// The wait dialog: an animated "busy" picture (loading.gif) centred on its
// owner, topmost, shown modally while a task runs elsewhere.
//
// It closes through a close function the task's wait token receives: the
// token calls it, from any thread, once its task has run (at once when it has
// already run). Dropping every copy of the function without calling it closes
// the dialog too, so a task that is dropped never leaves it open.
//
//   WaitDialogSlot slot;                                      // one per main window
//   slot.Show(mainWindow, [token](WaitClose close) { token->Attach(close); });

#include "tessel/MDialog.h"

#include <functional>
#include <memory>

namespace kovrin {

// Closes the dialog it was made for; callable from any thread, any number of
// times, also after the dialog is gone.
using WaitClose = std::function<void()>;
// Hands the close function to whatever will call it when the task has run.
using WaitAttach = std::function<void(WaitClose close)>;

class WaitDlg : public Tessel::MDialog {
public:
    WaitDlg();
    ~WaitDlg() override;

    // Creates the window (102 × 102) over the centre of the owner's window
    // rectangle (of the work area without an owner); not shown.
    bool CreateOver(Tessel::MWindow* owner);
    // A close function for this dialog (see above).
    WaitClose MakeCloser();

    void InitUI(Tessel::CRect client) override;
    int OnInitDialog() override;

    static constexpr Tessel::UINT kPictureId = 30;
    static constexpr int kSize = 102;

private:
    struct Handle {
        WaitDlg* dialog = nullptr; // read and cleared on the UI thread only
    };
    std::shared_ptr<Handle> handle_;
};

// The one wait dialog of a window: opening one first destroys the one still
// open.
class WaitDialogSlot {
public:
    // Opens a wait dialog over `owner`, gives its close function to `attach`
    // and runs it modally; returns when it has closed. Without `attach` the
    // dialog closes at once.
    void Show(Tessel::MWindow* owner, const WaitAttach& attach);
    // Destroys the dialog that is open, if any.
    void CloseCurrent();
    WaitDlg* Current() const { return current_; }

private:
    WaitDlg* current_ = nullptr;
};

} // namespace kovrin
