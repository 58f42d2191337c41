// The benchmarks' warp view (fov 90, yaw 30, pitch -5) out of a panorama of
// scattered pixels, with the index table of the same view: the source index
// of each view pixel, read off renders of coordinate sources.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "warp_render.h"
#include "warp_tables.h"

constexpr float kSceneYaw = 30.0f, kScenePitch = -5.0f;

struct WarpScene {
  static constexpr size_t kViewPixels = warp::kViewWidth * warp::kViewHeight;
  std::unique_ptr<warp::WarpTables> tables = std::make_unique<warp::WarpTables>();
  std::vector<uint16_t> source = std::vector<uint16_t>(warp::kPanoramaWidth * warp::kPanoramaHeight);
  std::vector<uint16_t> view = std::vector<uint16_t>(kViewPixels);
  std::vector<uint32_t> index = std::vector<uint32_t>(kViewPixels);

  WarpScene() {
    using namespace warp;
    warpInitialize(*tables, 90.0f, 80.0f);
    warpCalcul(*tables, degreesToRadians(kSceneYaw), degreesToRadians(kScenePitch));
    std::vector<uint16_t> column(kViewPixels);
    for (int y = 0; y < kPanoramaHeight; ++y)
      for (int x = 0; x < kPanoramaWidth; ++x) source[y * kPanoramaWidth + x] = static_cast<uint16_t>(x);
    warpRender(tables->sampleGrid, source.data(), column.data());
    for (int y = 0; y < kPanoramaHeight; ++y)
      for (int x = 0; x < kPanoramaWidth; ++x) source[y * kPanoramaWidth + x] = static_cast<uint16_t>(y);
    warpRender(tables->sampleGrid, source.data(), view.data());
    for (size_t i = 0; i < kViewPixels; ++i) index[i] = view[i] * kPanoramaWidth + column[i];
    for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint16_t>((i * 40503u) & 0x7FFF);
  }
};
