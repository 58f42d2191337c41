// The partition codes of IX pictures: for each piece size and each coding,
// the codes of codeStream as (code, length) rows, most significant bit
// first, with what each asks for. The decoder reads them; the encoder writes
// them. Each table is a complete prefix code.
#pragma once

#include <array>
#include <cstdint>

namespace zkv6::ix {

enum Piece : uint8_t { k8x8, k8x4, k4x8, k4x4, k4x2, k2x4, k2x2, kPieceCount };
constexpr int kPieceWidth[kPieceCount] = {8, 8, 4, 4, 4, 2, 2};
constexpr int kPieceHeight[kPieceCount] = {8, 4, 8, 4, 2, 4, 2};

// The pieces a piece splits into, in decoding order, at offsets from its
// top-left.
struct Split {
  Piece child;
  int count;
  int dx[4], dy[4];
};
constexpr Split kTopBottom8x4 = {k8x4, 2, {0, 0}, {0, 4}};
constexpr Split kLeftRight4x8 = {k4x8, 2, {0, 4}, {0, 0}};
constexpr Split kQuadrants4x4 = {k4x4, 4, {0, 4, 0, 4}, {0, 0, 4, 4}};
constexpr Split kLeftRight4x4 = {k4x4, 2, {0, 4}, {0, 0}};
constexpr Split kTopBottom4x4 = {k4x4, 2, {0, 0}, {0, 4}};
constexpr Split kTopBottom4x2 = {k4x2, 2, {0, 0}, {0, 2}};
constexpr Split kLeftRight2x4 = {k2x4, 2, {0, 2}, {0, 0}};
constexpr Split kQuadrants2x2 = {k2x2, 4, {0, 2, 0, 2}, {0, 0, 2, 2}};
constexpr Split kLeftRight2x2 = {k2x2, 2, {0, 2}, {0, 0}};
constexpr Split kTopBottom2x2 = {k2x2, 2, {0, 0}, {0, 2}};

// shortVector: a 12-bit code of shortCodeStream. longVector: transform bits
// in codeStream, then a long vector word. smallWord: a small-piece word.
// zeroCopy: the same piece of reference. invalid: ends the picture.
enum class Op : uint8_t { shortVector, longVector, zeroCopy, intra, smallWord, split, invalid };

// One partition code: length bits of code, what it does, the transform bits
// that follow it in codeStream, and the split it names.
struct CodeRow {
  uint8_t code, length;
  Op op;
  int transformBits = 0;
  const Split* split = nullptr;
};
struct CodeTable {
  int count;
  CodeRow row[8];
};
constexpr int kLongestCode = 4;

// What f makes of each piece's table of one coding, by piece.
template <typename F>
constexpr auto perPiece(const CodeTable (&tables)[kPieceCount], F f) {
  std::array<decltype(f(tables[0])), kPieceCount> out{};
  for (int p = 0; p < kPieceCount; ++p) out[p] = f(tables[p]);
  return out;
}

inline constexpr CodeTable kPredicted[kPieceCount] = {
    {8,
     {{0b00, 2, Op::shortVector},
      {0b010, 3, Op::longVector, 3},
      {0b011, 3, Op::intra},
      {0b100, 3, Op::split, 0, &kTopBottom8x4},
      {0b101, 3, Op::split, 0, &kLeftRight4x8},
      {0b110, 3, Op::zeroCopy},
      {0b1110, 4, Op::split, 0, &kQuadrants4x4},
      {0b1111, 4, Op::invalid}}},
    {4,
     {{0b00, 2, Op::shortVector},
      {0b01, 2, Op::longVector, 3},
      {0b10, 2, Op::split, 0, &kLeftRight4x4},
      {0b11, 2, Op::zeroCopy}}},
    {4,
     {{0b00, 2, Op::shortVector},
      {0b01, 2, Op::longVector, 3},
      {0b10, 2, Op::split, 0, &kTopBottom4x4},
      {0b11, 2, Op::zeroCopy}}},
    {6,
     {{0b00, 2, Op::shortVector},
      {0b01, 2, Op::longVector, 3},
      {0b100, 3, Op::zeroCopy},
      {0b101, 3, Op::split, 0, &kTopBottom4x2},
      {0b110, 3, Op::split, 0, &kLeftRight2x4},
      {0b111, 3, Op::split, 0, &kQuadrants2x2}}},
    {4,
     {{0b0, 1, Op::shortVector},
      {0b10, 2, Op::smallWord},
      {0b110, 3, Op::zeroCopy},
      {0b111, 3, Op::split, 0, &kLeftRight2x2}}},
    {4,
     {{0b0, 1, Op::shortVector},
      {0b10, 2, Op::smallWord},
      {0b110, 3, Op::zeroCopy},
      {0b111, 3, Op::split, 0, &kTopBottom2x2}}},
    {3, {{0b0, 1, Op::shortVector}, {0b10, 2, Op::smallWord}, {0b11, 2, Op::zeroCopy}}},
};

// Every source is current; the long vectors' transforms take their low bit
// from the vector word's flag, and 2x2 pieces have no code of their own.
inline constexpr CodeTable kSelfContained[kPieceCount] = {
    {5,
     {{0b00, 2, Op::split, 0, &kTopBottom8x4},
      {0b01, 2, Op::split, 0, &kLeftRight4x8},
      {0b10, 2, Op::split, 0, &kQuadrants4x4},
      {0b110, 3, Op::intra},
      {0b111, 3, Op::longVector, 2}}},
    {2, {{0b0, 1, Op::split, 0, &kLeftRight4x4}, {0b1, 1, Op::longVector, 2}}},
    {2, {{0b0, 1, Op::split, 0, &kTopBottom4x4}, {0b1, 1, Op::longVector, 2}}},
    {4,
     {{0b00, 2, Op::longVector, 2},
      {0b01, 2, Op::split, 0, &kTopBottom4x2},
      {0b10, 2, Op::split, 0, &kLeftRight2x4},
      {0b11, 2, Op::split, 0, &kQuadrants2x2}}},
    {2, {{0b0, 1, Op::smallWord}, {0b1, 1, Op::split, 0, &kLeftRight2x2}}},
    {2, {{0b0, 1, Op::smallWord}, {0b1, 1, Op::split, 0, &kTopBottom2x2}}},
    {1, {{0, 0, Op::smallWord}}},
};

}  // namespace zkv6::ix
