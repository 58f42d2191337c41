// Undoing an installation: the install directory into the recycle bin, the
// Kebo and uninstall keys, the desktop and Start-menu shortcuts.
#include <shlobj.h>

#include <vector>

#include "common/win32/registry_tree.h"
#include "install_job.h"
#include "removal_rule.h"
#include "resource_ids.h"
#include "system_texts.h"
#include "text_rules.h"

namespace nandor {

namespace {

// Folders no removal may delete, nor any folder that holds one.
std::vector<std::string> protectedFolders() {
  std::vector<std::string> folders = {windowsDirectory()};
  char system[MAX_PATH] = {};
  if (GetSystemDirectoryA(system, sizeof system) > 0) folders.push_back(system);
  for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROFILE, CSIDL_DESKTOPDIRECTORY,
                    CSIDL_PERSONAL, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_STARTMENU, CSIDL_PROGRAMS,
                    CSIDL_STARTUP, CSIDL_FAVORITES, CSIDL_MYPICTURES, CSIDL_MYMUSIC, CSIDL_COMMON_DESKTOPDIRECTORY,
                    CSIDL_COMMON_DOCUMENTS, CSIDL_COMMON_APPDATA, CSIDL_COMMON_STARTMENU, CSIDL_COMMON_PROGRAMS}) {
    std::string folder = shellFolder(csidl);
    if (!folder.empty()) folders.push_back(folder);
  }
  return folders;
}

std::string installDirectoryFromRegistry() {
  HKEY raw = nullptr;
  std::string key = joinPath(loadText(IDS_SOFTWARE), loadText(IDS_KEBO));
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return {};
  win::UniqueRegKey kebo(raw);
  char value[MAX_PATH + 1] = {};
  DWORD size = MAX_PATH;
  DWORD type = 0;
  if (RegQueryValueExA(kebo.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return {};
  }
  return value;
}

void deleteInstallDirectory() {
  std::string directory = installDirectoryFromRegistry();
  char full[MAX_PATH] = {};
  DWORD length = directory.empty() ? 0 : GetFullPathNameA(directory.c_str(), sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full || !mayDeleteFolder(full, protectedFolders())) return;
  std::string from = std::string(full) + '\0';  // a list of names, ended by an empty one
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI;
  SHFileOperationA(&operation);
}

}  // namespace

void removeInstallation() {
  deleteInstallDirectory();
  win::deleteRegistryTree(HKEY_LOCAL_MACHINE, joinPath(loadText(IDS_SOFTWARE), loadText(IDS_KEBO)));
  win::deleteRegistryTree(HKEY_LOCAL_MACHINE, joinPath(loadText(IDS_UNINSTALL_PARENT), loadText(IDS_KEBO)));
  const std::string shortcut = loadText(IDS_SHORTCUT_FILE);
  DeleteFileA(joinPath(shellFolder(CSIDL_DESKTOPDIRECTORY), shortcut).c_str());
  std::string menuFolder = joinPath(shellFolder(CSIDL_PROGRAMS), loadText(IDS_FOLDER_NAME));
  DeleteFileA(joinPath(menuFolder, shortcut).c_str());
  RemoveDirectoryA(menuFolder.c_str());
}

}  // namespace nandor
