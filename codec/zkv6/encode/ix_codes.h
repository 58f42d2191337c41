// The IX partition codes as the encoder writes them, and the fields that
// name a copy: which piece sizes take which code in each coding, and how a
// source region (picture, first pixel, transform) is spelt as a zero copy, a
// short code, a long vector word or a small-piece word.
#pragma once

#include <cstdint>

namespace zkv6enc::ix {

constexpr int kStride = 640;
constexpr int32_t kPixels = 640 * 480;

enum Piece : uint8_t { k8x8, k8x4, k4x8, k4x4, k4x2, k2x4, k2x2, kPieceCount };
constexpr int kPieceWidth[kPieceCount] = {8, 8, 4, 4, 4, 2, 2};
constexpr int kPieceHeight[kPieceCount] = {8, 4, 8, 4, 2, 4, 2};

// A code of codeStream: length bits of value, most significant first;
// length -1 where the piece has no such code.
struct Code {
  uint8_t value = 0;
  int8_t length = -1;
  bool valid() const { return length >= 0; }
};

// The pieces a piece splits into, in decoding order, at offsets from its
// top-left, and the code that asks for them.
struct Split {
  Code code;
  Piece child;
  int count;
  int dx[4], dy[4];
};

struct PieceCodes {
  Code shortVector, longVector, zeroCopy, intra, smallWord;
  int splitCount;
  Split split[3];
};

const PieceCodes& pieceCodes(bool selfContained, Piece p);

enum class Op : uint8_t { zeroCopy, shortVector, longVector, smallWord, intra, split };

// A source region: in current or reference, its first pixel and the
// transform the piece is copied with.
struct Copy {
  bool fromCurrent = false;
  int32_t start = 0;
  int t = 0;
};

// How a copy is written: the op, its codeStream code and the field after
// it (short code or vector word; the transform bits follow a long vector's
// code), and the bits all of that takes.
struct Encoding {
  Op op = Op::zeroCopy;
  Code code;
  uint32_t field = 0;
  int transformBits = 0;
  uint32_t transform = 0;
  int bits = 0;
};

// The block whose top-left pixel is (x0, y0) and a piece of it at (px, py).
struct Place {
  int x0, y0, px, py;
  int32_t block() const { return y0 * kStride + x0; }
  int32_t piece() const { return (y0 + py) * kStride + x0 + px; }
};

// The cheapest way the piece p at place can name copy; false when no code of
// the coding reaches that source with that transform.
bool encodeCopy(bool selfContained, Piece p, const Place& place, const Copy& copy, Encoding& out);

// Builds the inverse of the short code table; after initVideoTables.
void initShortCodes();

}  // namespace zkv6enc::ix
