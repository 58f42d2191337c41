// The codec's SSE2 and scalar paths give the same pixels, bit for bit: the
// warp's views, the intra block's inverse transform and colour conversion,
// and whole decoded pictures. Built by both builds: natively and, as the
// DLL's code is compiled, under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "code_path.h"
#include "idct.h"
#include "intra_sse2.h"
#include "intra_tables.h"
#include "picture_encoders.h"
#include "pictures.h"
#include "warp_render.h"
#include "warp_tables.h"

namespace {

using codec::CodePath;

class CodePaths : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!codec::sse2Supported()) GTEST_SKIP() << "no SSE2 on this processor";
  }
  void TearDown() override { codec::setCodePath(initial_); }

  // What f makes of out, cleared first (a hostile stream may read pixels
  // it has not written), on each path.
  template <typename T, typename F>
  void expectSamePixels(std::vector<T>& out, F&& f, const std::string& what) {
    ASSERT_TRUE(codec::setCodePath(CodePath::kScalar));
    std::fill(out.begin(), out.end(), T{});
    f();
    const std::vector<T> scalar = out;
    ASSERT_TRUE(codec::setCodePath(CodePath::kSse2));
    std::fill(out.begin(), out.end(), T{});
    f();
    EXPECT_TRUE(out == scalar) << what;
  }

 private:
  CodePath initial_ = codec::codePath();
};

TEST_F(CodePaths, WarpViewsAcrossTheSeamAndPastThePanoramasEdges) {
  auto tables = std::make_unique<warp::WarpTables>();
  std::vector<uint16_t> source(warp::kPanoramaWidth * warp::kPanoramaHeight), view(warp::kViewWidth * warp::kViewHeight);
  std::mt19937 random(11);
  for (uint16_t& p : source) p = static_cast<uint16_t>(random());
  for (float fov : {30.0f, 90.0f, 120.0f}) {
    warp::warpInitialize(*tables, fov, 90.0f);
    for (float yaw = -190; yaw < 370; yaw += 23) {
      for (float pitch = -90; pitch <= 90; pitch += 15) {
        warp::warpCalcul(*tables, warp::degreesToRadians(yaw), warp::degreesToRadians(pitch));
        expectSamePixels(view, [&] { warp::warpRender(tables->sampleGrid, source.data(), view.data()); },
                         "fov " + std::to_string(fov) + " yaw " + std::to_string(yaw) + " pitch " + std::to_string(pitch));
      }
    }
  }
}

// Blocks of random values up to the largest a stream can give, each mask
// shape the transform distinguishes: fill, one row or column, more rows
// than columns and the reverse, and full.
TEST_F(CodePaths, InverseTransformOfEveryMaskShape) {
  std::mt19937 random(5);
  std::uniform_int_distribution<int32_t> value(-125000, 125000);
  for (int round = 0; round < 4000; ++round) {
    const uint32_t rows = (random() & 0xFF) | 1, columns = (random() & 0xFF) | 1;
    const uint32_t mask = round % 7 == 0 ? 0x101 : (rows << 8) | (round % 5 == 0 ? 1 : columns);
    int32_t scalar[64] = {}, sse2[64];
    for (int i = 0; i < 64; ++i) {
      if ((mask >> (8 + i / 8) & 1) && (mask >> (i % 8) & 1)) scalar[i] = value(random);
    }
    std::copy(std::begin(scalar), std::end(scalar), sse2);
    video::inverseTransform(scalar, mask);
    video::inverseTransformSse2(sse2, mask);
    ASSERT_TRUE(std::equal(std::begin(scalar), std::end(scalar), sse2)) << "mask " << std::hex << mask;
  }
}

// Every U and every V value within the bounds, against the scalar pixel.
TEST_F(CodePaths, ColourConversionOverTheWholeWideRange) {
  std::mt19937 random(3);
  int32_t y[64], u[64], v[64];
  uint16_t block[64];
  auto check = [&](const char* what, int32_t first) {
    video::convertWideBlockSse2(y, u, v, block, 8);
    for (int i = 0; i < 64; ++i) {
      ASSERT_EQ(block[i], video::convertWidePixel(y[i], u[i], v[i])) << what << " from " << first << " at " << i;
    }
  };
  for (int32_t first = -video::kWideU; first < video::kWideU; first += 64) {
    for (int i = 0; i < 64; ++i) {
      y[i] = static_cast<int32_t>(random() % (2 * video::kWideY)) - video::kWideY;
      u[i] = first + i;
      v[i] = static_cast<int32_t>(random() % (2 * video::kWideV)) - video::kWideV;
    }
    check("U", first);
  }
  for (int32_t first = -video::kWideV; first < video::kWideV; first += 64) {
    for (int i = 0; i < 64; ++i) {
      y[i] = static_cast<int32_t>(random() % (2 * video::kWideY)) - video::kWideY;
      u[i] = static_cast<int32_t>(random() % (2 * video::kWideU)) - video::kWideU;
      v[i] = first + i;
    }
    check("V", first);
  }
}

// An encoded picture, and random streams whose values reach past the
// bounds (where the scalar conversion serves both paths).
TEST_F(CodePaths, DecodedPictures) {
  std::vector<uint16_t> source(video::kIxWidth * video::kIxHeight), reference(source.size()), picture(source.size());
  for (int i = 0; i < video::kIxWidth * video::kIxHeight; ++i) {
    const int x = i % video::kIxWidth, y = i / video::kIxWidth;
    source[i] = static_cast<uint16_t>((((x * 7 + y) / 9) & 31) << 10 | ((x ^ y) & 31) << 5 | ((x * y / 50) & 31));
  }
  const auto encoded = zkv6enc::encodeIXPicture(source.data(), nullptr, 90);
  expectSamePixels(picture, [&] {
    video::decodeIXPicture(encoded.payload.data(), encoded.payload.size(), picture.data(), reference.data());
  }, "encoded IX picture");

  std::mt19937 random(9);
  std::vector<uint16_t> panorama(video::kIwWidth * video::kIwHeight);
  for (int round = 0; round < 3; ++round) {
    std::vector<uint8_t> payload(200000);
    for (uint8_t& b : payload) b = static_cast<uint8_t>(random());
    const uint32_t header[6] = {static_cast<uint32_t>(round * 40 + 10), 24, 20000, 30000, 40000, 200000};
    for (int w = 0; w < 6; ++w)
      for (int k = 0; k < 4; ++k) payload[4 * w + k] = static_cast<uint8_t>(header[w] >> (8 * k));
    expectSamePixels(panorama, [&] { video::decodeIWPicture(payload.data(), payload.size(), panorama.data()); },
                     "random IW stream " + std::to_string(round));
  }
}

}  // namespace
