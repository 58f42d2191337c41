#include "stream_record.h"

#include "mivalo_machine.h"

namespace mivalo {
namespace {
StreamRecord gSlots[kStreamSlots];
int gNextSlot = 0;
}  // namespace

StreamRecord* takeStreamRecord() {
  for (int k = 0; k < kStreamSlots; ++k) {
    const int slot = (gNextSlot + k) % kStreamSlots;
    StreamRecord& r = gSlots[slot];
    if (r.live.load(std::memory_order_acquire) != 0) continue;
    r.file = nullptr;
    r.loops = 0;
    r.stopRequested.store(0);
    r.format = WaveFormat{};
    r.buffer = nullptr;
    r.threadId = 0;
    r.thread = nullptr;
    r.dataEnd = 0;
    r.device = nullptr;
    r.module = nullptr;
    r.live.store(1, std::memory_order_release);
    gNextSlot = (slot + 1) % kStreamSlots;
    return &r;
  }
  return nullptr;
}

void freeStreamRecord(StreamRecord* record) { record->live.store(0, std::memory_order_release); }

StreamRecord* liveStreamRecord(VmValue value) {
  if (vm::isNil(value)) return nullptr;
  const auto address = static_cast<uintptr_t>(static_cast<uint32_t>(value));
  const auto first = reinterpret_cast<uintptr_t>(&gSlots[0]);
  if (address < first || address >= first + sizeof gSlots) return nullptr;
  if ((address - first) % sizeof(StreamRecord) != 0) return nullptr;
  StreamRecord* record = reinterpret_cast<StreamRecord*>(address);
  return record->live.load(std::memory_order_acquire) != 0 ? record : nullptr;
}

}  // namespace mivalo
