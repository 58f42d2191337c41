// The warp renderer against two baselines over the same bytes: a memcpy of
// a whole view, and a plain gather of its pixels through an index table
// precomputed from the same real view.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "warp_render.h"
#include "warp_tables.h"

namespace {

using namespace warp;

constexpr size_t kViewPixels = kViewWidth * kViewHeight;

struct Scene {
  std::unique_ptr<WarpTables> tables = std::make_unique<WarpTables>();
  std::vector<uint16_t> source = std::vector<uint16_t>(kPanoramaWidth * kPanoramaHeight);
  std::vector<uint16_t> view = std::vector<uint16_t>(kViewPixels);
  std::vector<uint32_t> index = std::vector<uint32_t>(kViewPixels);

  Scene() {
    warpInitialize(*tables, 90.0f, 80.0f);
    warpCalcul(*tables, degreesToRadians(30.0f), degreesToRadians(-5.0f));
    // The index table of this view, read off renders of coordinate sources.
    std::vector<uint16_t> column(kViewPixels);
    for (int y = 0; y < kPanoramaHeight; ++y)
      for (int x = 0; x < kPanoramaWidth; ++x) source[y * kPanoramaWidth + x] = static_cast<uint16_t>(x);
    warpRender(tables->sampleGrid, source.data(), column.data());
    for (int y = 0; y < kPanoramaHeight; ++y)
      for (int x = 0; x < kPanoramaWidth; ++x) source[y * kPanoramaWidth + x] = static_cast<uint16_t>(y);
    warpRender(tables->sampleGrid, source.data(), view.data());
    for (size_t i = 0; i < kViewPixels; ++i) index[i] = view[i] * kPanoramaWidth + column[i];
    for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint16_t>(i * 40503u);
  }
};

Scene& scene() {
  static Scene s;
  return s;
}

void BM_WarpRender(benchmark::State& state) {
  Scene& s = scene();
  for (auto _ : state) {
    warpRender(s.tables->sampleGrid, s.source.data(), s.view.data());
    benchmark::DoNotOptimize(s.view.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WarpRender);

void BM_MemcpyView(benchmark::State& state) {
  Scene& s = scene();
  for (auto _ : state) {
    std::memcpy(s.view.data(), s.source.data(), kViewPixels * 2);
    benchmark::DoNotOptimize(s.view.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyView);

void BM_GatherThroughIndexTable(benchmark::State& state) {
  Scene& s = scene();
  for (auto _ : state) {
    const uint16_t* src = s.source.data();
    const uint32_t* idx = s.index.data();
    uint16_t* dst = s.view.data();
    for (size_t i = 0; i < kViewPixels; ++i) dst[i] = src[idx[i]];
    benchmark::DoNotOptimize(dst);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GatherThroughIndexTable);

void BM_WarpCalcul(benchmark::State& state) {
  Scene& s = scene();
  float yaw = 0;
  for (auto _ : state) {
    warpCalcul(*s.tables, yaw, 0.1f);
    yaw += 0.001f;
    benchmark::DoNotOptimize(s.tables->sampleGrid);
  }
}
BENCHMARK(BM_WarpCalcul);

}  // namespace

BENCHMARK_MAIN();
