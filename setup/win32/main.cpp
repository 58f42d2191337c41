// setup.exe: runs the section "Setup" of the setup script "setup.ini" of the
// current directory, or "Uninstall" in uninstall mode.
//
//   setup.exe              the current directory as it is
//   setup.exe /UNINSTALL   uninstall mode (any letter case)
//   setup.exe DIRECTORY    DIRECTORY made the current directory
// A file "setup.txt" in the current directory selects uninstall mode too.
#include <windows.h>

#include <memory>

#include "background_window.h"
#include "common/win32/handles.h"
#include "script_text.h"

namespace {

// Shared for reading and writing: a program that holds the file open for
// writing does not hide it.
bool canOpenForReading(const char* path) {
  return static_cast<bool>(win::adoptFileHandle(CreateFileA(path, GENERIC_READ,
      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  using namespace setup::win32;
  const std::string arguments = commandLine != nullptr ? commandLine : "";
  bool uninstall = setup::equalsIgnoringCase(arguments, "/UNINSTALL");
  if (!uninstall && !arguments.empty()) SetCurrentDirectoryA(arguments.c_str());
  if (canOpenForReading("setup.txt")) uninstall = true;

  auto program = std::make_unique<SetupProgram>();
  program->interpreter.setUninstallMode(uninstall);
  program->interpreter.variables().clearAll();

  if (!registerBackgroundClass(instance)) return -1;
  HWND window = createBackgroundWindow(instance, *program);
  if (window == nullptr) return -1;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
