// Nandor.exe: installs the Kebo browser plug-in, or removes it with "/Uninstall".
#include <windows.h>

#include "installer_flow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  return nandor::runInstaller(commandLine != nullptr ? commandLine : "");
}
