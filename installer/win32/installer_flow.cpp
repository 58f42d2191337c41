// The program as the user meets it: browsers closed first, then the
// installation or the uninstallation, its messages and its exit code.
#include "installer_flow.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "close_browsers.h"
#include "command_line.h"
#include "dialogs.h"
#include "resource_ids.h"
#include "system_texts.h"
#include "text_rules.h"

namespace nandor {

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;

// False when the user would rather keep the browsers open.
bool browsersClosed(bool uninstall, const std::string& caption) {
  if (!closeBrowsers(BrowserAction::findOnly)) return true;
  UINT question = uninstall ? IDS_CLOSE_BROWSERS_UNINSTALL : IDS_CLOSE_BROWSERS_INSTALL;
  if (showBox(nullptr, loadText(question), caption, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) return false;
  closeBrowsers(BrowserAction::close);
  return true;
}

void finishInstallation(InstallJob& job, const InstallOptions& options, const std::string& caption) {
  std::string desktopShortcut = joinPath(shellFolder(CSIDL_DESKTOPDIRECTORY), loadText(IDS_SHORTCUT_FILE));
  if (options.shortcut == 1 && writeInternetShortcut(desktopShortcut, options.homePage, 0, job.installerCopyPath)) {
    job.record.addFile(longPathOf(desktopShortcut));
    saveInstallRecord(job.record);
  }
  showBox(nullptr, loadText(IDS_INSTALL_DONE), caption, MB_OK | MB_ICONINFORMATION);
  if (options.connect != 1) return;
  HINSTANCE opened = ShellExecuteA(nullptr, "open", options.homePage.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(opened) <= 32) {
    showBox(nullptr, loadText(IDS_CANNOT_CONNECT), caption, MB_OK | MB_ICONERROR);
  }
}

int install(const std::string& commandLine, const std::string& caption) {
  InstallOptions options;
  options.homePage = loadText(IDS_HOME_PAGE);
  options.installDirectory = joinPath(loadText(IDS_DEFAULT_PARENT), loadText(IDS_FOLDER_NAME));
  readOptions(commandLine, loadText(IDS_OPTION_INTRODUCER), options);
  bool ask = options.shortcut == kAsk || options.connect == kAsk || options.directoryChoosable;
  if (ask && !runOptionsDialog(options)) return kExitFailed;

  InstallJob job;
  job.homePage = options.homePage;
  ProgressResult result = runProgressDialog(job, false, options.installDirectory);
  if (result == ProgressResult::Completed) {
    finishInstallation(job, options, caption);
    return kExitDone;
  }
  static const UINT kMessages[] = {0, IDS_INSTALL_NO_REGISTRY, IDS_INSTALL_INTERRUPTED, IDS_INSTALL_NO_RESOURCE,
                                   IDS_INSTALL_NO_BROWSER};
  showBox(nullptr, loadText(kMessages[static_cast<int>(result)]), caption, MB_OK | MB_ICONERROR);
  return kExitFailed;
}

int uninstall(const std::string& caption) {
  InstallJob job;
  ProgressResult result = runProgressDialog(job, true, {});
  if (result == ProgressResult::Completed) {
    showBox(nullptr, loadText(IDS_UNINSTALL_DONE), caption, MB_OK | MB_ICONINFORMATION);
    return kExitDone;
  }
  if (result == ProgressResult::Cancelled || result == ProgressResult::NoResource) {
    UINT message = result == ProgressResult::Cancelled ? IDS_UNINSTALL_INTERRUPTED : IDS_UNINSTALL_NO_RESOURCE;
    showBox(nullptr, loadText(message), caption, MB_OK | MB_ICONERROR);
  }
  return kExitFailed;
}

}  // namespace

int runInstaller(const std::string& commandLine) {
  const std::string installCaption = loadText(IDS_INSTALL_CAPTION);
  const std::string uninstallCaption = loadText(IDS_UNINSTALL_CAPTION);
  bool uninstalling = isUninstallArgument(commandLine, loadText(IDS_UNINSTALL_ARGUMENT));
  const std::string& caption = uninstalling ? uninstallCaption : installCaption;
  if (!browsersClosed(uninstalling, caption)) return kExitDone;
  return uninstalling ? uninstall(caption) : install(commandLine, caption);
}

}  // namespace nandor
