#include "iw_encoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "copy_tables.h"
#include "picture_error.h"
#include "picture_header.h"
#include "pictures.h"
#include "transform_formula.h"
#include "vector_word.h"

namespace {

using zkv6enc::EncodedPicture;
using zkv6enc::IwOptions;
using zkv6enc::IwStatistics;

constexpr int kWidth = video::kIwWidth, kHeight = video::kIwHeight;
constexpr int32_t kPixels = kWidth * kHeight;

uint16_t pixel(int r, int g, int b) { return static_cast<uint16_t>((r << 10) | (g << 5) | b); }

using Panorama = std::vector<uint16_t>;

// Smooth colour ramps with a few hard vertical and horizontal edges.
Panorama gradients() {
  Panorama p(kPixels);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool band = (x / 160) % 2 == 1, stripe = (y / 96) % 3 == 2;
      p[y * kWidth + x] = pixel((x / 64) % 32, y / 24, band ? 28 - (y / 32) : (stripe ? 4 : (x + y) / 90 % 32));
    }
  }
  return p;
}

// Noise in the first rows, grey below them.
Panorama noise(uint32_t seed, int rows = kHeight) {
  std::mt19937 random(seed);
  Panorama p(kPixels, pixel(16, 16, 16));
  for (int32_t i = 0; i < rows * kWidth; ++i) p[i] = static_cast<uint16_t>(random() & 0x7FFF);
  return p;
}

// The first rows of the panorama tiled with n x n tiles, each one of a few
// random glyphs (two colours, like text) in one of the transforms the
// encoder may use; grey below them.
Panorama tiles(int n, int glyphs, int transforms, uint32_t seed, int rows) {
  std::mt19937 random(seed);
  std::vector<std::vector<uint16_t>> glyph(glyphs, std::vector<uint16_t>(n * n));
  for (auto& g : glyph) {
    for (uint16_t& v : g) v = random() % 3 == 0 ? pixel(2, 3, 4) : pixel(30, 29, 24);
  }
  Panorama p(kPixels, pixel(16, 16, 16));
  for (int ty = 0; ty < rows; ty += n) {
    for (int tx = 0; tx < kWidth; tx += n) {
      const auto& g = glyph[random() % glyphs];
      const int t = static_cast<int>(random() % transforms);
      for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) p[(ty + y) * kWidth + tx + x] = g[tileIndex(n, t, x, y)];
      }
    }
  }
  return p;
}

// Blocks of one colour each, every block row the one above moved a block to
// the left around the seam: blocks at the right end find their source at
// the left end of the row above.
Panorama shiftedRows() {
  std::mt19937 random(7);
  std::vector<uint16_t> colour(kWidth / 8);
  for (uint16_t& c : colour) c = static_cast<uint16_t>(random() & 0x7FFF);
  Panorama p(kPixels);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) p[y * kWidth + x] = colour[(x / 8 + y / 8) % colour.size()];
  }
  return p;
}

// The codes of a payload as the decoder walks them, each copy's source
// checked against the pixels decoded before it.
struct StreamWalk {
  IwStatistics counts;
  int invalidCopies = 0;
};

class Walker {
 public:
  explicit Walker(const std::vector<uint8_t>& payload)
      : streams_(video::openStreams(payload.data(), payload.size())), decoded_(kPixels, false) {}

  StreamWalk run() {
    for (y0_ = 0; y0_ < kHeight; y0_ += 8) {
      for (x0_ = 0; x0_ < kWidth; x0_ += 8) block();
    }
    return walk_;
  }

 private:
  void block() {
    if (streams_.codes.bit() == 0) {
      ++walk_.counts.splitBlocks;
      for (int q = 0; q < 4; ++q) quadrant(4 * (q & 1), 4 * (q >> 1));
    } else if (streams_.codes.bit() == 0) {
      ++walk_.counts.vectorBlocks;
      longVector(8, 0, 0, 0);
    } else {
      ++walk_.counts.intraBlocks;
      mark(x0_, y0_, 8);
    }
  }

