// The encoded content of the path-coverage test: a short IX sequence
// (self-contained, then predicted) and a panorama at three qualities, each
// with a bit of everything the codings have a code for. Also the yardstick
// of the fuzz corpus's path measure.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "iw_encoder.h"
#include "picture_encoders.h"
#include "pictures.h"

namespace pathcontent {

using Picture = std::vector<uint16_t>;

inline uint16_t rgb(int r, int g, int b) {
  auto c = [](int v) { return static_cast<uint16_t>(std::clamp(v, 0, 31)); };
  return static_cast<uint16_t>((c(r) << 10) | (c(g) << 5) | c(b));
}

// Smooth shading, hard edges, noise, small glyph-like strokes and a pattern
// that repeats with mirror images.
inline Picture content(int width, int height, int frame, uint32_t seed) {
  std::mt19937 random(seed);
  Picture p(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int u = x - 3 * frame, v = y - frame;
      int r = 16 + static_cast<int>(10 * std::sin(u * 0.05)), g = 12 + ((u / 16 + v / 16) % 2) * 10,
          b = 8 + (v & 15);
      if ((x / 64) % 4 == 1) {  // a mirrored copy of the strip to its left
        const int mx = (x / 64) * 64 - 1 - (x % 64);
        r = 16 + static_cast<int>(10 * std::sin((mx - 3 * frame) * 0.05));
      }
      if ((x / 40 + y / 40) % 7 == 3) r = g = b = static_cast<int>(random() % 32);  // noise patches
      if ((x % 97 < 3 && y % 61 < 20) || (y % 61 == 10 && x % 97 < 12)) r = g = b = 31;  // strokes
      p[static_cast<size_t>(y) * width + x] = rgb(r, g, b);
    }
  }
  return p;
}

// One encoded picture, as the decoder gets it.
struct Encoded {
  bool panorama = false;
  int quality = 0;
  int frame = 0;
  zkv6enc::EncodedPicture picture;
  Picture reference;  // IX: what the picture is predicted from (empty: self-contained)
};

// Calls use(encoded) for every picture of the content, in order.
inline void forEachEncoded(const std::function<void(const Encoded&)>& use) {
  for (int quality : {30, 75, 98}) {
    Picture reference;
    for (int frame = 0; frame < 3; ++frame) {
      const Picture source = content(video::kIxWidth, video::kIxHeight, frame, 11u * quality + frame);
      Encoded e{false, quality, frame, {}, frame == 0 ? Picture() : reference};
      e.picture = zkv6enc::encodeIXPicture(source.data(), frame == 0 ? nullptr : reference.data(), quality);
      use(e);
      reference = e.picture.reconstruction;
    }
    const Picture panorama = content(video::kIwWidth, video::kIwHeight, 0, 7u * quality);
    Encoded e{true, quality, 0, zkv6enc::encodeIWPicture(panorama.data(), quality, zkv6enc::kEveryCodeSearch), {}};
    use(e);
  }
}

}  // namespace pathcontent
