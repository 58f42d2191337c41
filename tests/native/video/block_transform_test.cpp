#include "block_transform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "transform_formula.h"

namespace {

using video::PieceCopies;

// Runs every transform of a piece size between two 24-row pictures and
// checks each destination pixel against the table, and that nothing outside
// the piece is written.
void checkEveryTransform(const PieceCopies& piece) {
  const int stride = piece.stride, rows = 24;
  const auto source = randomPixels(static_cast<size_t>(stride) * rows, 7);
  const int at = 5 * stride + 3, from = 11 * stride + 6;  // destination, source region
  for (int t = 0; t < 8; ++t) {
    SCOPED_TRACE(testing::Message() << piece.width << "x" << piece.height << " t=" << t);
    const auto before = randomPixels(source.size(), 99);
    auto destination = before;
    piece.operation[t](destination.data() + at, source.data() + from);
    for (int y = 0; y < rows; ++y) {
      for (int x = 0; x < stride; ++x) {
        const int dx = x - 3, dy = y - 5;
        const size_t i = static_cast<size_t>(y) * stride + x;
        if (dx < 0 || dy < 0 || dx >= piece.width || dy >= piece.height) {
          ASSERT_EQ(destination[i], before[i]) << "written outside the piece at " << x << "," << y;
          continue;
        }
        int sx = 0, sy = 0;
        sourceOf(t, piece.width, piece.height, dx, dy, sx, sy);
        ASSERT_LT(sx, piece.sourceColumns(t));
        ASSERT_LT(sy, piece.sourceRows(t));
        ASSERT_EQ(destination[i], source[from + sy * stride + sx]) << "pixel " << dx << "," << dy;
      }
    }
  }
}

TEST(BlockTransform, EveryIxPieceSizeFollowsTheTransformTable) {
  for (const PieceCopies* piece :
       {&video::pieceCopies<8, 8, 640>, &video::pieceCopies<8, 4, 640>, &video::pieceCopies<4, 8, 640>,
        &video::pieceCopies<4, 4, 640>, &video::pieceCopies<4, 2, 640>, &video::pieceCopies<2, 4, 640>,
        &video::pieceCopies<2, 2, 640>}) {
    checkEveryTransform(*piece);
  }
}

TEST(BlockTransform, EveryIwPieceSizeFollowsTheTransformTable) {
  for (const PieceCopies* piece :
       {&video::pieceCopies<8, 8, 2048>, &video::pieceCopies<4, 4, 2048>, &video::pieceCopies<2, 2, 2048>}) {
    checkEveryTransform(*piece);
  }
}

// A source overlapping its destination (only in streams no encoder writes)
// still reads every source pixel as it was before the copy.
TEST(BlockTransform, OverlappingSourceReadsThePixelsBeforeTheCopy) {
  const PieceCopies& piece = video::pieceCopies<8, 8, 640>;
  for (int t = 0; t < 8; ++t) {
    const auto before = randomPixels(640 * 16, 3);
    auto picture = before;
    const int at = 2 * 640 + 9, from = 640 + 6;  // one row up, three columns left
    piece.operation[t](picture.data() + at, picture.data() + from);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        int sx = 0, sy = 0;
        sourceOf(t, 8, 8, x, y, sx, sy);
        ASSERT_EQ(picture[at + y * 640 + x], before[from + sy * 640 + sx]) << "t=" << t;
      }
    }
  }
}

TEST(BlockTransform, TransposingTransformsReadAnHWideWHighRegion) {
  const PieceCopies& piece = video::pieceCopies<8, 4, 640>;
  for (int t = 0; t < 4; ++t) {
    EXPECT_EQ(piece.sourceColumns(t), 8);
    EXPECT_EQ(piece.sourceRows(t), 4);
    EXPECT_EQ(piece.sourceExtent(t), 3 * 640 + 8);
  }
  for (int t = 4; t < 8; ++t) {
    EXPECT_EQ(piece.sourceColumns(t), 4);
    EXPECT_EQ(piece.sourceRows(t), 8);
    EXPECT_EQ(piece.sourceExtent(t), 7 * 640 + 4);
  }
}

// Source regions that leave the picture are held inside it, linearly in the
// pixel array; regions inside it are left where they are.
TEST(BlockTransform, SourcesLeavingThePictureAreHeldInside) {
  const PieceCopies& piece = video::pieceCopies<8, 4, 640>;
  const int32_t total = 640 * 480;
  EXPECT_EQ(video::heldSourceStart(piece, 0, -1, total), 0);
  EXPECT_EQ(video::heldSourceStart(piece, 0, -100000, total), 0);
  EXPECT_EQ(video::heldSourceStart(piece, 0, 0, total), 0);
  EXPECT_EQ(video::heldSourceStart(piece, 0, 1234, total), 1234);
  // The last region that fits ends at the last pixel: 4 rows of 8, or for
  // t >= 4 8 rows of 4.
  EXPECT_EQ(video::heldSourceStart(piece, 0, total - 3 * 640 - 8, total), total - 3 * 640 - 8);
  EXPECT_EQ(video::heldSourceStart(piece, 0, total - 3 * 640 - 7, total), total - 3 * 640 - 8);
  EXPECT_EQ(video::heldSourceStart(piece, 7, total - 3 * 640 - 8, total), total - 7 * 640 - 4);
  EXPECT_EQ(video::heldSourceStart(piece, 5, total, total), total - 7 * 640 - 4);
  // Running over a row end is not leaving the picture.
  EXPECT_EQ(video::heldSourceStart(piece, 0, 5 * 640 + 636, total), 5 * 640 + 636);
}

TEST(BlockTransform, HeldCopyNeverReadsOutsideThePicture) {
  const PieceCopies& piece = video::pieceCopies<8, 8, 640>;
  // A picture holding exactly one 8x8 region: ASan guards both its ends.
  constexpr int32_t kTotal = 7 * 640 + 8;
  const auto picture = randomPixels(kTotal, 5);
  std::vector<uint16_t> destination(kTotal);
  // Where the first destination pixel comes from in an 8x8 region under t.
  const int firstPixelSource[8] = {0, 7, 7 * 640, 7 * 640 + 7, 7 * 640 + 7, 7 * 640, 7, 0};
  for (int t = 0; t < 8; ++t) {
    // Before the first pixel and past the last: both give the one region.
    for (int32_t start : {-5000, -1, 1, kTotal}) {
      video::copyHeld(piece, t, destination.data(), picture.data(), kTotal, start);
      EXPECT_EQ(destination[0], picture[firstPixelSource[t]]) << "t=" << t << " start=" << start;
    }
  }
}

}  // namespace
