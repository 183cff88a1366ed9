#pragma once
// The product's own configuration, config.xml beside the program: the device
// name at start-up, and the software half (version and addresses) when the
// main window is set up. The catalogue half is read by the device catalogue.

#include <string>

namespace kovrin {

class XmlDocument;

struct SoftwareInfo {
    bool found = false; // a `software` element was found after the catalogue
    std::string version;
    std::string website;
    std::string store;
    std::string upgrade;
    std::string copyright;
};

// Reads the `software` name from config.xml and makes it the device name.
// The default name stays when the file cannot be read, the element is
// missing, or the name is unusable as a folder name. Returns whether a name
// was taken from the file.
bool ReadDeviceNameFromConfig(const std::string& config_path);

// Reads the software half of config.xml. The document must stand inside
// `config`, after `device.info` when that was found (the catalogue reader
// leaves it there); each element is searched after the one found before it.
SoftwareInfo ReadSoftwareInfo(XmlDocument& document);

// Loads config.xml and reads the software half the way the main window does:
// `device.info` first, then `software` after it.
SoftwareInfo ReadSoftwareInfoFromConfig(const std::string& config_path);

} // namespace kovrin
