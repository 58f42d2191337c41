// The COM result report: after every COM, DirectSound and OLE
// call, success included, one log line "COM file (line): text" with the
// system's message text for the code. The report never changes control flow.
#pragma once

#include <windows.h>

#include <cstddef>

namespace mivalo {

// The system's message text for a code (FormatMessage from the system table,
// user default language) without its line break, or the fallback text where
// the system has none; cut to size.
void comMessageText(HRESULT code, char* text, size_t size);

// Writes the report line through vmLog; returns the code.
HRESULT reportCom(HRESULT code, const char* file, int line);

}  // namespace mivalo

// Reports the result of one call, named by this source file and line.
#define COM_REPORT(call) ::mivalo::reportCom((call), __FILE_NAME__, __LINE__)
