// The constant tables of the intra block coding and the colour conversion
// that reads them, computed when the decoder is compiled.
#pragma once

#include <algorithm>
#include <cstdint>

namespace video {

struct IntraTables {
  // Zigzag position -> natural index (8 * row + column).
  uint8_t zigzag[64];
  // Natural index -> the bits a written value sets in its block's mask:
  // bit 8 + row and bit column.
  uint16_t maskBits[64];
  // RV[j] = (16j + 8) / 10 and GU[j] = j / 3, truncating toward zero, for
  // j in -256..511, stored at j + 256.
  int16_t redFromV[768];
  int16_t greenFromU[768];
  // 5-bit channel levels already in place in a 5-5-5 pixel, for j in
  // -64..127 at j + 64: j / 2 limited to 31 (green to 30), 0 below zero.
  uint16_t red[192];
  uint16_t green[192];
  uint16_t blue[192];
  // The same five tables over wider ranges, each entry what the narrow table
  // gives for its index held to the narrow range: -512..511 at j + 512. They
  // serve the macroblocks whose values stay within kWide*, which every valid
  // stream's do, without a clamp per look-up.
  int16_t wideRedFromV[1024];
  int16_t wideGreenFromU[1024];
  uint16_t wideRed[1024];
  uint16_t wideGreen[1024];
  uint16_t wideBlue[1024];
};

extern const IntraTables intraTables;

// The 14-bit scale factors of the inverse transform, by natural index:
// round(16384 f(row) f(column)), f(0) = 1, f(k) = sqrt(2) cos(k pi / 16).
extern const uint16_t kAanScale[64];
// The JPEG example quantisers (ITU-T T.81, Tables K.1 and K.2), by natural
// index.
extern const uint8_t kLuminanceBase[64];
extern const uint8_t kChrominanceBase[64];

// One pixel from the transformed Y, U and V values at the same index. Table
// indices outside their ranges only come from hostile streams; they are held
// to the ends of the tables, which is also what the pixel tables' own
// saturation gives. No input can overflow: the largest sum is about 3 * 2^28.
inline uint16_t convertPixel(int32_t y, int32_t u, int32_t v) {
  const IntraTables& t = intraTables;
  const int32_t level = (y >> 4) + 128;
  const int32_t rv = t.redFromV[std::clamp(v >> 4, -256, 511) + 256];
  const int32_t gu = t.greenFromU[std::clamp(u >> 4, -256, 511) + 256];
  const int32_t r = (level + rv) >> 2;
  const int32_t g = (level - (rv >> 1) - gu) >> 2;
  const int32_t b = (level + (u >> 3)) >> 2;
  return static_cast<uint16_t>(t.red[std::clamp(r, -64, 127) + 64] | t.green[std::clamp(g, -64, 127) + 64] |
                               t.blue[std::clamp(b, -64, 127) + 64]);
}

// Bounds of transformed values within which convertWidePixel needs no clamp:
// with Y in kWideY, U in kWideU and V in kWideV every index it forms lies in
// -512..511.
constexpr int32_t kWideY = 16384, kWideU = 4096, kWideV = 8192;

// Non-zero when a value lies outside its bound (each bound is a power of two).
inline uint32_t outsideWideTables(int32_t y, int32_t u, int32_t v) {
  static_assert(kWideY == 1 << 14 && kWideU == 1 << 12 && kWideV == 1 << 13);
  return (static_cast<uint32_t>(y + kWideY) >> 15) | (static_cast<uint32_t>(u + kWideU) >> 13) |
         (static_cast<uint32_t>(v + kWideV) >> 14);
}

// convertPixel for values within the wide bounds: the same pixel.
inline uint16_t convertWidePixel(int32_t y, int32_t u, int32_t v) {
  const IntraTables& t = intraTables;
  const int32_t level = (y >> 4) + 128;
  const int32_t rv = t.wideRedFromV[(v >> 4) + 512];
  const int32_t gu = t.wideGreenFromU[(u >> 4) + 512];
  const int32_t r = (level + rv) >> 2;
  const int32_t g = (level - (rv >> 1) - gu) >> 2;
  const int32_t b = (level + (u >> 3)) >> 2;
  return static_cast<uint16_t>(t.wideRed[r + 512] | t.wideGreen[g + 512] | t.wideBlue[b + 512]);
}

}  // namespace video
