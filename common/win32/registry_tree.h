// Deletes a registry key with every subkey below it.
#pragma once

#include <windows.h>

#include <string>

#include "common/win32/handles.h"

namespace win {

// True when the key is gone afterwards (also when it was never there).
inline bool deleteRegistryTree(HKEY parent, const std::string& subkey) {
  HKEY raw = nullptr;
  LONG opened = RegOpenKeyExA(parent, subkey.c_str(), 0, KEY_READ | KEY_WRITE, &raw);
  if (opened == ERROR_FILE_NOT_FOUND) return true;
  if (opened != ERROR_SUCCESS) return false;
  {
    UniqueRegKey key(raw);
    char name[256];
    // Always the first child: each pass removes it.
    while (true) {
      DWORD size = sizeof name;
      if (RegEnumKeyExA(key.get(), 0, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (!deleteRegistryTree(key.get(), name)) return false;
    }
  }
  return RegDeleteKeyA(parent, subkey.c_str()) == ERROR_SUCCESS;
}

}  // namespace win
