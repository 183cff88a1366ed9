// tessel_gallery: every standard and input control, the menus, tips and the
// program's message and wait dialogs in one window, for the skin and for
// tests on a real display.
//
//   tessel_gallery [--page N] [--describe] [--seconds N] [--position X,Y]
//
// Notifications are printed as "notify <id> <code> <wParam> <lParam>".
// --describe prints "window <xid> l t r b" and "rect <id> l t r b" (screen
// coordinates) of the tabs and the controls tests drive, then "ready".
// Exit codes: 2 closed, 124 time is up, 3 no display.

#include "tessel/Manager.h"
#include "tools/gallery/GalleryDialog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    using namespace gallery;
    int page = 0;
    bool describe = false;
    bool placed = false;
    int x = 0;
    int y = 0;
    int seconds = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--page") == 0 && i + 1 < argc) {
            page = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--describe") == 0) {
            describe = true;
        } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            seconds = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--position") == 0 && i + 1 < argc &&
                   std::sscanf(argv[i + 1], "%d,%d", &x, &y) == 2) {
            placed = true;
            ++i;
        } else {
            std::fprintf(stderr,
                         "usage: %s [--page N] [--describe] [--seconds N] [--position X,Y]\n",
                         argv[0]);
            return 64;
        }
    }
    std::string error;
    if (!Tessel::Manager::InitUiThread(&error)) {
        std::fprintf(stderr, "tessel_gallery: %s\n", error.c_str());
        return 3;
    }
    int code = 0;
    {
        GalleryDialog dlg;
        bool timed_out = false;
        if (dlg.Create(nullptr, "Tessel gallery", 0, 0,
                       Tessel::CRect(x, y, x + GalleryDialog::kWidth,
                                     y + GalleryDialog::kHeight)) == nullptr) {
            std::fprintf(stderr, "tessel_gallery: cannot create the window\n");
            return 3;
        }
        if (!placed) {
            dlg.CenterWindow();
        }
        dlg.SetMTimer(10);
        if (dlg.Tabs() != nullptr) {
            dlg.Tabs()->SetSelectItem(page);
        }
        if (describe) {
            dlg.Later(300, [&dlg] {
                dlg.Describe({GalleryDialog::kTabs, 101, 111, 121, 131, 301, 311, 312, 501, 601,
                              650, 660, 670, 680, 710});
                std::printf("ready\n");
                std::fflush(stdout);
            });
        }
        if (seconds > 0) {
            dlg.Later(static_cast<unsigned>(seconds) * 1000, [&dlg, &timed_out] {
                timed_out = true;
                dlg.DoClose();
            });
        }
        const Tessel::UINT result = dlg.ShowModal();
        code = timed_out ? 124 : static_cast<int>(result);
    }
    Tessel::Manager::ShutdownUi();
    return code;
}
