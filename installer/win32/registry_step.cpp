// The registry step of an installation: the Kebo key, the uninstall entry,
// the install directories and the Start-menu shortcut.
#include <shlobj.h>

#include <cstdlib>

#include "install_job.h"
#include "resource_ids.h"
#include "system_texts.h"
#include "text_rules.h"
#include "trusted_servers.h"

namespace nandor {

namespace {

win::UniqueRegKey createKey(const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return win::UniqueRegKey(key);
}

bool setText(HKEY key, const char* name, const std::string& value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

// Internet Explorer's own entries for the Kebo extension and MIME type
// would take the plug-in's place.
void deleteInternetExplorerEntries() {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Internet Explorer\\Plugins", 0, KEY_ALL_ACCESS,
                    &raw) != ERROR_SUCCESS) {
    return;
  }
  win::UniqueRegKey plugins(raw);
  RegDeleteKeyA(plugins.get(), "Extension\\.kebo");
  RegDeleteKeyA(plugins.get(), "MIME\\application/x-KEBO-VLX");
}

// The servers the plug-in lets install and launch components: the server of
// the program's own home page.
void writeTrustedServers(HKEY kebo) {
  std::optional<kebo::Server> home = kebo::serverOf(loadText(IDS_HOME_PAGE));
  if (home) setText(kebo, "Servers", kebo::serverText(*home));
}

// Creates the folder when it is missing, and records it when this
// installation made it.
void makeFolder(InstallJob& job, const std::string& folder) {
  if (CreateDirectoryA(folder.c_str(), nullptr)) job.record.addFolder(longPathOf(folder));
}

}  // namespace

bool runRegistryStep(InstallJob& job, const std::string& installDirectory) {
  const std::string keboKeyPath = joinPath(loadText(IDS_SOFTWARE), loadText(IDS_KEBO));
  win::UniqueRegKey kebo = createKey(keboKeyPath);
  if (!kebo) return false;
  setText(kebo.get(), nullptr, installDirectory);
  DWORD number = std::strtoul(loadText(IDS_VLX_NUMBER).c_str(), nullptr, 10);
  RegSetValueExA(kebo.get(), loadText(IDS_VLX).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                 sizeof number);
  writeTrustedServers(kebo.get());
  // An installation over an earlier one: what that one made goes too. The
  // record is there from now on, even while it is empty.
  job.record.merge(loadInstallRecord().value_or(InstallRecord()));
  saveInstallRecord(job.record);

  if (!createKey(joinPath(keboKeyPath, loadText(IDS_COMPONENTS)))) return false;

  win::UniqueRegKey uninstall = createKey(loadText(IDS_UNINSTALL_PARENT) + "\\" + loadText(IDS_KEBO));
  if (!uninstall) return false;
  bool written = setText(uninstall.get(), "DisplayName", loadText(IDS_KEBO));
  std::string program = ownProgramPath();
  job.installerCopyPath = joinPath(windowsDirectory(), program.substr(program.find_last_of("\\/:") + 1));
  // Without quotes: the system's uninstall entries of the time had none.
  written &= setText(uninstall.get(), "UninstallString",
                     job.installerCopyPath + " " + loadText(IDS_UNINSTALL_ARGUMENT));

  deleteInternetExplorerEntries();

  job.installDirectory = installDirectory;
  for (const std::string& level : directoryLevels(joinPath(installDirectory, loadText(IDS_BIN)))) {
    makeFolder(job, level);
  }

  std::string menuFolder = joinPath(shellFolder(CSIDL_PROGRAMS), loadText(IDS_FOLDER_NAME));
  makeFolder(job, menuFolder);
  std::string menuShortcut = joinPath(menuFolder, loadText(IDS_SHORTCUT_FILE));
  if (writeInternetShortcut(menuShortcut, job.homePage, 0, job.installerCopyPath)) {
    job.record.addFile(longPathOf(menuShortcut));
  }
  saveInstallRecord(job.record);
  return written;
}

}  // namespace nandor
