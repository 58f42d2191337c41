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

constexpr int kWidth = 640, kHeight = 480;
constexpr int32_t kPixels = kWidth * kHeight;

int32_t at(int x, int y) { return y * kWidth + x; }
std::vector<uint16_t> randomPicture(uint32_t seed) { return randomPixels(kPixels, seed); }
const auto pieceIs = pieceIsIn<kWidth>;

// A long vector word: Y, X and bit 15 (the source flag, or in the
// self-contained coding the transform's low bit).
uint32_t longWord(int x, int y, int bit15) { return (bit15 << 15) | (x << 7) | y; }
// A small-piece word: 12-bit code, transform, bit 15.
uint32_t smallWord(int code, int t, int bit15) { return (bit15 << 15) | (t << 12) | code; }
int nearRefCode(int dx, int dy) { return (31 - dy) * 64 + (31 - dx); }
int nearCurCode(int dx, int dy) { return (6 - dy) * 128 + (63 - dx); }

int blockIndex(int x0, int y0) { return (y0 / 8) * (kWidth / 8) + x0 / 8; }

class IxPicture : public testing::Test {
 protected:
  void decode(const StreamWriter& w, int32_t quality) {
    const auto payload = w.payload(quality);
    video::decodeIXPicture(payload.data(), payload.size(), current.data(), reference.data());
  }

  const std::vector<uint16_t> reference = randomPicture(1);
  const std::vector<uint16_t> before = randomPicture(2);  // current before decoding
  std::vector<uint16_t> current = before;
};

// Predicted coding: blocks copied unchanged from reference (code 110).
void zeroCopies(StreamWriter& w, int blocks) {
  for (int k = 0; k < blocks; ++k) w.bits(0b110, 3);
}
// Self-contained coding: blocks that copy themselves and so keep their
// pixels (long vector, t = 0, X = 128, Y = 0).
void keptBlocks(StreamWriter& w, int blocks) {
  for (int k = 0; k < blocks; ++k) {
    w.bits(0b111, 3);
    w.bits(0, 2);
    w.vector(longWord(128, 0, 0));
  }
}

using IxPredicted = IxPicture;
using IxSelfContained = IxPicture;
using IxSafety = IxPicture;

TEST_F(IxPredicted, ZeroCopiesReproduceTheReference) {
  StreamWriter w;
  zeroCopies(w, 80 * 60);
  decode(w, 50);
  EXPECT_EQ(current, reference);
}

TEST_F(IxPredicted, ShortCodesNameSpiralVectors) {
  StreamWriter w;
  for (uint32_t code : {0u, 1u, 4095u}) {
    w.bits(0b00, 2);
    w.ixShortCode(code);
  }
  decode(w, 50);
  EXPECT_TRUE(pieceIs(current, 0, 0, 8, 8, reference, at(1, 0), 0)) << "code 0: one pixel right";
  EXPECT_TRUE(pieceIs(current, 8, 0, 8, 8, reference, at(8, 0), 0)) << "code 1: the zero vector";
  EXPECT_TRUE(pieceIs(current, 16, 0, 8, 8, reference, at(16 + 32, 32), 0)) << "code 4095: (32, 32)";
}

// Four short codes packed by hand: the first reads bytes 0-2, the second
// is the saved rest of them, the third reads bytes 3-5.
TEST_F(IxPredicted, ShortCodesComeInPairsFromThreeByteGroups) {
  StreamWriter w;
  for (int k = 0; k < 4; ++k) {
    w.bits(0b00, 2);
    w.ixShortCode(0);
  }
  auto payload = w.payload(50);
  const uint32_t shortStart = payload[12] | (payload[13] << 8);
  const uint8_t groups[6] = {0x02, 0x30, 0x00, 0x04, 0xF0, 0xFF};  // codes 2, 3, 4, 4095
  for (int k = 0; k < 6; ++k) payload[shortStart + k] = groups[k];
  video::decodeIXPicture(payload.data(), payload.size(), current.data(), reference.data());
  EXPECT_TRUE(pieceIs(current, 0, 0, 8, 8, reference, at(0, 1), 0));        // code 2: (0, 1)
  EXPECT_TRUE(pieceIs(current, 8, 0, 8, 8, reference, at(9, 1), 0));        // code 3: (1, 1)
  EXPECT_TRUE(pieceIs(current, 16, 0, 8, 8, reference, at(18, 1), 0));      // code 4: (2, 1)
  EXPECT_TRUE(pieceIs(current, 24, 0, 8, 8, reference, at(24 + 32, 32), 0));  // code 4095
}

