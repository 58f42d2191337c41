#include "picture_error.h"

#include <cmath>
#include <initializer_list>

namespace zkv6enc {

namespace {

inline int64_t pixelError(uint16_t p, uint16_t q) {
  const int dr = ((p >> 10) & 31) - ((q >> 10) & 31);
  const int dg = ((p >> 5) & 31) - ((q >> 5) & 31);
  const int db = (p & 31) - (q & 31);
  return dr * dr + dg * dg + db * db;
}

inline int expand5(int v) { return (v << 3) | (v >> 2); }

}  // namespace

int64_t pieceError(const uint16_t* a, int strideA, const uint16_t* b, int strideB, int width, int height) {
  int64_t sum = 0;
  for (int y = 0; y < height; ++y, a += strideA, b += strideB)
    for (int x = 0; x < width; ++x) sum += pixelError(a[x], b[x]);
  return sum;
}

double psnr(const uint16_t* a, const uint16_t* b, size_t count) {
  double sum = 0;
  for (size_t i = 0; i < count; ++i) {
    for (int shift : {10, 5, 0}) {
      const int d = expand5((a[i] >> shift) & 31) - expand5((b[i] >> shift) & 31);
      sum += d * d;
    }
  }
  if (sum == 0) return 99.0;
  return 10.0 * std::log10(255.0 * 255.0 * 3.0 * static_cast<double>(count) / sum);
}

}  // namespace zkv6enc
