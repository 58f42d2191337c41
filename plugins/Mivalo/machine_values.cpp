// Compound results, built bottom-up as the machine requires.
#include "mivalo_machine.h"

namespace mivalo {

VmCallbacks* gVm = nullptr;
HWND gHostWindow = nullptr;
std::atomic<uint32_t> gMachineNumber{0};
thread_local uint32_t tStreamMachine = 0;

namespace {

void popPushed(VmMachine* m, int pushed) {
  for (int k = 0; k < pushed; ++k) gVm->vmPop(m);
}

void setFloat(VmMachine* m, int block, float value) {
  gVm->vmSetWord(m, block, 0, vm::bitsFromFloat(value));
}

}  // namespace

int allocateBlocks(VmMachine* m, const BlockRequest* requests, int count, int* blocks) {
  int pushed = 0;
  for (int k = 0; k < count; ++k) {
    const int block = gVm->vmAlloc(m, requests[k].words, requests[k].kind);
    if (block < 0) {
      popPushed(m, pushed);
      return block;
    }
    blocks[k] = block;
    if (k + 1 < count) {
      const int code = gVm->vmPush(m, vm::makeRef(block));
      if (code < 0) {
        popPushed(m, pushed);
        return code;
      }
      ++pushed;
    }
  }
  popPushed(m, pushed);
  return 0;
}

int floatResult(VmMachine* m, float value) {
  const int block = gVm->vmAlloc(m, 1, kVmRawBlock);
  if (block < 0) return block;
  setFloat(m, block, value);
  gVm->vmPoke(m, 0, vm::makeRef(block));
  return 0;
}

int float3Result(VmMachine* m, const float (&xyz)[3]) {
  const BlockRequest requests[] = {
      {3, kVmTupleBlock}, {1, kVmRawBlock}, {1, kVmRawBlock}, {1, kVmRawBlock}};
  int blocks[4];
  const int code = allocateBlocks(m, requests, 4, blocks);
  if (code < 0) return code;
  for (int k = 0; k < 3; ++k) {
    setFloat(m, blocks[1 + k], xyz[k]);
    gVm->vmSetWord(m, blocks[0], k, vm::makeRef(blocks[1 + k]));
  }
  gVm->vmPoke(m, 0, vm::makeRef(blocks[0]));
  return 0;
}

int float3PairResult(VmMachine* m, const float (&first)[3], const float (&second)[3]) {
  // The pair, then each triple followed by its three floats.
  BlockRequest requests[9] = {{2, kVmTupleBlock}};
  for (int t = 0; t < 2; ++t) {
    requests[1 + 4 * t] = {3, kVmTupleBlock};
    for (int k = 0; k < 3; ++k) requests[2 + 4 * t + k] = {1, kVmRawBlock};
  }
  int blocks[9];
  const int code = allocateBlocks(m, requests, 9, blocks);
  if (code < 0) return code;
  const float* triples[2] = {first, second};
  for (int t = 0; t < 2; ++t) {
    const int triple = blocks[1 + 4 * t];
    for (int k = 0; k < 3; ++k) {
      const int f = blocks[2 + 4 * t + k];
      setFloat(m, f, triples[t][k]);
      gVm->vmSetWord(m, triple, k, vm::makeRef(f));
    }
    gVm->vmSetWord(m, blocks[0], t, vm::makeRef(triple));
  }
  gVm->vmPoke(m, 0, vm::makeRef(blocks[0]));
  return 0;
}

int intTupleResult(VmMachine* m, const int32_t* values, int count) {
  const int block = gVm->vmAlloc(m, count, kVmTupleBlock);
  if (block < 0) return block;
  for (int k = 0; k < count; ++k) gVm->vmSetWord(m, block, k, vm::makeInt(values[k]));
  gVm->vmPoke(m, 0, vm::makeRef(block));
  return 0;
}

}  // namespace mivalo
