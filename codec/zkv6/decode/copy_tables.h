// The constant tables of the copy codings, computed when the decoder is
// compiled. Every offset is stored in pixels (dy * stride + dx), not in
// bytes: a table entry added to a pixel index names the source pixel.
#pragma once

#include <array>
#include <cstdint>

#include "pictures.h"

namespace video {

constexpr int kCodeCount = 4096;  // 12-bit codes
using CodeOffsets = std::array<int32_t, kCodeCount>;

// IX short codes: the vector of short code k, stride 640. Code 0 is (1, 0),
// code 1 the zero vector, code 4095 (32, 32); both components -31..32.
// Filled from the last code down, walking a square spiral inwards from
// (32, 32): each ring s entries left, s up, s right, s down, then one step
// up-left onto the next ring.
constexpr CodeOffsets buildSpiralTable() {
  CodeOffsets table{};
  int dx = 32, dy = 32, k = kCodeCount - 1;
  constexpr int kSteps[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
  for (int s = 63; s >= 1; s -= 2) {
    for (const auto& step : kSteps) {
      for (int n = 0; n < s; ++n) {
        table[k--] = dy * kIxWidth + dx;
        dx += step[0];
        dy += step[1];
      }
    }
    --dx;
    --dy;
  }
  return table;
}
extern const CodeOffsets spiralTable;
// IX small-piece codes from reference: code = (31 - dy) * 64 + (31 - dx),
// dx and dy in -32..31, relative to the 8x8 block's top-left.
extern const CodeOffsets nearRefTable;
// IX small-piece codes from current: code = (6 - dy) * 128 + (63 - dx),
// dx in -64..63, dy in -25..6, relative to the 8x8 block's top-left.
extern const CodeOffsets nearCurTable;
// IW 2x2 codes K: the source relative to the 8x8 block's top-left, stride
// 2048, indexed by K itself (its transform bits 1-3 do not move the source).
extern const CodeOffsets iwPositionTable;

namespace ix {
// The column of a long vector: (c + 128) modulo 640 for c = x0 - X, with one
// correction of 640 either way; indexed by c - kWrapFirst. Every c a block
// and an X make (-255..632) wraps completely; the decoder holds the source
// region inside the picture whatever the table gives.
constexpr int kWrapFirst = -1024, kWrapCount = 2048;
extern const std::array<int32_t, kWrapCount> wrapColumn;
inline int32_t column(int c) { return wrapColumn[c - kWrapFirst]; }
}  // namespace ix

namespace iw {
// As for IX, modulo 2048 around the panorama's seam (c = -255..2040).
constexpr int kWrapFirst = -2048, kWrapCount = 6144;
extern const std::array<int32_t, kWrapCount> wrapColumn;
inline int32_t column(int c) { return wrapColumn[c - kWrapFirst]; }
}  // namespace iw

}  // namespace video
