#include "app/ctl/CtlCommand.h"
#include "xml/XmlDocument.h"

#include <fstream>
#include <ostream>
#include <string>

namespace kovrin::ctl {

// kovrinctl xml FILE: well-formedness, the result log and the element outline.
int RunXml(CtlContext& context) {
    if (context.args.size() != 1) {
        context.err << "usage: kovrinctl xml FILE\n";
        return 2;
    }
    const std::string& path = context.args[0];
    XmlDocument document;
    const bool well_formed = document.LoadFile(path);
    // LoadFile also fails for a document that is read but ill-formed; an
    // unreadable file leaves nothing but the file error behind.
    if (!well_formed && document.ResultLog().starts_with("<file_error")) {
        context.err << "kovrinctl: cannot read " << path << ": " << document.ResultLog() << '\n';
        return 2;
    }
    context.out << "well-formed: " << (well_formed ? "yes" : "no") << '\n';
    context.out << document.ResultLog() << '\n';
    // Depth-first walk with the document's own cursor; no recursion.
    int depth = 0;
    for (;;) {
        if (document.FindElement("")) {
            context.out << std::string(static_cast<std::size_t>(depth) * 2, ' ')
                        << document.CurrentName() << '\n';
            document.EnterElement();
            ++depth;
        } else if (document.LeaveElement()) {
            --depth;
        } else {
            break;
        }
    }
    return well_formed ? 0 : 1;
}

} // namespace kovrin::ctl
