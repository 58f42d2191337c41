#include "intra_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <utility>
#include <vector>

#include "idct.h"
#include "intra_tables.h"
#include "stream_writer.h"

namespace {

using video::CoefficientBlock;
using video::NibbleReader;
using video::QuantTables;

// The zigzag order of ITU-T T.81, Figure A.6: natural index by position.
constexpr int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                             12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                             35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                             58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

constexpr uint16_t kGrey = (16 << 10) | (16 << 5) | 16;

int32_t aanScale(int i) {
  const double pi = std::acos(-1.0);
  auto f = [pi](int k) { return k == 0 ? 1.0 : std::sqrt(2.0) * std::cos(k * pi / 16); };
  return static_cast<int32_t>(std::lround(16384 * f(i / 8) * f(i % 8)));
}

// The dequantised step at zigzag position k for a step before scaling.
int32_t scaled(int32_t step, int k) { return (step * aanScale(kZigzag[k])) >> 13; }

class IntraTest : public ::testing::Test {};

// A coefficient stream built with the test stream writer, read back through
// the picture's own layout.
class Coded {
 public:
  Coded& nibbles(std::initializer_list<uint32_t> list) {
    for (uint32_t n : list) writer_.nibble(n);
    return *this;
  }
  Coded& repeat(uint32_t n, int count) {
    for (int c = 0; c < count; ++c) writer_.nibble(n);
    return *this;
  }
  Coded& byteValue(int v) {
    writer_.byteValue(v);
    return *this;
  }
  NibbleReader reader() {
    bytes_ = writer_.payload(50);
    const auto le32 = [this](size_t at) {
      return static_cast<size_t>(bytes_[at] | (bytes_[at + 1] << 8) | (bytes_[at + 2] << 16) |
                                 (static_cast<uint32_t>(bytes_[at + 3]) << 24));
    };
    const size_t start = le32(16), end = le32(20);
    return NibbleReader(bytes_.data() + start, end - start);
  }

 private:
  zkv6enc::StreamWriter writer_;
  std::vector<uint8_t> bytes_;
};

// ---- Quantisation tables ----

TEST_F(IntraTest, FlatQualitiesGiveOneStepEverywhere) {
  // Quality 100 (and above) gives step 8 everywhere, quality 1 (and 0 or
  // below, which cannot be coded) 255 everywhere.
  const std::pair<int32_t, int32_t> cases[] = {{100, 8}, {101, 8},  {1000, 8}, {INT32_MAX, 8},
                                               {1, 255}, {0, 255},  {-1, 255}, {INT32_MIN, 255}};
  for (const auto& [quality, step] : cases) {
    QuantTables t;
    video::quantTables(t, quality);
    for (int b = 0; b < 3; ++b) {
      for (int k = 0; k < 64; ++k) {
        ASSERT_EQ(t.step[b][k], scaled(step, k)) << "quality " << quality << " block " << b << " pos " << k;
        ASSERT_EQ(t.negated[b][k], -t.step[b][k]);
      }
    }
  }
}

TEST_F(IntraTest, QualityScalesTheBaseTables) {
  struct Case {
    int32_t quality;
    int block;
    int k;  // zigzag position
    int32_t step;
  };
  const Case cases[] = {
      {50, 0, 0, 16},  {50, 0, 1, 11},  {50, 0, 2, 12},  {50, 0, 5, 10},  {50, 0, 63, 99},
      {50, 0, 35, 72},  // natural 56: row 7, column 0
      {50, 0, 42, 55},  // natural 15: row 1, column 7
      {50, 1, 0, 17},  {50, 2, 0, 17},  {50, 1, 4, 21},  {50, 2, 63, 99}, {50, 1, 12, 56},
      {75, 0, 5, 8},   // 10 * 50 / 100 = 5, raised to 8
      {75, 0, 63, 50},  // (99 * 50 + 50) / 100
      {90, 0, 0, 8},   {90, 1, 63, 20},  // (99 * 20 + 50) / 100
      {25, 0, 0, 32},  {25, 1, 63, 198}, {10, 1, 63, 255},  // 99 * 500 / 100 held to 255
      {49, 0, 0, 16},  // (16 * 102 + 50) / 100
  };
  for (const Case& c : cases) {
    QuantTables t;
    video::quantTables(t, c.quality);
    EXPECT_EQ(t.step[c.block][c.k], scaled(c.step, c.k))
        << "quality " << c.quality << " block " << c.block << " pos " << c.k;
  }
}

TEST_F(IntraTest, ConstantTables) {
  const auto& t = video::intraTables;
  for (int k = 0; k < 64; ++k) EXPECT_EQ(t.zigzag[k], kZigzag[k]) << k;
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(video::kAanScale[i], aanScale(i)) << i;
    EXPECT_EQ(t.maskBits[i], (0x100 << (i / 8)) | (1 << (i % 8))) << i;
  }
  // RV and GU truncate toward zero, at j + 256.
  const std::pair<int, int> rv[] = {{-256, -408}, {-1, 0}, {0, 0}, {1, 2}, {-2, -2}, {42, 68}, {511, 818}};
  for (const auto& [j, v] : rv) EXPECT_EQ(t.redFromV[j + 256], v) << j;
  const std::pair<int, int> gu[] = {{-256, -85}, {-4, -1}, {-2, 0}, {2, 0}, {3, 1}, {511, 170}};
  for (const auto& [j, v] : gu) EXPECT_EQ(t.greenFromU[j + 256], v) << j;
  // Pixel tables at j + 64: half of j, green saturating one below the others.
  const std::pair<int, int> level[] = {{-64, 0}, {-1, 0}, {0, 0}, {3, 1}, {61, 30}, {62, 31}, {127, 31}};
  for (const auto& [j, v] : level) {
    EXPECT_EQ(t.red[j + 64], v << 10) << j;
    EXPECT_EQ(t.blue[j + 64], v) << j;
    EXPECT_EQ(t.green[j + 64], std::min(v, 30) << 5) << j;
  }
}

