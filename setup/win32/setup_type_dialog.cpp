// The choice dialog (SETUPTYPE): one entry for each of SETUPTYPE0 to
// SETUPTYPE9 that is set, in that order.
#include <vector>

#include "dialogs.h"
#include "resource.h"
#include "system_rules.h"

namespace setup::win32 {

namespace {

struct Choice {
  Interpreter* interpreter;
  std::vector<std::string> entries;  // the values listed, in list order
};

// Entry k of the list stands for the k-th variable that is set
// (setupTypeChoices). With no entry, Continue leaves no type chosen:
// SETUPTYPE is cleared.
void takeSelection(HWND dialog, Choice& choice) {
  LRESULT index = SendDlgItemMessageA(dialog, IDC_CHOICES, LB_GETCURSEL, 0, 0);
  if (index >= 0 && static_cast<size_t>(index) < choice.entries.size()) {
    choice.interpreter->variables().set("SETUPTYPE", choice.entries[static_cast<size_t>(index)]);
  } else {
    choice.interpreter->variables().clear("SETUPTYPE");
  }
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK setupTypeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* choice = reinterpret_cast<Choice*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      choice = reinterpret_cast<Choice*>(lParam);
      choice->entries = setupTypeChoices(choice->interpreter->variables());
      for (const std::string& entry : choice->entries) {
        SendDlgItemMessageA(dialog, IDC_CHOICES, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
      }
      SendDlgItemMessageA(dialog, IDC_CHOICES, LB_SETCURSEL, 0, 0);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK ||
          (LOWORD(wParam) == IDC_CHOICES && HIWORD(wParam) == LBN_DBLCLK)) {
        takeSelection(dialog, *choice);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      break;
    default: break;
  }
  return FALSE;
}

}  // namespace

INT_PTR chooseSetupType(HWND owner, Interpreter& interpreter) {
  Choice choice{&interpreter, {}};
  return DialogBoxParamA(GetModuleHandleA(nullptr), "SETUPTYPE", owner, setupTypeProc,
                         reinterpret_cast<LPARAM>(&choice));
}

}  // namespace setup::win32
