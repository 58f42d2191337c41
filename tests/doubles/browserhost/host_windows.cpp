#include "host_windows.h"

#include <vector>

#include "common/win32/dialog_robot.h"
#include "common/win32/handles.h"
#include "host_record.h"

namespace host {

namespace {

constexpr char kPageClass[] = "BrowserHostPage";
constexpr char kAreaClass[] = "BrowserHostPluginArea";
constexpr UINT kDuringBoxMessage = WM_APP + 2;

HWND boxPage = nullptr;
void (*boxAction)() = nullptr;

LRESULT CALLBACK pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kDuringBoxMessage && boxAction) {
    boxAction();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void registerClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSA page{};
  page.lpfnWndProc = pageProc;
  page.hInstance = GetModuleHandleA(nullptr);
  page.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  page.lpszClassName = kPageClass;
  RegisterClassA(&page);
  WNDCLASSA area = page;
  area.lpfnWndProc = DefWindowProcA;
  area.hbrBackground = nullptr;
  area.lpszClassName = kAreaClass;
  RegisterClassA(&area);
}

// Every message box of this process, recorded and answered.
bool answerBox(HWND window) {
  char title[256] = {}, text[1024] = {};
  GetWindowTextA(window, title, sizeof title);
  GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
  record("MessageBox title=" + std::string(title) + " text=" + escapeBytes(text));
  // Posted first, so the box's own loop delivers it before the OK.
  if (boxAction) PostMessageA(boxPage, kDuringBoxMessage, 0, 0);
  PostMessageA(window, WM_COMMAND, IDOK, 0);
  return true;
}

}  // namespace

HWND createPage(int width, int height) {
  registerClasses();
  HWND page = CreateWindowExA(0, kPageClass, "browser double", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  return page;
}

HWND createPluginArea(HWND page, int top, int width, int height) {
  return CreateWindowExA(0, kAreaClass, "", WS_CHILD | WS_VISIBLE, 0, top, width, height, page, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void startMessageBoxRobot(HWND page, void (*duringBox)()) {
  boxPage = page;
  boxAction = duringBox;
  // It answers until the program ends.
  static win::DialogRobot* const robot = new win::DialogRobot(GetCurrentProcessId(), answerBox);
  (void)robot;
}

bool saveSnapshot(HWND area, const std::string& path) {
  RECT client{};
  GetClientRect(area, &client);
  int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return false;
  HDC windowDc = GetDC(area);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win::UniqueGdiObject bitmap(CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) {
    DeleteDC(memoryDc);
    ReleaseDC(area, windowDc);
    return false;
  }
  HGDIOBJ old = SelectObject(memoryDc, bitmap.get());
  BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
  GdiFlush();
  SelectObject(memoryDc, old);
  DeleteDC(memoryDc);
  ReleaseDC(area, windowDc);

  DWORD rowSize = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  DWORD imageSize = rowSize * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageSize;
  auto out = win::adoptFileHandle(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return false;
  DWORD written = 0;
  return WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
         WriteFile(out.get(), &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
         WriteFile(out.get(), bits, imageSize, &written, nullptr);
}

}  // namespace host
