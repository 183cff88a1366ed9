#include "services/WaitDlg.h"

#include "platform/window/WindowSystem.h"
#include "tessel/Manager.h"
#include "tessel/controls/standard/CGifPicture.h"

#include <atomic>

namespace kovrin {

using namespace Tessel;

namespace {

// Shared by every copy of one close function: the first call, or the last
// copy going away, closes the dialog.
class CloseOnce {
public:
    explicit CloseOnce(std::function<void()> close) : close_(std::move(close)) {}
    ~CloseOnce() { Fire(); }
    CloseOnce(const CloseOnce&) = delete;
    CloseOnce& operator=(const CloseOnce&) = delete;
    void Fire() {
        if (!fired_.exchange(true)) {
            close_();
        }
    }

private:
    std::function<void()> close_;
    std::atomic<bool> fired_{false};
};

} // namespace

WaitDlg::WaitDlg() : handle_(std::make_shared<Handle>()) {
    handle_->dialog = this;
}

WaitDlg::~WaitDlg() {
    handle_->dialog = nullptr;
}

WaitClose WaitDlg::MakeCloser() {
    std::weak_ptr<Handle> weak = handle_;
    auto once = std::make_shared<CloseOnce>([weak] {
        PostToUi([weak] {
            if (auto h = weak.lock(); h && h->dialog != nullptr) {
                h->dialog->DestroyWindow();
            }
        });
    });
    return [once] { once->Fire(); };
}

bool WaitDlg::CreateOver(MWindow* owner) {
    CRect at;
    if (owner != nullptr && owner->GetSafeHwnd() != nullptr) {
        const CRect r = owner->GetWindowRect();
        at = CRect(r.left + (r.Width() - kSize) / 2, r.top + (r.Height() - kSize) / 2, 0, 0);
    } else if (Manager::System() != nullptr || Manager::InitUiThread()) {
        const auto w = Manager::System()->WorkArea({0, 0});
        at = CRect(w.left + (w.Width() - kSize) / 2, w.top + (w.Height() - kSize) / 2, 0, 0);
    }
    at.right = at.left + kSize;
    at.bottom = at.top + kSize;
    return Create(owner, "WaitDlg", 0, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, at) != nullptr;
}

void WaitDlg::InitUI(CRect) {
    SetLayeredWindow(1);
    auto* gif = dynamic_cast<CGifPicture*>(
        CreateControl("CGifPicture", kPictureId, CRect(1, 1, 101, 101), "", 1, 1));
    if (gif != nullptr) {
        gif->SetImage("loading.gif", 1);
        gif->SetRunState(1, 0);
    }
}

int WaitDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    SetBackColor(RGB(51, 51, 51), RGB(51, 51, 51));
    SetMTimer(10);
    EnableWndDrag(1);
    return 1;
}

void WaitDialogSlot::Show(MWindow* owner, const std::shared_ptr<WaitToken>& token) {
    if (!token) {
        Show(owner, WaitAttach{});
        return;
    }
    Show(owner, [token](WaitClose close) { token->Attach(std::move(close)); });
    token->Detach();
}

void WaitDialogSlot::CloseCurrent() {
    if (current_ != nullptr) {
        current_->DestroyWindow();
        current_ = nullptr;
    }
}

void WaitDialogSlot::Show(MWindow* owner, const WaitAttach& attach) {
    CloseCurrent();
    WaitDlg dialog;
    if (!dialog.CreateOver(owner)) {
        if (attach) {
            attach([] {});
        }
        return;
    }
    current_ = &dialog;
    WaitClose close = dialog.MakeCloser();
    if (attach) {
        attach(std::move(close));
    }
    close = nullptr; // only the task's copies keep the dialog open
    dialog.ShowModal();
    if (current_ == &dialog) {
        current_ = nullptr;
    }
}

} // namespace kovrin
