// The pop-up menu, the message box, the wait dialog and the key tip.

#include "services/CUIMessageBox.h"
#include "services/WaitDlg.h"
#include "tessel/controls/standard/MButton.h"
#include "tessel/menus/CKeyboardTips.h"
#include "tessel/menus/MenuWnd.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPages.h"

#include <cstdio>
#include <memory>

namespace gallery {
namespace {

constexpr UINT kMenuMessage = 1825;

MButton* Button(GalleryPage& page, UINT id, CRect rect, const char* title) {
    auto* b = page.Add<MButton>("MButton", id, rect, title);
    if (b != nullptr) {
        b->SetImage("btn_apply.png", 4);
    }
    return b;
}

} // namespace

void BuildPopupsPage(GalleryPage& page) {
    GalleryDialog& dlg = page.Dialog();
    page.Heading("Pop-up menu", page.At(0, 0, 400, 24));
    MButton* menu_button = Button(page, 501, page.At(0, 32, 180, 36), "Open a menu");
    page.Label("Its commands arrive as posted messages.", page.At(196, 32, 400, 36));
    page.OnNotify(501, [&dlg, menu_button](UINT code, WPARAM, LPARAM) {
        if (code != CN_CLICKED || menu_button == nullptr) {
            return;
        }
        const CRect r = menu_button->GetRect();
        auto* menu = new MenuWnd(&dlg);
        if (!menu->Create(&dlg, dlg.ClientToScreen({r.left, r.bottom + 2}), kMenuMessage, "", 30,
                          200, BACK_MODE_FRAME)) {
            return;
        }
        menu->AddMenu("Restore default", 606);
        menu->AddMenu("Disable the key", 608);
        menu->AddSeparator(static_cast<UINT>(-1));
        menu->AddMenu("Assign a macro", 609);
        menu->AddMenu("Unavailable", 607);
        menu->SetItemEnable(607, 0);
        menu->ShowModal();
    });
    dlg.SetMessageHandler(kMenuMessage, [](WPARAM, LPARAM) {});

    page.Heading("Message box", page.At(0, 100, 400, 24));
    Button(page, 511, page.At(0, 132, 180, 36), "Ask (two buttons)");
    Button(page, 512, page.At(196, 132, 180, 36), "Tell (one button)");
    const auto ask = [&dlg](int type) {
        return [&dlg, type](UINT code, WPARAM, LPARAM) {
            if (code != CN_CLICKED) {
                return;
            }
            const int result = kovrin::CUIMessageBox::Show(
                type == 4 ? "Restore every key of this profile?" : "The profile was exported.",
                &dlg, type == 4 ? "Restore keys" : "Export", type);
            std::printf("messagebox %d\n", result);
            std::fflush(stdout);
        };
    };
    page.OnNotify(511, ask(4));
    page.OnNotify(512, ask(0));

    page.Heading("Wait dialog", page.At(0, 200, 400, 24));
    Button(page, 521, page.At(0, 232, 180, 36), "Wait two seconds");
    page.Label("A task that ends after two seconds closes it.", page.At(196, 232, 400, 36));
    auto slot = std::make_shared<kovrin::WaitDialogSlot>();
    page.OnNotify(521, [&dlg, slot](UINT code, WPARAM, LPARAM) {
        if (code != CN_CLICKED) {
            return;
        }
        // The task's token, finished by the "task" two seconds later.
        auto token = kovrin::WaitToken::Create();
        dlg.Later(2000, [token] { token->Finish(); });
        slot->Show(&dlg, token);
        std::printf("wait closed\n");
        std::fflush(stdout);
    });

    page.Heading("Key tip", page.At(0, 300, 400, 24));
    MButton* tip_button = Button(page, 531, page.At(0, 332, 180, 36), "Show a key tip");
    auto tips = std::make_shared<CKeyboardTips>();
    tips->LoadBKImage("img_tip_bk.png");
    page.OnNotify(531, [&dlg, tips, tip_button](UINT code, WPARAM, LPARAM) {
        if (code != CN_CLICKED || tip_button == nullptr) {
            return;
        }
        if (tips->Shown()) {
            tips->Hide();
            return;
        }
        const CRect r = tip_button->GetRect();
        tips->SetAirBladderMsg("Esc", "Escape", "Fn + 1",
                               dlg.ClientToScreen({r.CenterPoint().x, r.top}), &dlg);
    });
}

} // namespace gallery
