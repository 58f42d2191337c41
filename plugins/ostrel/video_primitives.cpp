// ZKV6header, ZKV6readWarp and ZKV6readIX. The video decoder is not built
// yet: until it is, each primitive takes its arguments and answers nil.
#include "ostrel_machine.h"

using namespace ostrel;

extern "C" int VMCALL ZKV6header(VmMachine* m) {
  VmValue args[1];
  popArguments(m, args);
  return pushResult(m, vm::kNil);
}

extern "C" int VMCALL ZKV6readWarp(VmMachine* m) {
  VmValue args[2];
  popArguments(m, args);
  return pushResult(m, vm::kNil);
}

extern "C" int VMCALL ZKV6readIX(VmMachine* m) {
  VmValue args[3];
  popArguments(m, args);
  return pushResult(m, vm::kNil);
}
