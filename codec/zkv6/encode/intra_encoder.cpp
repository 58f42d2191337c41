#include "intra_encoder.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "intra_code.h"
#include "intra_dc.h"
#include "intra_tables.h"
#include "intra_transform.h"
#include "streams.h"

namespace zkv6enc {

namespace {

// The Y, U and V signals of one block, in the decoder's transformed units.
struct Signals {
  double component[3][64];
};

// The middle of the 8 levels the decoder maps to a channel's value; the
// decoder saturates below 0 and above the top value, so there a further 8
// levels give the coarse steps room without changing the colour.
double channelTarget(uint32_t value, uint32_t top) {
  constexpr double kSaturatedSlack = 8.0;
  const uint32_t v = std::min(value, top);
  const double middle = 8.0 * v + 3.5;
  if (v == 0) return middle - kSaturatedSlack;
  if (v == top) return middle + kSaturatedSlack;
  return middle;
}

// The decoder turns level L = Y/16 + 128 and u = U/16, v = V/16 into
// channels of 8 levels each: red L + 1.6v, green L - 0.8v - u/3, blue
// L + 2u. Aiming every channel at the middle of its source value's 8 levels
// and solving gives L = 0.3 red + 0.6 green + 0.1 blue. The half steps
// added make the decoder's shifts round instead of truncating.
Signals targetSignals(const uint16_t* source, int stride) {
  Signals s;
  for (int row = 0; row < 8; ++row) {
    for (int col = 0; col < 8; ++col) {
      const uint32_t pixel = source[static_cast<ptrdiff_t>(row) * stride + col];
      const double red = channelTarget((pixel >> 10) & 31, 31);
      const double green = channelTarget((pixel >> 5) & 31, 30);
      const double blue = channelTarget(pixel & 31, 31);
      const double level = 0.3 * red + 0.6 * green + 0.1 * blue;
      const int i = 8 * row + col;
      s.component[0][i] = 16.0 * (level - 128.0) + 8.0;
      s.component[1][i] = 8.0 * (blue - level) + 4.0;
      s.component[2][i] = 10.0 * (red - level) + 8.0;
    }
  }
  return s;
}

// The code values of one block in zigzag order: the coefficients divided by
// the decoder's steps, rounded and held to what a code can write.
void quantise(const double (&signal)[64], const int32_t* step, int (&values)[64]) {
  double coefficients[64];
  forwardTransform(signal, coefficients);
  for (int k = 0; k < 64; ++k) {
    const double c = coefficients[video::intraTables.zigzag[k]] / step[k];
    values[k] = static_cast<int>(std::clamp(std::lround(c), -128L, 127L));
  }
}

}  // namespace

IntraEncoder::IntraEncoder(int quality) : quality_(std::clamp(quality, 1, 100)) {
  video::quantTables(tables_, quality_);
}

IntraCode IntraEncoder::encode(const uint16_t* source, int stride) const {
  const Signals s = targetSignals(source, stride);
  int values[3][64];
  for (int b = 0; b < 3; ++b) quantise(s.component[b], tables_.step[b], values[b]);
  refineDc(tables_, source, stride, values);
  return code(values);
}

IntraCode IntraEncoder::code(const int (&values)[3][64]) const {
  IntraCode result{};
  for (int b = 0; b < 3; ++b) appendBlockCode(values[b], result.nibbles);
  std::vector<uint8_t> packed((result.nibbles.size() + 1) / 2, 0);
  for (size_t n = 0; n < result.nibbles.size(); ++n)
    packed[n / 2] |= static_cast<uint8_t>(result.nibbles[n] << (4 * (n & 1)));
  video::NibbleReader reader(packed.data(), packed.size());
  video::decodeMacroblock(tables_, reader, result.reconstruction, 8);
  return result;
}

}  // namespace zkv6enc
