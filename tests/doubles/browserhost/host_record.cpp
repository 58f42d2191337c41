#include "host_record.h"

#include <windows.h>

#include <cstdio>

#include "common/win32/handles.h"

namespace host {

namespace {
win::Lock& recordLock() {
  static win::Lock lock;
  return lock;
}
}  // namespace

void record(const std::string& line) {
  win::LockHolder hold(recordLock());
  fwrite(line.data(), 1, line.size(), stdout);
  fputc('\n', stdout);
  fflush(stdout);
}

std::string escapeBytes(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c < 0x20 || c == '\\') {
      char hex[8];
      snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace host
