// Process-wide state of the plug-in: the browser's functions, the live
// instances and the father instance.
#pragma once

#include <vector>

#include "npapi.h"

namespace npvlx {

struct Instance;

struct PluginState {
  NPNetscapeFuncs browser{};          // a copy, bounded by the table's own size
  NPPluginFuncs* pluginTable = nullptr;
  bool comStarted = false;
  Instance* father = nullptr;         // the last instance created with "vlxfather"
  std::vector<Instance*> live;        // every instance between New and Destroy
};

PluginState& pluginState();
bool isLive(const Instance* instance);

}  // namespace npvlx
