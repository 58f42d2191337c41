// The background window of setup.exe (class "Install"): it paints the
// package's name and runs the whole script inside its handling of WM_USER.
#pragma once

#include <windows.h>

#include "common/win32/handles.h"
#include "interpreter.h"
#include "system_commands.h"
#include "win32_host.h"

namespace setup::win32 {

struct SetupProgram {
  SetupProgram() { interpreter.setSystemCommands(&system); }
  SetupProgram(const SetupProgram&) = delete;
  SetupProgram& operator=(const SetupProgram&) = delete;

  Win32Host host;
  Win32SystemCommands system;
  Interpreter interpreter{host};
  win::UniqueGdiObject brush;
  win::UniqueGdiObject font;
  bool comInitialised = false;
  bool running = false;
};

bool registerBackgroundClass(HINSTANCE instance);
HWND createBackgroundWindow(HINSTANCE instance, SetupProgram& program);

}  // namespace setup::win32
