// What the decoder tests check pictures against: the source pixel each
// BlockTransform takes, written out plainly, and checks of pieces of
// pictures built on it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

// The source pixel (sx, sy) that destination pixel (x, y) of a w x h piece
// takes under transform t.
inline void sourceOf(int t, int w, int h, int x, int y, int& sx, int& sy) {
  switch (t) {
    case 0: sx = x, sy = y; break;
    case 1: sx = w - 1 - x, sy = y; break;
    case 2: sx = x, sy = h - 1 - y; break;
    case 3: sx = w - 1 - x, sy = h - 1 - y; break;
    case 4: sx = h - 1 - y, sy = w - 1 - x; break;
    case 5: sx = y, sy = w - 1 - x; break;
    case 6: sx = h - 1 - y, sy = x; break;
    default: sx = y, sy = x; break;
  }
}

// The pixel of an n x n tile that destination pixel (x, y) takes under t.
inline int tileIndex(int n, int t, int x, int y) {
  int sx = 0, sy = 0;
  sourceOf(t, n, n, x, y, sx, sy);
  return sy * n + sx;
}

inline std::vector<uint16_t> randomPixels(size_t count, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint16_t> pixels(count);
  for (uint16_t& p : pixels) p = static_cast<uint16_t>(random());
  return pixels;
}

// The w x h piece of picture (rows Width apart) at (px, py) is the region of
// source starting at pixel start (read on linearly) under transform t.
template <int Width>
testing::AssertionResult pieceIsIn(const std::vector<uint16_t>& picture, int px, int py, int w, int h,
                                   const std::vector<uint16_t>& source, int32_t start, int t) {
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int sx = 0, sy = 0;
      sourceOf(t, w, h, x, y, sx, sy);
      if (picture[(py + y) * Width + px + x] != source[start + sy * Width + sx]) {
        return testing::AssertionFailure() << "pixel " << x << "," << y << " of the piece at " << px << "," << py;
      }
    }
  }
  return testing::AssertionSuccess();
}
