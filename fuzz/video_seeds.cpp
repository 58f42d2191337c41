#include "video_seeds.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "iw_encoder.h"
#include "picture_encoders.h"
#include "pictures.h"
#include "stream_writer.h"
#include "video_input.h"

namespace {

using Picture = std::vector<uint16_t>;
using Bytes = std::vector<uint8_t>;

uint16_t rgb(int r, int g, int b) {
  auto c = [](int v) { return static_cast<uint16_t>(std::clamp(v, 0, 31)); };
  return static_cast<uint16_t>((c(r) << 10) | (c(g) << 5) | c(b));
}

// A flat picture (cheap to code, so that a seed stays a few kilobytes) with
// a window of everything the codings have a code for: smooth shading, hard
// edges, noise, thin strokes and a strip mirrored from its neighbour. The
// window moves by shift pixels between pictures.
Picture picture(int width, int height, int left, int top, int size, int shift, uint32_t seed) {
  std::mt19937 random(seed);
  Picture p(static_cast<size_t>(width) * height, rgb(12, 14, 16));
  for (int y = top; y < top + size; ++y) {
    for (int x = left; x < left + size; ++x) {
      const int u = x - left - shift, v = y - top;
      int r = 16 + static_cast<int>(10 * std::sin(u * 0.2)), g = 12 + ((u / 8 + v / 8) % 2) * 10, b = 8 + (v & 15);
      if ((u / 16) % 4 == 1) r = 16 + static_cast<int>(10 * std::sin((15 - u % 16) * 0.2));
      if ((u / 12 + v / 12) % 5 == 3) r = g = b = static_cast<int>(random() % 32);
      if (u % 23 < 2 || v % 19 == 7) r = g = b = 31;
      p[static_cast<size_t>(y) * width + (x + width) % width] = rgb(r, g, b);
    }
  }
  return p;
}

Bytes withMode(uint8_t mode, const Bytes& bytes) {
  Bytes out{mode};
  out.insert(out.end(), bytes.begin(), bytes.end());
  return out;
}

}  // namespace

std::vector<std::vector<uint8_t>> videoSeeds() {
  std::vector<Bytes> seeds;
  for (int quality : {30, 75, 98}) {
    // The middle quality's seeds decode with the scalar loops.
    const uint8_t form = quality == 75 ? fuzzvideo::kScalarBit : 0;
    // IX: a self-contained picture, then two predicted ones against it.
    Picture previous;
    std::vector<Bytes> chunks;
    for (int k = 0; k < 3; ++k) {
      const Picture source = picture(video::kIxWidth, video::kIxHeight, 200, 150, 96, 3 * k, 5u * quality + k);
      const auto encoded = zkv6enc::encodeIXPicture(source.data(), k == 0 ? nullptr : previous.data(), quality);
      previous = encoded.reconstruction;
      seeds.push_back(withMode(fuzzvideo::kIxPicture | form, encoded.payload));
      chunks.push_back(zkv6enc::rawChunk("IX", encoded.payload));
    }
    // A frame of a predicted picture between chunks of other kinds.
    chunks.front() = zkv6enc::rawChunk("SN", {1, 2, 3, 4});
    Bytes frame;
    for (const auto& chunk : chunks) frame.insert(frame.end(), chunk.begin(), chunk.end());
    seeds.push_back(withMode(fuzzvideo::kIxFrame | form, frame));
    // IW: a panorama whose window straddles the seam.
    const Picture panorama = picture(video::kIwWidth, video::kIwHeight, video::kIwWidth - 64, 300, 128, 0, 7u * quality);
    const auto encoded = zkv6enc::encodeIWPicture(panorama.data(), quality, zkv6enc::kEveryCodeSearch);
    seeds.push_back(withMode(fuzzvideo::kIwPicture | form, encoded.payload));
    seeds.push_back(withMode(fuzzvideo::kIwFrame | form, zkv6enc::rawChunk("IW", encoded.payload)));
  }
  return seeds;
}
