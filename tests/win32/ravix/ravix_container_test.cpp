// The control embedded by the system's own ActiveX container: the AtlAxWin
// window class of atl.dll, which creates the control from its ProgID.
#include <gtest/gtest.h>

#include "ravix_support.h"

namespace ravix_test {
namespace {

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using AtlAxGetControlFunction = HRESULT(WINAPI*)(HWND, IUnknown**);

void pumpMessages() {
  MSG message;
  for (int round = 0; round < 5; ++round) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  }
}

HWND firstChild(HWND parent) { return GetWindow(parent, GW_CHILD); }

TEST(RavixContainer, AtlAxWinEmbedsActivatesAndPaintsTheControl) {
  HMODULE atl = LoadLibraryA("atl.dll");
  if (atl == nullptr) GTEST_SKIP() << "no atl.dll in this system";
  auto init = reinterpret_cast<AtlAxWinInitFunction>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto getControl =
      reinterpret_cast<AtlAxGetControlFunction>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
  ASSERT_NE(init, nullptr);
  ASSERT_NE(getControl, nullptr);
  ASSERT_TRUE(init());

  setMachineCommand(standardMachineCommand());
  win::UniqueWindow page(CreateWindowExA(0, "STATIC", "page", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                         400, 300, nullptr, nullptr, nullptr, nullptr));
  HWND host = CreateWindowExA(0, "AtlAxWin", ravix::kProgId, WS_CHILD | WS_VISIBLE, 20, 30, 240, 160, page.get(),
                              nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  pumpMessages();

  ComPtr<IUnknown> unknown;
  ASSERT_EQ(getControl(host, &unknown), S_OK);
  ComPtr<IVoxa> control;
  ASSERT_EQ(unknown.As(&control), S_OK);
  ComPtr<IOleWindow> oleWindow;
  ASSERT_EQ(unknown.As(&oleWindow), S_OK);
  HWND window = nullptr;
  ASSERT_EQ(oleWindow->GetWindow(&window), S_OK) << "not in place active";
  EXPECT_EQ(firstChild(host), window);
  EXPECT_EQ(GetParent(window), host);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  EXPECT_EQ(std::string(name).rfind("ATL:", 0), 0u) << name;
  EXPECT_EQ(std::string(name).size(), 12u) << name;
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 240);
  EXPECT_EQ(client.bottom, 160);

  // Painted: the window colour of its class, nothing over it.
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
  HDC dc = GetDC(window);
  EXPECT_EQ(GetPixel(dc, 120, 80), GetSysColor(COLOR_WINDOW));
  ReleaseDC(window, dc);
  // Focus: the control takes it when activated in the user interface.
  SetFocus(page.get());
  SetFocus(window);
  pumpMessages();
  EXPECT_EQ(GetFocus(), window);

  // The machine gets the control's window.
  std::string report = testFolder().root + "container-report.txt";
  BstrVariable commandLine(("run report=" + report).c_str());
  long result = 0;
  ASSERT_EQ(control->LaunchMachine(commandLine.get(), 1, 64, &result), S_OK);
  std::vector<std::string> lines = readLines(report);
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines[0].find(std::string("window=") + name), std::string::npos) << lines[0];

  control.Reset();
  oleWindow.Reset();
  unknown.Reset();
  DestroyWindow(host);
  pumpMessages();
  lines = readLines(report);
  EXPECT_EQ(lines.back(), "end machine 0");
}

}  // namespace
}  // namespace ravix_test