TEST_F(IxPredicted, LongVectorsFromReferenceWrapColumnsAndShiftRows) {
  StreamWriter w;
  zeroCopies(w, blockIndex(600, 0));
  w.bits(0b010, 3);  // X = 0, Y = 64 at x0 = 600: column 600 + 128 - 640
  w.bits(0, 3);
  w.vector(longWord(0, 64, 0));
  zeroCopies(w, blockIndex(8, 16) - blockIndex(600, 0) - 1);
  w.bits(0b010, 3);  // X = 10, Y = 70 at (8, 16): column 126, row 10, rotated
  w.bits(3, 3);
  w.vector(longWord(10, 70, 0));
  decode(w, 50);
  EXPECT_TRUE(pieceIs(current, 600, 0, 8, 8, reference, at(88, 0), 0));
  EXPECT_TRUE(pieceIs(current, 8, 16, 8, 8, reference, at(126, 10), 3));
}

// The source flag picks current: rows y0 - Y for a block, y0 + 4 - Y for a
// half, from the 8x8 block's top-left.
TEST_F(IxPredicted, LongVectorsFromCurrentReadTheDecodedPart) {
  StreamWriter w;
  zeroCopies(w, blockIndex(0, 8));
  w.bits(0b010, 3);  // (0, 8): reference's own block, mirrored
  w.bits(1, 3);
  w.vector(longWord(128, 64, 0));
  w.bits(0b010, 3);  // (8, 8): current's block (0, 8)
  w.bits(0, 3);
  w.vector(longWord(136, 0, 1));
  w.bits(0b100, 3);  // (16, 8): two halves
  w.bits(0b11, 2);   // top: zero copy
  w.bits(0b01, 2);   // bottom: current's (0, 8 + 4 - 4), transform 6
  w.bits(6, 3);
  w.vector(longWord(144, 4, 1));
  decode(w, 50);
  ASSERT_TRUE(pieceIs(current, 0, 8, 8, 8, reference, at(0, 8), 1));
  ASSERT_FALSE(pieceIs(current, 0, 8, 8, 8, reference, at(0, 8), 0)) << "the mirrored block must differ";
  EXPECT_TRUE(pieceIs(current, 8, 8, 8, 8, current, at(0, 8), 0));
  EXPECT_TRUE(pieceIs(current, 16, 8, 8, 4, reference, at(16, 8), 0));
  EXPECT_TRUE(pieceIs(current, 16, 12, 8, 4, current, at(0, 8), 6));
}

TEST_F(IxPredicted, Transform7OnAn8x4PieceReadsFourColumnsOfEightRows) {
  StreamWriter w;
  zeroCopies(w, blockIndex(8, 16));
  w.bits(0b100, 3);
  w.bits(0b01, 2);  // top half: column 8 - 120 + 128, row 16 + 64 - 60
  w.bits(7, 3);
  w.vector(longWord(120, 60, 0));
  w.bits(0b11, 2);
  decode(w, 50);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) ASSERT_EQ(current[at(8 + x, 16 + y)], reference[at(16 + y, 20 + x)]) << x << "," << y;
  }
}

