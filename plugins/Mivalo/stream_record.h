// The stream record, whose address is the DSStream value, and the
// pool the records live in.
//
// The stream's thread owns its record and frees it when it stops, while the
// program may still hold the value. Records therefore live in a fixed pool
// of slots inside the DLL: a freed record is a slot marked free, so a value
// whose thread has ended still names memory of this pool, and
// _STOPSoundStream can tell a live record from a freed one. Slots are taken
// round-robin, so a freed slot is taken again only after every other one
// has been: a stale value names another live stream only once kStreamSlots
// streams have started after its own.
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
  std::atomic<int32_t> live{0};
};

// A free slot, made live with its fields reset; null when every slot is
// taken. Machine's thread only.
StreamRecord* takeStreamRecord();
// Marks the slot free; its last use by the stream thread.
void freeStreamRecord(StreamRecord* record);
// The live record a DSStream value names, or null for nil, for a value that
// names no slot, and for a freed record.
StreamRecord* liveStreamRecord(VmValue value);

}  // namespace mivalo
