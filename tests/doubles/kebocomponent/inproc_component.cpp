// keboinproc.dll: the component double as an in-process server.
#include <windows.h>
#include <olectl.h>

#include "component_ids.h"
#include "registration.h"
#include "test_component.h"

using namespace kebocomponent;

namespace {
HMODULE module = nullptr;
ComponentFactory factory;
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) module = instance;
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != kInprocComponentClsid) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, object);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return liveObjects == 0 ? S_OK : S_FALSE; }

extern "C" HRESULT WINAPI DllRegisterServer() {
  writeLog("DllRegisterServer");
  return registerClass(kInprocComponentClsid, "InprocServer32", modulePath(module)) ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
  return unregisterClass(kInprocComponentClsid) ? S_OK : SELFREG_E_CLASS;
}
