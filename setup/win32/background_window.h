// The background window of setup.exe (class "Install"): it paints the
// package's name and runs the whole script inside its handling of WM_USER.
#pragma once

#include <windows.h>

#include "common/win32/handles.h"
#include "interpreter.h"
#include "win32_host.h"

namespace setup::win32 {

struct SetupProgram {
  Win32Host host;
  Interpreter interpreter{host};
  win::UniqueGdiObject brush;
  win::UniqueGdiObject font;
  bool comInitialised = false;
  bool running = false;
};

bool registerBackgroundClass(HINSTANCE instance);
HWND createBackgroundWindow(HINSTANCE instance, SetupProgram& program);

}  // namespace setup::win32
