// The DSBuffer value: a two-element tuple whose word 0 names a
// one-word raw block holding the IDirectSoundBuffer pointer and whose word 1
// names one holding the IDirectSound3DBuffer pointer, or null for a buffer
// without 3D control.
#pragma once

#include <dsound.h>

#include "mivalo_machine.h"

namespace mivalo {

struct BufferValue {
  IDirectSoundBuffer* buffer = nullptr;
  IDirectSound3DBuffer* buffer3d = nullptr;
  // The raw blocks holding the pointers, or -1.
  int bufferBlock = -1;
  int buffer3dBlock = -1;
};

// Reads both pointers with vmGetWord; nil (or anything but a reference)
// unpacks to two nulls.
BufferValue unpackBuffer(VmMachine* m, VmValue value);

// Builds a new DSBuffer bottom-up and writes it into the result slot. On a
// failed allocation the buffer objects are released (the value never reached
// the program) and the negative code is returned.
int bufferResult(VmMachine* m, IDirectSoundBuffer* buffer, IDirectSound3DBuffer* buffer3d);

// After _DSSoundBuffer: both pointers of the value become null, so that
// every later primitive on it gives nil instead of touching a freed buffer.
void clearBuffer(VmMachine* m, const BufferValue& value);

}  // namespace mivalo
