#include "system_texts.h"

#include <shlobj.h>

#include "common/win32/handles.h"

namespace nandor {

std::string loadText(UINT id) {
  char buffer[1024];
  int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

int showBox(HWND owner, const std::string& text, const std::string& caption, UINT style) {
  return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

std::string shellFolder(int csidl) {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

std::string windowsDirectory() {
  char path[MAX_PATH] = {};
  UINT length = GetWindowsDirectoryA(path, sizeof path);
  return length > 0 && length < sizeof path ? path : "";
}

std::string longPathOf(const std::string& path) {
  char full[MAX_PATH] = {};
  DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) return path;
  char expanded[MAX_PATH] = {};
  length = GetLongPathNameA(full, expanded, sizeof expanded);
  return length > 0 && length < sizeof expanded ? expanded : full;
}

std::string ownProgramPath() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return length > 0 && length < sizeof path ? path : "";
}

bool writeInternetShortcut(const std::string& path, const std::string& url, int iconIndex,
                           const std::string& iconFile) {
  win::UniqueHandle file = win::adoptFileHandle(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::string text = "[InternetShortcut]\r\nURL=" + url + "\r\nIconIndex=" + std::to_string(iconIndex) +
                     "\r\nIconFile=" + iconFile + "\r\n";
  DWORD written = 0;
  WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  return true;
}

}  // namespace nandor
