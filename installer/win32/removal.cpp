// Undoing an installation: what its record names goes (the files into the
// recycle bin, each folder it created once empty), then the Kebo and
// uninstall keys. Nothing that was there before the installation is
// touched, and no folder that must be kept, whatever the record says.
#include <shlobj.h>
#include <userenv.h>

#include <vector>

#include "common/win32/registry_tree.h"
#include "install_job.h"
#include "removal_rule.h"
#include "resource_ids.h"
#include "system_texts.h"
#include "text_rules.h"

namespace nandor {

namespace {

void addFolder(std::vector<std::string>& folders, const std::string& folder) {
  if (!folder.empty()) folders.push_back(longPathOf(folder));
}

// The Program Files folders of the machine's own registry view: on a 64-bit
// Windows a 32-bit program's CSIDL_PROGRAM_FILES is the x86 one only.
void addNativeProgramFiles(std::vector<std::string>& folders) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0,
                    KEY_READ | KEY_WOW64_64KEY, &raw) != ERROR_SUCCESS) {
    return;
  }
  win::UniqueRegKey key(raw);
  for (const char* name : {"ProgramFilesDir", "ProgramW6432Dir", "ProgramFilesDir (x86)", "CommonFilesDir"}) {
    char value[MAX_PATH] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
      addFolder(folders, value);
    }
  }
}

ProtectedFolders protectedFolders() {
  ProtectedFolders folders;
  addFolder(folders.keptWithContents, windowsDirectory());
  char system[MAX_PATH] = {};
  if (GetSystemDirectoryA(system, sizeof system) > 0) addFolder(folders.keptWithContents, system);
  for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILESX86, CSIDL_PROFILE,
                    CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_STARTMENU,
                    CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_FAVORITES, CSIDL_MYPICTURES, CSIDL_MYMUSIC,
                    CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_DOCUMENTS, CSIDL_COMMON_APPDATA,
                    CSIDL_COMMON_STARTMENU, CSIDL_COMMON_PROGRAMS}) {
    addFolder(folders.kept, shellFolder(csidl));
  }
  addNativeProgramFiles(folders.kept);
  char profiles[MAX_PATH] = {};
  DWORD size = sizeof profiles;
  if (GetProfilesDirectoryA(profiles, &size)) addFolder(folders.keptWithChildren, profiles);
  return folders;
}

std::string ownFileName() {
  std::string program = ownProgramPath();
  return program.substr(program.find_last_of("\\/:") + 1);
}

bool isFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The recorded files into the recycle bin. The installer copy lies in the
// Windows folder and is the one file allowed there; while it runs (the
// uninstallation itself) it goes at the next start of the system.
void removeFiles(const std::vector<std::string>& files, const ProtectedFolders& guard) {
  const std::string copy = longPathOf(joinPath(windowsDirectory(), ownFileName()));
  const std::string running = longPathOf(ownProgramPath());
  std::string list;  // names, each ended by a zero byte, the list by another
  for (const std::string& recorded : files) {
    std::string file = longPathOf(recorded);
    if (!isFile(file)) continue;
    bool isCopy = equalsIgnoringCase(file, copy);
    if (isCopy && equalsIgnoringCase(file, running)) {
      MoveFileExA(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
      continue;
    }
    if (isCopy || mayDeleteFile(file, guard)) list.append(file).push_back('\0');
  }
  if (list.empty()) return;
  list.push_back('\0');
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = list.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI;
  SHFileOperationA(&operation);
}

// Innermost first; a folder that still holds anything stays.
void removeFolders(const std::vector<std::string>& folders, const ProtectedFolders& guard) {
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
    std::string folder = longPathOf(*it);
    if (mayDeleteFolder(folder, guard)) RemoveDirectoryA(folder.c_str());
  }
}

std::string installDirectoryFromRegistry() {
  HKEY raw = nullptr;
  std::string key = joinPath(loadText(IDS_SOFTWARE), loadText(IDS_KEBO));
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return {};
  win::UniqueRegKey kebo(raw);
  char value[MAX_PATH + 1] = {};
  DWORD size = MAX_PATH;
  DWORD type = 0;
  if (RegQueryValueExA(kebo.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return {};
  }
  return value;
}

// An installation made before installations kept a record: what one
// makes, by name; its folders too are removed only when empty.
InstallRecord usualInstallation() {
  InstallRecord record;
  std::string directory = installDirectoryFromRegistry();
  if (directory.empty()) return record;
  const std::string shortcut = loadText(IDS_SHORTCUT_FILE);
  const std::string menuFolder = joinPath(shellFolder(CSIDL_PROGRAMS), loadText(IDS_FOLDER_NAME));
  record.addFolder(directory);
  record.addFolder(joinPath(directory, loadText(IDS_BIN)));
  record.addFolder(menuFolder);
  record.addFile(joinPath(directory, loadText(IDS_PLUGIN_FILE)));
  record.addFile(joinPath(menuFolder, shortcut));
  record.addFile(joinPath(shellFolder(CSIDL_DESKTOPDIRECTORY), shortcut));
  return record;
}

}  // namespace

void removeInstallation(const InstallRecord& made) {
  std::optional<InstallRecord> stored = loadInstallRecord();
  InstallRecord record = stored ? *stored : made.empty() ? usualInstallation() : InstallRecord();
  record.merge(made);
  ProtectedFolders guard = protectedFolders();
  removeFiles(record.files(), guard);
  removeFolders(record.folders(), guard);
  win::deleteRegistryTree(HKEY_LOCAL_MACHINE, joinPath(loadText(IDS_SOFTWARE), loadText(IDS_KEBO)));
  win::deleteRegistryTree(HKEY_LOCAL_MACHINE, joinPath(loadText(IDS_UNINSTALL_PARENT), loadText(IDS_KEBO)));
}

}  // namespace nandor
