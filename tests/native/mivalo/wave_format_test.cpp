// The chunk header and the format record as they lie in a wave file.
#include "wave_format.h"

#include <gtest/gtest.h>

namespace mivalo {
namespace {

TEST(MivaloWaveFormat, ReadsTheRecordLittleEndian) {
  const uint8_t bytes[kFormatRecordBytes] = {1,    0, 2, 0, 0x44, 0xAC, 0, 0, 0x10,
                                             0xB1, 2, 0, 4, 0,    16,   0, 7, 0};
  const WaveFormat f = parseFormatRecord(bytes);
  EXPECT_EQ(f.formatTag, 1);
  EXPECT_EQ(f.channels, 2);
  EXPECT_EQ(f.samplesPerSec, 44100u);
  EXPECT_EQ(f.avgBytesPerSec, 176400u);
  EXPECT_EQ(f.blockAlign, 4);
  EXPECT_EQ(f.bitsPerSample, 16);
  EXPECT_EQ(f.extraSize, 7);
}

TEST(MivaloWaveFormat, ReadsChunkHeaders) {
  const uint8_t bytes[kChunkHeaderBytes] = {'d', 'a', 't', 'a', 0x78, 0x56, 0x34, 0x12};
  const ChunkHeader c = parseChunkHeader(bytes);
  EXPECT_TRUE(hasId(c, "data"));
  EXPECT_FALSE(hasId(c, "fmt "));
  EXPECT_EQ(c.size, 0x12345678u);
}

}  // namespace
}  // namespace mivalo
