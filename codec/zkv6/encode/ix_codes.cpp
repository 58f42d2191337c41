#include "ix_codes.h"

#include "copy_tables.h"

namespace zkv6enc::ix {

namespace {

constexpr Code c(uint8_t value, int8_t length) { return {value, length}; }
constexpr Code kNone{};

constexpr Split kTopBottom8x4{c(0, 0), k8x4, 2, {0, 0}, {0, 4}};
constexpr Split kLeftRight4x8{c(0, 0), k4x8, 2, {0, 4}, {0, 0}};
constexpr Split kQuadrants4x4{c(0, 0), k4x4, 4, {0, 4, 0, 4}, {0, 0, 4, 4}};
constexpr Split kLeftRight4x4{c(0, 0), k4x4, 2, {0, 4}, {0, 0}};
constexpr Split kTopBottom4x4{c(0, 0), k4x4, 2, {0, 0}, {0, 4}};
constexpr Split kTopBottom4x2{c(0, 0), k4x2, 2, {0, 0}, {0, 2}};
constexpr Split kLeftRight2x4{c(0, 0), k2x4, 2, {0, 2}, {0, 0}};
constexpr Split kQuadrants2x2{c(0, 0), k2x2, 4, {0, 2, 0, 2}, {0, 0, 2, 2}};
constexpr Split kLeftRight2x2{c(0, 0), k2x2, 2, {0, 2}, {0, 0}};
constexpr Split kTopBottom2x2{c(0, 0), k2x2, 2, {0, 0}, {0, 2}};

constexpr Split with(Split s, Code code) {
  s.code = code;
  return s;
}

// Fields: shortVector, longVector, zeroCopy, intra, smallWord, splits.
constexpr PieceCodes kPredicted[kPieceCount] = {
    {c(0b00, 2), c(0b010, 3), c(0b110, 3), c(0b011, 3), kNone, 3,
     {with(kTopBottom8x4, c(0b100, 3)), with(kLeftRight4x8, c(0b101, 3)), with(kQuadrants4x4, c(0b1110, 4))}},
    {c(0b00, 2), c(0b01, 2), c(0b11, 2), kNone, kNone, 1, {with(kLeftRight4x4, c(0b10, 2))}},
    {c(0b00, 2), c(0b01, 2), c(0b11, 2), kNone, kNone, 1, {with(kTopBottom4x4, c(0b10, 2))}},
    {c(0b00, 2), c(0b01, 2), c(0b100, 3), kNone, kNone, 3,
     {with(kTopBottom4x2, c(0b101, 3)), with(kLeftRight2x4, c(0b110, 3)), with(kQuadrants2x2, c(0b111, 3))}},
    {c(0b0, 1), kNone, c(0b110, 3), kNone, c(0b10, 2), 1, {with(kLeftRight2x2, c(0b111, 3))}},
    {c(0b0, 1), kNone, c(0b110, 3), kNone, c(0b10, 2), 1, {with(kTopBottom2x2, c(0b111, 3))}},
    {c(0b0, 1), kNone, c(0b11, 2), kNone, c(0b10, 2), 0, {}},
};

constexpr PieceCodes kSelfContained[kPieceCount] = {
    {kNone, c(0b111, 3), kNone, c(0b110, 3), kNone, 3,
     {with(kTopBottom8x4, c(0b00, 2)), with(kLeftRight4x8, c(0b01, 2)), with(kQuadrants4x4, c(0b10, 2))}},
    {kNone, c(0b1, 1), kNone, kNone, kNone, 1, {with(kLeftRight4x4, c(0b0, 1))}},
    {kNone, c(0b1, 1), kNone, kNone, kNone, 1, {with(kTopBottom4x4, c(0b0, 1))}},
    {kNone, c(0b00, 2), kNone, kNone, kNone, 3,
     {with(kTopBottom4x2, c(0b01, 2)), with(kLeftRight2x4, c(0b10, 2)), with(kQuadrants2x2, c(0b11, 2))}},
    {kNone, kNone, kNone, kNone, c(0b0, 1), 1, {with(kLeftRight2x2, c(0b1, 1))}},
    {kNone, kNone, kNone, kNone, c(0b0, 1), 1, {with(kTopBottom2x2, c(0b1, 1))}},
    {kNone, kNone, kNone, kNone, c(0, 0), 0, {}},
};

constexpr int kShortSide = 64;  // short vectors: -31..32 each way
int16_t shortCodeOf[kShortSide * kShortSide];

int floorDiv(int32_t a, int32_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The short code of the vector d (in pixels), or -1.
int shortCode(int32_t d) {
  const int32_t index = d + 31 * (kStride + 1);
  if (index < 0 || index >= kShortSide * kStride || index % kStride >= kShortSide) return -1;
  return shortCodeOf[(index / kStride) * kShortSide + index % kStride];
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

const PieceCodes& pieceCodes(bool selfContained, Piece p) { return (selfContained ? kSelfContained : kPredicted)[p]; }

void initShortCodes() {
  for (int k = 0; k < video::kCodeCount; ++k) {
    const int32_t index = video::spiralTable[k] + 31 * (kStride + 1);
    shortCodeOf[(index / kStride) * kShortSide + index % kStride] = static_cast<int16_t>(k);
  }
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
      const uint32_t word = (flag << 15) | static_cast<uint32_t>(x << 7) | static_cast<uint32_t>(y);
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
      const uint32_t word = (flag << 15) | (t << 12) | static_cast<uint32_t>(code);
      consider(out, found, {Op::smallWord, codes.smallWord, word, 0, 0, codes.smallWord.length + 16});
    }
  }
  return found;
}

}  // namespace zkv6enc::ix
