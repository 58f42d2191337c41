#include "plugin_state.h"

#include <algorithm>

#include "instance.h"

namespace npvlx {

PluginState& pluginState() {
  static PluginState state;
  return state;
}

bool isLive(const Instance* instance) {
  const auto& live = pluginState().live;
  return instance && std::find(live.begin(), live.end(), instance) != live.end();
}

}  // namespace npvlx

namespace npvlx {

InstanceRef refOf(Instance& instance) { return {&instance, instance.serial}; }

bool isLive(const InstanceRef& ref) { return isLive(ref.instance) && ref.instance->serial == ref.serial; }

}  // namespace npvlx
