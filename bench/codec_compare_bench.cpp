// ZKV6 pictures against baseline JPEG on the same pixels: decode speed of
// an encoded 2048x768 panorama and of a 640x480 picture at qualities 50 and
// 90, side by side with libjpeg-turbo decoding a 4:4:4 JPEG of the same
// picture and quality to RGB565 (the match for 16-bit pixels) and to RGB888,
// and to RGB888 from the JPEG of the same size in bytes as the ZKV6 picture;
// the encoder's speed; and bits per pixel at equal PSNR.
#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "picture_encoders.h"
#include "picture_error.h"
#include "pictures.h"
#include "synthetic_picture.h"

namespace {

uint8_t expand5(unsigned v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }

std::vector<uint8_t> toRgb(const std::vector<uint16_t>& p) {
  std::vector<uint8_t> rgb(p.size() * 3);
  for (size_t i = 0; i < p.size(); ++i) {
    rgb[3 * i] = expand5((p[i] >> 10) & 31);
    rgb[3 * i + 1] = expand5((p[i] >> 5) & 31);
    rgb[3 * i + 2] = expand5(p[i] & 31);
  }
  return rgb;
}

std::vector<uint8_t> jpegEncode(const std::vector<uint8_t>& rgb, int width, int height, int quality) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  for (int k = 0; k < 3; ++k) c.comp_info[k].h_samp_factor = c.comp_info[k].v_samp_factor = 1;  // 4:4:4
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + static_cast<size_t>(c.next_scanline) * width * 3);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&c);
  free(buffer);
  return out;
}

// Decodes to RGB565 (2 bytes a pixel) or RGB888 (3 bytes) into out.
void jpegDecode(const std::vector<uint8_t>& jpeg, J_COLOR_SPACE space, std::vector<uint8_t>& out) {
  jpeg_decompress_struct d{};
  jpeg_error_mgr err{};
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&d, TRUE);
  d.out_color_space = space;
  if (space == JCS_RGB565) d.dither_mode = JDITHER_NONE;
  jpeg_start_decompress(&d);
  const size_t rowBytes = static_cast<size_t>(d.output_width) * d.output_components;
  out.resize(rowBytes * d.output_height);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = out.data() + rowBytes * d.output_scanline;
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
}

double psnrRgb(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) sum += (a[i] - b[i]) * (a[i] - b[i]);
  return sum == 0 ? 99 : 10 * std::log10(255.0 * 255.0 * static_cast<double>(a.size()) / sum);
}

struct Case {
  int width, height;
  std::vector<uint16_t> source;
  std::vector<uint8_t> rgb;
  std::map<int, zkv6enc::EncodedPicture> encoded;
  std::map<int, std::vector<uint8_t>> jpeg;
  std::map<int, std::pair<int, std::vector<uint8_t>>> jpegOfEqualBytes;  // by ZKV6 quality: JPEG quality, bytes
};

Case& testCase(bool panorama) {
  static std::map<bool, Case> cases;
  Case& c = cases[panorama];
  if (c.source.empty()) {
    c.width = panorama ? video::kIwWidth : video::kIxWidth;
    c.height = panorama ? video::kIwHeight : video::kIxHeight;
    c.source = syntheticPicture(c.width, c.height);
    c.rgb = toRgb(c.source);
  }
  return c;
}

const zkv6enc::EncodedPicture& encoded(Case& c, int quality) {
  auto it = c.encoded.find(quality);
  if (it == c.encoded.end()) {
    it = c.encoded
             .emplace(quality, c.width == video::kIwWidth ? zkv6enc::encodeIWPicture(c.source.data(), quality)
                                                          : zkv6enc::encodeIXPicture(c.source.data(), nullptr, quality))
             .first;
  }
  return it->second;
}

const std::vector<uint8_t>& jpeg(Case& c, int quality) {
  auto it = c.jpeg.find(quality);
  if (it == c.jpeg.end()) it = c.jpeg.emplace(quality, jpegEncode(c.rgb, c.width, c.height, quality)).first;
  return it->second;
}

// The JPEG whose size comes closest to that of the ZKV6 picture of the given
// quality, and its quality.
const std::pair<int, std::vector<uint8_t>>& jpegOfEqualBytes(Case& c, int quality) {
  auto it = c.jpegOfEqualBytes.find(quality);
  if (it != c.jpegOfEqualBytes.end()) return it->second;
  const auto target = static_cast<long>(encoded(c, quality).payload.size());
  std::pair<int, std::vector<uint8_t>> best;
  for (int q = 1; q <= 100; ++q) {
    auto j = jpegEncode(c.rgb, c.width, c.height, q);
    if (best.second.empty() || std::labs(static_cast<long>(j.size()) - target) < std::labs(static_cast<long>(best.second.size()) - target)) {
      best = {q, std::move(j)};
    }
  }
  return c.jpegOfEqualBytes.emplace(quality, std::move(best)).first->second;
}

