// The package's uninstall entry and the registry keys of the machine's file
// type (.vxm, vxm_auto_file).
#include <windows.h>

#include <array>

#include "argument_text.h"
#include "common/win32/handles.h"
#include "common/win32/registry_tree.h"
#include "system_rules.h"
#include "system_commands.h"

namespace setup::win32 {

namespace {

constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kOpenCommandKey = "vxm_auto_file\\shell\\open\\command";

bool setString(HKEY key, const char* name, const std::string& value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace

// An empty entry name would name the Uninstall key itself: no entry.
void SetUninstall(Interpreter&, const CommandCall& call) {
  if (!hasText(call.value1)) return;
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_ALL_ACCESS, &raw) != ERROR_SUCCESS) return;
  win::UniqueRegKey uninstall(raw);
  HKEY entryRaw = nullptr;
  if (RegCreateKeyExA(uninstall.get(), call.value1->c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &entryRaw, nullptr) != ERROR_SUCCESS) {
    return;
  }
  win::UniqueRegKey entry(entryRaw);
  setString(entry.get(), "DisplayName", *call.value1);
  setString(entry.get(), "UninstallString", textOf(call.value2));
}

void DelUninstall(Interpreter&, const CommandCall& call) {
  if (!hasText(call.value1)) return;
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_ALL_ACCESS, &raw) != ERROR_SUCCESS) return;
  win::UniqueRegKey uninstall(raw);
  RegDeleteKeyA(uninstall.get(), call.value1->c_str());
}

void CleanRegistry(Interpreter&, const CommandCall&) {
  constexpr std::array kKeys = {kOpenCommandKey, "vxm_auto_file\\shell\\open",
                                "vxm_auto_file\\DefaultIcon", "vxm_auto_file\\shell",
                                "vxm_auto_file", ".vxm"};
  for (const char* key : kKeys) win::deleteRegistryTree(HKEY_CLASSES_ROOT, key);
}

void DetectVOXA(Interpreter& in, const CommandCall&) {
  char command[1024] = {};
  LONG size = sizeof command;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, kOpenCommandKey, command, &size) != ERROR_SUCCESS) {
    in.setCondition(0);
    return;
  }
  command[sizeof command - 1] = '\0';
  in.setCondition(1);
  in.variables().set("VOXApath", voxaDirectoryFromCommand(command));
}

}  // namespace setup::win32
