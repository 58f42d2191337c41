// Registering and removing what a registry script describes (the grammar
// is in registry_script_parse.h).
#pragma once

#include <windows.h>

#include "registry_script_parse.h"

namespace ravix {

// Writes (registering) or removes what the script describes. Registration
// stops at the first failure and returns it; removal goes on and reports
// the first key it could not remove.
HRESULT runRegistryScript(std::string_view text, const Replacements& replacements, bool registering);

}  // namespace ravix
