// What every ostrel primitive shares: the machine's callback table, stored
// by the load export for the life of the process.
#pragma once

#include "values.h"
#include "vmapi.h"

namespace ostrel {

extern VmCallbacks* gVm;

// Pops every argument of a primitive, last one first, into args[0..N-1] in
// their declared order.
template <int N>
void popArguments(VmMachine* m, VmValue (&args)[N]) {
  for (int k = N - 1; k >= 0; --k) args[k] = gVm->vmPop(m);
}

inline int pushResult(VmMachine* m, VmValue result) { return gVm->vmPush(m, result); }

}  // namespace ostrel

// The primitives of "warp.pkg".
extern "C" {
int VMCALL WARPinitialize(VmMachine* m);
int VMCALL WARPcalcul(VmMachine* m);
int VMCALL WARPrender(VmMachine* m);
int VMCALL ZKV6header(VmMachine* m);
int VMCALL ZKV6readWarp(VmMachine* m);
int VMCALL ZKV6readIX(VmMachine* m);
int VMCALL DDRAWdefine(VmMachine* m);
}
