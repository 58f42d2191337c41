// Wave files: _GETwaveInfo and _GETwaveData.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "mivalo_machine.h"
#include "mivalo_primitives.h"
#include "sound_rules.h"
#include "wave_file.h"

using namespace mivalo;

// _GETwaveInfo (path) -> [data bytes, channels, samples per second, bits],
// the bits computed from the block align.
extern "C" int VMCALL _GETwaveInfo(VmMachine* m) {
  Frame<1> f(m);
  if (f.isNil(0)) return 0;
  WaveHeader header;
  HMMIO file = openWaveFile(gVm->vmStringData(m, vm::blockOf(f.arg(0))), header);
  if (file == nullptr) return 0;
  const int block = gVm->vmAlloc(m, 4, kVmTupleBlock);
  mmioClose(file, 0);
  if (block < 0) return block;
  const WaveFormat& w = header.format;
  const int32_t info[4] = {static_cast<int32_t>(header.dataSize), w.channels,
                           static_cast<int32_t>(w.samplesPerSec),
                           bitsFromBlockAlign(w.blockAlign, w.channels)};
  for (int k = 0; k < 4; ++k) gVm->vmSetWord(m, block, k, vm::makeInt(info[k]));
  f.result(vm::makeRef(block));
  return 0;
}

// _GETwaveData (path) -> the data chunk's bytes as a string. The block has
// ((n + 1) / 2) + 1 words as the block's rule gives, at least 2 so that an empty
// chunk still has room for its zero byte; a size no block can hold gives nil.
extern "C" int VMCALL _GETwaveData(VmMachine* m) {
  Frame<1> f(m);
  if (f.isNil(0)) return 0;
  WaveHeader header;
  HMMIO file = openWaveFile(gVm->vmStringData(m, vm::blockOf(f.arg(0))), header);
  if (file == nullptr) return 0;
  const uint32_t n = header.dataSize;
  const int64_t words = (static_cast<int64_t>(n) + 1) / 2 + 1;
  if (n > INT32_MAX || words > INT_MAX) {
    mmioClose(file, 0);
    return 0;
  }
  const int block = gVm->vmAlloc(m, words < 2 ? 2 : static_cast<int>(words), kVmRawBlock);
  if (block < 0) {
    mmioClose(file, 0);
    return block;
  }
  char* chars = gVm->vmStringData(m, block);
  // The bytes a file shorter than its data chunk lacks are silence.
  const LONG got =
      std::clamp<LONG>(mmioRead(file, chars, static_cast<LONG>(n)), 0, static_cast<LONG>(n));
  std::memset(chars + got, silenceByte(header.format.blockAlign, header.format.channels),
              n - static_cast<uint32_t>(got));
  chars[n] = '\0';
  gVm->vmSetWord(m, block, vmlayout::kStringLength, static_cast<int32_t>(n));
  mmioClose(file, 0);
  f.result(vm::makeRef(block));
  return 0;
}
