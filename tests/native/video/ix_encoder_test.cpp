#include "ix_encoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "picture_error.h"
#include "pictures.h"
#include "transform_formula.h"

namespace {

using zkv6enc::EncodedPicture;
using zkv6enc::IxOptions;
using zkv6enc::IxStatistics;

constexpr int kWidth = video::kIxWidth, kHeight = video::kIxHeight;
constexpr int32_t kPixels = kWidth * kHeight;
enum { k8x8, k8x4, k4x8, k4x4, k4x2, k2x4, k2x2 };

using Picture = std::vector<uint16_t>;

uint16_t pixel(int r, int g, int b) { return static_cast<uint16_t>(((r & 31) << 10) | ((g & 31) << 5) | (b & 31)); }

uint32_t hash(int x, int y) {
  uint32_t h = static_cast<uint32_t>(x) * 0x9E3779B1u ^ static_cast<uint32_t>(y) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  return h ^ (h >> 13);
}

// A textured scene without end: ramps, a coarse random texture, hard edges
// and dark glyph-like strokes; pictures are windows onto it.
uint16_t scene(int x, int y) {
  const uint32_t h = hash(x / 8, y / 8);
  const bool stroke = (hash(x / 6, y / 10) & 7) == 0 && ((x % 6) < 2 || (y % 10) < 2);
  if (stroke) return pixel(2, 2, 4);
  const bool edge = ((x / 40) + (y / 30)) % 2 == 0;
  return pixel((x / 8 + (edge ? 8 : 0)) % 32, static_cast<int>(h % 24) + 4, (y / 6) % 32);
}

Picture window(int left, int top) {
  Picture p(kPixels);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) p[y * kWidth + x] = scene(x + left, y + top);
  }
  return p;
}

Picture gradients() {
  Picture p(kPixels);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) p[y * kWidth + x] = pixel(x / 20, y / 15, (x + y) / 36);
  }
  return p;
}

Picture noise(uint32_t seed) {
  std::mt19937 random(seed);
  Picture p(kPixels);
  for (uint16_t& v : p) v = static_cast<uint16_t>(random() & 0x7FFF);
  return p;
}

// Two-colour 8x8 glyphs from a small font, set like lines of text.
Picture text(uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint64_t> font(6);
  for (uint64_t& g : font) g = (static_cast<uint64_t>(random()) << 32) | random();
  Picture p(kPixels, pixel(28, 28, 26));
  for (int row = 0; row < kHeight / 8; row += 2) {
    for (int column = 0; column < kWidth / 8; ++column) {
      const uint64_t g = font[random() % font.size()];
      for (int i = 0; i < 64; ++i) {
        if ((g >> i) & 1) p[(row * 8 + i / 8) * kWidth + column * 8 + i % 8] = pixel(3, 3, 8);
      }
    }
  }
  return p;
}

// The picture with every n x n tile replaced by itself under a random transform.
Picture transformTiles(const Picture& picture, int n, uint32_t seed) {
  std::mt19937 random(seed);
  Picture p(picture);
  for (int ty = 0; ty < kHeight; ty += n) {
    for (int tx = 0; tx < kWidth; tx += n) {
      const int t = static_cast<int>(random() % 8);
      for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
          const int i = tileIndex(n, t, x, y);
          p[(ty + y) * kWidth + tx + x] = picture[(ty + i / n) * kWidth + tx + i % n];
        }
      }
    }
  }
  return p;
}

double psnr(const Picture& a, const Picture& b) { return zkv6enc::psnr(a.data(), b.data(), a.size()); }

// Decodes the payload into current filled first with each of two values:
// both must give the encoder's reconstruction, so no copy read a pixel that
// was not decoded yet.
void expectDecodes(const EncodedPicture& encoded, const Picture* reference) {
  ASSERT_EQ(encoded.reconstruction.size(), static_cast<size_t>(kPixels));
  for (uint16_t fill : {uint16_t{0}, uint16_t{0x7FFF}}) {
    Picture current(kPixels, fill);
    video::decodeIXPicture(encoded.payload.data(), encoded.payload.size(), current.data(),
                           reference != nullptr ? reference->data() : nullptr);
    ASSERT_EQ(current, encoded.reconstruction) << "current filled with " << fill;
  }
}

class IxEncoder : public ::testing::Test {
 protected:
  static EncodedPicture encode(const Picture& source, const Picture* reference, int quality,
                               IxStatistics* statistics = nullptr, const IxOptions& options = {}) {
    EncodedPicture e = zkv6enc::encodeIXPicture(source.data(), reference != nullptr ? reference->data() : nullptr,
                                                quality, options, statistics);
    expectDecodes(e, reference);
    return e;
  }
};

