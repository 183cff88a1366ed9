#pragma once
// The lists' in-place editor: a single-line text field laid over the edited
// row.

#include "tessel/controls/lists/ListEditor.h"

#include <memory>

namespace Tessel {

class MControl;

// An editor hosted by the list `host`, reporting to `owner`; null when no
// editor can be made.
std::unique_ptr<ListEditor> MakeListEditor(MControl* host, ListEditorOwner* owner,
                                           const ListEditorStyle& style);

} // namespace Tessel
