// tessel_demo: a small skinned dialog built on Tessel.
//
//   tessel_demo [--exit-on-click] [--position X,Y] [--seconds N]
//
// Clicking the pad prints "notify <id> <code>"; with --exit-on-click the
// dialog then closes and the program exits with 6. The close button exits
// with 2; --seconds ends it after N seconds with 124. Exit code 3: no display.

#include "tessel/MDialog.h"
#include "tessel/Manager.h"
#include "tools/demo/DemoControls.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace Tessel;

constexpr UINT kPad = 1001;
constexpr UINT kApply = 1002;
constexpr UINT kClose = 1003;
constexpr UINT kQuitTimer = 500;

class DemoDialog : public MDialog {
public:
    bool exit_on_click = false;
    bool timed_out = false;

    void InitUI(CRect client) override {
        pm_.SetBackMode(BACK_MODE_FRAME, 8);
        LoadBKImage("main_bkg.png");
        const int w = client.Width();
        auto* caption = new demo::SkinPicture(this, 10, CRect(1, 2, w - 1, 50), 1);
        AddControl(caption, 0);
        caption->SetImage("pic_caption.png", 1);
        auto* logo = new demo::SkinPicture(this, 11, CRect(12, 7, 48, 43), 1);
        AddControl(logo, 0);
        logo->SetImage("logo\\logo.png", 1);
        auto* title = new demo::Label(this, 12, CRect(56, 2, w - 60, 50), "TESSEL DEMO");
        title->SetFont("Arial", 18, FontStyleBold);
        title->SetTextColor(0xFFE0202F);
        title->SetVAlignment(4);
        AddControl(title, 0);
        auto* hint = new demo::Label(this, 13, CRect(24, 70, w - 24, 110),
                                     "Press the pad to send a notification.");
        hint->SetTextColor(0xFFB8BCC8);
        AddControl(hint, 0);

        auto* close = new demo::SkinButton(this, kClose, CRect(w - 42, 12, w - 12, 42), "", 0);
        AddControl(close);
        close->SetImage("main_sysbtn_close.png", 4);
        close->SetTooltip("Close");
        auto* pad = new demo::SkinButton(this, kPad, CRect(40, 130, 136, 226), "", 10);
        AddControl(pad);
        pad->SetImage("demo_pad.png", 4);
        pad->SetTooltip("The demo's own control");
        auto* apply =
            new demo::SkinButton(this, kApply, CRect(w - 184, 170, w - 40, 206), "Apply", 10);
        AddControl(apply);
        apply->SetImage("btn_apply.png", 4);
    }

    LRESULT OnMessage(UINT id, UINT code, WPARAM, LPARAM) override {
        if (code != CN_CLICKED) {
            return 0;
        }
        if (id == kClose) {
            DoCancel();
        } else if (id == kPad || id == kApply) {
            std::printf("notify %u %u\n", id, code);
            std::fflush(stdout);
            if (exit_on_click && id == kPad) {
                DoYes();
            }
        }
        return 1;
    }

    void OnTimer(UINT id) override {
        if (id == kQuitTimer) {
            timed_out = true;
            DoClose();
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    bool exit_on_click = false;
    bool placed = false;
    int x = 0;
    int y = 0;
    int seconds = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--exit-on-click") == 0) {
            exit_on_click = true;
        } else if (std::strcmp(argv[i], "--position") == 0 && i + 1 < argc &&
                   std::sscanf(argv[i + 1], "%d,%d", &x, &y) == 2) {
            placed = true;
            ++i;
        } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            seconds = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: %s [--exit-on-click] [--position X,Y] [--seconds N]\n",
                         argv[0]);
            return 64;
        }
    }
    std::string error;
    if (!Manager::InitUiThread(&error)) {
        std::fprintf(stderr, "tessel_demo: %s\n", error.c_str());
        return 3;
    }
    int code = 0;
    {
        DemoDialog dlg;
        dlg.exit_on_click = exit_on_click;
        if (dlg.Create(nullptr, "Tessel demo", 0, 0, CRect(x, y, x + 480, y + 260)) == nullptr) {
            std::fprintf(stderr, "tessel_demo: cannot create the window\n");
            return 3;
        }
        if (!placed) {
            dlg.CenterWindow();
        }
        dlg.SetMTimer(10);
        if (seconds > 0) {
            dlg.SetTimer(kQuitTimer, static_cast<UINT>(seconds) * 1000);
        }
        const UINT result = dlg.ShowModal();
        code = dlg.timed_out ? 124 : static_cast<int>(result);
    }
    Manager::ShutdownUi();
    return code;
}
