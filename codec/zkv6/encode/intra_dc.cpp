#include "intra_dc.h"

#include <cstddef>

#include "idct.h"
#include "intra_tables.h"

namespace zkv6enc {

namespace {

// Rounds of nudging at most; one or two usually settle it.
constexpr int kRounds = 4;

int64_t squaredError(uint16_t a, uint16_t b) {
  int64_t sum = 0;
  for (int shift : {10, 5, 0}) {
    const int d = static_cast<int>((a >> shift) & 31) - static_cast<int>((b >> shift) & 31);
    sum += d * d;
  }
  return sum;
}

// The decoder's transformed values for the codes, without their DC values:
// a DC value adds its dequantised value to every output of the transform,
// exactly, so a change of DC is an offset on the whole block.
struct Transformed {
  int32_t value[3][64];
  int32_t dcStep[3];
};

Transformed transformed(const video::QuantTables& tables, const int (&values)[3][64]) {
  const video::IntraTables& t = video::intraTables;
  Transformed out;
  for (int b = 0; b < 3; ++b) {
    int32_t(&block)[64] = out.value[b];
    for (int32_t& v : block) v = 0;
    uint32_t mask = t.maskBits[0];
    for (int k = 1; k < 64; ++k) {
      if (values[b][k] == 0) continue;
      block[t.zigzag[k]] = values[b][k] * tables.step[b][k];
      mask |= t.maskBits[t.zigzag[k]];
    }
    video::inverseTransform(block, mask);
    out.dcStep[b] = tables.step[b][0];
  }
  return out;
}

}  // namespace

void refineDc(const video::QuantTables& tables, const uint16_t* source, int stride, int (&values)[3][64]) {
  const Transformed t = transformed(tables, values);
  const auto error = [&] {
    int64_t sum = 0;
    for (int i = 0; i < 64; ++i) {
      int32_t c[3];
      for (int b = 0; b < 3; ++b) c[b] = t.value[b][i] + values[b][0] * t.dcStep[b];
      const uint16_t decoded = video::convertPixel(c[0], c[1], c[2]);
      sum += squaredError(decoded, source[static_cast<ptrdiff_t>(i / 8) * stride + i % 8]);
    }
    return sum;
  };
  int64_t best = error();
  for (int round = 0; round < kRounds && best > 0; ++round) {
    bool better = false;
    for (int b = 0; b < 3; ++b) {
      for (int step : {-1, 1}) {
        const int dc = values[b][0];
        if (dc + step < -128 || dc + step > 127) continue;
        values[b][0] = dc + step;
        const int64_t e = error();
        if (e < best) {
          best = e;
          better = true;
        } else {
          values[b][0] = dc;
        }
      }
    }
    if (!better) break;
  }
}

}  // namespace zkv6enc
