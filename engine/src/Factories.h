// Creation of the engine's public classes, for the class factories of the component
// server. Each returns a new object holding one reference owned by the caller.
#pragma once

#include <vesmora/Vesmora.h>

namespace vesmora {

_Caldren* NewCaldren();
_Months* NewMonths();
_Monthly* NewMonthly();

// Objects alive and server locks held; the library may unload when both are zero.
long LiveObjectCount();
void LockServer(bool lock);
long ServerLockCount();

// The engine's own version, major and minor joined by "." (the default data-file version).
std::string EngineVersionText();

}  // namespace vesmora
