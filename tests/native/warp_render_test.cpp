// The renderer, checked through sources whose pixels name their own column or
// row, so each view pixel tells where it was sampled.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "warp_render.h"
#include "warp_tables.h"

namespace {

using namespace warp;

struct Bitmaps {
  std::vector<uint16_t> source = std::vector<uint16_t>(kPanoramaWidth * kPanoramaHeight);
  std::vector<uint16_t> view = std::vector<uint16_t>(kViewWidth * kViewHeight);
  uint16_t at(int y, int x) const { return view[y * kViewWidth + x]; }
};

enum class Coordinate { kColumn, kRow };

void fillWithCoordinate(std::vector<uint16_t>& source, Coordinate which) {
  for (int y = 0; y < kPanoramaHeight; ++y)
    for (int x = 0; x < kPanoramaWidth; ++x)
      source[y * kPanoramaWidth + x] = static_cast<uint16_t>(which == Coordinate::kColumn ? x : y);
}

std::unique_ptr<WarpTables> tables(float fov, float yaw, float pitch) {
  auto t = std::make_unique<WarpTables>();
  warpInitialize(*t, fov, 80.0f);
  warpCalcul(*t, degreesToRadians(yaw), degreesToRadians(pitch));
  return t;
}

TEST(WarpRender, PixelAfterTheCentrePoint) {
  auto t = tables(90, 0, 0);
  Bitmaps b;
  fillWithCoordinate(b.source, Coordinate::kColumn);
  warpRender(t->sampleGrid, b.source.data(), b.view.data());
  EXPECT_EQ(b.at(240, 320), 0);
  fillWithCoordinate(b.source, Coordinate::kRow);
  warpRender(t->sampleGrid, b.source.data(), b.view.data());
  // The first line of cell row 15 starts half a line below the grid point, so
  // the pixel just under the horizon's grid row reads row 383.
  EXPECT_EQ(b.at(240, 320), 383);
}

TEST(WarpRender, SeamIsCrossedInOrderWithoutGaps) {
  auto t = tables(90, 0, 0);
  Bitmaps b;
  fillWithCoordinate(b.source, Coordinate::kColumn);
  warpRender(t->sampleGrid, b.source.data(), b.view.data());
  for (int y : {0, 100, 240, 479}) {
    bool sawSeam = false;
    for (int x = 1; x < kViewWidth; ++x) {
      const int step = (b.at(y, x) - b.at(y, x - 1) + kPanoramaWidth) % kPanoramaWidth;
      // Near the centre a pixel spans 1.02 columns: truncation skips one now and then.
      EXPECT_LE(step, 2) << "row " << y << " column " << x;
      if (b.at(y, x - 1) == 2047 && b.at(y, x) == 0) sawSeam = true;
    }
    EXPECT_TRUE(sawSeam) << "row " << y;
  }
  // Around the centre the view reads 2046, 2047, 0, 1 in that order.
  std::vector<int> seen;
  for (int x = 300; x < 340; ++x)
    if (seen.empty() || seen.back() != b.at(240, x)) seen.push_back(b.at(240, x));
  const std::vector<int> expected{2046, 2047, 0, 1};
  EXPECT_NE(std::search(seen.begin(), seen.end(), expected.begin(), expected.end()), seen.end());
}

TEST(WarpRender, RowsRunUpwardInTheView) {
  auto t = tables(90, 0, 0);
  Bitmaps b;
  fillWithCoordinate(b.source, Coordinate::kRow);
  warpRender(t->sampleGrid, b.source.data(), b.view.data());
  // Memory row 0 samples the lowest elevations: the highest panorama rows.
  EXPECT_GT(b.at(0, 320), 384 + 100);
  EXPECT_LT(b.at(479, 320), 384 - 100);
  for (int y = 1; y < kViewHeight; ++y) EXPECT_LE(b.at(y, 320), b.at(y - 1, 320));
}

TEST(WarpRender, EqualCornersFillTheCellWithOnePixel) {
  auto grid = std::make_unique<WarpTables>();
  for (auto& row : grid->sampleGrid)
    for (auto& p : row) p = {(700 << 16) + 1234, (300 << 16) + 99};
  Bitmaps b;
  b.source[300 * kPanoramaWidth + 700] = 0x7C1F;
  warpRender(grid->sampleGrid, b.source.data(), b.view.data());
  for (uint16_t p : b.view) ASSERT_EQ(p, 0x7C1F);
}

TEST(WarpRender, PixelsAreCopiedUnchanged) {
  auto t = tables(75, 123, -7);
  Bitmaps b;
  for (size_t i = 0; i < b.source.size(); ++i) b.source[i] = static_cast<uint16_t>(0x8000 | (i * 2654435761u >> 17));
  warpRender(t->sampleGrid, b.source.data(), b.view.data());
  for (uint16_t p : b.view) ASSERT_TRUE(p & 0x8000) << "bit 15 is carried as it is";
}

TEST(WarpRender, YawBeyondOneTurnStillMapsThroughTheColumnWrap) {
  auto wrapped = tables(90, 900, 0);
  auto plain = tables(90, 180, 0);
  Bitmaps a, b;
  fillWithCoordinate(a.source, Coordinate::kColumn);
  b.source = a.source;
  warpRender(wrapped->sampleGrid, a.source.data(), a.view.data());
  warpRender(plain->sampleGrid, b.source.data(), b.view.data());
  int differing = 0;
  for (size_t i = 0; i < a.view.size(); ++i) {
    const int d = (a.view[i] - b.view[i] + kPanoramaWidth) % kPanoramaWidth;
    EXPECT_TRUE(d <= 1 || d == kPanoramaWidth - 1) << i;
    differing += d != 0;
  }
  EXPECT_LT(differing, static_cast<int>(a.view.size()) / 10);
}

TEST(WarpRender, ViewsReachingOutsideReadOnlyTheSource) {
  // The source is exactly 2048x768: any read beyond it is caught by the
  // address sanitizer; the row source shows every row read is 0..767.
  Bitmaps b;
  fillWithCoordinate(b.source, Coordinate::kRow);
  for (float pitch : {89.0f, -89.0f}) {
    auto t = std::make_unique<WarpTables>();
    warpInitialize(*t, 150.0f, 100.0f);
    warpCalcul(*t, 0.7f, degreesToRadians(pitch));
    warpRender(t->sampleGrid, b.source.data(), b.view.data());
    for (uint16_t row : b.view) ASSERT_LT(row, kPanoramaHeight);
  }
}

TEST(WarpRender, CellsWhoseBlendOvershootsKeepToTheEdgeRows) {
  // Within a cell the blend of the corners dips below the lowest corner
  // near the far corner: here it would read rows above row 0.
  Bitmaps b;
  fillWithCoordinate(b.source, Coordinate::kRow);
  auto grid = std::make_unique<WarpTables>();
  for (int i = 0; i < kGridRows; ++i)
    for (int j = 0; j < kGridColumns; ++j)
      grid->sampleGrid[i][j] = {j << 20, (i + j) % 2 ? 0 : kGridRowMax};
  warpRender(grid->sampleGrid, b.source.data(), b.view.data());
  for (uint16_t row : b.view) ASSERT_LT(row, kPanoramaHeight);
  // Rows far outside, and wrapping differences, stay inside as well.
  for (int i = 0; i < kGridRows; ++i)
    for (int j = 0; j < kGridColumns; ++j) grid->sampleGrid[i][j] = {j * 7919 << 12, (i * j) % 3 ? INT32_MAX : INT32_MIN};
  warpRender(grid->sampleGrid, b.source.data(), b.view.data());
  for (uint16_t row : b.view) ASSERT_LT(row, kPanoramaHeight);
}

}  // namespace
