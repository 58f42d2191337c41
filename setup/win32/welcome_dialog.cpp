// The welcome dialog (STARTINSTALL): the package's introduction, its
// picture and the destination directory, which the user may change.
#include "dialogs.h"
#include "resource.h"

namespace setup::win32 {

namespace {

INT_PTR CALLBACK welcomeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* interpreter = reinterpret_cast<Interpreter*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      interpreter = reinterpret_cast<Interpreter*>(lParam);
      SetDlgItemTextA(dialog, IDC_INTRO, interpreter->variable("INTRO").value_or("").c_str());
      SetDlgItemTextA(dialog, IDC_DESTINATION, interpreter->variable("DSTDIR").value_or("").c_str());
      if (Value title = interpreter->variable("APP_TITTLE")) SetWindowTextA(dialog, title->c_str());
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: EndDialog(dialog, 1); return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        case IDC_CHANGE_DESTINATION:
          if (std::optional<std::string> chosen = chooseDirectory(dialog)) {
            interpreter->variables().set("DSTDIR", *chosen);
            SetDlgItemTextA(dialog, IDC_DESTINATION, chosen->c_str());
          }
          return TRUE;
        default: break;
      }
      break;
    default: break;
  }
  return FALSE;
}

}  // namespace

INT_PTR showWelcomeDialog(HWND owner, Interpreter& interpreter) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), "STARTINSTALL", owner, welcomeProc,
                         reinterpret_cast<LPARAM>(&interpreter));
}

}  // namespace setup::win32
