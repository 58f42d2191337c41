#include "intra_encoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <random>
#include <vector>

#include "idct.h"
#include "intra_block.h"
#include "intra_code.h"
#include "intra_tables.h"
#include "intra_transform.h"
#include "picture_error.h"

namespace {

using video::CoefficientBlock;
using video::NibbleReader;
using video::QuantTables;
using Values = int[64];

uint16_t pixel(int r, int g, int b) { return static_cast<uint16_t>((r << 10) | (g << 5) | b); }

// One nibble a byte to the stream's packing, low nibble first.
std::vector<uint8_t> pack(const std::vector<uint8_t>& nibbles) {
  std::vector<uint8_t> bytes((nibbles.size() + 1) / 2, 0);
  for (size_t n = 0; n < nibbles.size(); ++n) bytes[n / 2] |= static_cast<uint8_t>(nibbles[n] << (4 * (n % 2)));
  return bytes;
}

std::vector<uint8_t> codeOf(const Values& values) {
  std::vector<uint8_t> nibbles;
  zkv6enc::appendBlockCode(values, nibbles);
  return nibbles;
}

// Steps of 1 everywhere, so that a decoded block holds the code values.
QuantTables unitSteps() {
  QuantTables t;
  for (int b = 0; b < 3; ++b)
    for (int k = 0; k < 64; ++k) {
      t.step[b][k] = 1;
      t.negated[b][k] = -1;
    }
  return t;
}

// The fewest nibbles for values from position p on, found the decoder's
// way: every opcode with every first operand, its writes taken from its own
// value map. Each value written must be the one wanted there.
class Shortest {
 public:
  explicit Shortest(const Values& values) : v_(values) {}
  int length() { return 2 + from(1); }

 private:
  static constexpr int kP2[4] = {1, 2, -2, -1};
  static constexpr int kP4[16] = {1, 2, 3, 4, 5, 6, 7, 8, -8, -7, -6, -5, -4, -3, -2, -1};
  static constexpr int kNone = 1 << 20;
  // What a code can write: a byte value, +-1 (the sign in the opcode), or a
  // value of the P2 or the P4 map.
  enum class Kind { kByte, kOne, kP2, kP4 };

  bool inMap(const int* map, int size, int value) const { return std::find(map, map + size, value) != map + size; }
  bool byteValue(int value) const { return value >= -128 && value <= 127; }

  // Cost of skipping then writing count values of the given kind, plus the
  // rest; kNone when it cannot give the wanted block.
  int writes(int p, int skip, int count, Kind kind, int nibbles) {
    for (int n = 0; n < skip; ++n)
      if (p + n >= 64 || v_[p + n] != 0) return kNone;
    const int w = p + skip;
    if (w + count > 64) return kNone;
    for (int n = 0; n < count; ++n) {
      const int x = v_[w + n];
      const bool ok = kind == Kind::kP2   ? inMap(kP2, 4, x)
                      : kind == Kind::kP4 ? inMap(kP4, 16, x)
                      : kind == Kind::kOne ? x == 1 || x == -1
                                           : byteValue(x);
      if (!ok) return kNone;
    }
    return w + count == 64 ? nibbles : nibbles + from(w + count);
  }
  int skips(int p, int skip) {
    for (int n = 0; n < skip && p + n < 64; ++n)
      if (v_[p + n] != 0) return kNone;
    return 1 + from(std::min(p + skip, 64));
  }

  int from(int p) {
    if (memo_[p] != 0) return memo_[p];
    int best = kNone;
    bool restZero = true;
    for (int n = p; n < 64; ++n) restZero = restZero && v_[n] == 0;
    if (restZero) best = 1;  // opcode 0
    if (p < 64) {
      best = std::min({best, skips(p, 5), skips(p, 1)});
      for (int s = 1; s <= 3; ++s) best = std::min(best, writes(p, s, 1, Kind::kOne, 1));  // 2..7
      for (int a = 0; a < 16; ++a) {
        const int skip = ((a >> 2) & 3) + 1;
        const int p2Count = (a & 3) + 2, p4Count = (a & 3) + 1;
        best = std::min(best, writes(p, skip, p2Count, Kind::kP2, 2 + (p2Count + 1) / 2));  // 8
        best = std::min(best, writes(p, skip, p4Count, Kind::kP4, 2 + p4Count));            // 9
      }
      best = std::min(best, writes(p, 0, 2, Kind::kP2, 2));  // 10
      for (int n = 1; n <= 3; ++n) best = std::min(best, writes(p, 0, n, Kind::kP4, 1 + n));  // 11..13
      best = std::min(best, writes(p, 0, 1, Kind::kByte, 3));  // 15
    }
    return memo_[p] = best;
  }

