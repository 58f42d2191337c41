#include "copy_tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <utility>

#include "pictures.h"

namespace {

using video::iwPositionTable;
using video::nearCurTable;
using video::nearRefTable;
using video::spiralTable;

class CopyTables : public testing::Test {};

// (dx, dy) of an offset dy * stride + dx whose dx lies within half a row.
std::pair<int, int> vectorOf(int32_t offset, int stride) {
  const int dy = static_cast<int>((offset + stride / 2 + 100 * stride) / stride) - 100;
  return {static_cast<int>(offset - dy * stride), dy};
}

int32_t ix(int dx, int dy) { return dy * 640 + dx; }

// The K code naming IW source c with transform t: c's low nibble is K's
// bits 8-11, its next nibble K's bits 4-7, its bit 8 K's bit 0.
uint32_t iwCode(int c, int t) {
  return ((c & 0xF) << 8) | (((c >> 4) & 0xF) << 4) | ((c >> 8) & 1) | (t << 1);
}

TEST_F(CopyTables, SpiralStartsNextToTheZeroVectorAndEndsAtTheCorner) {
  const std::pair<int, int> first[] = {{1, 0}, {0, 0}, {0, 1}, {1, 1}, {2, 1}, {2, 0}, {2, -1}, {1, -1}};
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(spiralTable[k], ix(first[k].first, first[k].second)) << "code " << k;
  }
  EXPECT_EQ(spiralTable[4095], ix(32, 32));
  EXPECT_EQ(spiralTable[4094], ix(31, 32));  // the outer ring runs left first
}

// Every vector of the square -31..32 appears once, and each code is one
// pixel step from the next one.
TEST_F(CopyTables, SpiralCoversTheSquareInSingleSteps) {
  std::set<std::pair<int, int>> seen;
  for (int k = 0; k < video::kCodeCount; ++k) {
    const auto [dx, dy] = vectorOf(spiralTable[k], 640);
    ASSERT_GE(dx, -31);
    ASSERT_LE(dx, 32);
    ASSERT_GE(dy, -31);
    ASSERT_LE(dy, 32);
    ASSERT_TRUE(seen.insert({dx, dy}).second) << "code " << k << " repeats " << dx << "," << dy;
    if (k > 0) {
      const auto [px, py] = vectorOf(spiralTable[k - 1], 640);
      ASSERT_EQ(std::abs(dx - px) + std::abs(dy - py), 1) << "code " << k;
    }
  }
}

TEST_F(CopyTables, NearReferenceCodesCoverTheSquareAroundTheBlock) {
  for (int dy = -32; dy <= 31; ++dy) {
    for (int dx = -32; dx <= 31; ++dx) {
      ASSERT_EQ(nearRefTable[(31 - dy) * 64 + (31 - dx)], ix(dx, dy)) << dx << "," << dy;
    }
  }
  EXPECT_EQ(nearRefTable[0], ix(31, 31));
  EXPECT_EQ(nearRefTable[4095], ix(-32, -32));
}

TEST_F(CopyTables, NearCurrentCodesReachMostlyUpAndLeft) {
  for (int dy = -25; dy <= 6; ++dy) {
    for (int dx = -64; dx <= 63; ++dx) {
      ASSERT_EQ(nearCurTable[(6 - dy) * 128 + (63 - dx)], ix(dx, dy)) << dx << "," << dy;
    }
  }
  EXPECT_EQ(nearCurTable[0], ix(63, 6));
  EXPECT_EQ(nearCurTable[4095], ix(-64, -25));
}

// Columns x0 - X of long vectors, shifted by 128 and wrapped once around the
// width; every c that x0 and X can make is wrapped completely.
TEST_F(CopyTables, IxColumnsWrapAroundTheWidth) {
  EXPECT_EQ(video::ix::column(600), 88);
  EXPECT_EQ(video::ix::column(0), 128);
  EXPECT_EQ(video::ix::column(511), 639);
  EXPECT_EQ(video::ix::column(512), 0);
  EXPECT_EQ(video::ix::column(-128), 0);
  EXPECT_EQ(video::ix::column(-129), 639);
  EXPECT_EQ(video::ix::column(-255), 513);
  EXPECT_EQ(video::ix::column(1023), 511);
  for (int c = -768; c <= 1023; ++c) ASSERT_EQ(video::ix::column(c), ((c + 128) % 640 + 640) % 640) << c;
}

TEST_F(CopyTables, IwColumnsWrapAroundThePanoramaSeam) {
  EXPECT_EQ(video::iw::column(2040), 120);
  EXPECT_EQ(video::iw::column(0), 128);
  EXPECT_EQ(video::iw::column(1919), 2047);
  EXPECT_EQ(video::iw::column(1920), 0);
  EXPECT_EQ(video::iw::column(-129), 2047);
  EXPECT_EQ(video::iw::column(-255), 1921);
  EXPECT_EQ(video::iw::column(-2048), 128);
  for (int c = -2048; c < 3968; ++c) ASSERT_EQ(video::iw::column(c), ((c + 128) % 2048 + 2048) % 2048) << c;
}

TEST_F(CopyTables, IwSourcesAreTheStripLeftOfTheBlockThenTheBandAboveIt) {
  auto at = [](int c) { return vectorOf(iwPositionTable[iwCode(c, 0)], 2048); };
  using P = std::pair<int, int>;  // (dx, dy)
  EXPECT_EQ(at(0), P(-2, 6));
  EXPECT_EQ(at(11), P(-13, 6));
  EXPECT_EQ(at(12), P(-2, 5));
  EXPECT_EQ(at(95), P(-13, -1));
  EXPECT_EQ(at(96), P(19, -2));
  EXPECT_EQ(at(287), P(-12, -7));
  EXPECT_EQ(at(288), P(19, -9));  // row -8 is left out
  EXPECT_EQ(at(511), P(-12, -15));
  std::set<P> seen;
  for (int c = 0; c < 512; ++c) {
    const P p = at(c);
    EXPECT_NE(p.second, -8) << c;
    EXPECT_TRUE(seen.insert(p).second) << "c " << c << " repeats a source";
  }
}

// Bits 1-3 of K are the transform: codes differing only there name the
// same source.
TEST_F(CopyTables, IwTransformBitsDoNotMoveTheSource) {
  for (uint32_t k = 0; k < video::kCodeCount; ++k) {
    ASSERT_EQ(iwPositionTable[k], iwPositionTable[k & ~0xEu]) << k;
  }
  EXPECT_EQ(iwPositionTable[iwCode(287, 0)], iwPositionTable[iwCode(287, 5)]);
  EXPECT_NE(iwPositionTable[iwCode(287, 0)], iwPositionTable[iwCode(286, 0)]);
}

}  // namespace
