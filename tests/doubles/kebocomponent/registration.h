// Class registration of the component doubles under HKEY_CLASSES_ROOT.
#pragma once

#include <windows.h>

#include <string>

namespace kebocomponent {

// CLSID\{clsid}\<serverKind> = command, with the threading model for DLLs.
bool registerClass(const CLSID& clsid, const char* serverKind, const std::string& command);
bool unregisterClass(const CLSID& clsid);
std::string modulePath(HMODULE module);

}  // namespace kebocomponent