  const Values& v_;
  int memo_[65] = {};
};

class IntraEncoderTest : public ::testing::Test {
 protected:
  // Decodes one block's code from the start of nibbles (followed by a
  // sentinel block) and checks the values and that the code is consumed
  // exactly.
  static void expectRoundTrip(const Values& values) {
    std::vector<uint8_t> nibbles = codeOf(values);
    const size_t length = nibbles.size();
    ASSERT_EQ(static_cast<int>(length), zkv6enc::blockCodeLength(values));
    const Values sentinel = {-77};
    zkv6enc::appendBlockCode(sentinel, nibbles);
    const std::vector<uint8_t> bytes = pack(nibbles);
    NibbleReader reader(bytes.data(), bytes.size());
    const QuantTables unit = unitSteps();
    CoefficientBlock block;
    video::decodeCoefficients(unit, 0, reader, block);
    ASSERT_EQ(reader.position(), length);
    for (int k = 0; k < 64; ++k) ASSERT_EQ(block.value[video::intraTables.zigzag[k]], values[k]) << "position " << k;
    video::decodeCoefficients(unit, 1, reader, block);
    EXPECT_EQ(block.value[0], -77);
  }

  static void expectCode(const Values& values, std::initializer_list<uint8_t> expected) {
    EXPECT_EQ(codeOf(values), std::vector<uint8_t>(expected));
    expectRoundTrip(values);
  }
};

// ---- The nibble code ----

TEST_F(IntraEncoderTest, ChosenCodes) {
  expectCode({5}, {0, 5, 0});                 // DC only: byte value and end
  expectCode({-3}, {15, 13, 0});              // high nibble signed
  expectCode({0}, {0, 0, 0});                 // position 0 is written even when 0
  expectCode({0, 0, 1, 0, 0, -1, 0, 0, 0, 1}, {0, 0, 2, 5, 6, 0});  // skips 1..3 with +-1
  expectCode({0, 100}, {0, 0, 15, 6, 4, 0});  // beyond the nibble maps: a byte value
  expectCode({0, -128}, {0, 0, 15, 8, 0, 0});
  // Skip 2, then five P2 values: opcode 8, the third field nibble half used.
  expectCode({0, 0, 0, 2, 2, 2, 2, 2}, {0, 0, 8, 0b0111, 0b0101, 0b0101, 0b0100, 0});
  // Skip 4, then two P4 values: opcode 9.
  expectCode({0, 0, 0, 0, 0, 7, -7}, {0, 0, 9, 0b1101, 6, 9, 0});
  expectCode({0, 2, -2, 3, 4, 5}, {0, 0, 10, 0b0110, 13, 2, 3, 4, 0});
  // Long zero runs use skip 5 and skip 1.
  Values far = {1};
  far[12] = 1;
  expectCode(far, {0, 1, 1, 1, 2, 0});  // skip 10, then skip 1 and +1
}

TEST_F(IntraEncoderTest, WritingTheLastPositionEndsTheBlock) {
  // 62 zeros: twelve skips of 5, then skip 2 and -1, and nothing after.
  Values last = {1};
  last[63] = -1;
  expectCode(last, {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 5});
  // Opcode 13 writing positions 61..63.
  last[61] = 4;
  last[62] = -8;
  std::vector<uint8_t> expected = {0, 1};
  expected.insert(expected.end(), 12, 1);
  expected.insert(expected.end(), {13, 3, 8, 15});
  EXPECT_EQ(codeOf(last), expected);
  expectRoundTrip(last);

  Values full;
  for (int k = 0; k < 64; ++k) full[k] = (k % 5) - 2 == 0 ? 3 : (k % 5) - 2;
  expectRoundTrip(full);

  Values big;
  for (int& x : big) x = 127;
  EXPECT_EQ(codeOf(big).size(), 2u + 63u * 3u);
  expectRoundTrip(big);
}

TEST_F(IntraEncoderTest, CodesAreShortestAndRoundTrip) {
  // Every pattern of five values in {0, 1, -2, 5, -9} at the start and at
  // the end of a block, then random blocks of many densities and sizes.
  const int alphabet[5] = {0, 1, -2, 5, -9};
  for (int start : {1, 59}) {
    for (int pattern = 0; pattern < 5 * 5 * 5 * 5 * 5; ++pattern) {
      Values v = {1};
      for (int n = 0, rest = pattern; n < 5; ++n, rest /= 5) v[start + n] = alphabet[rest % 5];
      ASSERT_EQ(zkv6enc::blockCodeLength(v), Shortest(v).length()) << "start " << start << " pattern " << pattern;
      expectRoundTrip(v);
      if (HasFatalFailure()) return;
    }
  }
  std::mt19937 rng(7);
  for (int trial = 0; trial < 3000; ++trial) {
    const int zeroPercent = static_cast<int>(rng() % 100);
    const int largest = std::initializer_list<int>{1, 2, 3, 8, 9, 128}.begin()[rng() % 6];
    Values v;
    for (int& x : v) {
      x = static_cast<int>(rng() % 100) < zeroPercent ? 0 : 1 + static_cast<int>(rng() % largest);
      if (x != 0 && rng() % 2) x = -x;
      x = std::clamp(x, -128, 127);
    }
    ASSERT_EQ(zkv6enc::blockCodeLength(v), Shortest(v).length()) << "trial " << trial;
    expectRoundTrip(v);
    if (HasFatalFailure()) return;
  }
}

// ---- The forward transform ----

TEST_F(IntraEncoderTest, ForwardTransformInvertsTheDecoders) {
  // A single coefficient (each of the 64, either sign) through the decoder's
  // inverse transform comes back alone and whole.
  for (int i = 0; i < 64; ++i) {
    for (int32_t value : {5000, -3000}) {
      int32_t block[64] = {};
      block[i] = value;
      video::inverseTransform(block, video::intraTables.maskBits[i]);
      double signal[64], coefficients[64];
      for (int n = 0; n < 64; ++n) signal[n] = block[n];
      zkv6enc::forwardTransform(signal, coefficients);
      for (int n = 0; n < 64; ++n) ASSERT_NEAR(coefficients[n], n == i ? value : 0, 2.0) << i << " " << n;
    }
  }
}

// ---- Whole blocks ----

struct TestBlock {
  const char* name;
  uint16_t pixels[64];
};

std::vector<TestBlock> testBlocks() {
  std::vector<TestBlock> blocks(4);
  std::mt19937 rng(3);
  blocks[0].name = "flat";
  blocks[1].name = "gradient";
  blocks[2].name = "edge";
  blocks[3].name = "noise";
  for (int i = 0; i < 64; ++i) {
    const int r = i / 8, c = i % 8;
    blocks[0].pixels[i] = pixel(12, 20, 7);
    blocks[1].pixels[i] = pixel(2 + 3 * c, 4 + 2 * r, 2 * (r + c));
    blocks[2].pixels[i] = c < 4 ? pixel(3, 3, 3) : pixel(28, 28, 28);
    const int red = static_cast<int>(rng() % 32), green = static_cast<int>(rng() % 31);
    blocks[3].pixels[i] = pixel(red, green, static_cast<int>(rng() % 32));
  }
  return blocks;
}

TEST_F(IntraEncoderTest, ReconstructionIsTheDecodersAndTheCodesAreWhole) {
  for (const TestBlock& block : testBlocks()) {
    for (int quality : {1, 30, 75, 100}) {
      const zkv6enc::IntraEncoder encoder(quality);
      const zkv6enc::IntraCode code = encoder.encode(block.pixels, 8);
      QuantTables tables;
      video::quantTables(tables, quality);
      const std::vector<uint8_t> bytes = pack(code.nibbles);
      NibbleReader reader(bytes.data(), bytes.size());
      uint16_t decoded[64];
      video::decodeMacroblock(tables, reader, decoded, 8);
      EXPECT_EQ(reader.position(), code.nibbles.size()) << block.name << " quality " << quality;
      EXPECT_TRUE(std::equal(decoded, decoded + 64, code.reconstruction)) << block.name << " quality " << quality;
    }
  }
}

TEST_F(IntraEncoderTest, DcValuesAreTheClosest) {
  // Moving any of the three DC values by one, in the codes themselves, never
  // brings the decoded block nearer its source.
  std::vector<TestBlock> blocks = testBlocks();
  TestBlock ramp{"ramp", {}};
  for (int i = 0; i < 64; ++i) ramp.pixels[i] = pixel(9 + (i % 8) / 3, 17 + (i / 8) / 3, 22 - (i % 8) / 2);
  blocks.push_back(ramp);
  for (const TestBlock& block : blocks) {
    for (int quality : {5, 40, 80, 100}) {
      const zkv6enc::IntraCode code = zkv6enc::IntraEncoder(quality).encode(block.pixels, 8);
      const int64_t error = zkv6enc::pieceError(block.pixels, 8, code.reconstruction, 8, 8, 8);
      QuantTables tables;
      video::quantTables(tables, quality);
      const std::vector<uint8_t> bytes = pack(code.nibbles);
      NibbleReader reader(bytes.data(), bytes.size());
      for (int b = 0; b < 3; ++b) {
        const size_t start = reader.position();
        CoefficientBlock ignored;
        video::decodeCoefficients(tables, b, reader, ignored);
        const int high = code.nibbles[start], dc = 16 * (high < 8 ? high : high - 16) + code.nibbles[start + 1];
        for (int moved : {dc - 1, dc + 1}) {
          if (moved < -128 || moved > 127) continue;
          std::vector<uint8_t> nibbles = code.nibbles;
          nibbles[start] = static_cast<uint8_t>((moved >> 4) & 15);
          nibbles[start + 1] = static_cast<uint8_t>(moved & 15);
          const std::vector<uint8_t> movedBytes = pack(nibbles);
          NibbleReader movedReader(movedBytes.data(), movedBytes.size());
          uint16_t decoded[64];
          video::decodeMacroblock(tables, movedReader, decoded, 8);
          EXPECT_GE(zkv6enc::pieceError(block.pixels, 8, decoded, 8, 8, 8), error)
              << block.name << " quality " << quality << " component " << b << " DC " << moved;
        }
      }
    }
  }
}

TEST_F(IntraEncoderTest, ReadsTheBlockThroughItsStride) {
  const TestBlock block = testBlocks()[3];
  std::vector<uint16_t> picture(640 * 8, pixel(31, 0, 31));
  for (int i = 0; i < 64; ++i) picture[(i / 8) * 640 + 100 + i % 8] = block.pixels[i];
  const zkv6enc::IntraEncoder encoder(60);
  EXPECT_EQ(encoder.encode(picture.data() + 100, 640).nibbles, encoder.encode(block.pixels, 8).nibbles);
}

TEST_F(IntraEncoderTest, QualityBuysFidelity) {
  const int qualities[] = {1, 10, 25, 50, 75, 90, 100};
  for (const TestBlock& block : testBlocks()) {
    double previous = 0;
    size_t previousLength = 0;
    for (int quality : qualities) {
      const zkv6enc::IntraCode code = zkv6enc::IntraEncoder(quality).encode(block.pixels, 8);
      const double psnr = zkv6enc::psnr(block.pixels, code.reconstruction, 64);
      EXPECT_GE(psnr, previous - 0.5) << block.name << " quality " << quality;
      EXPECT_GE(code.nibbles.size(), previousLength) << block.name << " quality " << quality;
      previous = std::max(previous, psnr);
      previousLength = code.nibbles.size();
    }
    const zkv6enc::IntraCode finest = zkv6enc::IntraEncoder(100).encode(block.pixels, 8);
    const double best = zkv6enc::psnr(block.pixels, finest.reconstruction, 64);
    EXPECT_GE(best, block.name == std::string("noise") ? 30.0 : 40.0) << block.name;
  }
  // A flat block costs a byte value and an end per component.
  EXPECT_EQ(zkv6enc::IntraEncoder(50).encode(testBlocks()[0].pixels, 8).nibbles.size(), 9u);
}

TEST_F(IntraEncoderTest, ExtremeColoursSurvive) {
  // Flat blocks of the corners of the colour cube come back exactly at every
  // quality, green held to its top of 30.
  const uint16_t colours[] = {pixel(0, 0, 0),   pixel(31, 31, 31), pixel(31, 0, 0),  pixel(0, 31, 0),
                              pixel(0, 0, 31),  pixel(31, 31, 0),  pixel(0, 31, 31), pixel(31, 0, 31)};
  for (uint16_t colour : colours) {
    const uint16_t expected = static_cast<uint16_t>(std::min(colour & 0x03E0, 30 << 5) | (colour & 0x7C1F));
    for (int quality : {1, 5, 10, 25, 50, 90, 100}) {
      uint16_t block[64];
      std::fill(block, block + 64, colour);
      const zkv6enc::IntraCode code = zkv6enc::IntraEncoder(quality).encode(block, 8);
      for (uint16_t p : code.reconstruction)
        ASSERT_EQ(p, expected) << std::hex << "colour " << colour << std::dec << " quality " << quality;
    }
  }
}

}  // namespace
