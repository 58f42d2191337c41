// The agreement dialog (LICENCE): a file shown exactly as it is stored.
#include "common/win32/handles.h"
#include "dialogs.h"
#include "resource.h"

namespace setup::win32 {

namespace {

std::string wholeFile(const std::string& path) {
  // Shared for writing too: an agreement another program holds open still shows.
  win::UniqueHandle file = win::adoptFileHandle(CreateFileA(path.c_str(), GENERIC_READ,
      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string bytes;
  if (!file) return bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  return bytes;
}

INT_PTR CALLBACK licenceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* path = reinterpret_cast<const std::string*>(lParam);
      if (path != nullptr) SetDlgItemTextA(dialog, IDC_LICENCE_TEXT, wholeFile(*path).c_str());
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam) == IDOK ? 1 : 0);
        return TRUE;
      }
      break;
    default: break;
  }
  return FALSE;
}

}  // namespace

INT_PTR showLicence(HWND owner, const std::string* path) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), "LICENCE", owner, licenceProc,
                         reinterpret_cast<LPARAM>(path));
}

}  // namespace setup::win32
