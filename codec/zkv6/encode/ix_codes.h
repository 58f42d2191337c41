// The IX partition codes as the encoder writes them, and the fields that
// name a copy: which piece sizes take which code in each coding, and how a
// source region (picture, first pixel, transform) is spelt as a zero copy, a
// short code, a long vector word or a small-piece word.
#pragma once

#include <cstdint>

#include "partition_codes.h"
#include "pictures.h"

namespace zkv6enc::ix {

using namespace zkv6::ix;

constexpr int kStride = video::kIxWidth;
constexpr int32_t kPixels = video::kIxWidth * video::kIxHeight;

// A code of codeStream: length bits of value, most significant first;
// length -1 where the piece has no such code.
struct Code {
  uint8_t value = 0;
  int8_t length = -1;
  bool valid() const { return length >= 0; }
};

// A split and the code that asks for it.
struct SplitCode : Split {
  Code code;
};

// The format's code rows of one piece, by what they ask for.
struct PieceCodes {
  Code shortVector, longVector, zeroCopy, intra, smallWord;
  int splitCount;
  SplitCode split[3];
};

const PieceCodes& pieceCodes(bool selfContained, Piece p);

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

}  // namespace zkv6enc::ix
