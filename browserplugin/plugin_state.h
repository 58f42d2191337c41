// Process-wide state of the plug-in: the browser's functions, the live
// instances and the father instance.
#pragma once

#include <vector>

#include "npapi.h"

namespace npvlx {

struct Instance;

// An instance as it was when named: a later instance at the same address
// is another one.
struct InstanceRef {
  Instance* instance = nullptr;
  unsigned long serial = 0;
};

struct PluginState {
  NPNetscapeFuncs browser{};          // a copy, bounded by the table's own size
  NPPluginFuncs* pluginTable = nullptr;
  bool comStarted = false;
  Instance* father = nullptr;         // the last instance created with "vlxfather"
  std::vector<Instance*> live;        // every instance between New and Destroy
  unsigned long serials = 0;          // the last serial given to an instance
};

PluginState& pluginState();
bool isLive(const Instance* instance);
InstanceRef refOf(Instance& instance);
// True while the instance named is between New and Destroy. Checked after
// anything that runs a message loop (a message box, a COM call out of the
// process), during which the browser may destroy it.
bool isLive(const InstanceRef& ref);

}  // namespace npvlx
