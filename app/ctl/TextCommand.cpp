#include "app/Language.h"
#include "app/ctl/CtlCommand.h"
#include "base/WinNumbers.h"

#include <ostream>

namespace kovrin::ctl {

// kovrinctl text N [--lcid L]
int RunText(CtlContext& context) {
    bool missing = false;
    const std::string lcid = TakeOption(context.args, "--lcid", &missing);
    if (missing || context.args.size() != 1) {
        context.err << "usage: kovrinctl text N [--lcid L]\n";
        return 2;
    }
    if (!lcid.empty()) {
        SetLanguageId(ParseDecimal(lcid));
    }
    context.out << GetText(ParseDecimal(context.args[0])) << '\n';
    return 0;
}

} // namespace kovrin::ctl