// One block split four ways and further: each piece in its place, the
// streams read in the pieces' order.
TEST_F(IxPredicted, PiecesAreDecodedDepthFirstInOrder) {
  StreamWriter w;
  zeroCopies(w, blockIndex(16, 16));
  w.bits(0b1110, 4);
  w.bits(0b00, 2);  // top-left 4x4: short code 4 = (2, 1)
  w.ixShortCode(4);
  w.bits(0b01, 2);  // top-right 4x4: long vector to the block's own place, t = 3
  w.bits(3, 3);
  w.vector(longWord(128, 64, 0));
  w.bits(0b101, 3);  // bottom-left: two 4x2
  w.bits(0b0, 1);    //   short code 3 = (1, 1)
  w.ixShortCode(3);
  w.bits(0b110, 3);  //   zero copy
  w.bits(0b111, 3);  // bottom-right: four 2x2
  w.bits(0b0, 1);    //   short code 2 = (0, 1)
  w.ixShortCode(2);
  w.bits(0b10, 2);  //   small-piece word from reference: (-5, -3), t = 2
  w.vector(smallWord(nearRefCode(-5, -3), 2, 0));
  w.bits(0b11, 2);  //   zero copy
  w.bits(0b0, 1);   //   short code 4095 = (32, 32)
  w.ixShortCode(4095);
  zeroCopies(w, 1);
  decode(w, 50);
  EXPECT_TRUE(pieceIs(current, 16, 16, 4, 4, reference, at(18, 17), 0));
  EXPECT_TRUE(pieceIs(current, 20, 16, 4, 4, reference, at(16, 16), 3));
  EXPECT_TRUE(pieceIs(current, 16, 20, 4, 2, reference, at(17, 21), 0));
  EXPECT_TRUE(pieceIs(current, 16, 22, 4, 2, reference, at(16, 22), 0));
  EXPECT_TRUE(pieceIs(current, 20, 20, 2, 2, reference, at(20, 21), 0));
  EXPECT_TRUE(pieceIs(current, 22, 20, 2, 2, reference, at(11, 13), 2));
  EXPECT_TRUE(pieceIs(current, 20, 22, 2, 2, reference, at(20, 22), 0));
  EXPECT_TRUE(pieceIs(current, 22, 22, 2, 2, reference, at(54, 54), 0));
  EXPECT_TRUE(pieceIs(current, 24, 16, 8, 8, reference, at(24, 16), 0)) << "the next block";
}

// Small-piece words are offsets from the 8x8 block's top-left, through
// nearRefTable into reference or nearCurTable into current.
TEST_F(IxPredicted, SmallPieceWordsReadThroughTheNearTables) {
  StreamWriter w;
  zeroCopies(w, blockIndex(56, 24));
  w.bits(0b010, 3);  // (56, 24): mirrored, so that current differs from reference there
  w.bits(1, 3);
  w.vector(longWord(128, 64, 0));
  w.bits(0b1110, 4);  // (64, 24)
  w.bits(0b101, 3);   // top-left: two 4x2
  w.bits(0b10, 2);    //   reference at (+31, -20), t = 5
  w.vector(smallWord(nearRefCode(31, -20), 5, 0));
  w.bits(0b10, 2);  //   current at (-8, 0), t = 1
  w.vector(smallWord(nearCurCode(-8, 0), 1, 1));
  w.bits(0b110, 3);  // top-right: two 2x4
  w.bits(0b10, 2);   //   current at (-64, -20), t = 7
  w.vector(smallWord(nearCurCode(-64, -20), 7, 1));
  w.bits(0b0, 1);  //   short code 1: zero vector
  w.ixShortCode(1);
  w.bits(0b111, 3);  // bottom-left: four 2x2, zero copies
  for (int k = 0; k < 4; ++k) w.bits(0b11, 2);
  w.bits(0b100, 3);  // bottom-right: zero copy
  decode(w, 50);
  ASSERT_FALSE(pieceIs(current, 56, 24, 8, 8, reference, at(56, 24), 0));
  EXPECT_TRUE(pieceIs(current, 64, 24, 4, 2, reference, at(95, 4), 5));
  EXPECT_TRUE(pieceIs(current, 64, 26, 4, 2, current, at(56, 24), 1));
  EXPECT_TRUE(pieceIs(current, 68, 24, 2, 4, current, at(0, 4), 7));
  EXPECT_TRUE(pieceIs(current, 70, 24, 2, 4, reference, at(70, 24), 0));
  EXPECT_TRUE(pieceIs(current, 64, 28, 8, 4, reference, at(64, 28), 0));
}

