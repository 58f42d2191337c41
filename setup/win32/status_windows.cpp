#include "status_windows.h"

#include <commctrl.h>

#include "messages.h"
#include "resource.h"

namespace setup::win32 {

namespace {

INT_PTR CALLBACK statusWindowProc(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    SetDlgItemTextA(window, IDC_STATUS, text::kPleaseWait);
    return TRUE;
  }
  return FALSE;
}

HWND open(const char* templateName, HWND owner) {
  HWND window =
      CreateDialogParamA(GetModuleHandleA(nullptr), templateName, owner, statusWindowProc, 0);
  if (window != nullptr) ShowWindow(window, SW_SHOW);
  return window;
}

}  // namespace

HWND openProgressWindow(HWND parent) {
  HWND window = open("PROGRESSWAITER", parent);
  if (window != nullptr) {
    HWND bar = GetDlgItem(window, IDC_PROGRESS);
    PostMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    PostMessageA(bar, PBM_SETPOS, 0, 0);
    PostMessageA(bar, PBM_SETSTEP, 1, 0);
  }
  return window;
}

HWND openSearchWindow(HWND owner) { return open("WAITER", owner); }

}  // namespace setup::win32
