#pragma once
// The catalogue of supported keyboards: config.xml's device.info element,
// read into the model list, the mode list and the device manager's list of
// supported ids.

#include "device/ModelRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

class XmlDocument;

struct Catalogue {
    std::vector<ModelRecord> models;        // one per keyboard element, file order
    std::vector<ModelRecord> modes;         // one per mode element, file order
    std::vector<SupportedDevice> supported; // one per mode entry
    std::vector<std::string> problems;      // what was refused, and why
};

// Reads device.info from a document whose cursor stands inside config: the
// element is searched after the current one (from the first child when there
// is none). The catalogue is cleared first. Returns false when there is no
// device.info; otherwise the cursor is left on it, so that later searches
// continue after it. A model whose name or layout name could not name a file
// inside its folder is refused with its modes and noted in problems.
bool ReadCatalogue(XmlDocument& doc, Catalogue& catalogue);

// Loads config.xml from path and reads its catalogue. False, with the reason
// in error, when the file cannot be read, is not well-formed or has no config
// root; a file without device.info gives an empty catalogue and true.
bool LoadCatalogueFile(const std::string& path, Catalogue& catalogue, std::string* error);

// The catalogue of this run, read from ConfigFilePath() on the first call;
// every later call returns the same object, whatever happened to the file.
// When the file could not be read the lists are empty and problems says why.
const Catalogue& CatalogueOfRun();

// First model of the device type, or nullptr.
const ModelRecord* FindModelByType(const std::vector<ModelRecord>& models, int device_type);
const ModelRecord* FindModelByName(const std::vector<ModelRecord>& models, std::string_view name);

// A path below a folder that cannot leave it: relative, no NUL, no ".."
// component ('/' and '\\' both count as separators).
bool IsSafeRelativePath(std::string_view path);

} // namespace kovrin
