// A plug-in's package written as one row an entry (name, function, argument
// count, type string), turned at compile time into the four parallel arrays
// the machine's registration takes.
#pragma once

#include <cstddef>

#include "vmapi.h"

struct VmPackageEntry {
  const char* name;
  VmPrimitive function;
  int argCount;
  const char* type;
};

// An entry that declares an opaque type: no function, no type string.
constexpr VmPackageEntry vmOpaqueType(const char* name) { return {name, nullptr, kVmOpaqueType, nullptr}; }

template <size_t Count>
struct VmPackage {
  constexpr explicit VmPackage(const VmPackageEntry (&entries)[Count])
      : names(), functions(), argCounts(), types() {
    for (size_t k = 0; k < Count; ++k) {
      names[k] = entries[k].name;
      functions[k] = entries[k].function;
      argCounts[k] = entries[k].argCount;
      types[k] = entries[k].type;
    }
  }

  // The machine's answer to the registration of the package named `package`.
  int registerWith(VmCallbacks* vm, VmMachine* m, const char* package) const {
    return vm->vmRegisterPackage(m, package, static_cast<int>(Count), names, functions, argCounts, types);
  }

  static constexpr int size() { return static_cast<int>(Count); }

  const char* names[Count];
  VmPrimitive functions[Count];
  int argCounts[Count];
  const char* types[Count];
};
