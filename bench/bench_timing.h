// Timing and reporting shared by the two halves of ship_bench.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace shipbench {

// FNV-1a over the pixels a case made: equal across builds when they are.
inline uint32_t checksum(const uint16_t* p, size_t count) {
  uint32_t h = 2166136261u;
  for (size_t i = 0; i < count; ++i) h = (h ^ p[i]) * 16777619u;
  return h;
}

// The least time of runs calls of f, in microseconds.
template <typename F>
double minMicros(int runs, F&& f) {
  double best = 1e30;
  for (int k = 0; k < runs; ++k) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    const auto t1 = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::micro>(t1 - t0).count());
  }
  return best;
}

// One case: "name <tab> microseconds <tab> checksum".
inline void report(const char* name, double micros, uint32_t sum) {
  std::printf("%s\t%.1f\t%08x\n", name, micros, sum);
  std::fflush(stdout);
}

constexpr int kWarpRuns = 300;
constexpr int kPanoramaRuns = 40;
constexpr int kPictureRuns = 100;

}  // namespace shipbench
