// kovrin-udevgen CONFIG_XML OUTPUT: writes the udev rules for the keyboards
// of the catalogue in CONFIG_XML.

#include "device/Catalogue.h"
#include "platform/Files.h"
#include "tools/udevgen/UdevRules.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: kovrin-udevgen CONFIG_XML OUTPUT\n";
        return 2;
    }
    kovrin::Catalogue catalogue;
    std::string error;
    if (!kovrin::LoadCatalogueFile(argv[1], catalogue, &error)) {
        std::cerr << "kovrin-udevgen: " << error << '\n';
        return 1;
    }
    for (const auto& problem : catalogue.problems) {
        std::cerr << "kovrin-udevgen: " << problem << '\n';
    }
    std::vector<std::string> skipped;
    const std::string rules = kovrin::MakeUdevRules(catalogue, &skipped);
    for (const auto& s : skipped) {
        std::cerr << "kovrin-udevgen: " << s << '\n';
    }
    if (!kovrin::platform::WriteFileAtomically(argv[2], rules)) {
        std::cerr << "kovrin-udevgen: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
