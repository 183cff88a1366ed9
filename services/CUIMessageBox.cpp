#include "services/CUIMessageBox.h"

#include "app/Language.h"
#include "tessel/controls/standard/MButton.h"
#include "tessel/controls/standard/MText.h"

namespace kovrin {

using namespace Tessel;

CUIMessageBox::CUIMessageBox(std::string caption, std::string message, int type)
    : caption_(std::move(caption)), message_(std::move(message)), type_(type) {
    LoadBKImage("bk_prompt.png");
    SetBackMode(BACK_MODE_FRAME, 30);
}

bool CUIMessageBox::CreateOver(MWindow* owner) {
    // An owned tool window (a dialog of the window layer rather than a bare
    // pop-up, so it takes the keyboard and the window manager stacks it).
    if (Create(owner, "MessageBox", 0, WS_EX_TOOLWINDOW, CRect(0, 0, kWidth, kHeight)) == nullptr) {
        return false;
    }
    CenterWindow(owner);
    return true;
}

int CUIMessageBox::Show(const std::string& message, MWindow* owner, const std::string& caption,
                        int type) {
    CUIMessageBox box(caption, message, type);
    if (!box.CreateOver(owner)) {
        return 2;
    }
    return ResultOf(box.ShowModal());
}

void CUIMessageBox::InitUI(CRect client) {
    SetLayeredWindow(1);
    auto* caption = dynamic_cast<MText*>(CreateControl(
        "MText", kCaptionId, CRect(20, 15, client.right - 20, 40), caption_.c_str(), 1, 1));
    if (caption != nullptr) {
        caption->SetFontWidth(16);
        caption->SetAlignment(1, 4);
    }
    const int middle = (client.bottom - client.top) / 2;
    auto* message = dynamic_cast<MText*>(
        CreateControl("MText", kMessageId, CRect(20, middle - 30, client.right - 20, middle + 30),
                      message_.c_str(), 1, 1));
    if (message != nullptr) {
        message->SetFontWidth(16);
        message->SetAlignment(1, 4);
        message->EnableMultiLine(1);
        message->EnableVCenter(1);
    }
    const auto button = [this](UINT id, CRect rect, int text) {
        if (auto* b = dynamic_cast<MButton*>(
                CreateControl("MButton", id, rect, GetText(text).c_str(), 1, 1))) {
            b->SetImage("btn_apply.png", 4);
            b->SetFontWidth(14);
        }
    };
    const int bottom = client.bottom;
    if (type_ == 0) {
        button(kConfirmId, CRect(60, bottom - 40, client.right - 60, bottom - 10), 20);
    } else if (type_ == 4) {
        const int c = (client.right - client.left) / 2;
        button(kConfirmId, CRect(c - 120, bottom - 40, c - 20, bottom - 10), 23);
        button(kCancelId, CRect(c + 20, bottom - 40, c + 120, bottom - 10), 25);
    }
}

LRESULT CUIMessageBox::OnMessage(UINT id, UINT code, WPARAM, LPARAM) {
    if (code != CN_CLICKED) {
        return 0;
    }
    if (id == kConfirmId) {
        DoOK();
        return 1;
    }
    if (id == kCancelId) {
        DoCancel();
        return 1;
    }
    return 0;
}

} // namespace kovrin
