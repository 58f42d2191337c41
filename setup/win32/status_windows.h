// The modeless windows of a run: the progress window of every section run
// (template PROGRESSWAITER) and the search window of ApplyOnFiles (WAITER).
#pragma once

#include <windows.h>

namespace setup::win32 {

HWND openProgressWindow(HWND parent);
HWND openSearchWindow(HWND owner);

}  // namespace setup::win32
