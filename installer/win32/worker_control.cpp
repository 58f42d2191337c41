// Starting the search worker and stopping it from the dialogs' thread.
#include "install_job.h"
#include "system_texts.h"

namespace nandor {

bool startWorker(InstallJob& job, WorkerMode mode) {
  job.mode = mode;
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, searchWorker, &job, 0, &id);
  if (thread == nullptr) return false;
  job.worker.reset(thread);
  job.workerId = id;
  return true;
}

void stopWorker(InstallJob& job, bool withRemoval) {
  if (job.workerId != 0) {
    job.abort = true;
    HANDLE thread = job.worker.get();
    // The worker sends its spinner text to this thread's dialog: serve it
    // while waiting, or both threads would wait for each other.
    while (true) {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      if (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0 + 1) break;
    }
    job.worker.reset();
    job.workerId = 0;
    if (job.mode == WorkerMode::copy) {
      for (const std::string& file : job.pluginFiles) job.record.addFile(longPathOf(file));
      job.pluginFiles.clear();
      saveInstallRecord(job.record);
    }
  }
  if (withRemoval) removeInstallation(job.record);
}

}  // namespace nandor
