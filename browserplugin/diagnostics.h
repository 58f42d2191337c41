// The plug-in's diagnostic hook: messages about answers and callbacks that
// cannot be acted on. They go to the system's debugger output and are
// otherwise dropped.
#pragma once

namespace npvlx {

void diagnostic(const char* format, ...);

}  // namespace npvlx
