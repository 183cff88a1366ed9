#pragma once
// The wait dialog: an animated "busy" picture (loading.gif) centred on its
// owner, topmost, shown modally while a task runs elsewhere.
//
// It closes through the wait token queued with its task (app/WaitToken.h):
// the dialog attaches its close function when it appears and detaches when it
// has gone; the worker finishes the token when the task has run or was
// dropped, which closes the dialog, at once when that happened first. The
// close function may be called from any thread; dropping every copy of it
// without calling it closes the dialog too.
//
//   auto token = WaitToken::Create();
//   worker.Queue(TASK_SYNC_KEYS, token);
//   slot.Show(mainWindow, token);                             // one slot per main window

#include "app/WaitToken.h"
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
    // The same for the task of `token`: attached while the dialog is open,
    // detached when it has closed. Without a token the dialog closes at once.
    void Show(Tessel::MWindow* owner, const std::shared_ptr<WaitToken>& token);
    // Destroys the dialog that is open, if any.
    void CloseCurrent();
    WaitDlg* Current() const { return current_; }

private:
    WaitDlg* current_ = nullptr;
};

} // namespace kovrin
