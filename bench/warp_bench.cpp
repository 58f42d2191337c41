// The warp renderer against two baselines over the same bytes: a memcpy of
// a whole view, and a plain gather of its pixels through an index table
// precomputed from the same real view.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "warp_render.h"
#include "warp_scene.h"
#include "warp_tables.h"

namespace {

using namespace warp;

constexpr size_t kViewPixels = WarpScene::kViewPixels;


WarpScene& scene() {
  static WarpScene s;
  return s;
}

void BM_WarpRender(benchmark::State& state) {
  WarpScene& s = scene();
  for (auto _ : state) {
    warpRender(s.tables->sampleGrid, s.source.data(), s.view.data());
    benchmark::DoNotOptimize(s.view.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WarpRender);

void BM_MemcpyView(benchmark::State& state) {
  WarpScene& s = scene();
  for (auto _ : state) {
    std::memcpy(s.view.data(), s.source.data(), kViewPixels * 2);
    benchmark::DoNotOptimize(s.view.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyView);

void BM_GatherThroughIndexTable(benchmark::State& state) {
  WarpScene& s = scene();
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
  WarpScene& s = scene();
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
