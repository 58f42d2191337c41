// The binding to the Voxa virtual machine in tolvane.dll: its four embedding
// entry points, found through the registry entry of the Voxa environment,
// and the machine state that every control of the process shares.
#pragma once

#include <windows.h>

#include <string>

namespace ravix {

class VoxaControl;

using MachineMessageFunction = int(__cdecl*)(const char* text);
using MachineEndFunction = int(__cdecl*)(int unused);

using VoxaWinMainActiveXFunction = int(__cdecl*)(int, int, const char* commandLine, int cmdShow, int, int memSize,
                                                 HWND window, MachineMessageFunction onMessage);
using EndVoxaMachineFunction = int(__cdecl*)(int);
using VoxaSendMessageFunction = int(__cdecl*)(const char* message);
using CBEndVoxaFunction = int(__cdecl*)(MachineEndFunction onEnd);

// One copy per process. The entry points are empty until a load succeeds.
struct MachineState {
  VoxaWinMainActiveXFunction winMain = nullptr;
  EndVoxaMachineFunction endMachine = nullptr;
  VoxaSendMessageFunction sendMessage = nullptr;
  CBEndVoxaFunction setEndCallback = nullptr;
  // From a successful launch until the launching control is destroyed.
  bool machineRunning = false;
  // The control that last entered LaunchMachine past its first check; the
  // machine's callbacks raise their events on it. Not owned.
  VoxaControl* currentControl = nullptr;
};
extern MachineState machine;

// The shell's command for Voxa application files, under HKEY_CLASSES_ROOT.
inline constexpr const char* kMachineCommandKey = "vxm_auto_file\\shell\\open\\command";

// The directory of the machine's program in that command: everything up to
// and including its last '\' or '/', without a leading quote; empty when the
// command holds no separator.
std::string machineDirectory(const std::string& command);

// Reads the command, makes its directory current and loads tolvane.dll from
// there; binds the entry points when that works. Reports nothing.
void LoadMachineLibrary();

int __cdecl MachineMessageCallback(const char* text);
int __cdecl MachineEndCallback(int unused);

}  // namespace ravix
