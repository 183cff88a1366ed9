#pragma once
// Builds controls from their class names. One table lists every name a
// window or a panel accepts, with the constructor arguments each class takes;
// a listed class that is not part of the library yet yields null, as does any
// name not listed (the caller tests the result).

#include "tessel/MControl.h"

#include <string>
#include <vector>

namespace Tessel {

enum class FactoryScope { Window, Panel };

class ControlFactory {
public:
    // Null for an empty, unknown or not accepted name.
    static MControl* Create(FactoryScope scope, MObject* parent, const char* cls, UINT id,
                            CRect rect, const char* title, int visible, int enabled);
    // The names the scope accepts (built or not).
    static std::vector<std::string> Names(FactoryScope scope);
    // True when the named class can be built.
    static bool IsBuilt(const char* cls);
};

} // namespace Tessel
