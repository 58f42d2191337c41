// The inverse DCT of one 8x8 block of dequantised coefficients: a fast
// integer transform whose outputs carry 4 fractional bits, run over only the
// rows or columns the block's mask says hold values.
//
// Range: a coefficient is a code value of -128..127 times a step of at most
// 981 (255 times the largest scale factor, >> 13), so below 2^17 in
// magnitude. Bounding every intermediate of both passes by interval
// arithmetic gives at most 2.36e8, below 2^31, in either pass order: the
// 32-bit arithmetic cannot overflow for any coefficient stream.
#pragma once

#include <bit>
#include <cstdint>

#include "path_counts.h"

namespace video {

// The transform's multipliers: each the integer, applied with its shift,
// then the real number it approximates.
constexpr int32_t k1_414213562 = 3;   // >> 1: 1.5 for sqrt(2)
constexpr int32_t k1_847759065 = 30;  // >> 4: 1.875 for 2 cos(pi/8)
constexpr int32_t k1_082392200 = 17;  // >> 4: 1.0625 for 2 cos(pi/8) - 2 cos(3 pi/8)
constexpr int32_t k2_613125930 = 40;  // >> 4: 2.5 for 2 cos(pi/8) + 2 cos(3 pi/8)

// One 1-D transform of the eight values s[0], s[stride], ... s[7 * stride],
// in place.
inline void transform8(int32_t* s, int stride) {
  const int32_t s0 = s[0], s1 = s[stride], s2 = s[2 * stride], s3 = s[3 * stride];
  const int32_t s4 = s[4 * stride], s5 = s[5 * stride], s6 = s[6 * stride], s7 = s[7 * stride];

  const int32_t t10 = s0 + s4, t11 = s0 - s4, t13 = s2 + s6;
  const int32_t t12 = ((k1_414213562 * (s2 - s6)) >> 1) - t13;
  const int32_t e0 = t10 + t13, e3 = t10 - t13, e1 = t11 + t12, e2 = t11 - t12;

  const int32_t z13 = s5 + s3, z10 = s5 - s3, z11 = s1 + s7, z12 = s1 - s7;
  const int32_t o7 = z11 + z13;
  const int32_t o11 = (k1_414213562 * (z11 - z13)) >> 1;
  const int32_t z5 = k1_847759065 * (z10 + z12);
  const int32_t o10 = (k1_082392200 * z12 - z5) >> 4;
  const int32_t o12 = (z5 - k2_613125930 * z10) >> 4;
  const int32_t o6 = o12 - o7, o5 = o11 - o6, o4 = o10 + o5;

  s[0] = e0 + o7;
  s[7 * stride] = e0 - o7;
  s[stride] = e1 + o6;
  s[6 * stride] = e1 - o6;
  s[2 * stride] = e2 + o5;
  s[5 * stride] = e2 - o5;
  s[4 * stride] = e3 + o4;
  s[3 * stride] = e3 - o4;
}

// The 2-D transform of a block in natural order. mask: bit 8 + row and bit
// column for every written value. Rows or columns past the highest one
// holding a value are zero and transform to zero, so they are skipped; a
// single row or column transforms to a constant across the other direction,
// so it is copied instead.
inline void inverseTransform(int32_t (&block)[64], uint32_t mask) {
  if (mask == 0x101) {
    countPath(kInverseTransforms, 0);
    for (int32_t& v : block) v = block[0];
    return;
  }
  const uint32_t columns = mask & 0xFF, rows = (mask >> 8) & 0xFF;
  if (static_cast<int8_t>(rows) >= static_cast<int8_t>(columns)) {
    countPath(kInverseTransforms, columns == 1 ? 2 : 1);
    const int used = static_cast<int>(std::bit_width(columns));
    for (int c = 0; c < used; ++c) transform8(block + c, 8);
    for (int r = 0; r < 8; ++r) {
      int32_t* row = block + 8 * r;
      if (columns == 1) {
        for (int c = 1; c < 8; ++c) row[c] = row[0];
      } else {
        transform8(row, 1);
      }
    }
  } else {
    countPath(kInverseTransforms, rows == 1 ? 4 : 3);
    const int used = static_cast<int>(std::bit_width(rows));
    for (int r = 0; r < used; ++r) transform8(block + 8 * r, 1);
    if (rows == 1) {
      for (int i = 8; i < 64; ++i) block[i] = block[i & 7];
    } else {
      for (int c = 0; c < 8; ++c) transform8(block + c, 8);
    }
  }
}

}  // namespace video
