#include "intra_transform.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "idct.h"

namespace zkv6enc {

namespace {

using Matrix = double[8][8];

// The decoder's 1-D transform as a matrix: out = M s. Unit inputs large
// enough that none of its shifts drops a bit give the columns exactly.
void decoderMatrix(Matrix& m) {
  constexpr int32_t kUnit = 1 << 16;
  for (int k = 0; k < 8; ++k) {
    int32_t s[8] = {};
    s[k] = kUnit;
    video::transform8(s, 1);
    for (int r = 0; r < 8; ++r) m[r][k] = static_cast<double>(s[r]) / kUnit;
  }
}

// Gauss-Jordan elimination with partial pivoting; the decoder's matrix is
// well conditioned.
void invert(Matrix& a, Matrix& inverse) {
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) inverse[r][c] = r == c ? 1.0 : 0.0;
  for (int c = 0; c < 8; ++c) {
    int pivot = c;
    for (int r = c + 1; r < 8; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
    std::swap(a[c], a[pivot]);
    std::swap(inverse[c], inverse[pivot]);
    const double scale = 1.0 / a[c][c];
    for (int k = 0; k < 8; ++k) {
      a[c][k] *= scale;
      inverse[c][k] *= scale;
    }
    for (int r = 0; r < 8; ++r) {
      if (r == c || a[r][c] == 0.0) continue;
      const double f = a[r][c];
      for (int k = 0; k < 8; ++k) {
        a[r][k] -= f * a[c][k];
        inverse[r][k] -= f * inverse[c][k];
      }
    }
  }
}

struct ForwardMatrix {
  Matrix f;
  ForwardMatrix() {
    Matrix m;
    decoderMatrix(m);
    invert(m, f);
  }
};

}  // namespace

// The decoder computes M C M^T (columns, then rows); its inverse is
// F X F^T with F = M^-1.
void forwardTransform(const double (&signal)[64], double (&coefficients)[64]) {
  static const ForwardMatrix forward;
  const Matrix& f = forward.f;
  double rows[64];
  for (int r = 0; r < 8; ++r)
    for (int v = 0; v < 8; ++v) {
      double sum = 0;
      for (int c = 0; c < 8; ++c) sum += signal[8 * r + c] * f[v][c];
      rows[8 * r + v] = sum;
    }
  for (int u = 0; u < 8; ++u)
    for (int v = 0; v < 8; ++v) {
      double sum = 0;
      for (int r = 0; r < 8; ++r) sum += f[u][r] * rows[8 * r + v];
      coefficients[8 * u + v] = sum;
    }
}

}  // namespace zkv6enc