// ---- Colour conversion ----

TEST_F(IntraTest, ColourConversion) {
  struct Case {
    int32_t y, u, v;
    uint16_t pixel;
  };
  const Case cases[] = {
      {0, 0, 0, kGrey},
      // V >> 4 = -1: RV truncates to 0, so r = 136 >> 2 = 34 (level 17).
      {128, 0, -16, (17 << 10) | (17 << 5) | 17},
      // U >> 4 = -1: GU truncates to 0, so g = 135 >> 2 = 33 (level 16).
      {112, -16, 0, kGrey},
      // V = 680: RV[42] = 68, r = 49, g = (128 - 34) >> 2 = 23.
      {0, 0, 680, (24 << 10) | (11 << 5) | 16},
      // Blue takes U >> 3: (128 + 64) >> 2 = 48; GU[32] = 10, g = 118 >> 2.
      {0, 512, 0, (16 << 10) | (14 << 5) | 24},
      // Saturation both ways, indices far outside every table.
      {INT32_MAX, INT32_MAX, INT32_MAX, (31 << 10) | (30 << 5) | 31},
      {INT32_MIN, INT32_MIN, INT32_MIN, 0},
      {INT32_MAX, 0, 0, (31 << 10) | (30 << 5) | 31},
      {INT32_MIN, 0, 0, 0},
      {0, 0, INT32_MAX, (31 << 10) | 0 | 16},
      {0, INT32_MIN, 0, (16 << 10) | (26 << 5) | 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(video::convertPixel(c.y, c.u, c.v), c.pixel) << c.y << " " << c.u << " " << c.v;
  }
}

// ---- Coefficient code ----

struct Written {
  int k;  // zigzag position
  int32_t code;
};

// The block a code should give: code times the step at each position.
CoefficientBlock expected(const QuantTables& t, int b, std::initializer_list<Written> written) {
  CoefficientBlock e = {};
  for (const Written& w : written) {
    const int i = kZigzag[w.k];
    e.value[i] = w.code * t.step[b][w.k];
    e.mask |= (0x100u << (i / 8)) | (1u << (i % 8));
  }
  return e;
}

void expectBlock(const CoefficientBlock& got, const CoefficientBlock& want, const char* name) {
  EXPECT_EQ(got.mask, want.mask) << name;
  for (int i = 0; i < 64; ++i) EXPECT_EQ(got.value[i], want.value[i]) << name << " index " << i;
}

TEST_F(IntraTest, EachOpcodeWritesItsPositions) {
  struct Case {
    const char* name;
    std::vector<uint32_t> code;  // after the first byte value 3
    std::initializer_list<Written> written;
  };
  const Case cases[] = {
      {"0 ends", {0}, {}},
      {"1 skips 5", {1, 2, 0}, {{7, 1}}},
      {"2", {2, 0}, {{2, 1}}},
      {"3", {3, 0}, {{2, -1}}},
      {"4", {4, 0}, {{3, 1}}},
      {"5", {5, 0}, {{3, -1}}},
      {"6", {6, 0}, {{4, 1}}},
      {"7", {7, 0}, {{4, -1}}},
      {"2 twice", {2, 2, 0}, {{2, 1}, {4, 1}}},
      // a = 0b0111: skip 2, five values; the third nibble's low field unused.
      {"8 five", {8, 0b0111, 0b0001, 0b1011, 0b0011, 0}, {{3, 1}, {4, 2}, {5, -2}, {6, -1}, {7, 1}}},
      {"8 two", {8, 0b1000, 0b1110, 0}, {{4, -1}, {5, -2}}},
      {"8 four", {8, 0b1110, 0b0110, 0b1001, 0}, {{5, 2}, {6, -2}, {7, -2}, {8, 2}}},
      {"9 one", {9, 0b1100, 15, 0}, {{5, -1}}},
      {"9 three", {9, 0b0110, 0, 7, 8, 0}, {{3, 1}, {4, 8}, {5, -8}}},
      {"9 four", {9, 0b0011, 1, 2, 9, 14, 0}, {{2, 2}, {3, 3}, {4, -7}, {5, -2}}},
      {"10", {10, 0b1101, 0}, {{1, -1}, {2, 2}}},
      {"11", {11, 7, 11, 8, 0}, {{1, 8}, {2, -8}}},
      {"12", {12, 4, 12, 0}, {{1, 5}, {2, -4}}},
      {"13", {13, 0, 15, 3, 0}, {{1, 1}, {2, -1}, {3, 4}}},
      {"14 skips 1", {14, 11, 3, 0}, {{2, 4}}},
      {"15 min", {15, 8, 0, 0}, {{1, -128}}},
      {"15 max", {15, 7, 15, 0}, {{1, 127}}},
      {"15 minus one", {15, 15, 15, 0}, {{1, -1}}},
      {"15 zero still marks", {1, 15, 0, 0, 0}, {{6, 0}}},
  };
  QuantTables t;
  video::quantTables(t, 40);
  for (const Case& c : cases) {
    for (int b = 0; b < 3; ++b) {
      Coded coded;
      coded.byteValue(3);
      for (uint32_t n : c.code) coded.nibbles({n});
      coded.nibbles({9, 9, 9});  // a marker the block must not reach
      NibbleReader reader = coded.reader();
      CoefficientBlock block;
      video::decodeCoefficients(t, b, reader, block);
      CoefficientBlock want = expected(t, b, c.written);
      want.value[0] = 3 * t.step[b][0];
      want.mask |= 0x101;
      expectBlock(block, want, c.name);
      EXPECT_EQ(reader.position(), 2 + c.code.size()) << c.name;
    }
  }
}

TEST_F(IntraTest, FirstByteValueIsSigned) {
  const std::pair<int, int32_t> cases[] = {{0, 0}, {-128, -128}, {127, 127}, {-1, -1}, {16, 16}, {-16, -16}};
  QuantTables t;
  video::quantTables(t, 50);
  for (const auto& [value, code] : cases) {
    Coded coded;
    coded.byteValue(value).nibbles({0});
    NibbleReader reader = coded.reader();
    CoefficientBlock block;
    video::decodeCoefficients(t, 0, reader, block);
    EXPECT_EQ(block.value[0], code * t.step[0][0]) << value;
    EXPECT_EQ(block.mask, 0x101u) << value;
    EXPECT_EQ(reader.position(), 3u);
  }
}

// Decodes two blocks in a row: where the first ends, the second begins.
struct TwoBlocks {
  CoefficientBlock first, second;
  size_t consumed;
};
TwoBlocks decodeTwo(const QuantTables& t, Coded& coded) {
  TwoBlocks r;
  NibbleReader reader = coded.reader();
  video::decodeCoefficients(t, 0, reader, r.first);
  video::decodeCoefficients(t, 1, reader, r.second);
  r.consumed = reader.position();
  return r;
}

TEST_F(IntraTest, BlockEndsWhereItsLastPositionIsWritten) {
  QuantTables t;
  video::quantTables(t, 50);
  {
    // Opcode 13 writes positions 61..63; the next nibble starts block two.
    Coded coded;
    coded.byteValue(1).repeat(1, 12).nibbles({13, 1, 2, 3}).byteValue(-5).nibbles({0});
    const TwoBlocks r = decodeTwo(t, coded);
    expectBlock(r.first, expected(t, 0, {{0, 1}, {61, 2}, {62, 3}, {63, 4}}), "13 to 63");
    expectBlock(r.second, expected(t, 1, {{0, -5}}), "next block");
    EXPECT_EQ(r.consumed, 2 + 12 + 4 + 3u);
  }
  {
    // Skips reaching 64 make no test: the block waits for its opcode 0.
    Coded coded;
    coded.byteValue(1).repeat(1, 12).nibbles({14, 14, 14, 0}).byteValue(7).nibbles({0});
    const TwoBlocks r = decodeTwo(t, coded);
    expectBlock(r.first, expected(t, 0, {{0, 1}}), "skips to 64");
    expectBlock(r.second, expected(t, 1, {{0, 7}}), "after opcode 0");
    EXPECT_EQ(r.consumed, 2 + 12 + 4 + 3u);
  }
  {
    // Opcode 15 as the 64th value.
    Coded coded;
    coded.byteValue(1).repeat(1, 12).nibbles({14, 14, 15, 8, 1}).byteValue(2).nibbles({0});
    const TwoBlocks r = decodeTwo(t, coded);
    expectBlock(r.first, expected(t, 0, {{0, 1}, {63, -127}}), "15 at 63");
    expectBlock(r.second, expected(t, 1, {{0, 2}}), "next block");
  }
}

TEST_F(IntraTest, WritesPastTheLastPositionAreDroppedAndEndTheBlock) {
  struct Case {
    const char* name;
    std::vector<uint32_t> code;  // after the first byte value 1 and 12 skips of 5 (position 61)
    std::initializer_list<Written> written;
  };
  const Case cases[] = {
      // 62, 63 written, the third value dropped; its nibble is still the code's.
      {"13 across the end", {14, 13, 1, 2, 3}, {{62, 2}, {63, 3}}},
      {"12 then 13", {12, 0, 1, 13, 2, 3, 4}, {{61, 1}, {62, 2}, {63, 3}}},
      // Skipped past the end, then a single write: nothing stored.
      {"skips then 2", {1, 2}, {}},
      {"skips then 11", {1, 11, 5}, {}},
      {"7 past the end", {7}, {}},
      // Opcode 8 skipping to 63: one value of five stored, the rest dropped,
      // all three value nibbles consumed.
      {"8 across the end", {8, 0b0111, 0b0100, 0b1011, 0b0000}, {{63, 2}}},
      {"9 past the end", {1, 9, 0b0011, 1, 2, 3, 4}, {}},
      {"10 across the end", {14, 14, 10, 0b0110}, {{63, 2}}},
  };
  QuantTables t;
  video::quantTables(t, 20);
  for (const Case& c : cases) {
    Coded coded;
    coded.byteValue(1).repeat(1, 12);
    for (uint32_t n : c.code) coded.nibbles({n});
    coded.byteValue(-9).nibbles({0});
    const TwoBlocks r = decodeTwo(t, coded);
    CoefficientBlock want = expected(t, 0, c.written);
    want.value[0] = t.step[0][0];
    want.mask |= 0x101;
    expectBlock(r.first, want, c.name);
    expectBlock(r.second, expected(t, 1, {{0, -9}}), c.name);
    EXPECT_EQ(r.consumed, 2 + 12 + c.code.size() + 3) << c.name;
  }
}

TEST_F(IntraTest, StreamThatRunsOutReadsZeros) {
  QuantTables t;
  video::quantTables(t, 50);
  {
    // Nothing at all: byte value 0 and opcode 0 in every block.
    Coded coded;
    NibbleReader reader = coded.reader();
    uint16_t pixels[64];
    video::decodeMacroblock(t, reader, pixels, 8);
    for (uint16_t p : pixels) EXPECT_EQ(p, kGrey);
  }
  {
    // Opcode 13 cut after its first operand: the missing ones read as 0 (+1).
    Coded coded;
    coded.byteValue(2).nibbles({13, 7});
    NibbleReader reader = coded.reader();
    CoefficientBlock block;
    video::decodeCoefficients(t, 0, reader, block);
    expectBlock(block, expected(t, 0, {{0, 2}, {1, 8}, {2, 1}, {3, 1}}), "cut short");
  }
}

// ---- Inverse transform ----

TEST(IntraTransform, OneDimensionalTransform) {
  // Outputs worked out by hand from the transform's steps, for each single
  // coefficient (scaled by f(k)) and a few mixed rows of both signs.
  struct Case {
    int32_t in[8], out[8];
  };
  const Case cases[] = {
      {{1024, 0, 0, 0, 0, 0, 0, 0}, {1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024}},
      {{0, 1420, 0, 0, 0, 0, 0, 0}, {1420, 1242, 888, 266, -266, -888, -1242, -1420}},
      {{0, 0, 1338, 0, 0, 0, 0, 0}, {1338, 669, -669, -1338, -1338, -669, 669, 1338}},
      {{0, 0, 0, 1204, 0, 0, 0, 0}, {1204, -452, -1354, -903, 903, 1354, 452, -1204}},
      {{0, 0, 0, 0, 1024, 0, 0, 0}, {1024, -1024, -1024, 1024, 1024, -1024, -1024, 1024}},
      {{0, 0, 0, 0, 0, 805, 0, 0}, {805, -1309, 101, 1409, -1409, -101, 1309, -805}},
      {{0, 0, 0, 0, 0, 0, 554, 0}, {554, -1385, 1385, -554, -554, 1385, -1385, 554}},
      {{0, 0, 0, 0, 0, 0, 0, 283}, {283, -814, 1238, -1467, 1467, -1238, 814, -283}},
      {{-1448, 0, 0, -1420, 0, 0, 0, -283}, {-3151, -102, -1089, 1086, -3982, -1807, -2794, 255}},
      {{100, -37, 55, -9, 13, -101, 7, -3}, {25, 240, 39, -111, 213, 115, -46, 325}},
      {{-1, -1, -1, -1, -1, -1, -1, -1}, {-8, 6, -6, 4, -4, 2, -2, 0}},
  };
  for (const Case& c : cases) {
    for (int stride : {1, 8}) {
      int32_t v[64] = {};
      for (int n = 0; n < 8; ++n) v[n * stride] = c.in[n];
      video::transform8(v, stride);
      for (int n = 0; n < 8; ++n) EXPECT_EQ(v[n * stride], c.out[n]) << "input " << c.in[0] << " out " << n;
    }
  }
}

// Every row and column transformed, in the given order.
void fullTransform(int32_t (&block)[64], bool columnsFirst) {
  for (int pass = 0; pass < 2; ++pass) {
    const bool columns = (pass == 0) == columnsFirst;
    for (int n = 0; n < 8; ++n) {
      if (columns) {
        video::transform8(block + n, 8);
      } else {
        video::transform8(block + 8 * n, 1);
      }
    }
  }
}

TEST(IntraTransform, MaskChoosesOrderAndSkipsEmptyRowsAndColumns) {
  struct Case {
    const char* name;
    uint32_t rows, columns;
    bool columnsFirst;
  };
  const Case cases[] = {
      {"DC only", 0x01, 0x01, true},
      {"column 0 only", 0x1F, 0x01, true},
      {"column 0, all rows", 0xFF, 0x01, false},  // row 7 makes R negative
      {"row 0 only", 0x01, 0x3F, false},
      {"row 0, all columns", 0x01, 0xFF, true},  // column 7 makes C negative
      {"square", 0x07, 0x07, true},
      {"wide", 0x03, 0x0F, false},
      {"tall", 0x0F, 0x03, true},
      {"sparse rows", 0x41, 0x23, true},
      {"all", 0xFF, 0xFF, true},
      {"row 7 and a wide corner", 0x81, 0x7F, false},
      {"column 7 and rows", 0x3F, 0x81, true},
  };
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> value(-125568, 125568);
  for (const Case& c : cases) {
    for (int trial = 0; trial < 20; ++trial) {
      int32_t block[64] = {};
      for (int i = 0; i < 64; ++i) {
        if (((c.rows >> (i / 8)) & (c.columns >> (i % 8)) & 1) != 0) block[i] = value(random);
      }
      int32_t want[64];
      std::copy(std::begin(block), std::end(block), want);
      fullTransform(want, c.columnsFirst);
      video::inverseTransform(block, (c.rows << 8) | c.columns);
      for (int i = 0; i < 64; ++i) ASSERT_EQ(block[i], want[i]) << c.name << " index " << i;
    }
  }
}

TEST(IntraTransform, DcOnlyBlockIsFilled) {
  for (int32_t dc : {0, 1, -1, 125568, -125568}) {
    int32_t block[64] = {dc};
    video::inverseTransform(block, 0x101);
    for (int32_t v : block) EXPECT_EQ(v, dc);
  }
}

// ---- Macroblocks ----

TEST_F(IntraTest, MacroblockWritesEightRowsAtTheStride) {
  QuantTables t;
  video::quantTables(t, 50);
  Coded coded;
  // Y flat 10 (32 per unit: 320, level 148), U 0, V flat 20 (34: 680).
  coded.byteValue(10).nibbles({0}).byteValue(0).nibbles({0}).byteValue(20).nibbles({0});
  coded.byteValue(0).nibbles({0});  // the next macroblock's Y
  NibbleReader reader = coded.reader();
  constexpr int kStride = 13;
  std::vector<uint16_t> pixels(kStride * 9, 0xFFFF);
  video::decodeMacroblock(t, reader, pixels.data() + 2, kStride);
  // r = (148 + 68) >> 2 = 54, g = (148 - 34) >> 2 = 28, b = 148 >> 2 = 37.
  const uint16_t colour = (27 << 10) | (14 << 5) | 18;
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < kStride; ++col) {
      const bool inside = row < 8 && col >= 2 && col < 10;
      EXPECT_EQ(pixels[row * kStride + col], inside ? colour : 0xFFFF) << row << " " << col;
    }
  }
  EXPECT_EQ(reader.position(), 9u);
}