// 1111 is no code: the picture ends there, that block and all later ones
// keeping what current held.
TEST_F(IxPredicted, TheInvalidBlockCodeEndsThePicture) {
  StreamWriter w;
  zeroCopies(w, 1);
  w.bits(0b1111, 4);
  zeroCopies(w, 80 * 60 - 2);
  decode(w, 50);
  EXPECT_TRUE(pieceIs(current, 0, 0, 8, 8, reference, at(0, 0), 0));
  auto expected = before;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) expected[at(x, y)] = reference[at(x, y)];
  }
  EXPECT_EQ(current, expected);
}

TEST_F(IxSelfContained, LongVectorsTakeTheTransformsLowBitFromTheVectorWord) {
  StreamWriter w;
  keptBlocks(w, blockIndex(8, 8));
  w.bits(0b111, 3);  // (8, 8) from current (0, 0): t = 10 then 1
  w.bits(0b10, 2);
  w.vector(longWord(136, 8, 1));
  w.bits(0b111, 3);  // (16, 8) from current (0, 0): t = 10 then 0
  w.bits(0b10, 2);
  w.vector(longWord(144, 8, 0));
  decode(w, -50);
  EXPECT_TRUE(pieceIs(current, 0, 0, 8, 8, before, at(0, 0), 0)) << "kept";
  EXPECT_TRUE(pieceIs(current, 8, 8, 8, 8, before, at(0, 0), 5));
  EXPECT_TRUE(pieceIs(current, 16, 8, 8, 8, before, at(0, 0), 4));
}

// Halves and quadrants take their long vectors from row y0 + 4 - Y.
TEST_F(IxSelfContained, HalvesAndQuadrantsReadFromFourRowsLower) {
  StreamWriter w;
  keptBlocks(w, blockIndex(8, 8));
  w.bits(0b00, 2);  // (8, 8): two 8x4
  w.bits(0b1, 1);   //   top: (0, 8 + 4 - 12), t = 011
  w.bits(0b01, 2);
  w.vector(longWord(136, 12, 1));
  w.bits(0b0, 1);   //   bottom: two 4x4
  w.bits(0b00, 2);  //     left: (0, 8), t = 010
  w.bits(0b01, 2);
  w.vector(longWord(136, 4, 0));
  w.bits(0b00, 2);  //     right: the same source (the block's, not the quadrant's), t = 001
  w.bits(0b00, 2);
  w.vector(longWord(136, 4, 1));
  w.bits(0b01, 2);  // (16, 8): two 4x8
  w.bits(0b1, 1);   //   left: (0, 8), t = 111, a region 8 wide and 4 high
  w.bits(0b11, 2);
  w.vector(longWord(144, 4, 1));
  w.bits(0b0, 1);   //   right: two 4x4
  w.bits(0b00, 2);  //     top: (0, 0), t = 0
  w.bits(0b00, 2);
  w.vector(longWord(144, 12, 0));
  w.bits(0b00, 2);  //     bottom: (0, 0), t = 6
  w.bits(0b11, 2);
  w.vector(longWord(144, 12, 0));
  decode(w, -50);
  EXPECT_TRUE(pieceIs(current, 8, 8, 8, 4, before, at(0, 0), 3));
  EXPECT_TRUE(pieceIs(current, 8, 12, 4, 4, before, at(0, 8), 2));
  EXPECT_TRUE(pieceIs(current, 12, 12, 4, 4, before, at(0, 8), 1));
  EXPECT_TRUE(pieceIs(current, 16, 8, 4, 8, before, at(0, 8), 7));
  EXPECT_TRUE(pieceIs(current, 20, 8, 4, 4, before, at(0, 0), 0));
  EXPECT_TRUE(pieceIs(current, 20, 12, 4, 4, before, at(0, 0), 6));
}

