#include "machine_binding.h"

#include <direct.h>

#include "com_boundary.h"
#include "voxa_control.h"

namespace ravix {

MachineState machine;

namespace {

std::string machineCommand() {
  char value[1024] = {};
  LONG size = sizeof value;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, kMachineCommandKey, value, &size) != ERROR_SUCCESS) return {};
  value[sizeof value - 1] = '\0';
  return value;
}

template <typename Function>
Function entryPoint(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

void LoadMachineLibrary() {
  std::string directory = machineDirectory(machineCommand());
  if (directory.empty()) return;
  // As the C runtime changes directory: the process's current directory and
  // the drive's own. The browser keeps it; the outcome does not matter.
  _chdir(directory.c_str());
  // The directory ends in a separator already: the path is loaded with two.
  std::string path = directory + "\\tolvane.dll";
  HMODULE library = LoadLibraryA(path.c_str());
  if (library == nullptr) return;
  // Never freed: the machine may run as long as the process.
  machine.winMain = entryPoint<VoxaWinMainActiveXFunction>(library, "VOXAWinMainActiveX");
  machine.endMachine = entryPoint<EndVoxaMachineFunction>(library, "EndVoxaMachine");
  machine.sendMessage = entryPoint<VoxaSendMessageFunction>(library, "VoxaSendMessage");
  machine.setEndCallback = entryPoint<CBEndVoxaFunction>(library, "CBEndVoxa");
}

int __cdecl MachineMessageCallback(const char* text) {
  if (machine.currentControl == nullptr) return 0;
  guarded([&] {
    machine.currentControl->raiseMessage(text != nullptr ? text : "");
    return S_OK;
  });
  return 0;
}

int __cdecl MachineEndCallback(int) {
  MessageBoxA(nullptr, "End!!", "End", MB_OK);
  if (machine.currentControl == nullptr) return 0;
  guarded([] {
    machine.currentControl->raiseEndMachine();
    return S_OK;
  });
  return 0;
}

}  // namespace ravix
