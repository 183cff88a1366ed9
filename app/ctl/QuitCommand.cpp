#include "app/DeviceName.h"
#include "app/SingleInstance.h"
#include "app/ctl/CtlCommand.h"

#include <charconv>
#include <cstdint>
#include <ostream>

namespace kovrin::ctl {

// kovrinctl quit-request [LPARAM]
// Sends the running program's main window the quit request (lParam 610
// unless given). Exit status 0 sent, 1 no running copy found, 2 usage, 3 no
// display.
int RunQuitRequest(CtlContext& context) {
    std::int32_t lparam = static_cast<std::int32_t>(kQuitRequestCode);
    if (context.args.size() > 1) {
        context.err << "usage: kovrinctl quit-request [LPARAM]\n";
        return 2;
    }
    if (context.args.size() == 1) {
        const std::string& text = context.args[0];
        const char* end = text.data() + text.size();
        const auto [ptr, ec] = std::from_chars(text.data(), end, lparam);
        if (ec != std::errc() || ptr != end) {
            context.err << "kovrinctl: LPARAM must be a 32-bit decimal number: " << text << '\n';
            return 2;
        }
    }
    std::string error;
    switch (platform::SendMarkedWindowMessage(DeviceName(), WM_QUIT_REQUEST, 0, lparam, &error)) {
    case platform::ReachResult::Done:
        context.out << "sent quit request (lParam " << lparam << ") to " << DeviceName() << '\n';
        return 0;
    case platform::ReachResult::NotFound:
        context.err << "kovrinctl: " << DeviceName() << " is not running (" << error << ")\n";
        return 1;
    case platform::ReachResult::NoDisplay:
        break;
    }
    context.err << "kovrinctl: " << error << '\n';
    return 3;
}

} // namespace kovrin::ctl
