// The installer's dialogs: the options before an installation and the
// progress dialog that runs the engine's steps.
#pragma once

#include <windows.h>

#include "command_line.h"
#include "install_job.h"

namespace nandor {

// Results of the progress dialog.
enum class ProgressResult {
  Completed = 0,
  RegistryFailed = 1,
  Cancelled = 2,
  NoResource = 3,  // a file could not be written or the worker could not start
  NoBrowser = 4,
};

// True when the user left the dialog with "Installer".
bool runOptionsDialog(InstallOptions& options);
ProgressResult runProgressDialog(InstallJob& job, bool uninstall, const std::string& installDirectory);
// Moves the window, without resizing it, to the centre of the screen.
void centreOnScreen(HWND window);

}  // namespace nandor
