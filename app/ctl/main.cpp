// kovrinctl: the command-line front end on the program's core, for scripting
// and for checking behaviour from outside.

#include "app/Paths.h"
#include "app/ProductConfig.h"
#include "app/ctl/CtlCommand.h"
#include "device/Catalogue.h"
#include "device/DeviceManager.h"
#include "device/SimulationSetup.h"

#include <cstring>
#include <iostream>
#include <span>

namespace kovrin::ctl {
int RunText(CtlContext& context);
int RunDb(CtlContext& context);
int RunXml(CtlContext& context);
int RunCatalogue(CtlContext& context);
int RunDevices(CtlContext& context);
int RunFirmware(CtlContext& context);
int RunSync(CtlContext& context);
} // namespace kovrin::ctl

namespace {

using kovrin::ctl::CtlCommand;
using kovrin::ctl::CtlContext;

const CtlCommand kCommands[] = {
    {"text", "N [--lcid L]", "print language text N", kovrin::ctl::RunText},
    {"db", "path|init MODEL", "print or create a model's database file", kovrin::ctl::RunDb},
    {"xml", "FILE", "check an XML file and print its element outline", kovrin::ctl::RunXml},
    {"catalogue", "[--layout MODEL]", "list the models", kovrin::ctl::RunCatalogue},
    {"devices", "", "list the HID interfaces found and the keyboards opened",
     kovrin::ctl::RunDevices},
    {"firmware", "", "print the keyboard's firmware version", kovrin::ctl::RunFirmware},
    {"sync", "TASK [--profile N] [--layer N]",
     "run a device task (keys, light, colors, restore, all)", kovrin::ctl::RunSync},
};

void PrintHelp(std::ostream& out) {
    out << "usage: kovrinctl [--program-dir DIR] COMMAND [ARGS]\n\n"
           "Global options:\n"
           "  --help             show this help\n"
           "  --version          show the version\n"
           "  --program-dir DIR  read config.xml, layouts and language files from DIR\n"
           "                     (same as the environment variable KOVRIN_PROGRAM_DIR)\n"
           "  --simulate MODEL[:MODE]\n"
           "                     talk to a simulated keyboard of that catalogue model, in\n"
           "                     that mode (same as the environment variable KOVRIN_SIMULATE)\n"
           "  --trace FILE       append every report exchanged with a keyboard to FILE\n\n"
           "Commands:\n";
    for (const auto& c : kCommands) {
        std::string synopsis = std::string(c.name) + " " + c.usage;
        out << "  " << synopsis;
        out << std::string(synopsis.size() < 30 ? 30 - synopsis.size() : 1, ' ') << c.summary
            << '\n';
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    kovrin::DeviceOptions devices;
    devices.simulate = kovrin::SimulateTextFromEnvironment();
    std::size_t i = 0;
    while (i < args.size() && args[i].starts_with("--")) {
        if (args[i] == "--help") {
            PrintHelp(std::cout);
            return 0;
        }
        if (args[i] == "--version") {
            std::cout << "kovrinctl " << KOVRIN_VERSION << '\n';
            return 0;
        }
        if (args[i] == "--program-dir" && i + 1 < args.size()) {
            kovrin::SetProgramFolder(args[i + 1]);
            i += 2;
            continue;
        }
        if (args[i] == "--simulate" && i + 1 < args.size()) {
            devices.simulate = args[i + 1];
            i += 2;
            continue;
        }
        if (args[i] == "--trace" && i + 1 < args.size()) {
            devices.trace = args[i + 1];
            i += 2;
            continue;
        }
        std::cerr << "kovrinctl: unknown option " << args[i] << " (see --help)\n";
        return 2;
    }
    if (i == args.size()) {
        PrintHelp(std::cerr);
        return 2;
    }
    // The device name labels the settings and data folders, as in the program.
    kovrin::ReadDeviceNameFromConfig(kovrin::ConfigFilePath());
    if (!devices.simulate.empty() || !devices.trace.empty()) {
        std::string error;
        if (!kovrin::ConfigureDevices(kovrin::DeviceManager::Instance(), devices,
                                      kovrin::CatalogueOfRun(), kovrin::RealClock::Instance(),
                                      nullptr, &error)) {
            std::cerr << "kovrinctl: " << error << '\n';
            return 2;
        }
    }
    for (const auto& c : kCommands) {
        if (args[i] == c.name) {
            CtlContext context{
                std::cout, std::cerr, {args.begin() + static_cast<long>(i) + 1, args.end()}};
            return c.run(context);
        }
    }
    std::cerr << "kovrinctl: unknown command " << args[i] << " (see --help)\n";
    return 2;
}
