// The projection tables and the sample grid, against the figures of a 90
// degree view and the rules for wrapping, clamping and zeroed tables.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "warp_tables.h"

namespace {

using warp::WarpTables;

constexpr int32_t kTurn = 1 << 27;
constexpr int32_t kHorizon = 384 << 16;

std::unique_ptr<WarpTables> view90(float yawDegrees = 0, float pitchDegrees = 0) {
  auto t = std::make_unique<WarpTables>();
  warp::warpInitialize(*t, 90.0f, 80.0f);
  warp::warpCalcul(*t, warp::degreesToRadians(yawDegrees), warp::degreesToRadians(pitchDegrees));
  return t;
}

TEST(WarpTables, FieldOfView90) {
  auto t = view90();
  EXPECT_FLOAT_EQ(t->piF, 3.14159274f);
  EXPECT_FLOAT_EQ(t->twoPiF, 2 * 3.14159274f);
  EXPECT_FLOAT_EQ(t->angleScale, static_cast<float>(134217728.0 / (2 * 3.14159274f)));
  EXPECT_NEAR(t->rowRadius, 393.32333, 1e-4);
  EXPECT_FLOAT_EQ(t->rowRadiusXY[0], 1.25f);  // sqrt(0.75^2 + 1)
  EXPECT_FLOAT_EQ(t->rowRadiusXY[15], 1.0f);
  EXPECT_NEAR(t->rowAngle[0], -0.6435, 1e-4);  // atan(-0.75): 36.87 degrees
  EXPECT_NEAR(t->rowAngle[30], 0.6435, 1e-4);
  EXPECT_FLOAT_EQ(t->colTangent[0], -1.0f);  // 20 cells of T = 0.05
  EXPECT_FLOAT_EQ(t->colTangent[20], 0.0f);
  EXPECT_EQ(t->rowScale[15][20], 25776838.0f);  // 65536 x R in single precision
}

TEST(WarpTables, GridOfTheStraightView) {
  auto t = view90();
  // 45 degrees either side of the centre: 256 columns either side of 2048.
  EXPECT_NEAR(t->sampleGrid[15][0].column, 117440512, 65536);
  EXPECT_NEAR(t->sampleGrid[15][40].column, 150994944, 65536);
  EXPECT_EQ(t->sampleGrid[15][0].row, kHorizon);
  EXPECT_EQ(t->sampleGrid[15][40].row, kHorizon);
  EXPECT_EQ(t->sampleGrid[15][20].column, kTurn);  // yaw 0: column 0 after the wrap
  // Left and right halves mirror each other about the centre column.
  for (int i = 0; i < warp::kGridRows; ++i) {
    for (int j = 0; j < 20; ++j) {
      EXPECT_EQ(t->sampleGrid[i][j].row, t->sampleGrid[i][40 - j].row);
      EXPECT_NEAR(kTurn - t->sampleGrid[i][j].column, t->sampleGrid[i][40 - j].column - kTurn, 1);
    }
  }
  // Grid row 0 has the smallest angle: it samples below the horizon, rows past 384.
  EXPECT_GT(t->sampleGrid[0][20].row, kHorizon);
  EXPECT_LT(t->sampleGrid[30][20].row, kHorizon);
}

TEST(WarpTables, CentreColumnIsTheYawOnEveryRow) {
  auto t = view90(33.0f, 20.0f);
  const int32_t h0 = warp::truncLow32(134217728.0L - static_cast<long double>(t->viewYaw) * t->angleScale);
  for (int i = 0; i < warp::kGridRows; ++i) EXPECT_EQ(t->sampleGrid[i][20].column, h0) << "grid row " << i;
}

TEST(WarpTables, YawWrapsOnceOnly) {
  auto t = view90(540.0f);
  EXPECT_NEAR(t->viewYaw, 3.1416, 1e-3);
  t = view90(900.0f);
  EXPECT_NEAR(t->viewYaw, 9.42, 1e-2);
  t = view90(-90.0f);
  EXPECT_NEAR(t->viewYaw, 3 * 3.14159 / 2, 1e-3);
  // 360 degrees through 3.14159/180 fall just short of twoPiF: no wrap.
  t = view90(360.0f);
  EXPECT_LT(t->viewYaw, t->twoPiF);
  EXPECT_NEAR(t->viewYaw, 6.28318, 1e-5);
  t = view90(361.0f);
  EXPECT_NEAR(t->viewYaw, 0.01745, 1e-4);
}

TEST(WarpTables, PitchIsClampedStrictlyAtNineTenthsOfTheLimit) {
  WarpTables t;
  warp::warpInitialize(t, 90.0f, 50.0f);
  const float limit = static_cast<float>(t.pitchLimit * 0.9L);
  warp::warpCalcul(t, 0, limit);
  EXPECT_EQ(t.viewPitch, limit);
  warp::warpCalcul(t, 0, 1.5f);
  EXPECT_EQ(t.viewPitch, limit);
  warp::warpCalcul(t, 0, -1.5f);
  EXPECT_EQ(t.viewPitch, -limit);
  warp::warpCalcul(t, 0, 0.25f);
  EXPECT_EQ(t.viewPitch, 0.25f);
}

TEST(WarpTables, ZeroedTablesMapEveryPointToColumnZeroRow384) {
  auto t = std::make_unique<WarpTables>();
  warp::warpCalcul(*t, 1.0f, 0.5f);
  for (auto& row : t->sampleGrid) {
    for (auto& p : row) {
      EXPECT_EQ(p.column, kTurn);
      EXPECT_EQ(p.row, kHorizon);
    }
  }
}

TEST(WarpTables, RowsReachingPastThePanoramaAreKeptInside) {
  auto t = std::make_unique<WarpTables>();
  warp::warpInitialize(*t, 120.0f, 90.0f);
  for (float pitch : {80.0f, -80.0f}) {
    warp::warpCalcul(*t, 0.0f, warp::degreesToRadians(pitch));
    int clamped = 0;
    for (auto& row : t->sampleGrid) {
      for (auto& p : row) {
        EXPECT_GE(p.row, warp::kGridRowMin);
        EXPECT_LE(p.row, warp::kGridRowMax);
        clamped += p.row == warp::kGridRowMin || p.row == warp::kGridRowMax;
      }
    }
    EXPECT_GT(clamped, 0) << "this view should reach outside the panorama";
  }
}

TEST(WarpTables, TruncationKeepsTheLow32Bits) {
  EXPECT_EQ(warp::truncLow32(2.9L), 2);
  EXPECT_EQ(warp::truncLow32(-2.9L), -2);
  EXPECT_EQ(warp::truncLow32(4294967296.0L + 5), 5);
  EXPECT_EQ(warp::truncLow32(2147483648.0L), INT32_MIN);
  EXPECT_EQ(warp::truncLow32(NAN), 0);
  EXPECT_EQ(warp::truncLow32(INFINITY), 0);
  EXPECT_EQ(warp::truncLow32(1e30L), 0);
}

TEST(WarpTables, DegreesConvertWithTheTruncatedPi) {
  EXPECT_EQ(warp::degreesToRadians(180.0f), static_cast<float>(180.0L * 0.01745327777777778));
  EXPECT_NEAR(warp::degreesToRadians(180.0f), 3.14159, 1e-6);
}

TEST(WarpTables, BadFieldsOfViewGiveFiniteGrids) {
  for (float fov : {0.0f, 180.0f, 360.0f, -90.0f, NAN, INFINITY}) {
    auto t = std::make_unique<WarpTables>();
    warp::warpInitialize(*t, fov, 80.0f);
    warp::warpCalcul(*t, 0.3f, 0.1f);
    for (auto& row : t->sampleGrid)
      for (auto& p : row) {
        EXPECT_GE(p.row, warp::kGridRowMin) << "fov " << fov;
        EXPECT_LE(p.row, warp::kGridRowMax) << "fov " << fov;
      }
  }
}

}  // namespace
