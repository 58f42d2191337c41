// The renderer alone, on arbitrary grids: no read outside the source,
// whatever the columns and rows.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "warp_render.h"
#include "warp_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto grid = std::make_unique<warp::WarpTables>();
  static std::vector<uint16_t> source(warp::kPanoramaWidth * warp::kPanoramaHeight);
  static std::vector<uint16_t> view(warp::kViewWidth * warp::kViewHeight);
  auto* points = &grid->sampleGrid[0][0];
  const size_t count = warp::kGridRows * warp::kGridColumns;
  for (size_t i = 0; i < count; ++i) {
    uint32_t words[2] = {0, 0};
    if (size) std::memcpy(words, data + (i * 8) % size, size - (i * 8) % size < 8 ? size - (i * 8) % size : 8);
    points[i].column = static_cast<int32_t>(words[0]);
    points[i].row = static_cast<int32_t>(words[1]);
  }
  warp::warpRender(grid->sampleGrid, source.data(), view.data());
  return 0;
}
