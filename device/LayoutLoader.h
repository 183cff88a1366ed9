#pragma once
// Loading a model's layout file (layouts/<device_info>.xml) into a new
// KeyboardLayout, and publishing the current layout to other threads.

#include "device/KeyboardLayout.h"
#include "device/ModelRecord.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

class XmlDocument;

struct LayoutLoad {
    // The new layout, or the previous one unchanged when loaded is false.
    std::shared_ptr<const KeyboardLayout> layout;
    bool loaded = false;
    std::string error;                 // why nothing was loaded
    std::vector<std::string> warnings; // parts of the file that were left out

    // The model chosen for the device type; it applies even when the file
    // could not be loaded (the caller switches the database to it).
    int device_type = 0;
    std::string model_name;
    std::string layout_name;
};

// Loads the layout of the first model of the device type, on top of previous
// (nullptr stands for a layout with the defaults): elements missing from the
// file keep the previous values, the keys and maps are always rebuilt, the
// firmware address is always cleared.
LayoutLoad LoadLayout(int device_type, const std::vector<ModelRecord>& models,
                      std::shared_ptr<const KeyboardLayout> previous);

// The same for a given model, with its own device type.
LayoutLoad LoadModelLayout(const ModelRecord& model,
                           std::shared_ptr<const KeyboardLayout> previous);

// Reads a layout document onto layout. The cursor must stand on the root
// element (device.info). Warnings name the keys and values left out.
void ReadLayout(XmlDocument& doc, KeyboardLayout& layout, std::vector<std::string>& warnings);

struct MatrixCell {
    int row = 0;
    int column = 0;
    bool operator==(const MatrixCell&) const = default;
};

// A key's row_col text: one row digit, a separator that holds no digit and
// one or two column digits ("3_5", "3_12"). nullopt for anything else and for
// cells outside the matrix.
std::optional<MatrixCell> ParseRowCol(std::string_view text);

// A key's rect text: x#y#w#h (decimal, missing parts 0) as the rectangle
// (x, y, x + w, y + h), the sums clamped to the int range.
KeyRect ParseKeyRect(std::string_view text);

// The layout the program's threads read. Each load publishes a new immutable
// layout whole; readers keep the snapshot they took for as long as they need.
class SharedLayout {
public:
    SharedLayout();

    std::shared_ptr<const KeyboardLayout> Get() const;
    void Set(std::shared_ptr<const KeyboardLayout> layout);

    // LoadLayout on top of the current layout; publishes the result when it
    // loaded. Reloads run one at a time.
    LayoutLoad Reload(int device_type, const std::vector<ModelRecord>& models);

private:
    mutable std::mutex mutex_;
    std::mutex reload_mutex_;
    std::shared_ptr<const KeyboardLayout> layout_;
};

} // namespace kovrin
