// The module entry points of Ravix.dll, the one self-registering class Voxa.
#include "module.h"

#include "class_factory.h"
#include "ravix_ids.h"

namespace ravix {

namespace {

HINSTANCE instance = nullptr;
LONG lockCount = 0;

}  // namespace

HINSTANCE moduleInstance() { return instance; }

std::string modulePath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(instance, path, sizeof path);
  return path;
}

void lockModule() { InterlockedIncrement(&lockCount); }
void unlockModule() { InterlockedDecrement(&lockCount); }
LONG moduleLockCount() { return lockCount; }

}  // namespace ravix

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    ravix::instance = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return ravix::moduleLockCount() == 0 ? S_OK : S_FALSE; }

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, ravix::kClsidVoxa)) return CLASS_E_CLASSNOTAVAILABLE;
  return ravix::getVoxaClassFactory(iid, out);
}
