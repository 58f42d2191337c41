// A window as the screen shows it, as the bytes of a 24-bit BMP file: for
// the programs and tests that keep pictures of dialogs.
#pragma once

#include <windows.h>

#include <string>

#include "common/win32/handles.h"

namespace win {

// Empty when the window has no place on the screen.
inline std::string windowPictureBmp(HWND window) {
  RECT frame;
  if (window == nullptr || !GetWindowRect(window, &frame)) return {};
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueGdiObject picture(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  std::string bytes;
  if (picture && bits != nullptr) {
    HGDIOBJ old = SelectObject(memory, picture.get());
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    GdiFlush();
    const DWORD imageBytes = ((static_cast<DWORD>(width) * 3 + 3) & ~3u) * static_cast<DWORD>(height);
    const DWORD headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER file{0x4D42, headers + imageBytes, 0, 0, headers};
    bytes.assign(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    bytes.append(static_cast<const char*>(bits), imageBytes);
    SelectObject(memory, old);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return bytes;
}

}  // namespace win
