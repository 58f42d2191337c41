#include "diagnostics.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace npvlx {

void diagnostic(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  OutputDebugStringA(text);
}

}  // namespace npvlx
