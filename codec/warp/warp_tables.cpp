#include "warp_tables.h"

#include <cmath>

namespace warp {

namespace {
constexpr long double kPi = 3.14159265358979323846264338327950288L;
constexpr long double kTurn = 134217728.0L;  // 2^27: one turn in 16.16 columns
constexpr long double kHorizonRow = 25165824.0L;  // 384 x 65536
}  // namespace

int32_t truncLow32(long double x) {
  if (!(std::fabs(x) < 9223372036854775808.0L)) return 0;  // also NaN
  auto whole = static_cast<int64_t>(x);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole)));
}

void warpInitialize(WarpTables& t, float fov, float limit) {
  t.piF = static_cast<float>(4.0L * std::acos(std::sqrt(2.0L) * 0.5L));
  t.twoPiF = static_cast<float>(2.0L * t.piF);
  t.angleScale = static_cast<float>(kTurn / t.twoPiF);
  t.rowRadius = static_cast<float>(384.0L / std::sin(kPi * 31.0L / 72.0L));
  t.pitchLimit = static_cast<float>(static_cast<long double>(limit) * t.piF / 180.0L);

  // Tangent step of one 16-pixel cell; 320 pixels are half the view's width.
  const long double step = std::tan(static_cast<long double>(fov) * t.piF / 360.0L) * 16.0L / 320.0L;
  const long double R = t.rowRadius;
  for (int i = 0; i < kGridRows; ++i) {
    const long double x = (i - 15) * step;
    t.rowAngle[i] = static_cast<float>(std::atan2(x, 1.0L));
    const long double r = std::sqrt(x * x + 1.0L);
    t.rowRadiusXY[i] = static_cast<float>(r);
    for (int j = 0; j < kHalfColumns; ++j) {
      const long double y = (j - 20) * step;
      t.colTangent[j] = static_cast<float>(y);
      t.rowScale[i][j] = static_cast<float>((r * R * 65536.0L) / std::sqrt(y * y + r * r));
    }
  }
}

void warpCalcul(WarpTables& t, float yaw, float pitch) {
  const long double limit = t.pitchLimit * 0.9L;
  if (pitch > limit) {
    pitch = static_cast<float>(limit);
  } else if (pitch < -limit) {
    pitch = static_cast<float>(-limit);
  }
  t.viewPitch = pitch;

  // One wrap only: a yaw beyond two turns stays outside [0, 2 pi), and the
  // renderer's column wrap still maps it.
  if (yaw >= t.twoPiF) {
    yaw = static_cast<float>(static_cast<long double>(yaw) - t.twoPiF);
  } else if (yaw < 0) {
    yaw = static_cast<float>(static_cast<long double>(yaw) + t.twoPiF);
  }
  t.viewYaw = yaw;

  const long double h0 = kTurn - static_cast<long double>(t.viewYaw) * t.angleScale;
  for (int i = 0; i < kGridRows; ++i) {
    const long double phi = static_cast<long double>(t.rowAngle[i]) + t.viewPitch;
    const long double forward = t.rowRadiusXY[i] * std::cos(phi);
    const long double up = std::sin(phi);
    GridPoint* row = t.sampleGrid[i];
    for (int j = 0; j < kHalfColumns; ++j) {
      const long double a = std::atan2(static_cast<long double>(t.colTangent[j]), forward) * t.angleScale;
      int32_t v = truncLow32(kHorizonRow - up * t.rowScale[i][j]);
      v = v < kGridRowMin ? kGridRowMin : v > kGridRowMax ? kGridRowMax : v;
      row[j] = {truncLow32(h0 + a), v};
      if (j < kHalfColumns - 1) row[kGridColumns - 1 - j] = {truncLow32(h0 - a), v};
    }
  }
}

}  // namespace warp

namespace warp {

float degreesToRadians(float degrees) {
  constexpr double kDegree = 0.01745327777777778;  // 3.14159 / 180
  return static_cast<float>(static_cast<long double>(degrees) * kDegree);
}

}  // namespace warp
