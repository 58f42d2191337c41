#include "buffer_value.h"

namespace mivalo {
namespace {

template <typename T>
T* pointerIn(VmMachine* m, VmValue tuple, int k, int& block) {
  const VmValue ref = gVm->vmGetWord(m, vm::blockOf(tuple), k);
  if (!vm::isRef(ref)) return nullptr;
  block = vm::blockOf(ref);
  return pointerOf<T>(gVm->vmGetWord(m, block, 0));
}

}  // namespace

BufferValue unpackBuffer(VmMachine* m, VmValue value) {
  BufferValue unpacked;
  if (!vm::isRef(value)) return unpacked;
  unpacked.buffer = pointerIn<IDirectSoundBuffer>(m, value, 0, unpacked.bufferBlock);
  unpacked.buffer3d = pointerIn<IDirectSound3DBuffer>(m, value, 1, unpacked.buffer3dBlock);
  return unpacked;
}

int bufferResult(VmMachine* m, IDirectSoundBuffer* buffer, IDirectSound3DBuffer* buffer3d) {
  // The tuple and the first raw block are pushed while the second is
  // allocated, then popped and linked.
  const BlockRequest requests[] = {{2, kVmTupleBlock}, {1, kVmRawBlock}, {1, kVmRawBlock}};
  int blocks[3];
  const int code = allocateBlocks(m, requests, 3, blocks);
  if (code < 0) {
    if (buffer3d != nullptr) buffer3d->Release();
    buffer->Release();
    return code;
  }
  gVm->vmSetWord(m, blocks[1], 0, valueOf(buffer));
  gVm->vmSetWord(m, blocks[2], 0, valueOf(buffer3d));
  gVm->vmSetWord(m, blocks[0], 0, vm::makeRef(blocks[1]));
  gVm->vmSetWord(m, blocks[0], 1, vm::makeRef(blocks[2]));
  gVm->vmPoke(m, 0, vm::makeRef(blocks[0]));
  return 0;
}

void clearBuffer(VmMachine* m, const BufferValue& value) {
  if (value.bufferBlock >= 0) gVm->vmSetWord(m, value.bufferBlock, 0, 0);
  if (value.buffer3dBlock >= 0) gVm->vmSetWord(m, value.buffer3dBlock, 0, 0);
}

}  // namespace mivalo
