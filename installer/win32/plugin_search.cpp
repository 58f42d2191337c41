// The worker thread: walks every fixed drive for the plug-in folders of
// Netscape ("..\..\Program\Netscape.exe") and Internet Explorer
// ("..\IExplore.exe") and expands the plug-in into each (copy mode) or
// deletes it there (delete mode).
#include <cstring>

#include "common/win32/lz_expand.h"
#include "install_job.h"
#include "resource_ids.h"
#include "system_texts.h"
#include "text_rules.h"

namespace nandor {

namespace {

struct Search {
  InstallJob& job;
  std::string fileName;
  Spinner spinner;
};

// Present when it opens, or when a running program holds it open.
bool fileIsThere(const char* path) {
  win::UniqueHandle file =
      win::adoptFileHandle(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file || GetLastError() == ERROR_SHARING_VIOLATION;
}

bool besideABrowser() {
  return fileIsThere("..\\..\\Program\\Netscape.exe") || fileIsThere("..\\IExplore.exe");
}

// Messages for this thread; a WM_QUIT among them ends the search.
void serveMessages(InstallJob& job) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) job.abort = true;
    DispatchMessageA(&message);
  }
}

void handlePluginFolder(Search& search, const std::string& folder) {
  std::string target = joinPath(folder, search.fileName);
  search.job.found = true;
  if (search.job.mode == WorkerMode::copy) {
    // Only a plug-in actually written counts: a search that wrote none must
    // not end in a success.
    if (win::lzExpandFile(search.job.payloadPath, target)) {
      search.job.pluginFiles.push_back(target);
      search.job.written = true;
    }
  } else {
    DeleteFileA(target.c_str());
  }
}

// What the search found, as the progress dialog is told.
UINT completionMessage(const InstallJob& job) {
  if (job.mode == WorkerMode::copy && job.found && !job.written) return kSearchNotWritten;
  bool handled = job.mode == WorkerMode::copy ? job.written.load() : job.found.load();
  return handled ? kSearchFound : kSearchFoundNone;
}

void searchPluginFolders(Search& search) {
  if (search.job.abort) return;
  WIN32_FIND_DATAA entry;
  win::UniqueFind listing(FindFirstFileA("*.*", &entry));
  if (listing.get() == INVALID_HANDLE_VALUE) return;
  do {
    serveMessages(search.job);
    if (search.job.abort) break;
    bool directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A linked folder could lead back up the tree and never end.
    bool linked = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (!directory || linked || entry.cFileName[0] == '.') continue;
    // A folder that cannot be entered is skipped: ".." afterwards would
    // climb out of the folder being listed.
    if (!SetCurrentDirectoryA(entry.cFileName)) continue;
    char here[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof here, here);
    SendMessageA(GetDlgItem(search.job.progressDialog, IDC_SPINNER), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(search.spinner.advance().c_str()));
    if (isPluginFolderName(entry.cFileName) && besideABrowser()) handlePluginFolder(search, here);
    searchPluginFolders(search);
    SetCurrentDirectoryA("..");
  } while (FindNextFileA(listing.get(), &entry));
}

}  // namespace

DWORD WINAPI searchWorker(void* parameter) {
  InstallJob& job = *static_cast<InstallJob*>(parameter);
  Search search{job, loadText(IDS_PLUGIN_FILE), {}};
  char saved[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof saved, saved);
  char drives[512] = {};
  DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
  for (const char* root = drives; length < sizeof drives && *root != '\0' && !job.abort;
       root += std::strlen(root) + 1) {
    if (GetDriveTypeA(root) == DRIVE_FIXED && SetCurrentDirectoryA(root)) searchPluginFolders(search);
  }
  SetCurrentDirectoryA(saved);
  if (!job.payloadPath.empty()) DeleteFileA(job.payloadPath.c_str());
  if (!job.abort) PostMessageA(job.progressDialog, completionMessage(job), 0, 0);
  return 0;
}

}  // namespace nandor
