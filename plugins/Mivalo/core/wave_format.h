// The parts of a canonical PCM wave file the package reads: the
// 8-byte chunk header and the 18-byte format record, as they lie in the
// file (little-endian).
#pragma once

#include <cstdint>

namespace mivalo {

constexpr int kChunkHeaderBytes = 8;
constexpr int kFormatRecordBytes = 18;
// The "data" chunk header of the only layout the reader accepts.
constexpr int kDataChunkOffset = 36;
constexpr uint16_t kFormatTagPcm = 1;

struct ChunkHeader {
  char id[4];
  uint32_t size;
};

// The format record: tag, channels, samples per second, bytes per second,
// block align, bits per sample, extra size.
struct WaveFormat {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint16_t extraSize = 0;
};

ChunkHeader parseChunkHeader(const uint8_t (&bytes)[kChunkHeaderBytes]);
WaveFormat parseFormatRecord(const uint8_t (&bytes)[kFormatRecordBytes]);
bool hasId(const ChunkHeader& chunk, const char (&id)[5]);

}  // namespace mivalo
