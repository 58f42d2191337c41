// The options dialog: the install directory (changed only through the
// folder browser) and the two questions the command line left open.
#include <shlobj.h>

#include "dialogs.h"
#include "resource_ids.h"
#include "system_texts.h"
#include "text_rules.h"

namespace nandor {

namespace {

struct OptionsState {
  InstallOptions& options;
  bool accepted = false;
};

OptionsState& stateOf(HWND dialog) {
  return *reinterpret_cast<OptionsState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// A box shown only for an option still to be asked, which then starts at no.
void prepareQuestion(HWND dialog, int box, int& option) {
  bool ask = option == kAsk;
  ShowWindow(GetDlgItem(dialog, box), ask ? SW_SHOW : SW_HIDE);
  if (ask) option = 0;
}

void browseForFolder(HWND dialog) {
  HWND edit = GetDlgItem(dialog, IDC_DIRECTORY);
  BROWSEINFOA browse{};
  browse.hwndOwner = edit;
  browse.lpszTitle = "Choisissez le r\xe9pertoire d'installation de KEBO";
  browse.ulFlags = BIF_DONTGOBELOWDOMAIN;
  HRESULT com = CoInitialize(nullptr);
  if (LPITEMIDLIST chosen = SHBrowseForFolderA(&browse)) {
    char path[MAX_PATH] = {};
    if (SHGetPathFromIDListA(chosen, path)) SetWindowTextA(edit, joinPath(path, loadText(IDS_FOLDER_NAME)).c_str());
    CoTaskMemFree(chosen);
  }
  if (SUCCEEDED(com)) CoUninitialize();
}

INT_PTR CALLBACK optionsProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    InstallOptions& options = stateOf(dialog).options;
    SetWindowTextA(dialog, loadText(IDS_INSTALL_CAPTION).c_str());
    centreOnScreen(dialog);
    SetDlgItemTextA(dialog, IDC_DIRECTORY, options.installDirectory.c_str());
    SendDlgItemMessageA(dialog, IDC_DIRECTORY, EM_SETREADONLY, TRUE, 0);
    ShowWindow(GetDlgItem(dialog, IDC_BROWSE), options.directoryChoosable ? SW_SHOW : SW_HIDE);
    prepareQuestion(dialog, IDC_DESKTOP_SHORTCUT, options.shortcut);
    prepareQuestion(dialog, IDC_CONNECT, options.connect);
    return TRUE;
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  OptionsState& state = stateOf(dialog);
  switch (LOWORD(wParam)) {
    case IDC_DESKTOP_SHORTCUT:
      state.options.shortcut = state.options.shortcut ? 0 : 1;
      return TRUE;
    case IDC_CONNECT:
      state.options.connect = state.options.connect ? 0 : 1;
      return TRUE;
    case IDC_BROWSE:
      browseForFolder(dialog);
      return TRUE;
    case IDOK: {
      char directory[kMaxPathText + 1] = {};
      GetDlgItemTextA(dialog, IDC_DIRECTORY, directory, sizeof directory);
      state.options.installDirectory = directory;
      state.accepted = true;
      EndDialog(dialog, IDOK);
      return TRUE;
    }
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool runOptionsDialog(InstallOptions& options) {
  OptionsState state{options};
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_OPTIONS), nullptr, optionsProcedure,
                  reinterpret_cast<LPARAM>(&state));
  return state.accepted;
}

void centreOnScreen(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  HDC context = GetDC(window);
  int screenWidth = GetDeviceCaps(context, HORZRES);
  int screenHeight = GetDeviceCaps(context, VERTRES);
  ReleaseDC(window, context);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  SetWindowPos(window, nullptr, (screenWidth - width) / 2, (screenHeight - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace nandor
