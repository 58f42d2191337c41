#include "registration.h"

#include "common/win32/handles.h"
#include "common/win32/registry_tree.h"

namespace kebocomponent {

namespace {
std::string classKey(const CLSID& clsid) {
  wchar_t wide[64];
  StringFromGUID2(clsid, wide, 64);
  char text[64];
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  return std::string("CLSID\\") + text;
}

bool setText(HKEY key, const char* name, const std::string& value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}
}  // namespace

bool registerClass(const CLSID& clsid, const char* serverKind, const std::string& command) {
  HKEY raw = nullptr;
  std::string path = classKey(clsid) + "\\" + serverKind;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  win::UniqueRegKey key(raw);
  bool ok = setText(key.get(), nullptr, command);
  if (strcmp(serverKind, "InprocServer32") == 0) ok = ok && setText(key.get(), "ThreadingModel", "Apartment");
  return ok;
}

bool unregisterClass(const CLSID& clsid) { return win::deleteRegistryTree(HKEY_CLASSES_ROOT, classKey(clsid)); }

std::string modulePath(HMODULE module) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  return std::string(path, length);
}

}  // namespace kebocomponent
