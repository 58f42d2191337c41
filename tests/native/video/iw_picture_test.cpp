#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "pictures.h"
#include "stream_writer.h"
#include "transform_formula.h"

namespace {

using zkv6enc::StreamWriter;

constexpr int kWidth = 2048, kHeight = 768;
constexpr int32_t kPixels = kWidth * kHeight;

int32_t at(int x, int y) { return y * kWidth + x; }
std::vector<uint16_t> randomPanorama(uint32_t seed) { return randomPixels(kPixels, seed); }
const auto pieceIs = pieceIsIn<kWidth>;

uint32_t longWord(int x, int y, int lowTransformBit) { return (lowTransformBit << 15) | (x << 7) | y; }

// The 2x2 code naming source c of iwPositionTable with transform t.
uint32_t iwCode(int c, int t) { return ((c & 0xF) << 8) | (((c >> 4) & 0xF) << 4) | ((c >> 8) & 1) | (t << 1); }

int blockIndex(int x0, int y0) { return (y0 / 8) * (kWidth / 8) + x0 / 8; }

// Blocks that copy themselves and so keep their pixels (X = 128, Y = 0, t = 0).
void keptBlocks(StreamWriter& w, int blocks) {
  for (int k = 0; k < blocks; ++k) {
    w.bits(0b10, 2);
    w.bits(0, 2);
    w.vector(longWord(128, 0, 0));
  }
}
// A quadrant's long vector: 0, the two high transform bits, then W.
void quadrantVector(StreamWriter& w, int t, int x, int y) {
  w.bits(0b0, 1);
  w.bits(t >> 1, 2);
  w.vector(longWord(x, y, t & 1));
}

class IwPicture : public testing::Test {
 protected:
  void decode(const StreamWriter& w, int32_t quality) {
    const auto payload = w.payload(quality);
    video::decodeIWPicture(payload.data(), payload.size(), panorama.data());
  }