TEST_F(IntraTest, MacroblockFollowsTheTransformedValues) {
  // A Y block with a horizontal ramp: the pixels darken left to right and
  // stay equal down each column.
  QuantTables t;
  video::quantTables(t, 50);
  Coded coded;
  coded.byteValue(0).nibbles({11, 7, 0}).byteValue(0).nibbles({0}).byteValue(0).nibbles({0});
  NibbleReader reader = coded.reader();
  uint16_t pixels[64];
  video::decodeMacroblock(t, reader, pixels, 8);
  for (int col = 0; col < 8; ++col) {
    for (int row = 1; row < 8; ++row) EXPECT_EQ(pixels[8 * row + col], pixels[col]);
  }
  for (int col = 1; col < 8; ++col) EXPECT_LE(pixels[col] & 31, pixels[col - 1] & 31);
  EXPECT_GT(pixels[0] & 31, 16);
  EXPECT_LT(pixels[7] & 31, 16);
}

TEST_F(IntraTest, HostileStreamsStayInBounds) {
  // Random nibbles and the largest coefficients of both signs at the
  // coarsest quality: any overflow is a sanitizer failure, and every pixel
  // keeps its top bit clear.
  QuantTables t;
  video::quantTables(t, 1);
  std::mt19937 random(11);
  for (int trial = 0; trial < 2; ++trial) {
    Coded coded;
    for (int m = 0; m < 40; ++m) {
      for (int b = 0; b < 3; ++b) {
        if (trial == 0) {
          for (int n = 0; n < 60; ++n) coded.nibbles({static_cast<uint32_t>(random() & 15)});
        } else {
          coded.byteValue(random() & 1 ? 127 : -128);
          for (int k = 1; k < 64; ++k) coded.nibbles({15}).byteValue(random() & 1 ? 127 : -128);
        }
      }
    }
    NibbleReader reader = coded.reader();
    for (int m = 0; m < 40; ++m) {
      uint16_t pixels[64];
      video::decodeMacroblock(t, reader, pixels, 8);
      for (uint16_t p : pixels) ASSERT_EQ(p & 0x8000, 0);
    }
  }
}

}  // namespace

namespace {

// The unclamped conversion of ordinary macroblocks gives exactly the pixel
// of the clamped one, over the whole of its range.
TEST(IntraColour, WideTablesGiveTheClampedPixels) {
  for (int32_t y = -video::kWideY; y < video::kWideY; y += 131) {
    for (int32_t u = -video::kWideU; u < video::kWideU; u += 61) {
      for (int32_t v = -video::kWideV; v < video::kWideV; v += 97) {
        ASSERT_EQ(video::outsideWideTables(y, u, v), 0u);
        ASSERT_EQ(video::convertWidePixel(y, u, v), video::convertPixel(y, u, v)) << y << " " << u << " " << v;
      }
    }
  }
  EXPECT_NE(video::outsideWideTables(video::kWideY, 0, 0), 0u);
  EXPECT_NE(video::outsideWideTables(0, -video::kWideU - 1, 0), 0u);
  EXPECT_NE(video::outsideWideTables(0, 0, video::kWideV), 0u);
  EXPECT_NE(video::outsideWideTables(INT32_MIN, 0, 0), 0u);
}

}  // namespace
