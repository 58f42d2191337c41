#include "warp_render.h"

#include <algorithm>
#include <cstring>

#include <emmintrin.h>

#include "code_path.h"

namespace warp {

namespace {

using codec::CodePath;

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

// A cell's set-up from its four grid points: the steps along and down its
// lines and the first line's start, half a line down.
struct CellSteps {
  int32_t stepH, stepV, dStepH, dStepV, downH, downV, lineH, lineV;

  CellSteps(const GridPoint& p00, const GridPoint& p01, const GridPoint& p10, const GridPoint& p11)
      : stepH(diff(p01.column, p00.column) >> 4),
        stepV(diff(p01.row, p00.row) >> 9),
        dStepH(diff(diff(p11.column, p10.column) >> 4, stepH) >> 4),
        dStepV(diff(diff(p11.row, p10.row) >> 4, diff(p01.row, p00.row) >> 4) >> 9),
        downH(diff(p10.column, p00.column) >> 4),
        downV(diff(p10.row, p00.row) >> 9),
        lineH(wrapAdd(wrapTwice(p00.column), downH) >> 1),
        lineV(wrapAdd(wrapTwice(p00.row >> 5), downV) >> 1) {}

  // The current line's first sample, at pixel centres: half a step right of
  // the line start; the column in the 32-bit wrap-around form.
  uint32_t column() const { return static_cast<uint32_t>(wrapAdd(wrapTwice(lineH), stepH)) << 4; }
  uint32_t columnStep() const { return static_cast<uint32_t>(stepH) << 5; }
  int32_t row() const { return wrapAdd(wrapTwice(lineV), stepV) >> 1; }
  void nextLine() {
    lineH = wrapAdd(lineH, downH);
    lineV = wrapAdd(lineV, downV);
    stepH = wrapAdd(stepH, dStepH);
    stepV = wrapAdd(stepV, dStepV);
  }
};

// The whole cell, its 16 lines through the given line routine.
template <auto Line>
void renderCell(CellSteps cell, const uint16_t* source, uint16_t* out) {
  for (int l = 0; l < kCell; ++l, out += kViewWidth) {
    Line(source, out, cell.column(), cell.columnStep(), cell.row(), cell.stepV);
    cell.nextLine();
  }
}

// Lanes 0..3 holding 0, 1, 2 and 3 times step, modulo 2^32.
__attribute__((target("sse2"))) inline __m128i lanes(uint32_t step) {
  return _mm_set_epi32(static_cast<int>(3 * step), static_cast<int>(2 * step), static_cast<int>(step), 0);
}

// The SSE2 cell: each line's 16 source indices formed four at a time in
// 32-bit lanes, the column and row accumulators wrapping exactly as the
// scalar line's, then the pixels fetched into the lanes of two vectors and
// stored 16 bytes at a time. Lane k carries k times the line's column and
// row steps; those steps change by a fixed amount from line to line, and so
// do the lanes.
__attribute__((target("sse2"))) void renderCellSse2(CellSteps cell, const uint16_t* source, uint16_t* out) {
  const uint32_t dColumnStep = static_cast<uint32_t>(cell.dStepH) << 5;
  const uint32_t columnStep = cell.columnStep(), rowStep = static_cast<uint32_t>(cell.stepV);
  const uint32_t dRowStep = static_cast<uint32_t>(cell.dStepV);
  __m128i columnLanes = lanes(columnStep), rowLanes = lanes(rowStep);
  const __m128i dColumnLanes = lanes(dColumnStep), dRowLanes = lanes(dRowStep);
  const __m128i rowMask = _mm_set1_epi32(static_cast<int>(kRowMask));
  alignas(16) uint32_t index[kCell];
  for (int l = 0; l < kCell; ++l, out += kViewWidth) {
    __m128i column = _mm_add_epi32(_mm_set1_epi32(static_cast<int>(cell.column())), columnLanes);
    __m128i row = _mm_add_epi32(_mm_set1_epi32(cell.row()), rowLanes);
    const __m128i fourColumns = _mm_set1_epi32(static_cast<int>(cell.columnStep() << 2));
    const __m128i fourRows = _mm_set1_epi32(static_cast<int>(static_cast<uint32_t>(cell.stepV) << 2));
    for (int k = 0; k < kCell; k += 4) {
      const __m128i i = _mm_or_si128(_mm_srli_epi32(column, 21), _mm_and_si128(row, rowMask));
      _mm_store_si128(reinterpret_cast<__m128i*>(index + k), i);
      column = _mm_add_epi32(column, fourColumns);
      row = _mm_add_epi32(row, fourRows);
    }
    __m128i low = _mm_cvtsi32_si128(source[index[0]]), high = _mm_cvtsi32_si128(source[index[8]]);
    low = _mm_insert_epi16(low, source[index[1]], 1);
    high = _mm_insert_epi16(high, source[index[9]], 1);
    low = _mm_insert_epi16(low, source[index[2]], 2);
    high = _mm_insert_epi16(high, source[index[10]], 2);
    low = _mm_insert_epi16(low, source[index[3]], 3);
    high = _mm_insert_epi16(high, source[index[11]], 3);
    low = _mm_insert_epi16(low, source[index[4]], 4);
    high = _mm_insert_epi16(high, source[index[12]], 4);
    low = _mm_insert_epi16(low, source[index[5]], 5);
    high = _mm_insert_epi16(high, source[index[13]], 5);
    low = _mm_insert_epi16(low, source[index[6]], 6);
    high = _mm_insert_epi16(high, source[index[14]], 6);
    low = _mm_insert_epi16(low, source[index[7]], 7);
    high = _mm_insert_epi16(high, source[index[15]], 7);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), low);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), high);
    cell.nextLine();
    columnLanes = _mm_add_epi32(columnLanes, dColumnLanes);
    rowLanes = _mm_add_epi32(rowLanes, dRowLanes);
  }
}

// Every cell, those that stay inside the panorama through Inside.
template <void (*Inside)(CellSteps, const uint16_t*, uint16_t*)>
void renderCells(const GridPoint (&grid)[kGridRows][kGridColumns], const uint16_t* source, uint16_t* view) {
  for (int c = 0; c < kGridRows - 1; ++c) {
    for (int d = 0; d < kGridColumns - 1; ++d) {
      const GridPoint &p00 = grid[c][d], &p01 = grid[c][d + 1];
      const GridPoint &p10 = grid[c + 1][d], &p11 = grid[c + 1][d + 1];
      uint16_t* out = view + (kCell * c) * kViewWidth + kCell * d;
      const CellSteps steps(p00, p01, p10, p11);
      if (cellStaysInside(p00.row, p01.row, p10.row, p11.row)) {
        Inside(steps, source, out);
      } else {
        renderCell<renderClampedLine>(steps, source, out);
      }
    }
  }
}

}  // namespace

void warpRender(const GridPoint (&grid)[kGridRows][kGridColumns], const uint16_t* source,
                uint16_t* view) {
  if (codec::codePath() == CodePath::kSse2) return renderCells<renderCellSse2>(grid, source, view);
  renderCells<renderCell<renderLine>>(grid, source, view);
}

}  // namespace warp
