#include "warp_render.h"

#include <algorithm>
#include <cstring>

namespace warp {

namespace {

// 32-bit wrap-around arithmetic; shifts of signed values are arithmetic.
inline int32_t diff(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t wrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t wrapTwice(int32_t a) { return static_cast<int32_t>(static_cast<uint32_t>(a) << 1); }

// Rows are carried as 16.11 fixed point: masking gives row x 2048 directly.
constexpr uint32_t kRowMask = 0x1FF800;
constexpr int32_t kLastRow = (kPanoramaHeight - 1) << 11;

// One line of a cell: 16 pixels, two a 32-bit store, the first in the lower
// half. The column and row accumulators travel in one 64-bit word, column in
// the upper half: the row stays within 0..2^32 on this path, so adding the
// sign-extended row step never carries into the column, and the column half
// wraps across the seam on its own. Kept out of line: inlined into the cell's
// loop, the compiler gives each pixel an induction variable of its own and
// runs out of registers, which costs twice the time.
__attribute__((noinline)) void renderLine(const uint16_t* source, uint16_t* out, uint32_t col,
                                          uint32_t colStep, int32_t row, int32_t rowStep) {
  // Even and odd pixels step side by side, two steps at a time, which halves
  // the chain of additions each load waits for.
  const uint64_t step = (static_cast<uint64_t>(colStep) << 32) + static_cast<uint64_t>(int64_t{rowStep});
  uint64_t even = (static_cast<uint64_t>(col) << 32) | static_cast<uint32_t>(row);
  uint64_t odd = even + step;
  const uint64_t twoSteps = 2 * step;
  for (int k = 0; k < kCell; k += 2) {
    const uint32_t low = source[(even >> 53) | (even & kRowMask)];
    const uint32_t high = source[(odd >> 53) | (odd & kRowMask)];
    even += twoSteps;
    odd += twoSteps;
    const uint32_t pair = low | (high << 16);
    std::memcpy(out + k, &pair, sizeof pair);
  }
}

// The same line for a cell that may stray outside the panorama's rows: each
// row is held to the first or last row before it is used.
void renderClampedLine(const uint16_t* source, uint16_t* out, uint32_t col, uint32_t colStep, int32_t row,
                       int32_t rowStep) {
  for (int k = 0; k < kCell; k += 2) {
    uint32_t pixels[2];
    for (uint32_t& p : pixels) {
      const auto r = static_cast<uint32_t>(std::clamp(row, 0, kLastRow));
      p = source[(col >> 21) | (r & kRowMask)];
      col += colStep;
      row = wrapAdd(row, rowStep);
    }
    const uint32_t pair = pixels[0] | (pixels[1] << 16);
    std::memcpy(out + k, &pair, sizeof pair);
  }
}

// Whether every row a cell reads certainly lies inside the panorama. Within
// a cell the rows are an affine blend of the corners' whose weights dip at
// most 1/32 below zero, plus less than 300 units of rounding.
bool cellStaysInside(int32_t a, int32_t b, int32_t c, int32_t d) {
  const int64_t low = std::min({a, b, c, d}) >> 5, high = std::max({a, b, c, d}) >> 5;
  const int64_t margin = (high - low) / 16 + 512;
  return low - margin >= 0 && high + margin <= kLastRow;
}

// The whole cell, its 16 lines through the given line routine.
template <auto Line>
void renderCell(const GridPoint& p00, const GridPoint& p01, const GridPoint& p10, const GridPoint& p11,
                const uint16_t* source, uint16_t* out) {
  int32_t stepH = diff(p01.column, p00.column) >> 4;
  int32_t stepV = diff(p01.row, p00.row) >> 9;
  const int32_t dStepH = diff(diff(p11.column, p10.column) >> 4, stepH) >> 4;
  const int32_t dStepV = diff(diff(p11.row, p10.row) >> 4, diff(p01.row, p00.row) >> 4) >> 9;
  const int32_t downH = diff(p10.column, p00.column) >> 4;
  const int32_t downV = diff(p10.row, p00.row) >> 9;
  // The first line's start, half a line down.
  int32_t lineH = wrapAdd(wrapTwice(p00.column), downH) >> 1;
  int32_t lineV = wrapAdd(wrapTwice(p00.row >> 5), downV) >> 1;
  for (int l = 0; l < kCell; ++l, out += kViewWidth) {
    // Sample at pixel centres: half a step right of the line start.
    const uint32_t col = static_cast<uint32_t>(wrapAdd(wrapTwice(lineH), stepH)) << 4;
    const uint32_t colStep = static_cast<uint32_t>(stepH) << 5;
    const int32_t row = wrapAdd(wrapTwice(lineV), stepV) >> 1;
    Line(source, out, col, colStep, row, stepV);
    lineH = wrapAdd(lineH, downH);
    lineV = wrapAdd(lineV, downV);
    stepH = wrapAdd(stepH, dStepH);
    stepV = wrapAdd(stepV, dStepV);
  }
}

}  // namespace

void warpRender(const GridPoint (&grid)[kGridRows][kGridColumns], const uint16_t* source,
                uint16_t* view) {
  for (int c = 0; c < kGridRows - 1; ++c) {
    for (int d = 0; d < kGridColumns - 1; ++d) {
      const GridPoint &p00 = grid[c][d], &p01 = grid[c][d + 1];
      const GridPoint &p10 = grid[c + 1][d], &p11 = grid[c + 1][d + 1];
      uint16_t* out = view + (kCell * c) * kViewWidth + kCell * d;
      if (cellStaysInside(p00.row, p01.row, p10.row, p11.row)) {
        renderCell<renderLine>(p00, p01, p10, p11, source, out);
      } else {
        renderCell<renderClampedLine>(p00, p01, p10, p11, source, out);
      }
    }
  }
}

}  // namespace warp
