#include "instance_lifecycle.h"

#include <algorithm>
#include <new>

#include "browser_calls.h"
#include "instance.h"
#include "kebo_registry.h"
#include "operations.h"
#include "pair_list.h"
#include "plugin_state.h"
#include "plugin_texts.h"

namespace npvlx {

namespace {

kebo::PairList embedParameters(int16_t argc, char* argn[], char* argv[]) {
  kebo::PairList parameters(kebo::kParamSeparator);
  for (int i = 0; i < argc && argn && argv; ++i) {
    if (argn[i]) parameters.append(argn[i], argv[i] ? argv[i] : "");
  }
  return parameters;
}

void applyParameters(Instance& instance, const kebo::PairList& p) {
  if (p.has("vlxfather")) {
    instance.isFather = true;
    pluginState().father = &instance;
  }
  if (p.has("bgcolor")) instance.background = static_cast<COLORREF>(p.number("bgcolor"));
  if (p.has("textcolor")) instance.textColour = static_cast<COLORREF>(p.number("textcolor"));
  copyField(instance.dialogPage, p.value("dialogpage"));
  copyField(instance.errorUrl, p.value("errurl"));
  copyField(instance.errorFrame, p.value("errfrm"));
  instance.width = static_cast<int>(p.number("width"));
  instance.progressBlocks = instance.width / 10;
  instance.height = static_cast<int>(p.number("height"));
  if (p.has("launchapp")) {
    InstanceRef ref = refOf(instance);
    launchComponent(instance, p);
    if (!isLive(ref)) return;
  }
  if (p.has("cyclic")) {
    long period = p.number("cyclic");
    if (period > 0) {
      instance.pollingEnabled = true;
      instance.pollPeriod = static_cast<UINT>(period);
      startPollTimer(instance);
    } else {
      getUrl(instance, instance.dialogPage, std::nullopt);
    }
  }
}

}  // namespace

NPError createInstance(NPP browserInstance, uint16_t mode, int16_t argc, char* argn[], char* argv[]) {
  if (!browserInstance) return NPERR_INVALID_INSTANCE_ERROR;
  if (!keboInstalled()) {
    MessageBoxA(nullptr, texts::kNotInstalled, texts::kBoxTitle, MB_OK | MB_ICONEXCLAMATION);
    return NPERR_GENERIC_ERROR;
  }
  void* memory = browserAlloc(sizeof(Instance));
  if (!memory) return NPERR_OUT_OF_MEMORY_ERROR;
  auto* instance = new (memory) Instance();
  instance->serial = ++pluginState().serials;
  instance->mode = mode;
  instance->browserInstance = browserInstance;
  browserInstance->pdata = instance;
  pluginState().live.push_back(instance);
  applyParameters(*instance, embedParameters(argc, argn, argv));
  return NPERR_NO_ERROR;
}

NPError destroyInstance(NPP browserInstance) {
  if (!browserInstance || !browserInstance->pdata) return NPERR_INVALID_INSTANCE_ERROR;
  auto* instance = static_cast<Instance*>(browserInstance->pdata);
  for (std::string& line : instance->lines) line.clear();
  releaseComponents(*instance);
  detachWindow(*instance);
  auto& state = pluginState();
  state.live.erase(std::remove(state.live.begin(), state.live.end(), instance), state.live.end());
  if (state.father == instance) state.father = nullptr;
  browserInstance->pdata = nullptr;
  instance->~Instance();
  browserFree(instance);
  return NPERR_NO_ERROR;
}

}  // namespace npvlx
