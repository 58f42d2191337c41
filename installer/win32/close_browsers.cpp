#include "close_browsers.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "common/win32/handles.h"
#include "resource_ids.h"
#include "system_texts.h"
#include "text_rules.h"

namespace nandor {

namespace {

constexpr int kIconSide = 16;
constexpr size_t kImageBytes = kIconSide * kIconSide * 3;  // 24-bit rows of 48 bytes, no padding
constexpr int kTolerance = 15;

using Image = const unsigned char*;

BOOL CALLBACK countImage(HMODULE, LPCSTR, LPSTR, LONG_PTR count) {
  ++*reinterpret_cast<size_t*>(count);
  return TRUE;
}

BOOL CALLBACK collectImage(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR list) {
  auto& images = *reinterpret_cast<std::vector<Image>*>(list);
  HRSRC found = FindResourceA(module, name, type);
  // An image of another size would be read past its end.
  if (found == nullptr || SizeofResource(module, found) != kImageBytes) return TRUE;
  images.push_back(static_cast<Image>(LockResource(LoadResource(module, found))));
  return TRUE;
}

std::vector<Image> storedImages() {
  size_t count = 0;
  EnumResourceNamesA(nullptr, "ICONS", countImage, reinterpret_cast<LONG_PTR>(&count));
  std::vector<Image> images;
  images.reserve(count);
  EnumResourceNamesA(nullptr, "ICONS", collectImage, reinterpret_cast<LONG_PTR>(&images));
  return images;
}

// The 16 x 16 colour pixels of the class's small icon, bottom-up 24-bit.
bool readSmallIcon(HWND window, unsigned char (&pixels)[kImageBytes]) {
  HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return false;
  win::UniqueGdiObject colour(info.hbmColor);
  win::UniqueGdiObject mask(info.hbmMask);
  BITMAP shape{};
  if (!colour || !GetObjectA(colour.get(), sizeof shape, &shape) || shape.bmWidth != kIconSide ||
      shape.bmHeight != kIconSide) {
    return false;
  }
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (display == nullptr) return false;
  BITMAPINFO layout{};
  layout.bmiHeader = {sizeof(BITMAPINFOHEADER), kIconSide, kIconSide, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  int rows = GetDIBits(display, static_cast<HBITMAP>(colour.get()), 0, kIconSide, pixels, &layout, DIB_RGB_COLORS);
  DeleteDC(display);
  return rows > 0;
}

bool matches(Image stored, const unsigned char* read) {
  for (size_t i = 0; i < kImageBytes; ++i) {
    if (std::abs(static_cast<int>(stored[i]) - static_cast<int>(read[i])) > kTolerance) return false;
  }
  return true;
}

// The processes, other than this one, that have a module of that file name
// loaded: browsers holding the plug-in, whatever their icons.
std::set<DWORD> processesWithModule(const std::string& fileName) {
  std::set<DWORD> holders;
  win::UniqueHandle processes = win::adoptFileHandle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 process{};
  process.dwSize = sizeof process;
  if (!processes || !Process32First(processes.get(), &process)) return holders;
  do {
    if (process.th32ProcessID == 0 || process.th32ProcessID == GetCurrentProcessId()) continue;
    win::UniqueHandle modules =
        win::adoptFileHandle(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process.th32ProcessID));
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    if (!modules || !Module32First(modules.get(), &module)) continue;
    do {
      if (equalsIgnoringCase(module.szModule, fileName)) {
        holders.insert(process.th32ProcessID);
        break;
      }
    } while (Module32Next(modules.get(), &module));
  } while (Process32Next(processes.get(), &process));
  return holders;
}

struct Enumeration {
  BrowserAction action;
  std::vector<Image> images;
  std::set<DWORD> pluginHolders;
  bool found = false;
};

bool isBrowserWindow(const Enumeration& enumeration, HWND window, DWORD processId) {
  // Only visible windows of a holder: its hidden helper windows would be
  // closed before the user has seen anything.
  if (enumeration.pluginHolders.count(processId) != 0 && IsWindowVisible(window)) return true;
  unsigned char pixels[kImageBytes];
  if (!readSmallIcon(window, pixels)) return false;
  for (Image image : enumeration.images) {
    if (matches(image, pixels)) return true;
  }
  return false;
}

void closeWindowAndWait(HWND window, DWORD processId) {
  win::UniqueHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (process) WaitForSingleObject(process.get(), 4000);
}

BOOL CALLBACK visitWindow(HWND window, LPARAM parameter) {
  auto& enumeration = *reinterpret_cast<Enumeration*>(parameter);
  if (!IsWindow(window)) return TRUE;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (!isBrowserWindow(enumeration, window, processId)) return TRUE;
  enumeration.found = true;
  if (enumeration.action == BrowserAction::close) closeWindowAndWait(window, processId);
  return TRUE;
}

}  // namespace

bool closeBrowsers(BrowserAction action) {
  Enumeration enumeration{action, storedImages(), processesWithModule(loadText(IDS_PLUGIN_FILE))};
  EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&enumeration));
  return enumeration.found;
}

}  // namespace nandor
