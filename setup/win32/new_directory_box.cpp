// The new-directory box (NEWDIR) of the directory chooser: a name, checked,
// and no way out but an acceptable one.
#include <cstring>

#include "dialogs.h"
#include "resource.h"

namespace setup::win32 {

namespace {

// The name typed last; it lives as long as the program.
char typedName[MAX_PATH];

void focusName(HWND dialog) {
  HWND edit = GetDlgItem(dialog, IDC_NEW_NAME);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK newDirectoryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextA(dialog, IDC_NEW_NAME, "NewDirectory");
      focusName(dialog);
      return FALSE;  // the focus is set
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) focusName(dialog);
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        GetDlgItemTextA(dialog, IDC_NEW_NAME, typedName, sizeof typedName);
        if (acceptableDirectoryName(typedName)) EndDialog(dialog, 1);
        return TRUE;
      }
      // Escape comes as IDCANCEL: the box has no Cancel.
      return LOWORD(wParam) == IDCANCEL;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      break;
    default: break;
  }
  return FALSE;
}

}  // namespace

bool acceptableDirectoryName(const std::string& name) {
  return !name.empty() && name.find_first_of("\"*/:<>?\\|") == std::string::npos;
}

std::optional<std::string> askNewDirectoryName(HWND owner) {
  if (DialogBoxParamA(GetModuleHandleA(nullptr), "NEWDIR", owner, newDirectoryProc, 0) == -1) {
    MessageBoxA(owner, "Could not create NewDir Dialog box", "ERROR", MB_OK);
    return std::nullopt;
  }
  return std::string(typedName);
}

}  // namespace setup::win32