  const std::vector<uint16_t> before = randomPanorama(3);
  std::vector<uint16_t> panorama = before;
};

TEST_F(IwPicture, SelfCopiesKeepThePanorama) {
  StreamWriter w;
  keptBlocks(w, 256 * 96);
  decode(w, 50);
  EXPECT_EQ(panorama, before);
}

// Columns x0 - X + 128 wrap around the 2048 columns, both ways.
TEST_F(IwPicture, LongVectorsCrossTheSeam) {
  StreamWriter w;
  keptBlocks(w, blockIndex(2040, 0));
  w.bits(0b10, 2);  // (2040, 0): X = 0, column 120
  w.bits(0, 2);
  w.vector(longWord(0, 0, 0));
  w.bits(0b10, 2);  // (0, 8): X = 255, column 1921 of row 0, transform 11 then 1
  w.bits(0b11, 2);
  w.vector(longWord(255, 8, 1));
  decode(w, 50);
  EXPECT_TRUE(pieceIs(panorama, 2040, 0, 8, 8, before, at(120, 0), 0));
  EXPECT_TRUE(pieceIs(panorama, 0, 8, 8, 8, before, at(1921, 0), 7));
}

// A quadrant's long vector reads row y0 + 4 - Y from the 8x8 block's
// top-left, not the quadrant's: all four quadrants here read one place.
TEST_F(IwPicture, QuadrantVectorsAreRelativeToTheBlock) {
  StreamWriter w;
  keptBlocks(w, blockIndex(16, 16));
  w.bits(0b0, 1);  // (16, 16): four quadrants from column 0, row 16 + 4 - 12
  quadrantVector(w, 3, 144, 12);
  quadrantVector(w, 0, 144, 12);
  quadrantVector(w, 6, 144, 12);
  quadrantVector(w, 1, 144, 12);
  decode(w, 50);
  EXPECT_TRUE(pieceIs(panorama, 16, 16, 4, 4, before, at(0, 8), 3));
  EXPECT_TRUE(pieceIs(panorama, 20, 16, 4, 4, before, at(0, 8), 0));
  EXPECT_TRUE(pieceIs(panorama, 16, 20, 4, 4, before, at(0, 8), 6));
  EXPECT_TRUE(pieceIs(panorama, 20, 20, 4, 4, before, at(0, 8), 1));
}

// A 2x2 group gives the quadrant's four pieces in order, each from the
// block's top-left plus its source, with the transform in bits 1-3 of K.
TEST_F(IwPicture, TwoByTwoGroupsFillAQuadrant) {
  StreamWriter w;
  keptBlocks(w, blockIndex(64, 16));
  w.bits(0b0, 1);  // (64, 16)
  w.bits(0b1, 1);  //   top-left: a 2x2 group
  w.iwGroup(iwCode(96, 0), iwCode(287, 5), iwCode(288, 7), iwCode(0, 1));
  quadrantVector(w, 0, 128, 4);  // top-right: the block's top-left quadrant, decoded just before
  w.bits(0b1, 1);                //   bottom-left: a group of one source, four transforms
  w.iwGroup(iwCode(511, 2), iwCode(511, 3), iwCode(511, 4), iwCode(511, 6));
  w.bits(0b1, 1);  //   bottom-right: the strip to the left
  w.iwGroup(iwCode(11, 0), iwCode(12, 0), iwCode(95, 0), iwCode(47, 0));
  decode(w, 50);
  EXPECT_TRUE(pieceIs(panorama, 64, 16, 2, 2, before, at(64 + 19, 16 - 2), 0));
  EXPECT_TRUE(pieceIs(panorama, 66, 16, 2, 2, before, at(64 - 12, 16 - 7), 5));
  EXPECT_TRUE(pieceIs(panorama, 64, 18, 2, 2, before, at(64 + 19, 16 - 9), 7));
  EXPECT_TRUE(pieceIs(panorama, 66, 18, 2, 2, before, at(64 - 2, 16 + 6), 1));
  EXPECT_TRUE(pieceIs(panorama, 68, 16, 4, 4, panorama, at(64, 16), 0));
  for (int n = 0; n < 4; ++n) {
    const int t[4] = {2, 3, 4, 6};
    EXPECT_TRUE(pieceIs(panorama, 64 + 2 * (n & 1), 20 + (n & 2), 2, 2, before, at(64 - 12, 16 - 15), t[n]));
  }
  EXPECT_TRUE(pieceIs(panorama, 68, 20, 2, 2, before, at(64 - 13, 16 + 6), 0));
  EXPECT_TRUE(pieceIs(panorama, 70, 20, 2, 2, before, at(64 - 2, 16 + 5), 0));
  EXPECT_TRUE(pieceIs(panorama, 68, 22, 2, 2, before, at(64 - 13, 16 - 1), 0));
  EXPECT_TRUE(pieceIs(panorama, 70, 22, 2, 2, before, at(64 - 13, 16 + 3), 0));
}

TEST_F(IwPicture, FlatIntraBlocksAreMidGreyWithThePanoramasStride) {
  StreamWriter w;
  keptBlocks(w, blockIndex(2040, 8));
  w.bits(0b11, 2);  // (2040, 8)
  for (int block = 0; block < 3; ++block) {  // Y, U, V: byte value 0, then opcode 0
    w.byteValue(0);
    w.nibble(0);
  }
  keptBlocks(w, 256 * 96 - blockIndex(2040, 8) - 1);
  decode(w, 50);
  auto expected = before;
  for (int y = 8; y < 16; ++y) {
    for (int x = 2040; x < 2048; ++x) expected[at(x, y)] = 0x4210;
  }
  EXPECT_EQ(panorama, expected);
}

// Sources reaching before the first pixel start at it, sources past the
// last pixel end at it.
TEST_F(IwPicture, SourcesOffThePanoramaAreHeldInside) {
  StreamWriter w;
  keptBlocks(w, 2);
  w.bits(0b10, 2);  // (16, 0): row -127
  w.bits(0, 2);
  w.vector(longWord(128, 127, 0));
  w.bits(0b0, 1);  // (24, 0): quadrants
  w.bits(0b1, 1);  //   a group reaching 15 rows above the first row
  w.iwGroup(iwCode(511, 0), iwCode(511, 1), iwCode(300, 0), iwCode(8, 0));
  for (int q = 0; q < 3; ++q) quadrantVector(w, 0, 128, 127);
  keptBlocks(w, 256 * 96 - 5);
  w.bits(0b10, 2);  // the last block, (2040, 760): column 2047, an 8x8 region past the end
  w.bits(0, 2);
  w.vector(longWord(121, 0, 0));
  decode(w, 50);
  EXPECT_TRUE(pieceIs(panorama, 16, 0, 8, 8, before, 0, 0));
  EXPECT_TRUE(pieceIs(panorama, 24, 0, 2, 2, before, 0, 0));
  EXPECT_TRUE(pieceIs(panorama, 26, 0, 2, 2, before, 0, 1));
  EXPECT_TRUE(pieceIs(panorama, 24, 2, 2, 2, before, 0, 0));
  EXPECT_TRUE(pieceIs(panorama, 26, 2, 2, 2, before, at(24 - 10, 6), 0));  // inside: (-10, 6)
  EXPECT_TRUE(pieceIs(panorama, 28, 0, 4, 4, before, 0, 0));
  EXPECT_TRUE(pieceIs(panorama, 2040, 760, 8, 8, before, at(2040, 760), 0));
}

// Whatever the bytes, the decoder stays inside the payload and the panorama.
TEST_F(IwPicture, DamagedPayloadsStayInBounds) {
  std::mt19937 random(23);
  const int32_t qualities[] = {0, 1, -1, 100, -100, INT32_MIN, INT32_MAX, 7};
  for (int round = 0; round < 24; ++round) {
    const size_t size = round < 8 ? static_cast<size_t>(round * 4) : random() % 12000;
    const auto payload = std::make_unique<uint8_t[]>(size);
    for (size_t k = 0; k < size; ++k) payload[k] = static_cast<uint8_t>(random());
    if (size >= 24) {
      const int32_t q = qualities[round % 8];
      for (int k = 0; k < 4; ++k) payload[k] = static_cast<uint8_t>(static_cast<uint32_t>(q) >> (8 * k));
      for (int field = 1; field < 6 && round % 3 != 0; ++field) {
        const uint32_t offset = static_cast<uint32_t>(random() % (size + 64));
        for (int k = 0; k < 4; ++k) payload[4 * field + k] = static_cast<uint8_t>(offset >> (8 * k));
      }
    }
    video::decodeIWPicture(payload.get(), size, panorama.data());
  }
  SUCCEED();
}

}  // namespace
