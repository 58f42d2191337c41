// The class factory of the Voxa class.
#pragma once

#include <windows.h>

namespace ravix {

// Hands out the module's one factory for Voxa controls.
HRESULT getVoxaClassFactory(REFIID iid, void** out);

}  // namespace ravix
