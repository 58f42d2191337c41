// Creating and destroying instances (the browser's New and Destroy).
#pragma once

#include "npapi.h"

namespace npvlx {

NPError createInstance(NPP browserInstance, uint16_t mode, int16_t argc, char* argn[], char* argv[]);
NPError destroyInstance(NPP browserInstance);

}  // namespace npvlx
