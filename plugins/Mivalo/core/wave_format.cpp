#include "wave_format.h"

#include <cstring>

namespace mivalo {

namespace {
uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t u32(const uint8_t* p) { return u16(p) | (static_cast<uint32_t>(u16(p + 2)) << 16); }
}  // namespace

ChunkHeader parseChunkHeader(const uint8_t (&bytes)[kChunkHeaderBytes]) {
  ChunkHeader chunk{};
  std::memcpy(chunk.id, bytes, 4);
  chunk.size = u32(bytes + 4);
  return chunk;
}

WaveFormat parseFormatRecord(const uint8_t (&bytes)[kFormatRecordBytes]) {
  WaveFormat f;
  f.formatTag = u16(bytes);
  f.channels = u16(bytes + 2);
  f.samplesPerSec = u32(bytes + 4);
  f.avgBytesPerSec = u32(bytes + 8);
  f.blockAlign = u16(bytes + 12);
  f.bitsPerSample = u16(bytes + 14);
  f.extraSize = u16(bytes + 16);
  return f;
}

bool hasId(const ChunkHeader& chunk, const char (&id)[5]) {
  return std::memcmp(chunk.id, id, 4) == 0;
}

}  // namespace mivalo
