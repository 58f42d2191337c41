// The warp's projection state: tables that depend on the field of view, and
// the sample grid of the current yaw and pitch. One view per process.
#pragma once

#include <cstdint>

namespace warp {

constexpr int kViewWidth = 640;
constexpr int kViewHeight = 480;
constexpr int kPanoramaWidth = 2048;
constexpr int kPanoramaHeight = 768;

constexpr int kCell = 16;                                // pixels a cell side
constexpr int kGridRows = kViewHeight / kCell + 1;       // 31
constexpr int kGridColumns = kViewWidth / kCell + 1;     // 41
constexpr int kHalfColumns = kGridColumns / 2 + 1;       // 21: left half and centre

// One grid point: where in the panorama a cell corner falls, both 16.16.
struct GridPoint {
  int32_t column;
  int32_t row;
};

struct WarpTables {
  // Built by warpInitialize from the field of view and pitch limit.
  float piF = 0;
  float twoPiF = 0;
  float angleScale = 0;  // 16.16 panorama columns per radian
  float rowRadius = 0;   // R: rows of the panorama per unit of sine
  float pitchLimit = 0;  // radians
  float rowAngle[kGridRows] = {};
  float rowRadiusXY[kGridRows] = {};
  float colTangent[kHalfColumns] = {};
  float rowScale[kGridRows][kHalfColumns] = {};
  // Set by warpCalcul.
  float viewPitch = 0;
  float viewYaw = 0;
  GridPoint sampleGrid[kGridRows][kGridColumns] = {};
};

// Grid rows are held to the panorama's rows 0..767: a view that looks past
// the panorama's top or bottom repeats its edge row.
constexpr int32_t kGridRowMin = 0;
constexpr int32_t kGridRowMax = kPanoramaHeight * 65536 - 1;

// fov and limit in degrees.
void warpInitialize(WarpTables& t, float fov, float limit);
// yaw and pitch in radians.
void warpCalcul(WarpTables& t, float yaw, float pitch);

// Converts toward zero to a 64-bit integer and keeps the low 32 bits; values
// no 64-bit integer holds (and NaN) give 0, as the processor's conversion does.
int32_t truncLow32(long double x);

}  // namespace warp

namespace warp {

// Degrees to radians as the warp primitives convert angles: the single float
// times the double 3.14159/180, narrowed back to single.
float degreesToRadians(float degrees);

}  // namespace warp
