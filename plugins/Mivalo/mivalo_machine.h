// What every Mivalo primitive shares: the machine's callback
// table and the host window, the frame convention (trailing arguments
// popped, the first one's slot turned into the result slot), and the
// builders of results that need blocks.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "values.h"
#include "vmapi.h"

namespace mivalo {

// Set by VOXAloadMivalo for the life of the process.
extern VmCallbacks* gVm;
// Set by InitEvents; null until then.
extern HWND gHostWindow;

// The machines the package has served: the load export counts its calls.
// One machine runs in a process at a time, so a new call means that the
// machine before it has ended.
extern std::atomic<uint32_t> gMachineNumber;
// On a stream thread, the number of the machine that started the stream; 0
// on the machine's own thread.
extern thread_local uint32_t tStreamMachine;
// Whether this thread's log lines reach a running machine: a stream whose
// machine has ended writes nothing.
inline bool machineListens() {
  return gVm != nullptr && (tStreamMachine == 0 || tStreamMachine == gMachineNumber.load());
}

// A native pointer carried as a value word (DS, DSListener3D, DSStream), and
// back. A value word of -1 is nil whatever it would point at.
template <typename T>
T* pointerOf(VmValue v) {
  return reinterpret_cast<T*>(static_cast<uintptr_t>(static_cast<uint32_t>(v)));
}
inline VmValue valueOf(const void* p) {
  return static_cast<VmValue>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)));
}

// The frame of a primitive of N arguments. On construction the trailing
// arguments are popped, the first is read at depth 0 and nil is poked there
// at once, so that every early exit leaves nil as the result.
template <int N>
class Frame {
 public:
  explicit Frame(VmMachine* m) : m_(m) {
    for (int k = N - 1; k >= 1; --k) args_[k] = gVm->vmPop(m);
    args_[0] = gVm->vmPeek(m, 0);
    gVm->vmPoke(m, 0, vm::kNil);
  }
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  VmMachine* machine() const { return m_; }
  VmValue arg(int k) const { return args_[k]; }
  bool isNil(int k) const { return vm::isNil(args_[k]); }
  // An integer argument, decoded with a shift (nil decodes to -1).
  int32_t intArg(int k) const { return vm::intOf(args_[k]); }
  // An F argument: false for nil, else word 0 of its block.
  bool floatArg(int k, float& out) const { return vm::readFloat(*gVm, m_, args_[k], out); }

  // Writes the result into the result slot.
  void result(VmValue v) const { gVm->vmPoke(m_, 0, v); }
  void resultInt(int32_t n) const { result(vm::makeInt(n)); }
  // Setters: the first argument unchanged.
  void resultFirst() const { result(args_[0]); }

 private:
  VmMachine* m_;
  VmValue args_[N];
};

// One block of a compound result.
struct BlockRequest {
  int words;
  int kind;  // kVmRawBlock or kVmTupleBlock
};

// Allocates count blocks bottom-up: each block but the last is
// pushed before the next allocation, and all pushed references are popped
// after the last one. Returns 0 with the block numbers in blocks, or the
// negative code of the failed allocation or push, with everything it pushed
// removed.
int allocateBlocks(VmMachine* m, const BlockRequest* requests, int count, int* blocks);

// Results written into the result slot; each returns 0 or the negative code
// of a failed allocation (the result then stays nil).
int floatResult(VmMachine* m, float value);
// [F F F]: x in word 0, y in word 1, z in word 2.
int float3Result(VmMachine* m, const float (&xyz)[3]);
// [[F F F] [F F F]]: first, then second.
int float3PairResult(VmMachine* m, const float (&first)[3], const float (&second)[3]);
// A tuple of integers.
int intTupleResult(VmMachine* m, const int32_t* values, int count);

}  // namespace mivalo
