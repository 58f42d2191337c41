// Module state of Ravix.dll: its instance handle and the lock count (live
// objects plus server locks) that DllCanUnloadNow answers from.
#pragma once

#include <windows.h>

#include <string>

namespace ravix {

HINSTANCE moduleInstance();
// The module's full path, as GetModuleFileNameA gives it.
std::string modulePath();

void lockModule();
void unlockModule();
LONG moduleLockCount();

// Holds one lock on the module for its lifetime: a member of every object
// the module hands out.
class ModuleLock {
 public:
  ModuleLock() { lockModule(); }
  ~ModuleLock() { unlockModule(); }
  ModuleLock(const ModuleLock&) = delete;
  ModuleLock& operator=(const ModuleLock&) = delete;
};

}  // namespace ravix
