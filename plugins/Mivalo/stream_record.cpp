#include "stream_record.h"

#include "mivalo_machine.h"

namespace mivalo {
namespace {
StreamRecord gSlots[kStreamSlots];
int gNextSlot = 0;

// The largest generation whose value still fits an integer of the machine.
constexpr uint32_t kLastGeneration = ((uint32_t{1} << 30) - 1) / kStreamSlots - 1;
}  // namespace

StreamRecord* takeStreamRecord() {
  for (int k = 0; k < kStreamSlots; ++k) {
    const int slot = (gNextSlot + k) % kStreamSlots;
    StreamRecord& r = gSlots[slot];
    if (r.live.load(std::memory_order_acquire) != 0 || r.generation == kLastGeneration) continue;
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
    r.machine = gMachineNumber.load();
    ++r.generation;
    r.live.store(1, std::memory_order_release);
    gNextSlot = (slot + 1) % kStreamSlots;
    return &r;
  }
  return nullptr;
}

void freeStreamRecord(StreamRecord* record) { record->live.store(0, std::memory_order_release); }

VmValue streamValue(const StreamRecord* record) {
  const auto slot = static_cast<uint32_t>(record - gSlots);
  return vm::makeInt(static_cast<int32_t>(slot + kStreamSlots * record->generation));
}

StreamRecord* liveStreamRecord(VmValue value) {
  if (vm::isNil(value) || !vm::isInt(value) || vm::intOf(value) < 0) return nullptr;
  const auto n = static_cast<uint32_t>(vm::intOf(value));
  StreamRecord& record = gSlots[n % kStreamSlots];
  if (record.live.load(std::memory_order_acquire) == 0) return nullptr;
  return record.generation == n / kStreamSlots ? &record : nullptr;
}

}  // namespace mivalo
