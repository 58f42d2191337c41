// Decoding speed of the three kinds of ZKV6 picture, from streams built by
// the test writer with the statistics of real content: most coefficients
// zero, a few small ones near the start of the zigzag order.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "pictures.h"
#include "stream_writer.h"

namespace {

using zkv6enc::StreamWriter;

// One intra macroblock: a DC byte value per block, then a handful of small
// AC values, as opcodes 2..7 and 11, then end of block.
void intraBlock(StreamWriter& w, std::mt19937& random) {
  for (int block = 0; block < 3; ++block) {
    w.byteValue(static_cast<int>(random() % 64) - 32);
    const int values = block == 0 ? static_cast<int>(random() % 6) : static_cast<int>(random() % 2);
    for (int v = 0; v < values; ++v) {
      if (random() % 3 == 0) {
        w.nibble(11);
        w.nibble(random() % 16);
      } else {
        w.nibble(2 + random() % 6);
      }
    }
    w.nibble(0);
  }
}

std::vector<uint8_t> intraPanorama() {
  std::mt19937 random(1);
  StreamWriter w;
  for (int b = 0; b < 256 * 96; ++b) {
    w.bits(0b11, 2);
    intraBlock(w, random);
  }
  return w.payload(75);
}

std::vector<uint8_t> copyPanorama() {
  std::mt19937 random(2);
  StreamWriter w;
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 256; ++x) {
      if (y < 2) {  // the first rows have nothing above to copy from
        w.bits(0b11, 2);
        intraBlock(w, random);
      } else if (random() % 2) {  // long vector from the band above
        w.bits(0b10, 2);
        w.bits(random() % 4, 2);
        w.vector(((random() % 2) << 15) | ((128 + random() % 16) << 7) | (16 + random() % 8));
      } else {  // quadrants: a long vector and three 2x2 groups
        w.bits(0, 1);
        for (int q = 0; q < 4; ++q) {
          if (q == 0) {
            w.bits(0, 1);
            w.bits(0, 2);
            w.vector((130 << 7) | 20);
          } else {
            w.bits(1, 1);
            w.iwGroup(random() & 0xFFF, random() & 0xFFF, random() & 0xFFF, random() & 0xFFF);
          }
        }
      }
    }
  }
  return w.payload(75);
}

std::vector<uint8_t> predictedPicture() {
  std::mt19937 random(3);
  StreamWriter w;
  for (int b = 0; b < 80 * 60; ++b) {
    switch (random() % 8) {
      case 0: case 1: case 2: w.bits(0b110, 3); break;  // zero copy
      case 3: case 4:                                   // short vector
        w.bits(0b00, 2);
        w.ixShortCode(random() % 200);
        break;
      case 5:  // long vector from the reference
        w.bits(0b010, 3);
        w.bits(0, 3);
        w.vector(((128 + random() % 8) << 7) | (60 + random() % 8));
        break;
      case 6:  // four quadrants, zero copies and short vectors
        w.bits(0b1110, 4);
        for (int q = 0; q < 4; ++q) {
          if (q % 2) {
            w.bits(0b100, 3);
          } else {
            w.bits(0b00, 2);
            w.ixShortCode(random() % 100);
          }
        }
        break;
      default:
        w.bits(0b011, 3);
        intraBlock(w, random);
    }
  }
  return w.payload(60);
}

void BM_DecodeIntraPanorama(benchmark::State& state) {
  const auto payload = intraPanorama();
  std::vector<uint16_t> panorama(video::kIwWidth * video::kIwHeight);
  for (auto _ : state) {
    video::decodeIWPicture(payload.data(), payload.size(), panorama.data());
    benchmark::DoNotOptimize(panorama.data());
  }
  state.counters["Mpixel/s"] = benchmark::Counter(2048.0 * 768 * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeIntraPanorama)->Unit(benchmark::kMillisecond);

void BM_DecodeCopyPanorama(benchmark::State& state) {
  const auto payload = copyPanorama();
  std::vector<uint16_t> panorama(video::kIwWidth * video::kIwHeight);
  for (auto _ : state) {
    video::decodeIWPicture(payload.data(), payload.size(), panorama.data());
    benchmark::DoNotOptimize(panorama.data());
  }
  state.counters["Mpixel/s"] = benchmark::Counter(2048.0 * 768 * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeCopyPanorama)->Unit(benchmark::kMillisecond);

void BM_DecodePredictedPicture(benchmark::State& state) {
  const auto payload = predictedPicture();
  std::vector<uint16_t> current(video::kIxWidth * video::kIxHeight), reference(current.size(), 0x1234);
  for (auto _ : state) {
    video::decodeIXPicture(payload.data(), payload.size(), current.data(), reference.data());
    benchmark::DoNotOptimize(current.data());
  }
  state.counters["Mpixel/s"] = benchmark::Counter(640.0 * 480 * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodePredictedPicture)->Unit(benchmark::kMillisecond);

}  // namespace