TEST_F(IxEncoder, MovingSceneIsFoundAsVectorsFrameAfterFrame) {
  Picture reference;
  IxStatistics first, later;
  for (int frame = 0; frame < 3; ++frame) {
    SCOPED_TRACE(frame);
    const Picture source = window(100 + 3 * frame, 50 - 2 * frame);
    IxStatistics counts;
    const EncodedPicture e = encode(source, frame == 0 ? nullptr : &reference, 90, &counts);
    EXPECT_GT(psnr(source, e.reconstruction), 30.0);
    (frame == 0 ? first : later) = counts;
    reference = e.reconstruction;
  }
  EXPECT_EQ(first.zeroCopies + first.shortVectors + first.referenceVectors + first.referenceWords, 0);
  // The pan of (3, -2) a frame is a short vector for almost every block.
  EXPECT_GT(later.shortVectors, 4000);
  EXPECT_LT(later.intraBlocks, 200);
}

TEST_F(IxEncoder, StillPictureIsZeroCopiesAndMovingPartsVectors) {
  const Picture reference = gradients();
  Picture source = reference;
  // A far moved part of the scene: beyond the short vectors' reach.
  for (int y = 200; y < 264; ++y) {
    for (int x = 300; x < 380; ++x) source[y * kWidth + x] = reference[(y - 48) * kWidth + x - 100];
  }
  IxStatistics counts;
  const EncodedPicture e = encode(source, &reference, 70, &counts, {.wideRange = 112});
  EXPECT_GT(psnr(source, e.reconstruction), 45.0);
  EXPECT_GT(counts.zeroCopies, 4000);
  EXPECT_GT(counts.referenceVectors, 0);
}

TEST_F(IxEncoder, TransformedTilesAreCopiedWithTheirTransforms) {
  const Picture reference = noise(7);
  IxStatistics blocks, pieces;
  encode(transformTiles(reference, 8, 1), &reference, 90, &blocks);
  for (int t = 1; t < 8; ++t) EXPECT_GT(blocks.transforms[t], 100) << t;
  const Picture source = transformTiles(reference, 2, 2);
  const EncodedPicture e = encode(source, &reference, 100, &pieces);
  EXPECT_GT(pieces.pieces[k2x2], 10000);
  EXPECT_GT(pieces.referenceWords, 10000);
  EXPECT_GT(psnr(source, e.reconstruction), 40.0);
}

TEST_F(IxEncoder, RepeatedContentIsCopiedFromCurrent) {
  const Picture page = text(3);
  IxStatistics predicted, selfContained;
  const Picture blank(kPixels, pixel(28, 28, 26));
  const EncodedPicture p = encode(page, &blank, 90, &predicted);
  EXPECT_GT(predicted.currentVectors, 100);
  const EncodedPicture s = encode(page, nullptr, 90, &selfContained);
  EXPECT_GT(selfContained.currentVectors, 1000);
  EXPECT_GT(psnr(page, p.reconstruction), 30.0);
  EXPECT_GT(psnr(page, s.reconstruction), 30.0);

  // Scattered 2x2 patterns from a few: small-piece words from current.
  const Picture tiles = transformTiles(text(4), 2, 5);
  IxStatistics small;
  encode(tiles, nullptr, 100, &small);
  EXPECT_GT(small.currentWords, 1000);
  EXPECT_GT(small.pieces[k2x2], 1000);
}

// Both codings of smooth ramps (self-contained) and of them panned by a few
// pixels (predicted): a higher quality takes more bytes and comes closer.
TEST_F(IxEncoder, QualityBuysFidelity) {
  const Picture still = gradients();
  Picture moved(kPixels);
  for (int i = 0; i < kPixels; ++i) moved[i] = still[(i + 5 * kWidth + 3) % kPixels];
  for (const Picture* reference : {static_cast<const Picture*>(nullptr), &still}) {
    SCOPED_TRACE(reference == nullptr ? "self-contained" : "predicted");
    const Picture& source = reference == nullptr ? still : moved;
    double last = 0;
    size_t lastSize = 0;
    for (int quality : {10, 100}) {
      const EncodedPicture e = encode(source, reference, quality);
      const double value = psnr(source, e.reconstruction);
      EXPECT_GT(value, last) << quality;
      EXPECT_GT(e.payload.size(), lastSize) << quality;
      EXPECT_GT(value, 20.0 + quality / 5.0) << quality;
      last = value;
      lastSize = e.payload.size();
    }
  }
}

}  // namespace
