// Any bytes as the start of a wave file, read at the places the plug-in
// reads them (the format chunk's header at 12, its record at 20, the data
// chunk's header at 36), and the same bytes as the arguments of a sound
// buffer: what the package derives stays in its documented range.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "sound_rules.h"
#include "wave_format.h"

namespace {

void checkHeader(const uint8_t (&file)[44]) {
  uint8_t chunk[mivalo::kChunkHeaderBytes], record[mivalo::kFormatRecordBytes];
  std::memcpy(chunk, file + 12, sizeof chunk);
  std::memcpy(record, file + 20, sizeof record);
  const mivalo::WaveFormat format = mivalo::parseFormatRecord(record);
  (void)mivalo::hasId(mivalo::parseChunkHeader(chunk), "fmt ");
  const int bits = mivalo::bitsFromBlockAlign(format.blockAlign, format.channels);
  if (bits < 0 || bits > 65535 * 8 || (format.channels == 0 && bits != 0)) abort();
  std::memcpy(chunk, file + mivalo::kDataChunkOffset, sizeof chunk);
  const mivalo::ChunkHeader data = mivalo::parseChunkHeader(chunk);
  if (data.size != (file[40] | file[41] << 8 | file[42] << 16 | static_cast<uint32_t>(file[43]) << 24)) abort();
}

void checkBuffer(const int32_t (&args)[4]) {
  const int channels = args[0], rate = args[1], bits = args[2], frames = args[3];
  if (auto bytes = mivalo::secondaryBufferBytes(channels, rate, bits, frames)) {
    if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16) || rate < 0 || frames < 0) abort();
    if (*bytes != static_cast<uint64_t>(frames) * channels * (bits / 8)) abort();
  }
  if (auto format = mivalo::primaryFormat(channels, rate, bits)) {
    if (format->channels < 1 || format->channels > 2 || format->blockAlign != format->channels * (bits / 8)) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint8_t file[44] = {};
  std::memcpy(file, data, size < sizeof file ? size : sizeof file);
  checkHeader(file);
  int32_t args[4];
  std::memcpy(args, file, sizeof args);
  checkBuffer(args);
  return 0;
}
