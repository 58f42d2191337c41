// What the decoder has decoded of a picture when it reaches a piece of the
// 8x8 block at (x0, y0): every row above the block's row, the blocks to its
// left in that row, and the pixels of the block marked so far. Pixels are
// named by their index in the picture (row x Stride + column), as the
// decoder's copies read them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace zkv6enc {

template <int Stride, int Pixels>
struct DecodedArea {
  int x0 = 0, y0 = 0;
  uint8_t rows[8] = {};  // the block's decoded pixels, a bit per column

  void startBlock(int blockX, int blockY) {
    x0 = blockX;
    y0 = blockY;
    std::fill(std::begin(rows), std::end(rows), uint8_t{0});
  }

  // The w x h piece at (px, py) inside the block is decoded, or no longer.
  void mark(int px, int py, int w, int h, bool decoded) {
    const auto bits = static_cast<uint8_t>(((1u << w) - 1) << px);
    for (int y = py; y < py + h; ++y) rows[y] = static_cast<uint8_t>(decoded ? rows[y] | bits : rows[y] & ~bits);
  }

  bool decoded(int32_t index) const {
    if (index < 0 || index >= Pixels) return false;
    const int row = index / Stride, column = index % Stride;
    if (row < y0) return true;
    if (row >= y0 + 8) return false;
    if (column < x0) return true;
    if (column >= x0 + 8) return false;
    return (rows[row - y0] >> (column - x0)) & 1;
  }

  // Every pixel of the count pixels from first (within a row, or running on
  // into the next) is decoded; first lies inside the picture.
  bool runDecoded(int32_t first, int count) const {
    const int row = first / Stride, column = first % Stride;
    if (column + count > Stride) return wrappedRunDecoded(first, column, count);
    if (row < y0) return true;
    if (row >= y0 + 8 || column + count > x0 + 8) return false;
    if (column + count <= x0) return true;
    const int from = std::max(column, x0) - x0, to = column + count - x0;
    const auto wanted = static_cast<uint8_t>(((1u << (to - from)) - 1) << from);
    return (rows[row - y0] & wanted) == wanted;
  }

 private:
  // A run that goes on into the next row, as two runs (rare: kept out of
  // the search's loop).
  [[gnu::noinline]] bool wrappedRunDecoded(int32_t first, int column, int count) const {
    const int head = Stride - column;
    return runDecoded(first, head) && runDecoded(first + head, count - head);
  }
};

}  // namespace zkv6enc