void setPixelRate(benchmark::State& state, const Case& c) {
  state.counters["Mpixel/s"] =
      benchmark::Counter(static_cast<double>(c.width) * c.height * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}

void BM_Zkv6Decode(benchmark::State& state) {
  Case& c = testCase(state.range(0) == 1);
  const auto& e = encoded(c, static_cast<int>(state.range(1)));
  std::vector<uint16_t> picture(c.source.size()), reference(c.source.size());
  for (auto _ : state) {
    if (c.width == video::kIwWidth) {
      video::decodeIWPicture(e.payload.data(), e.payload.size(), picture.data());
    } else {
      video::decodeIXPicture(e.payload.data(), e.payload.size(), picture.data(), reference.data());
    }
    benchmark::DoNotOptimize(picture.data());
  }
  setPixelRate(state, c);
  state.counters["bits/pixel"] = 8.0 * static_cast<double>(e.payload.size()) / (static_cast<double>(c.width) * c.height);
  state.counters["PSNR"] = zkv6enc::psnr(c.source.data(), e.reconstruction.data(), c.source.size());
}

void jpegDecodeBenchmark(benchmark::State& state, J_COLOR_SPACE space) {
  Case& c = testCase(state.range(0) == 1);
  const auto& j = jpeg(c, static_cast<int>(state.range(1)));
  std::vector<uint8_t> out;
  for (auto _ : state) {
    jpegDecode(j, space, out);
    benchmark::DoNotOptimize(out.data());
  }
  setPixelRate(state, c);
  std::vector<uint8_t> rgb;
  jpegDecode(j, JCS_RGB, rgb);
  state.counters["bits/pixel"] = 8.0 * static_cast<double>(j.size()) / (static_cast<double>(c.width) * c.height);
  state.counters["PSNR"] = psnrRgb(c.rgb, rgb);
}
void BM_JpegDecodeRgb565(benchmark::State& state) { jpegDecodeBenchmark(state, JCS_RGB565); }
void BM_JpegDecodeRgb888(benchmark::State& state) { jpegDecodeBenchmark(state, JCS_RGB); }

// RGB888 decode of the JPEG of the same size as the ZKV6 picture.
void BM_JpegDecodeRgb888EqualBytes(benchmark::State& state) {
  Case& c = testCase(state.range(0) == 1);
  const auto& [quality, j] = jpegOfEqualBytes(c, static_cast<int>(state.range(1)));
  std::vector<uint8_t> out;
  for (auto _ : state) {
    jpegDecode(j, JCS_RGB, out);
    benchmark::DoNotOptimize(out.data());
  }
  setPixelRate(state, c);
  state.counters["jpeg quality"] = quality;
  state.counters["bits/pixel"] = 8.0 * static_cast<double>(j.size()) / (static_cast<double>(c.width) * c.height);
  state.counters["PSNR"] = psnrRgb(c.rgb, out);
}

void BM_Zkv6Encode(benchmark::State& state) {
  Case& c = testCase(state.range(0) == 1);
  for (auto _ : state) {
    auto e = c.width == video::kIwWidth ? zkv6enc::encodeIWPicture(c.source.data(), static_cast<int>(state.range(1)))
                                        : zkv6enc::encodeIXPicture(c.source.data(), nullptr, static_cast<int>(state.range(1)));
    benchmark::DoNotOptimize(e.payload.data());
  }
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Bits per pixel of the JPEG whose PSNR first reaches that of the ZKV6
// picture at the same nominal quality.
void BM_JpegBitsAtEqualPsnr(benchmark::State& state) {
  Case& c = testCase(state.range(0) == 1);
  const auto& e = encoded(c, static_cast<int>(state.range(1)));
  const double target = zkv6enc::psnr(c.source.data(), e.reconstruction.data(), c.source.size());
  double bits = 0, reached = 0;
  int quality = 1;
  for (auto _ : state) {
    for (quality = 1; quality <= 100; ++quality) {
      const auto j = jpegEncode(c.rgb, c.width, c.height, quality);
      std::vector<uint8_t> rgb;
      jpegDecode(j, JCS_RGB, rgb);
      reached = psnrRgb(c.rgb, rgb);
      bits = 8.0 * static_cast<double>(j.size()) / (static_cast<double>(c.width) * c.height);
      if (reached >= target) break;
    }
  }
  state.counters["zkv6 PSNR"] = target;
  state.counters["zkv6 bits/pixel"] = 8.0 * static_cast<double>(e.payload.size()) / (static_cast<double>(c.width) * c.height);
  state.counters["jpeg quality"] = quality;
  state.counters["jpeg PSNR"] = reached;
  state.counters["jpeg bits/pixel"] = bits;
}

// Arguments: {1 = 2048x768 panorama, 0 = 640x480 picture; quality}.
#define CODEC_CASES ->Args({1, 50})->Args({1, 90})->Args({0, 50})->Args({0, 90})->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Zkv6Decode) CODEC_CASES;
BENCHMARK(BM_JpegDecodeRgb565) CODEC_CASES;
BENCHMARK(BM_JpegDecodeRgb888) CODEC_CASES;
BENCHMARK(BM_JpegDecodeRgb888EqualBytes) CODEC_CASES;
BENCHMARK(BM_Zkv6Encode) CODEC_CASES->Iterations(1);
BENCHMARK(BM_JpegBitsAtEqualPsnr) CODEC_CASES->Iterations(1);

}  // namespace
