#include "plugin_state.h"

#include <algorithm>

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
