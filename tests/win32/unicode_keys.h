// Registry keys named in Cyrillic and in CJK, several levels deep, for the
// tests of the registry tree walk: names that an ANSI code page such as
// 1252 cannot write, so that a listing by ANSI names would give "?" for them.
#pragma once

#include <windows.h>

#include <string>

#include "common/win32/registry_tree.h"

namespace unicode_keys {

// Кириллица\数据库\Ключ\子键, and 中文\Ёж beside it.
inline const std::wstring kDeep = L"\u041a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430\\\u6570\u636e\u5e93\\"
                                  L"\u041a\u043b\u044e\u0447\\\u5b50\u952e";
inline const std::wstring kBeside = L"\u4e2d\u6587\\\u0401\u0436";

// Makes both chains below root\key (an ANSI path); true when both exist.
inline bool createBelow(HKEY root, const std::string& key) {
  for (const std::wstring* chain : {&kDeep, &kBeside}) {
    HKEY raw = nullptr;
    std::wstring path = win::ansiToWide(key) + L"\\" + *chain;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(raw);
  }
  return true;
}

}  // namespace unicode_keys
