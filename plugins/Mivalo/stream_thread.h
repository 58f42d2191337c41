// The streaming thread: one per stream, its record as parameter.
#pragma once

#include <windows.h>

namespace mivalo {

// Fills the stream's buffer, plays it looping and refills the half not
// playing at each notification until the data runs out or a stop is
// requested; then releases everything the stream holds, frees the record
// and ends, dropping the DLL reference the stream took.
DWORD WINAPI streamThread(void* record);

}  // namespace mivalo
