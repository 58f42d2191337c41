// Any field of view, pitch limit, yaw and pitch (any bit patterns, NaN and
// infinities included) must give a view whose every read lies inside the
// 2048x768 source.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "warp_render.h"
#include "warp_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  float args[4] = {90, 80, 0, 0};
  std::memcpy(args, data, size < sizeof args ? size : sizeof args);
  static auto tables = std::make_unique<warp::WarpTables>();
  static std::vector<uint16_t> source(warp::kPanoramaWidth * warp::kPanoramaHeight);
  static std::vector<uint16_t> view(warp::kViewWidth * warp::kViewHeight);
  warp::warpInitialize(*tables, args[0], args[1]);
  warp::warpCalcul(*tables, args[2], args[3]);
  warp::warpRender(tables->sampleGrid, source.data(), view.data());
  return 0;
}
