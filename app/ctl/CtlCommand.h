#pragma once
// The subcommands of kovrinctl. Each command lives in a file of its own and
// is listed once in the table in main.cpp.

#include <iosfwd>
#include <string>
#include <vector>

namespace kovrin::ctl {

struct CtlContext {
    std::ostream& out;
    std::ostream& err;
    std::vector<std::string> args; // the command's own arguments, name excluded
};

struct CtlCommand {
    const char* name;
    const char* usage;   // argument synopsis shown by --help
    const char* summary; // one line
    int (*run)(CtlContext& context);
};

// Removes "--name VALUE" from args; returns the value, or empty if absent.
// Sets missing_value when the option is last and has no value.
std::string TakeOption(std::vector<std::string>& args, const std::string& name,
                       bool* missing_value = nullptr);

} // namespace kovrin::ctl
