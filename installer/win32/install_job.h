// The installation's one job record and the engine's steps: registry,
// files, the worker that searches the disks for browser plug-in folders,
// and the removal that undoes an installation.
#pragma once

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "common/win32/handles.h"
#include "install_record.h"

namespace nandor {

enum class WorkerMode { copy = 0, remove = 1 };

// Posted by the worker to the progress dialog when the search has ended:
// with at least one plug-in folder handled, with none found, or (copy mode)
// with plug-in folders found but the plug-in written into none of them.
constexpr UINT kSearchFound = WM_USER + 10;
constexpr UINT kSearchFoundNone = WM_USER + 11;
constexpr UINT kSearchNotWritten = WM_USER + 12;

struct InstallJob {
  std::string installerCopyPath;  // the uninstaller, in the Windows directory
  win::UniqueHandle worker;
  DWORD workerId = 0;  // non-zero while a worker exists
  // The only state the worker shares with the dialogs.
  std::atomic<bool> abort{false};
  std::atomic<bool> found{false};    // a browser's plug-in folder was met
  std::atomic<bool> written{false};  // copy mode: the plug-in went into one
  std::vector<std::string> pluginFiles;  // the worker's: plug-ins it expanded
  InstallRecord record;  // what this installation made; main thread only
  std::string installDirectory;
  std::string payloadPath;  // the compressed plug-in, written beside the install
  // Fixed before the progress dialog starts.
  std::string homePage;
  HWND progressDialog = nullptr;
  WorkerMode mode = WorkerMode::copy;
};

// Kebo key, uninstall entry, install directories and the Start-menu shortcut.
bool runRegistryStep(InstallJob& job, const std::string& installDirectory);
// Writes the payload, copies the program to the Windows directory and
// starts the worker in copy mode.
bool runFileStep(InstallJob& job);
// Starts the search in the given mode; false when the thread cannot start.
bool startWorker(InstallJob& job, WorkerMode mode);
// Aborts and joins the worker while serving this thread's messages, and
// records the plug-in files it wrote; then, with removal, undoes the
// installation.
void stopWorker(InstallJob& job, bool withRemoval);
// Removes what the installation made, as its stored record and made tell
// (files first, then each folder it created when it is empty, never a
// folder that must be kept), and the Kebo and uninstall keys.
void removeInstallation(const InstallRecord& made);

// The record of what the installation made, kept in the Kebo key; nothing
// when the key holds none (an installation made before records were kept).
std::optional<InstallRecord> loadInstallRecord();
void saveInstallRecord(const InstallRecord& record);

// The worker thread's body (argument: the job).
DWORD WINAPI searchWorker(void* job);

}  // namespace nandor
