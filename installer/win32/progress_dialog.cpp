// The progress dialog: runs the installation's steps or the uninstallation's
// search, and ends with a result when the worker reports or the user cancels.
#include "dialogs.h"
#include "resource_ids.h"
#include "system_texts.h"

namespace nandor {

namespace {

struct ProgressState {
  InstallJob& job;
  bool uninstall;
  const std::string& installDirectory;
  ProgressResult result = ProgressResult::NoResource;  // when the dialog cannot even be made
  bool ending = false;  // messages served while the worker stops must not end it twice
};

ProgressState& stateOf(HWND dialog) {
  return *reinterpret_cast<ProgressState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void finish(HWND dialog, ProgressResult result, bool withRemoval) {
  ProgressState& state = stateOf(dialog);
  if (state.ending) return;
  state.ending = true;
  stopWorker(state.job, withRemoval);
  state.result = result;
  EndDialog(dialog, static_cast<INT_PTR>(result));
}

void start(HWND dialog) {
  ProgressState& state = stateOf(dialog);
  state.job.progressDialog = dialog;
  centreOnScreen(dialog);
  SetDlgItemTextA(dialog, IDC_SPINNER, "");
  if (state.uninstall) {
    SetWindowTextA(dialog, loadText(IDS_UNINSTALL_CAPTION).c_str());
    SetDlgItemTextA(dialog, IDC_PROGRESS_TEXT, loadText(IDS_UNINSTALL_PROGRESS).c_str());
    state.job.abort = false;
    state.job.found = false;
    if (!startWorker(state.job, WorkerMode::remove)) finish(dialog, ProgressResult::NoResource, true);
    return;
  }
  SetWindowTextA(dialog, loadText(IDS_INSTALL_CAPTION).c_str());
  SetDlgItemTextA(dialog, IDC_PROGRESS_TEXT, loadText(IDS_INSTALL_PROGRESS).c_str());
  if (!runRegistryStep(state.job, state.installDirectory)) {
    finish(dialog, ProgressResult::RegistryFailed, true);
  } else if (!runFileStep(state.job)) {
    finish(dialog, ProgressResult::NoResource, true);
  }
}

INT_PTR CALLBACK progressProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      start(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDCANCEL) return FALSE;
      finish(dialog, ProgressResult::Cancelled, true);
      return TRUE;
    case kSearchFound:
      finish(dialog, ProgressResult::Completed, stateOf(dialog).uninstall);
      return TRUE;
    case kSearchFoundNone:
      finish(dialog, ProgressResult::NoBrowser, true);
      return TRUE;
    case kSearchNotWritten:
      finish(dialog, ProgressResult::NoResource, true);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

ProgressResult runProgressDialog(InstallJob& job, bool uninstall, const std::string& installDirectory) {
  ProgressState state{job, uninstall, installDirectory};
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PROGRESS), nullptr, progressProcedure,
                  reinterpret_cast<LPARAM>(&state));
  return state.result;
}

}  // namespace nandor
