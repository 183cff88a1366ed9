// instance_probe NAME [--hide | --minimize] [--at X Y] [--wait MS]
//
// Starts up the way the program does for the device name NAME: the first copy
// opens a marked window (then hides or minimises it when asked) and reports
// on standard output:
//   window ID                     its X window, once marked
//   state visible=V iconic=I      whenever that changes
//   message 1691 WPARAM LPARAM    a quit request arrived
//   quit                          ... and it was obeyed (exit 0)
// A second copy raises the first one's window, prints "second raised" or
// "second notfound", and exits 0.

#include "app/SingleInstance.h"
#include "tessel/MWindow.h"
#include "tessel/Manager.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class ProbeWindow : public Tessel::MWindow {
public:
    Tessel::LRESULT OnWindowMessage(Tessel::UINT msg, Tessel::WPARAM wParam,
                                    Tessel::LPARAM lParam) override {
        if (msg == Tessel::WM_TIMER && wParam == 1) {
            Report();
            return 0;
        }
        if (msg == kovrin::WM_QUIT_REQUEST) {
            std::printf("message %u %lu %ld\n", msg, static_cast<unsigned long>(wParam),
                        static_cast<long>(lParam));
            if (kovrin::IsQuitRequest(msg, static_cast<long>(lParam))) {
                std::printf("quit\n");
                std::fflush(stdout);
                std::_Exit(0);
            }
            std::fflush(stdout);
            return 0;
        }
        if (msg >= Tessel::WM_USER) {
            std::printf("message %u %lu %ld\n", msg, static_cast<unsigned long>(wParam),
                        static_cast<long>(lParam));
            std::fflush(stdout);
        }
        return MWindow::OnWindowMessage(msg, wParam, lParam);
    }

    void Report() {
        const int visible = IsWindowVisible() ? 1 : 0;
        const int iconic = IsIconic() ? 1 : 0;
        if (visible != visible_ || iconic != iconic_) {
            visible_ = visible;
            iconic_ = iconic;
            std::printf("state visible=%d iconic=%d\n", visible, iconic);
            std::fflush(stdout);
        }
    }

private:
    int visible_ = -1;
    int iconic_ = -1;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: instance_probe NAME [--hide|--minimize] [--at X Y] "
                             "[--wait MS]\n");
        return 2;
    }
    const std::string name = argv[1];
    bool hide = false;
    bool minimize = false;
    int x = 1500;
    int y = 850;
    unsigned wait_ms = 1000;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--hide") {
            hide = true;
        } else if (a == "--minimize") {
            minimize = true;
        } else if (a == "--at" && i + 2 < argc) {
            x = std::atoi(argv[i + 1]);
            y = std::atoi(argv[i + 2]);
            i += 2;
        } else if (a == "--wait" && i + 1 < argc) {
            wait_ms = static_cast<unsigned>(std::atoi(argv[++i]));
        }
    }

    kovrin::SingleInstance instance(name);
    if (!instance.IsFirst()) {
        std::printf("second %s\n", instance.RaiseFirst(wait_ms) ? "raised" : "notfound");
        return 0;
    }
    std::string error;
    if (!Tessel::Manager::InitUiThread(&error)) {
        std::fprintf(stderr, "instance_probe: %s\n", error.c_str());
        return 3;
    }
    int code = 0;
    {
        ProbeWindow window;
        if (window.Create(nullptr, name.c_str(), 0, 0, Tessel::CRect(x, y, x + 240, y + 160)) ==
            nullptr) {
            std::fprintf(stderr, "instance_probe: no window\n");
            return 3;
        }
        if (!kovrin::MarkMainWindow(window, name)) {
            std::fprintf(stderr, "instance_probe: cannot mark the window\n");
            return 3;
        }
        window.ShowWindow(Tessel::SW_SHOW);
        if (hide) {
            window.ShowWindow(Tessel::SW_HIDE);
        } else if (minimize) {
            window.ShowWindow(Tessel::SW_MINIMIZE);
        }
        std::printf("window %lu\n", window.Native()->Id());
        std::fflush(stdout);
        window.Report();
        window.SetTimer(1, 20);
        code = Tessel::Manager::MessageLoop();
    }
    Tessel::Manager::ShutdownUi();
    return code;
}
