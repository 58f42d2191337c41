#include "com_report.h"

#include <cstring>

#include "mivalo_machine.h"
#include "sound_rules.h"

namespace mivalo {

void comMessageText(HRESULT code, char* text, size_t size) {
  if (size == 0) return;
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                text, static_cast<DWORD>(size), nullptr);
  if (length == 0) {
    comFallbackText(static_cast<uint32_t>(code), text, size);
    return;
  }
  // One report is one log line: the system's text loses its line break.
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r'))
    text[--length] = '\0';
}

HRESULT reportCom(HRESULT code, const char* file, int line) {
  if (!machineListens() || gVm->vmLog == nullptr) return code;
  char text[512];
  comMessageText(code, text, sizeof text);
  gVm->vmLog(0, "COM %s (%d): %s\n", file, line, text);
  return code;
}

}  // namespace mivalo