// Below 4x4 every piece is a word from current through nearCurTable (bit 15
// does not matter); 2x2 pieces have no code bits at all, so the next block's
// code follows at once.
TEST_F(IxSelfContained, SmallPiecesAreWordsFromCurrent) {
  StreamWriter w;
  keptBlocks(w, blockIndex(8, 8));
  w.bits(0b10, 2);  // (8, 8): four 4x4
  w.bits(0b11, 2);  //   top-left: four 2x2 words
  w.vector(smallWord(nearCurCode(-8, -8), 0, 0));
  w.vector(smallWord(nearCurCode(0, -8), 1, 1));
  w.vector(smallWord(nearCurCode(-6, -5), 2, 0));
  w.vector(smallWord(nearCurCode(40, -8), 7, 1));
  w.bits(0b01, 2);  //   top-right: two 4x2
  w.bits(0b0, 1);   //     a word
  w.vector(smallWord(nearCurCode(-8, 0), 4, 0));
  w.bits(0b1, 1);  //     two 2x2 words
  w.vector(smallWord(nearCurCode(-8, 2), 0, 0));
  w.vector(smallWord(nearCurCode(-3, -7), 3, 0));
  w.bits(0b10, 2);  //   bottom-left: two 2x4
  w.bits(0b0, 1);   //     a word
  w.vector(smallWord(nearCurCode(-8, 1), 6, 1));
  w.bits(0b1, 1);  //     two 2x2 words
  w.vector(smallWord(nearCurCode(-64, -4), 0, 0));
  w.vector(smallWord(nearCurCode(63, -8), 5, 0));
  w.bits(0b00, 2);  //   bottom-right: long vector to (0, 0)
  w.bits(0b00, 2);
  w.vector(longWord(136, 12, 0));
  w.bits(0b111, 3);  // (16, 8): (0, 0) transposed
  w.bits(0b11, 2);
  w.vector(longWord(144, 8, 1));
  decode(w, -50);
  EXPECT_TRUE(pieceIs(current, 8, 8, 2, 2, before, at(0, 0), 0));
  EXPECT_TRUE(pieceIs(current, 10, 8, 2, 2, before, at(8, 0), 1));
  EXPECT_TRUE(pieceIs(current, 8, 10, 2, 2, before, at(2, 3), 2));
  EXPECT_TRUE(pieceIs(current, 10, 10, 2, 2, before, at(48, 0), 7));
  EXPECT_TRUE(pieceIs(current, 12, 8, 4, 2, before, at(0, 8), 4));
  EXPECT_TRUE(pieceIs(current, 12, 10, 2, 2, before, at(0, 10), 0));
  EXPECT_TRUE(pieceIs(current, 14, 10, 2, 2, before, at(5, 1), 3));
  EXPECT_TRUE(pieceIs(current, 8, 12, 2, 4, before, at(0, 9), 6));
  EXPECT_TRUE(pieceIs(current, 10, 12, 2, 2, before, at(584, 3), 0));  // (-56, 4): back over a row end
  EXPECT_TRUE(pieceIs(current, 10, 14, 2, 2, before, at(71, 0), 5));
  EXPECT_TRUE(pieceIs(current, 12, 12, 4, 4, before, at(0, 0), 0));
  EXPECT_TRUE(pieceIs(current, 16, 8, 8, 8, before, at(0, 0), 7));
}

TEST_F(IxPicture, FlatIntraBlocksAreMidGrey) {
  for (int32_t quality : {50, -50}) {
    SCOPED_TRACE(quality);
    current = before;
    StreamWriter w;
    w.bits(quality >= 0 ? 0b011 : 0b110, 3);
    for (int block = 0; block < 3; ++block) {  // Y, U, V: byte value 0, then opcode 0
      w.byteValue(0);
      w.nibble(0);
    }
    if (quality >= 0) zeroCopies(w, 1);
    if (quality < 0) keptBlocks(w, 1);
    decode(w, quality);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) ASSERT_EQ(current[at(x, y)], 0x4210) << x << "," << y;
    }
    EXPECT_TRUE(pieceIs(current, 8, 0, 8, 8, quality >= 0 ? reference : before, at(8, 0), 0));
  }
}

