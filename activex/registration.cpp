// Self-registration: the class through the registry script resource 101,
// then the type library carried as resource "TYPELIB" 1.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include "com_boundary.h"
#include "common/win32/bstr_ansi.h"
#include "module.h"
#include "registry_script.h"

namespace ravix {

namespace {

constexpr int kRegistryScript = 101;

std::string resourceText(int id, const char* type) {
  HRSRC found = FindResourceA(moduleInstance(), MAKEINTRESOURCEA(id), type);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(moduleInstance(), found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return {};
  return std::string(static_cast<const char*>(bytes), SizeofResource(moduleInstance(), found));
}

HRESULT runClassScript(bool registering) {
  std::string script = resourceText(kRegistryScript, "REGISTRY");
  if (script.empty()) return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
  return runRegistryScript(script, {{"MODULE", modulePath()}}, registering);
}

// The library from the module itself or, failing that, from the file of the
// same name with the extension ".tlb".
HRESULT registerTypeLibrary() {
  std::wstring path = win::ansiToWide(modulePath());
  Microsoft::WRL::ComPtr<ITypeLib> library;
  HRESULT result = LoadTypeLib(path.c_str(), &library);
  if (FAILED(result)) {
    size_t dot = path.find_last_of(L'.');
    size_t separator = path.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator)) dot = path.size();
    path = path.substr(0, dot) + L".tlb";
    result = LoadTypeLib(path.c_str(), library.ReleaseAndGetAddressOf());
    if (FAILED(result)) return result;
  }
  std::wstring helpDirectory = path.substr(0, path.find_last_of(L"\\/") + 1);
  return RegisterTypeLib(library.Get(), path.data(), helpDirectory.data());
}

}  // namespace

}  // namespace ravix

extern "C" HRESULT WINAPI DllRegisterServer() {
  return ravix::guarded([] {
    HRESULT result = ravix::runClassScript(true);
    if (FAILED(result)) return result;
    return ravix::registerTypeLibrary();
  });
}

// The type library stays registered.
extern "C" HRESULT WINAPI DllUnregisterServer() {
  ravix::guarded([] { return ravix::runClassScript(false); });
  return S_OK;
}
