// The file step of an installation: the compressed plug-in written into the
// install directory, the program copied to the Windows directory as the
// uninstaller, and the search started.
#include <cstdio>

#include "install_job.h"
#include "resource_ids.h"
#include "system_texts.h"
#include "text_rules.h"

namespace nandor {

namespace {

void showError(HWND owner, const std::string& text) {
  showBox(owner, text, "KEBO Installation - Erreur", MB_OK | MB_ICONERROR);
}

// The whole payload resource, or false with the error box shown. A file
// created is recorded, even when it could be written only in part.
bool writePayload(InstallJob& job) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_PAYLOAD), "BINARY");
  const void* data = found ? LockResource(LoadResource(nullptr, found)) : nullptr;
  DWORD size = found ? SizeofResource(nullptr, found) : 0;
  win::UniqueHandle file = win::adoptFileHandle(CreateFileA(job.payloadPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) {
    job.record.addFile(longPathOf(job.payloadPath));
    saveInstallRecord(job.record);
  }
  DWORD written = 0;
  // A payload written only in part would be expanded into every browser
  // as a broken plug-in: it fails like one that cannot be created.
  bool complete = file && data != nullptr && WriteFile(file.get(), data, size, &written, nullptr) && written == size;
  if (complete) return true;
  char text[2 * MAX_PATH];
  std::snprintf(text, sizeof text, "Impossible de cr\xe9" "er le fichier %s (%p)", job.payloadPath.c_str(), data);
  showError(job.progressDialog, text);
  return false;
}

}  // namespace

bool runFileStep(InstallJob& job) {
  job.worker.reset();
  job.workerId = 0;
  job.abort = false;
  job.found = false;
  job.written = false;
  job.pluginFiles.clear();
  job.payloadPath = joinPath(job.installDirectory, loadText(IDS_PLUGIN_FILE));
  if (!writePayload(job)) return false;

  std::string program = ownProgramPath();
  if (!CopyFileA(program.c_str(), job.installerCopyPath.c_str(), FALSE)) {
    char text[3 * MAX_PATH];
    std::snprintf(text, sizeof text, "Impossible de copier le fichier %s vers %s", program.c_str(),
                  job.installerCopyPath.c_str());
    showError(job.progressDialog, text);
    return false;
  }
  job.record.addFile(longPathOf(job.installerCopyPath));
  saveInstallRecord(job.record);
  return startWorker(job, WorkerMode::copy);
}

}  // namespace nandor
