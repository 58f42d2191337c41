// Linked into each deliverable in place of the C++ runtime's default
// terminate handler. That one prints the name of the exception's type,
// which brings in the runtime's name demangler and a printf of its own
// (some 75 KB in every file). No exception leaves a deliverable's entry
// points, and a GUI program or a DLL in a host has no console to print to:
// ending the process is all there is to do.
#include <cstdlib>
#include <cxxabi.h>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
