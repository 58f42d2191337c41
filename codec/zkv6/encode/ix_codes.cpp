#include "ix_codes.h"

#include <array>

#include "copy_tables.h"
#include "vector_word.h"

namespace zkv6enc::ix {

namespace {

// The rows of one table, gathered by op in row order.
constexpr PieceCodes gather(const CodeTable& table) {
  PieceCodes out{};
  out.splitCount = 0;
  for (int k = 0; k < table.count; ++k) {
    const CodeRow& row = table.row[k];
    const Code code{row.code, static_cast<int8_t>(row.length)};
    switch (row.op) {
      case Op::shortVector: out.shortVector = code; break;
      case Op::longVector: out.longVector = code; break;
      case Op::zeroCopy: out.zeroCopy = code; break;
      case Op::intra: out.intra = code; break;
      case Op::smallWord: out.smallWord = code; break;
      case Op::split: out.split[out.splitCount++] = {*row.split, code}; break;
      case Op::invalid: break;
    }
  }
  return out;
}

constexpr std::array<PieceCodes, kPieceCount> kPredictedCodes = perPiece(kPredicted, gather);
constexpr std::array<PieceCodes, kPieceCount> kSelfContainedCodes = perPiece(kSelfContained, gather);

constexpr int kShortSide = 64;  // short vectors: -31..32 each way

// The inverse of the decoder's short code table: the code of each vector,
// by (dy + 31) * 64 + dx + 31.
constexpr auto kShortCodeOf = [] {
  std::array<int16_t, kShortSide * kShortSide> codes{};
  const video::CodeOffsets spiral = video::buildSpiralTable();
  for (int k = 0; k < video::kCodeCount; ++k) {
    const int32_t index = spiral[k] + 31 * (kStride + 1);
    codes[(index / kStride) * kShortSide + index % kStride] = static_cast<int16_t>(k);
  }
  return codes;
}();

int floorDiv(int32_t a, int32_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The short code of the vector d (in pixels), or -1.
int shortCode(int32_t d) {
  const int32_t index = d + 31 * (kStride + 1);
  if (index < 0 || index >= kShortSide * kStride || index % kStride >= kShortSide) return -1;
  return kShortCodeOf[(index / kStride) * kShortSide + index % kStride];
}

// A small-piece offset rel from the block, split as dy * 640 + dx with dx
// in [-half, half); false when dy is outside [lowDy, highDy].
bool nearOffset(int32_t rel, int half, int lowDy, int highDy, int& dx, int& dy) {
  dy = floorDiv(rel + half, kStride);
  dx = rel - dy * kStride;
  return dx < half && dy >= lowDy && dy <= highDy;
}

void consider(Encoding& best, bool& found, const Encoding& e) {
  if (!found || e.bits < best.bits) best = e;
  found = true;
}

}  // namespace

const PieceCodes& pieceCodes(bool selfContained, Piece p) {
  return (selfContained ? kSelfContainedCodes : kPredictedCodes)[p];
}

bool encodeCopy(bool selfContained, Piece p, const Place& place, const Copy& copy, Encoding& out) {
  const PieceCodes& codes = pieceCodes(selfContained, p);
  if (selfContained && !copy.fromCurrent) return false;
  bool found = false;
  const auto t = static_cast<uint32_t>(copy.t);
  if (!copy.fromCurrent && t == 0) {
    if (codes.zeroCopy.valid() && copy.start == place.piece()) {
      consider(out, found, {Op::zeroCopy, codes.zeroCopy, 0, 0, 0, codes.zeroCopy.length});
    }
    const int k = codes.shortVector.valid() ? shortCode(copy.start - place.piece()) : -1;
    if (k >= 0) {
      consider(out, found, {Op::shortVector, codes.shortVector, static_cast<uint32_t>(k), 0, 0,
                            codes.shortVector.length + 12});
    }
  }
  if (codes.longVector.valid() && copy.start >= 0) {
    const int sx = copy.start % kStride, sy = copy.start / kStride;
    const int x = ((place.x0 + 128 - sx) % kStride + kStride) % kStride;
    const int rowBase = copy.fromCurrent ? (p == k8x8 ? 0 : 4) : 64;
    const int y = place.y0 + rowBase - sy;
    if (x <= 255 && y >= 0 && y <= 127 &&
        (place.y0 + rowBase - y) * kStride + video::ix::column(place.x0 - x) == copy.start) {
      const int transformBits = selfContained ? 2 : 3;
      const uint32_t flag = selfContained ? (t & 1) : (copy.fromCurrent ? 1 : 0);
      const uint32_t word = zkv6::VectorWord::longVector(x, y, flag).bits;
      consider(out, found, {Op::longVector, codes.longVector, word, transformBits,
                            selfContained ? t >> 1 : t, codes.longVector.length + transformBits + 16});
    }
  }
  if (codes.smallWord.valid()) {
    const int32_t rel = copy.start - place.block();
    int dx = 0, dy = 0;
    int code = -1;
    if (!copy.fromCurrent && nearOffset(rel, 32, -32, 31, dx, dy)) code = (31 - dy) * 64 + (31 - dx);
    if (copy.fromCurrent && nearOffset(rel, 64, -25, 6, dx, dy)) code = (6 - dy) * 128 + (63 - dx);
    if (code >= 0) {
      const uint32_t flag = !selfContained && copy.fromCurrent ? 1 : 0;
      const uint32_t word = zkv6::VectorWord::smallPiece(static_cast<uint32_t>(code), t, flag).bits;
      consider(out, found, {Op::smallWord, codes.smallWord, word, 0, 0, codes.smallWord.length + 16});
    }
  }
  return found;
}

}  // namespace zkv6enc::ix
