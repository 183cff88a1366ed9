#include "tessel/controls/lists/CEditWindow.h"

namespace Tessel {

std::unique_ptr<ListEditor> MakeListEditor(MControl*, ListEditorOwner*, const ListEditorStyle&) {
    return nullptr; // the text field comes with the input controls
}

} // namespace Tessel
