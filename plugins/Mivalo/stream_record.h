// The stream record, the pool the records live in, and the DSStream
// values that name them.
//
// The stream's thread owns its record and frees it when it stops, while the
// program may still hold the value. Records therefore live in a fixed pool
// of slots inside the DLL, and a value names a slot and the generation of
// the stream that took it: each slot counts the streams it has held, so a
// value whose stream has ended no longer matches its slot, whichever stream
// holds the slot now. The value is an even word (an integer to the
// machine): slot + kStreamSlots x generation, doubled. A slot whose count
// would overflow the value is never taken again.
#pragma once

#include <windows.h>

#include <dsound.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>

#include "vmapi.h"
#include "wave_format.h"

namespace mivalo {

constexpr int kStreamSlots = 64;

struct StreamRecord {
  // The record's own fields.
  HMMIO file = nullptr;                   // at the first sample byte once the header is read
  int32_t loops = 0;                      // 0 once, n > 0 n more times, < 0 without end
  std::atomic<int32_t> stopRequested{0};  // the only datum shared with the machine's thread
  WaveFormat format;
  IDirectSoundBuffer* buffer = nullptr;
  DWORD threadId = 0;
  HANDLE thread = nullptr;
  LONG dataEnd = 0;  // first sample position + data size
  // The implementation's own: the device hold (device_holds.h) and the
  // module reference that keeps the DLL loaded while the thread runs.
  IDirectSound* device = nullptr;
  HMODULE module = nullptr;
  uint32_t machine = 0;  // gMachineNumber when the stream was made
  std::atomic<int32_t> live{0};
  uint32_t generation = 0;  // streams this slot has held
};

// A free slot, made live with its fields reset; null when every slot is
// taken. Machine's thread only.
StreamRecord* takeStreamRecord();
// Marks the slot free; its last use by the stream thread.
void freeStreamRecord(StreamRecord* record);
// The DSStream value of a record taken by takeStreamRecord.
VmValue streamValue(const StreamRecord* record);
// The live record a DSStream value names, or null for nil, for a value that
// names no slot, and for a value whose stream has ended.
StreamRecord* liveStreamRecord(VmValue value);

}  // namespace mivalo