  void quadrant(int qx, int qy) {
    if (streams_.codes.bit() == 0) {
      ++walk_.counts.quadrantVectors;
      longVector(4, 4, qx, qy);
      return;
    }
    ++walk_.counts.groups;
    uint32_t k[4];
    streams_.shortCodes.groupCodes(k);
    for (int n = 0; n < 4; ++n) {
      ++walk_.counts.pieceTransforms[(k[n] >> 1) & 7];
      check(y0_ * kWidth + x0_ + video::iwPositionTable[k[n]], 2);
    }
    mark(x0_ + qx, y0_ + qy, 4);
  }

  void longVector(int n, int row, int qx, int qy) {
    const uint32_t tt = streams_.codes.bits(2);
    const zkv6::VectorWord w{streams_.vectors.word()};
    ++walk_.counts.vectorTransforms[(tt << 1) | w.flag()];
    const int y = w.rows(), x = w.columns();
    const int column = video::iw::column(x0_ - x);
    if (column != x0_ + 128 - x || column + n > kWidth) ++walk_.counts.seamCopies;
    check((y0_ + row - y) * kWidth + column, n);
    mark(x0_ + qx, y0_ + qy, n);
  }

  // Every pixel the copy routine reads, by linear index from start.
  void check(int32_t start, int n) {
    for (int y = 0; y < n; ++y) {
      for (int x = 0; x < n; ++x) {
        const int32_t i = start + y * kWidth + x;
        if (i < 0 || i >= kPixels || !decoded_[i]) {
          ++walk_.invalidCopies;
          return;
        }
      }
    }
  }

  void mark(int x, int y, int n) {
    for (int row = y; row < y + n; ++row) {
      for (int column = x; column < x + n; ++column) decoded_[row * kWidth + column] = true;
    }
  }

  video::PictureStreams streams_;
  std::vector<bool> decoded_;
  StreamWalk walk_;
  int x0_ = 0, y0_ = 0;
};

// Small searches keep the sanitized tests quick; 8 pixels reach the
// neighbouring blocks.
constexpr IwOptions kSmallSearch{4, 1, 2, true};
constexpr IwOptions kNeighbourSearch{8, 1, 2, true};

class IwEncoder : public testing::Test {
 protected:
  // Encodes, and checks what every encoding must give: the decoder makes
  // exactly the reconstruction of the payload, every copy reads decoded
  // pixels only, and the encoder's counts are the stream's.
  IwStatistics encode(const Panorama& source, int quality, const IwOptions& options = kSmallSearch) {
    IwStatistics counts;
    encoded_ = zkv6enc::encodeIWPicture(source.data(), quality, options, &counts);
    Panorama decoded(kPixels, 0x5555);
    video::decodeIWPicture(encoded_.payload.data(), encoded_.payload.size(), decoded.data());
    EXPECT_TRUE(decoded == encoded_.reconstruction) << "the decoder differs from the reconstruction";
    const StreamWalk walk = Walker(encoded_.payload).run();
    EXPECT_EQ(walk.invalidCopies, 0);
    EXPECT_EQ(walk.counts.intraBlocks, counts.intraBlocks);
    EXPECT_EQ(walk.counts.vectorBlocks, counts.vectorBlocks);
    EXPECT_EQ(walk.counts.splitBlocks, counts.splitBlocks);
    EXPECT_EQ(walk.counts.quadrantVectors, counts.quadrantVectors);
    EXPECT_EQ(walk.counts.groups, counts.groups);
    EXPECT_EQ(walk.counts.seamCopies, counts.seamCopies);
    for (int t = 0; t < 8; ++t) {
      EXPECT_EQ(walk.counts.vectorTransforms[t], counts.vectorTransforms[t]);
      EXPECT_EQ(walk.counts.pieceTransforms[t], counts.pieceTransforms[t]);
    }
    EXPECT_EQ(counts.intraBlocks + counts.vectorBlocks + counts.splitBlocks, 256 * 96);
    return counts;
  }

