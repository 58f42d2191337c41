// Deletes a registry key with every subkey below it.
//
// The walk uses the wide-character registry functions, so every subkey is
// reached by its real name, whatever the ANSI code page can write of it: an
// ANSI listing would give "?" for the letters it has not, and a key of that
// name is not there to open.
#pragma once

#include <windows.h>

#include <string>

#include "common/win32/bstr_ansi.h"
#include "common/win32/handles.h"

namespace win {

namespace detail {

// Removes parent\subkey and everything below it; false as soon as one key
// cannot be opened, listed or deleted, which ends the walk of its parent.
// A subkey that is not there counts as removed only where missingIsGone:
// a child that was just listed and cannot be opened is a failure.
inline bool deleteKeyAndBelow(HKEY parent, const wchar_t* subkey, bool missingIsGone) {
  HKEY raw = nullptr;
  LONG opened = RegOpenKeyExW(parent, subkey, 0, KEY_READ | KEY_WRITE, &raw);
  if (opened == ERROR_FILE_NOT_FOUND && missingIsGone) return true;
  if (opened != ERROR_SUCCESS) return false;
  {
    UniqueRegKey key(raw);
    wchar_t name[256];  // a key name has at most 255 characters
    // Always the first child: each pass removes it, or the walk ends.
    while (true) {
      DWORD size = static_cast<DWORD>(sizeof name / sizeof name[0]);
      LONG listed = RegEnumKeyExW(key.get(), 0, name, &size, nullptr, nullptr, nullptr, nullptr);
      if (listed == ERROR_NO_MORE_ITEMS) break;
      if (listed != ERROR_SUCCESS || !deleteKeyAndBelow(key.get(), name, false)) return false;
    }
  }
  return RegDeleteKeyW(parent, subkey) == ERROR_SUCCESS;
}

}  // namespace detail

// True when the key is gone afterwards (also when it was never there). An
// empty subkey names no key below parent: nothing is deleted, false.
inline bool deleteRegistryTree(HKEY parent, const std::wstring& subkey) {
  return !subkey.empty() && detail::deleteKeyAndBelow(parent, subkey.c_str(), true);
}

// The same for a key path written in the ANSI code page.
inline bool deleteRegistryTree(HKEY parent, const std::string& subkey) {
  return deleteRegistryTree(parent, ansiToWide(subkey));
}

}  // namespace win
