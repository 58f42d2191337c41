// The DLL's exports and the functions the browser calls through the
// plug-in table, each behind the guard of np_boundary.h.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "instance.h"
#include "instance_lifecycle.h"
#include "np_boundary.h"
#include "plugin_state.h"
#include "streams.h"

namespace npvlx {

namespace {

Instance* instanceOf(NPP npp) { return npp ? static_cast<Instance*>(npp->pdata) : nullptr; }

NPError pluginNew(NPMIMEType, NPP npp, uint16_t mode, int16_t argc, char* argn[], char* argv[], NPSavedData*) {
  return guarded<NPError>(NPERR_OUT_OF_MEMORY_ERROR,
                          [&] { return createInstance(npp, mode, argc, argn, argv); });
}

NPError pluginDestroy(NPP npp, NPSavedData**) {
  return guarded<NPError>(NPERR_GENERIC_ERROR, [&] { return destroyInstance(npp); });
}

NPError pluginSetWindow(NPP npp, NPWindow* window) {
  Instance* instance = instanceOf(npp);
  if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
  return guarded<NPError>(NPERR_GENERIC_ERROR, [&] { return setWindow(*instance, window); });
}

NPError pluginNewStream(NPP npp, NPMIMEType, NPStream* stream, NPBool, uint16_t* type) {
  Instance* instance = instanceOf(npp);
  if (!instance || !stream) return NPERR_INVALID_INSTANCE_ERROR;
  return guarded<NPError>(NPERR_OUT_OF_MEMORY_ERROR, [&] { return newStream(*instance, stream, type); });
}

NPError pluginDestroyStream(NPP npp, NPStream* stream, NPReason reason) {
  Instance* instance = instanceOf(npp);
  if (!instance || !stream) return NPERR_INVALID_INSTANCE_ERROR;
  return guarded<NPError>(NPERR_GENERIC_ERROR, [&] { return destroyStream(*instance, stream, reason); });
}

void pluginStreamAsFile(NPP, NPStream*, const char*) {}

int32_t pluginWriteReady(NPP npp, NPStream* stream) {
  Instance* instance = instanceOf(npp);
  return instance ? guarded<int32_t>(0, [&] { return writeReady(*instance, stream); }) : 0;
}

int32_t pluginWrite(NPP npp, NPStream* stream, int32_t, int32_t length, void* buffer) {
  Instance* instance = instanceOf(npp);
  if (!instance) return -1;
  return guarded<int32_t>(-1, [&] { return writeStream(*instance, stream, length, buffer); });
}

void pluginPrint(NPP, NPPrint*) {}

void pluginUrlNotify(NPP, const char*, NPReason, void*) {}

NPError getEntryPoints(NPPluginFuncs* table) {
  if (!table) return NPERR_INVALID_FUNCTABLE_ERROR;
  table->version = kPluginInterfaceVersion;
  table->newp = pluginNew;
  table->destroy = pluginDestroy;
  table->setwindow = pluginSetWindow;
  table->newstream = pluginNewStream;
  table->destroystream = pluginDestroyStream;
  table->asfile = pluginStreamAsFile;
  table->writeready = pluginWriteReady;
  table->write = pluginWrite;
  table->print = pluginPrint;
  table->event = nullptr;
  pluginState().pluginTable = table;
  return NPERR_NO_ERROR;
}

NPError initializePlugin(NPNetscapeFuncs* browser) {
  if (!browser) return NPERR_INVALID_FUNCTABLE_ERROR;
  if ((browser->version >> 8) != 0) return NPERR_INCOMPATIBLE_VERSION_ERROR;
  PluginState& state = pluginState();
  // A browser with a shorter table leaves the functions it lacks null.
  state.browser = NPNetscapeFuncs{};
  std::size_t size = browser->size ? std::min<std::size_t>(browser->size, sizeof(NPNetscapeFuncs))
                                   : sizeof(NPNetscapeFuncs);
  memcpy(&state.browser, browser, size);
  if ((browser->version & 0xFF) > 8 && state.pluginTable) state.pluginTable->urlnotify = pluginUrlNotify;
  state.comStarted = SUCCEEDED(CoInitialize(nullptr));
  return NPERR_NO_ERROR;
}

NPError shutdownPlugin() {
  PluginState& state = pluginState();
  if (state.comStarted) CoUninitialize();
  state.comStarted = false;
  state.browser = NPNetscapeFuncs{};
  return NPERR_NO_ERROR;
}

}  // namespace

}  // namespace npvlx

using namespace npvlx;

extern "C" NPError WINAPI NP_GetEntryPoints(NPPluginFuncs* table) {
  return guarded<NPError>(NPERR_GENERIC_ERROR, [&] { return getEntryPoints(table); });
}

extern "C" NPError WINAPI NP_Initialize(NPNetscapeFuncs* browser) {
  return guarded<NPError>(NPERR_GENERIC_ERROR, [&] { return initializePlugin(browser); });
}

extern "C" NPError WINAPI NP_Shutdown() {
  return guarded<NPError>(NPERR_GENERIC_ERROR, [] { return shutdownPlugin(); });
}
