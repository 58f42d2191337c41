// Encoded content, decoded by a decoder that counts its paths: every code of
// both IX codings and of IW, both copy sources and both near tables, every
// coefficient opcode and every inverse transform path is taken.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "path_counts.h"
#include "picture_encoders.h"
#include "pictures.h"

namespace {

using Picture = std::vector<uint16_t>;

uint16_t rgb(int r, int g, int b) {
  auto c = [](int v) { return static_cast<uint16_t>(std::clamp(v, 0, 31)); };
  return static_cast<uint16_t>((c(r) << 10) | (c(g) << 5) | c(b));
}

// Content with a bit of everything: smooth shading, hard edges, noise,
// small glyph-like strokes and a pattern that repeats with mirror images.
Picture content(int width, int height, int frame, uint32_t seed) {
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

struct PathName {
  video::PathGroup group;
  int path;
  std::string name;
};

std::vector<PathName> expectedPaths() {
  std::vector<PathName> paths;
  const char* pieces[] = {"8x8", "8x4", "4x8", "4x4", "4x2", "2x4", "2x2"};
  const int predicted[] = {7, 4, 4, 6, 4, 4, 3};  // the 8x8 table's 1111 is no valid code
  const int selfContained[] = {5, 2, 2, 4, 2, 2, 1};
  for (int p = 0; p < 7; ++p) {
    for (int c = 0; c < predicted[p]; ++c)
      paths.push_back({video::kIxPredictedCodes, p * 8 + c, std::string("IX predicted ") + pieces[p] + " code " + std::to_string(c)});
    for (int c = 0; c < selfContained[p]; ++c)
      paths.push_back({video::kIxSelfContainedCodes, p * 8 + c,
                       std::string("IX self-contained ") + pieces[p] + " code " + std::to_string(c)});
  }
  const char* sources[] = {"long vector from reference", "long vector from current", "small word in reference",
                           "small word in current"};
  for (int s = 0; s < 4; ++s) paths.push_back({video::kIxSources, s, sources[s]});
  const char* iw[] = {"IW quadrants", "IW long vector", "IW intra", "IW quadrant long vector", "IW 2x2 group"};
  for (int c = 0; c < 5; ++c) paths.push_back({video::kIwCodes, c, iw[c]});
  for (int op = 0; op < 16; ++op) paths.push_back({video::kOpcodes, op, "coefficient opcode " + std::to_string(op)});
  const char* idct[] = {"fill", "columns then rows", "one column", "rows then columns", "one row"};
  for (int t = 0; t < 5; ++t) paths.push_back({video::kInverseTransforms, t, std::string("inverse transform: ") + idct[t]});
  return paths;
}

TEST(DecoderPaths, EncodedContentTakesEveryPath) {
  std::memset(video::pathCounts, 0, sizeof video::pathCounts);
  for (int quality : {30, 75, 98}) {
    // A short IX sequence: self-contained first, then predicted pictures.
    Picture reference;
    for (int frame = 0; frame < 3; ++frame) {
      const Picture source = content(video::kIxWidth, video::kIxHeight, frame, 11u * quality + frame);
      const auto encoded = zkv6enc::encodeIXPicture(source.data(), frame == 0 ? nullptr : reference.data(), quality);
      Picture decoded(source.size());
      video::decodeIXPicture(encoded.payload.data(), encoded.payload.size(), decoded.data(),
                             frame == 0 ? decoded.data() : reference.data());
      ASSERT_EQ(decoded, encoded.reconstruction) << "quality " << quality << " frame " << frame;
      reference = decoded;
    }
    const Picture panorama = content(video::kIwWidth, video::kIwHeight, 0, 7u * quality);
    const auto encoded = zkv6enc::encodeIWPicture(panorama.data(), quality);
    Picture decoded(panorama.size());
    video::decodeIWPicture(encoded.payload.data(), encoded.payload.size(), decoded.data());
    ASSERT_EQ(decoded, encoded.reconstruction) << "panorama, quality " << quality;
  }
  std::string missing;
  for (const PathName& p : expectedPaths())
    if (video::pathCounts[p.group][p.path] == 0) missing += "\n  " + p.name;
  EXPECT_TRUE(missing.empty()) << "paths no encoded content took:" << missing;
}

}  // namespace