  double psnr(const Panorama& source) const {
    return zkv6enc::psnr(source.data(), encoded_.reconstruction.data(), kPixels);
  }
  size_t payloadSize() const { return encoded_.payload.size(); }

  EncodedPicture encoded_;
};

int otherTransforms(const int (&byTransform)[8]) {
  int sum = 0;
  for (int t = 1; t < 8; ++t) sum += byTransform[t];
  return sum;
}

// Higher quality: a closer picture for more bytes.
TEST_F(IwEncoder, SmoothPanoramaGainsWithQuality) {
  const Panorama source = gradients();
  double lastPsnr = 0;
  size_t lastSize = 0;
  for (const auto& [quality, least] : {std::pair{10, 26.0}, std::pair{50, 32.0}, std::pair{95, 38.0}}) {
    SCOPED_TRACE(quality);
    encode(source, quality);
    EXPECT_GE(psnr(source), least);
    EXPECT_GT(psnr(source), lastPsnr);
    EXPECT_GT(payloadSize(), lastSize);
    lastPsnr = psnr(source);
    lastSize = payloadSize();
  }
}

// Noise offers nothing to copy whole: its blocks are intra coded or made of
// 2x2 pieces, and the stream stays valid.
TEST_F(IwEncoder, NoiseIsNotCopiedWhole) {
  const Panorama source = noise(1, 64);
  const IwStatistics counts = encode(source, 60);
  EXPECT_GT(counts.intraBlocks + counts.groups / 4, 256 * 8 * 9 / 10);
  EXPECT_GE(zkv6enc::psnr(source.data(), encoded_.reconstruction.data(), 64 * kWidth), 12.0);
}

// Two glyphs repeated mirrored and turned: most blocks find the same glyph
// among their neighbours, through every transform.
TEST_F(IwEncoder, TransformedGlyphsAreCopiedWholeWithTransforms) {
  constexpr int kGlyphBlocks = 256 * 24;
  const Panorama source = tiles(8, 2, 8, 11, 8 * 24);
  const IwStatistics counts = encode(source, 50, kNeighbourSearch);
  EXPECT_GT(counts.vectorBlocks, 256 * 96 - kGlyphBlocks * 15 / 100);
  for (int t = 0; t < 8; ++t) EXPECT_GT(counts.vectorTransforms[t], 0) << t;
}

TEST_F(IwEncoder, CopiesCrossTheSeam) {
  const Panorama source = shiftedRows();
  const IwStatistics counts = encode(source, 50, kNeighbourSearch);
  EXPECT_GE(counts.seamCopies, 95);  // the last block of every row below the first
  EXPECT_EQ(counts.vectorBlocks, 256 * 95);
  EXPECT_GE(psnr(source), 40.0);
}

// Glyphs of 4x4 pixels make blocks that appear nowhere else whole but
// whose quadrants do; glyphs of 2x2 pixels are found piece by piece.
TEST_F(IwEncoder, SmallGlyphsUseQuadrantVectorsAndGroups) {
  {
    const Panorama source = tiles(4, 2, 8, 5, 8 * 12);
    const IwStatistics counts = encode(source, 50);
    EXPECT_GT(counts.quadrantVectors, 256 * 12);
    EXPECT_GT(otherTransforms(counts.vectorTransforms), 0);
    EXPECT_GE(psnr(source), 25.0);
  }
  {
    const Panorama source = tiles(2, 3, 8, 9, 8 * 12);
    const IwStatistics counts = encode(source, 50);
    EXPECT_GT(counts.groups, 256 * 12);
    EXPECT_GT(otherTransforms(counts.pieceTransforms), 0);
    EXPECT_GE(psnr(source), 25.0);
  }
}

}  // namespace
