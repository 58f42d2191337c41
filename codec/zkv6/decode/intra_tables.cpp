#include <algorithm>

#include "intra_block.h"
#include "intra_tables.h"

namespace video {

const uint16_t kAanScale[64] = {
    16384, 22725, 21407, 19266, 16384, 12873, 8867, 4520,
    22725, 31521, 29692, 26722, 22725, 17855, 12299, 6270,
    21407, 29692, 27969, 25172, 21407, 16819, 11585, 5906,
    19266, 26722, 25172, 22654, 19266, 15137, 10426, 5315,
    16384, 22725, 21407, 19266, 16384, 12873, 8867, 4520,
    12873, 17855, 16819, 15137, 12873, 10114, 6967, 3552,
    8867, 12299, 11585, 10426, 8867, 6967, 4799, 2446,
    4520, 6270, 5906, 5315, 4520, 3552, 2446, 1247,
};

const uint8_t kLuminanceBase[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,   //
    12, 12, 14, 19, 26,  58,  60,  55,   //
    14, 13, 16, 24, 40,  57,  69,  56,   //
    14, 17, 22, 29, 51,  87,  80,  62,   //
    18, 22, 37, 56, 68,  109, 103, 77,   //
    24, 35, 55, 64, 81,  104, 113, 92,   //
    49, 64, 78, 87, 103, 121, 120, 101,  //
    72, 92, 95, 98, 112, 100, 103, 99,
};

const uint8_t kChrominanceBase[64] = {
    17, 18, 24, 47, 99, 99, 99, 99,  //
    18, 21, 26, 66, 99, 99, 99, 99,  //
    24, 26, 56, 99, 99, 99, 99, 99,  //
    47, 66, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99,
};

namespace {

// The zigzag walk: anti-diagonal d holds the indices with row + column = d,
// taken with the row rising on odd diagonals and falling on even ones.
constexpr void buildZigzag(uint8_t (&zigzag)[64]) {
  int k = 0;
  for (int d = 0; d < 15; ++d) {
    const int first = std::max(0, d - 7), last = std::min(d, 7);
    for (int n = 0; n <= last - first; ++n) {
      const int row = (d & 1) ? first + n : last - n;
      zigzag[k++] = static_cast<uint8_t>(8 * row + (d - row));
    }
  }
}

constexpr uint16_t channel(int j, int top) { return static_cast<uint16_t>(j < 0 ? 0 : std::min(j >> 1, top)); }

constexpr IntraTables buildIntraTables() {
  IntraTables t{};
  buildZigzag(t.zigzag);
  for (int i = 0; i < 64; ++i) t.maskBits[i] = static_cast<uint16_t>((0x100 << (i >> 3)) | (1 << (i & 7)));
  for (int j = -256; j < 512; ++j) {
    t.redFromV[j + 256] = static_cast<int16_t>((16 * j + 8) / 10);
    t.greenFromU[j + 256] = static_cast<int16_t>(j / 3);
  }
  for (int j = -64; j < 128; ++j) {
    t.red[j + 64] = static_cast<uint16_t>(channel(j, 31) << 10);
    t.green[j + 64] = static_cast<uint16_t>(channel(j, 30) << 5);
    t.blue[j + 64] = channel(j, 31);
  }
  for (int j = -512; j < 512; ++j) {
    t.wideRedFromV[j + 512] = t.redFromV[std::clamp(j, -256, 511) + 256];
    t.wideGreenFromU[j + 512] = t.greenFromU[std::clamp(j, -256, 511) + 256];
    t.wideRed[j + 512] = t.red[std::clamp(j, -64, 127) + 64];
    t.wideGreen[j + 512] = t.green[std::clamp(j, -64, 127) + 64];
    t.wideBlue[j + 512] = t.blue[std::clamp(j, -64, 127) + 64];
  }
  return t;
}

}  // namespace

constexpr IntraTables intraTables = buildIntraTables();

// A quality of 0 or below would make the scale divide by zero; such
// pictures cannot be coded, and they are decoded as quality 1. Qualities
// above 100 are decoded as 100.
void quantTables(QuantTables& tables, int32_t quality) {
  const int32_t q = std::clamp(quality, 1, 100);
  const int32_t scale = q < 50 ? 5000 / q : 200 - 2 * q;
  const uint8_t* const bases[3] = {kLuminanceBase, kChrominanceBase, kChrominanceBase};
  for (int b = 0; b < 3; ++b) {
    for (int k = 0; k < 64; ++k) {
      const int i = intraTables.zigzag[k];
      const int32_t step = std::clamp((bases[b][i] * scale + 50) / 100, 8, 255);
      tables.step[b][k] = (step * kAanScale[i]) >> 13;
      tables.negated[b][k] = -tables.step[b][k];
    }
  }
}

}  // namespace video