// Sources reaching before the first pixel start at it; sources reaching
// past the last pixel end at it; a region running over a row end reads on
// into the next row.
TEST_F(IxSafety, SourcesAboveThePictureStartAtItsFirstPixel) {
  StreamWriter w;
  zeroCopies(w, 2);
  w.bits(0b010, 3);  // (16, 0): row 64 - 127
  w.bits(0, 3);
  w.vector(longWord(128, 127, 0));
  w.bits(0b00, 2);  // (24, 0): short vector (-31, -31), the outer ring's second corner
  w.ixShortCode(3969);
  decode(w, 50);
  EXPECT_TRUE(pieceIs(current, 16, 0, 8, 8, reference, 0, 0));
  EXPECT_TRUE(pieceIs(current, 24, 0, 8, 8, reference, 0, 0));
}

TEST_F(IxSafety, SourcesBelowThePictureEndAtItsLastPixel) {
  StreamWriter w;
  zeroCopies(w, 80 * 60 - 1);
  w.bits(0b1110, 4);  // the last block, (632, 472)
  w.bits(0b01, 2);    //   top-left: column 639, row 472 + 64: an 8-high region (t = 4)
  w.bits(4, 3);
  w.vector(longWord(121, 0, 0));
  w.bits(0b111, 3);  //   top-right: four 2x2 from current at (+63, +6)
  for (int k = 0; k < 4; ++k) {
    w.bits(0b10, 2);
    w.vector(smallWord(nearCurCode(63, 6), 0, 1));
  }
  w.bits(0b100, 3);
  w.bits(0b100, 3);
  decode(w, 50);
  EXPECT_TRUE(pieceIs(current, 632, 472, 4, 4, reference, kPixels - (3 * 640 + 4), 4));
  // The last 2x2 of the picture, before this block's own bottom-right copy.
  EXPECT_TRUE(pieceIs(current, 636, 472, 2, 2, before, kPixels - (640 + 2), 0));
}

TEST_F(IxSafety, SmallPieceOffsetsRunOverTheRowEnd) {
  StreamWriter w;
  zeroCopies(w, blockIndex(632, 8));
  w.bits(0b1110, 4);  // (632, 8)
  w.bits(0b111, 3);   //   top-left: four 2x2, the first at (+31, 0): columns 663 and 664
  w.bits(0b10, 2);
  w.vector(smallWord(nearRefCode(31, 0), 0, 0));
  for (int k = 0; k < 3; ++k) w.bits(0b11, 2);
  for (int k = 0; k < 3; ++k) w.bits(0b100, 3);
  decode(w, 50);
  EXPECT_TRUE(pieceIs(current, 632, 8, 2, 2, reference, at(23, 9), 0));
}

// Whatever the bytes, the decoder stays inside the payload and the pictures
// and never writes reference. The payloads live in exactly sized blocks so
// that ASan sees any read past them.
TEST_F(IxSafety, DamagedPayloadsStayInBounds) {
  std::mt19937 random(11);
  const int32_t qualities[] = {0, 1, -1, 100, -100, INT32_MIN, INT32_MAX, 7};
  for (int round = 0; round < 48; ++round) {
    const size_t size = round < 8 ? static_cast<size_t>(round * 4) : random() % 6000;
    const auto payload = std::make_unique<uint8_t[]>(size);
    for (size_t k = 0; k < size; ++k) payload[k] = static_cast<uint8_t>(random());
    if (size >= 24) {
      const int32_t q = qualities[round % 8];
      for (int k = 0; k < 4; ++k) payload[k] = static_cast<uint8_t>(static_cast<uint32_t>(q) >> (8 * k));
      for (int field = 1; field < 6 && round % 3 != 0; ++field) {  // offsets mostly inside, some past the end
        const uint32_t offset = static_cast<uint32_t>(random() % (size + 64));
        for (int k = 0; k < 4; ++k) payload[4 * field + k] = static_cast<uint8_t>(offset >> (8 * k));
      }
    }
    video::decodeIXPicture(payload.get(), size, current.data(), reference.data());
  }
  EXPECT_EQ(reference, randomPicture(1));
}

}  // namespace
