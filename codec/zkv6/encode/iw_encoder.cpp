// The IW panorama encoder. Each 8x8 block, in the decoder's order, takes the
// cheapest of: an intra block, a long vector (any transform) from the part
// already decoded, or four quadrants each a long vector or four 2x2 pieces.
// Cheapest means least error plus lambda times the bits of the codes, with
// lambda growing as the quality falls. The reconstruction is made by the
// decoder's own copy routines and the intra blocks' decoded pixels, so it is
// exactly what decodeIWPicture makes of the payload.
#include "iw_encoder.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "block_transform.h"
#include "copy_tables.h"
#include "intra_encoder.h"
#include "iw_search.h"
#include "picture_error.h"
#include "pictures.h"
#include "stream_writer.h"
#include "vector_word.h"

namespace zkv6enc {

namespace {

constexpr int kStride = video::kIwWidth;
constexpr int32_t kPixels = video::kIwWidth * video::kIwHeight;
constexpr int kBlockColumns = video::kIwWidth / 8;
constexpr int kQuarterX[4] = {0, 4, 0, 4};
constexpr int kQuarterY[4] = {0, 0, 4, 4};

// Bits of each code: codeStream bits, vector words, 2x2 groups.
constexpr int kVectorBits = 2 + 2 + 16;
constexpr int kQuadrantVectorBits = 1 + 2 + 16;
constexpr int kGroupBits = 1 + 48;
constexpr int kSplitBits = 1;
// Code 11 and three coefficient blocks of a byte value and an end each.
constexpr int kShortestIntraBits = 2 + 4 * 9;

// Error units per bit: squared 5-bit component differences.
double lambdaFor(int quality) {
  return 0.25 * std::pow(1.045, 100 - std::clamp(quality, 1, 100));
}

struct Quadrant {
  bool group = false;
  IwVector vector;
  IwGroup pieces;
};

enum class Mode { kIntra, kVector, kSplit };

class IwEncoder {
 public:
  IwEncoder(const uint16_t* source, int quality, const IwOptions& options, IwStatistics& statistics)
      : source_(source),
        quality_(quality),
        lambda_(lambdaFor(quality)),
        intra_(quality),
        reconstruction_(kPixels, 0),
        search_(source, reconstruction_.data(), options),
        groups_(options.groups),
        statistics_(statistics),
        above_(kBlockColumns) {}

  EncodedPicture run() {
    for (int y0 = 0; y0 < video::kIwHeight; y0 += 8) {
      for (int x0 = 0; x0 < video::kIwWidth; x0 += 8) block(x0, y0);
    }
    return {writer_.payload(quality_), std::move(reconstruction_)};
  }

 private:
  uint16_t* at(int32_t index) { return reconstruction_.data() + index; }

  void block(int x0, int y0) {
    search_.startBlock(x0, y0);
    const int32_t start = search_.blockStart();
    // The left and upper neighbours and their vectors: when one of them
    // copies so well that no intra code could cost less, none is made.
    IwVector hints[4] = {{136, 0, 0, 0}, {128, 8, 0, 0}};
    int hintCount = 2;
    if (x0 > 0 && left_.error >= 0) hints[hintCount++] = left_;
    if (above_[x0 / 8].error >= 0) hints[hintCount++] = above_[x0 / 8];
    const IwVector hinted = search_.bestHint(8, 0, 0, hints, hintCount, INT64_MAX);
    IntraCode intra{};
    double intraCost = HUGE_VAL;
    if (hinted.error < 0 || cost(hinted.error, kVectorBits) > lambda_ * kShortestIntraBits) {
      intra = intra_.encode(source_ + start, kStride);
      intraCost = cost(pieceError(source_ + start, kStride, intra.reconstruction, 8, 8, 8),
                       2 + 4 * static_cast<int>(intra.nibbles.size()));
    }
    int64_t limit = errorBelow(intraCost, kVectorBits);
    if (hinted.error >= 0) limit = std::min(limit, hinted.error + 1);
    const IwVector vector = search_.bestVector(8, 0, 0, hints, hintCount, limit);
    const double vectorCost = vector.error >= 0 ? cost(vector.error, kVectorBits) : HUGE_VAL;
    const double best = std::min(intraCost, vectorCost);

    Quadrant quadrants[4];
    Mode mode = vectorCost < intraCost ? Mode::kVector : Mode::kIntra;
    if (best > lambda_ * (kSplitBits + 4 * kQuadrantVectorBits) && split(vector, best, quadrants)) {
      mode = Mode::kSplit;
    } else if (mode == Mode::kVector) {
      copy(video::pieceCopies<8, 8, kStride>, vector.t, start, search_.vectorStart(0, vector.x, vector.y));
    } else {
      for (int row = 0; row < 8; ++row) {
        std::memcpy(at(start + row * kStride), intra.reconstruction + 8 * row, 8 * sizeof(uint16_t));
      }
    }
    search_.markDecoded(0, 0, 8);
    write(mode, intra, vector, quadrants);
    left_ = mode == Mode::kVector ? vector : IwVector{};
    above_[x0 / 8] = left_;
  }

  // Tries the four quadrants, copying each into the reconstruction as it is
  // chosen; true when together they cost less than best.
  bool split(const IwVector& vector, double best, Quadrant (&quadrants)[4]) {
    double total = lambda_ * kSplitBits;
    for (int q = 0; q < 4 && total < best; ++q) {
      const int qx = kQuarterX[q], qy = kQuarterY[q];
      IwVector hints[3];
      int hintCount = 0;
      // The block's own best vector, and its neighbours', moved to the quadrant.
      for (const IwVector& v : {vector, left_, above_[search_.blockStart() % kStride / 8]}) {
        if (v.error >= 0) hints[hintCount++] = {v.x - qx, v.y + 4 - qy, v.t, 0};
      }
      Quadrant& quadrant = quadrants[q];
      quadrant.vector = search_.bestVector(4, qx, qy, hints, hintCount, errorBelow(best - total, kQuadrantVectorBits));
      double quadrantCost = quadrant.vector.error >= 0 ? cost(quadrant.vector.error, kQuadrantVectorBits) : best;
      if (groups_ && quadrantCost > lambda_ * kGroupBits && best - total > lambda_ * kGroupBits) {
        // Pieces whose errors alone reach the quadrant's cost are not finished.
        const IwGroup pieces = search_.bestGroup(qx, qy, errorBelow(quadrantCost, kGroupBits));
        if (pieces.error >= 0 && cost(pieces.error, kGroupBits) < quadrantCost) {
          quadrant.group = true;
          quadrant.pieces = pieces;
          quadrantCost = cost(pieces.error, kGroupBits);
        }
      }
      if (!quadrant.group && quadrant.vector.error < 0) return false;
      total += quadrantCost;
      apply(qx, qy, quadrant);
    }
    return total < best;
  }

  void apply(int qx, int qy, const Quadrant& quadrant) {
    const int32_t destination = search_.blockStart() + qy * kStride + qx;
    if (quadrant.group) {
      for (int n = 0; n < 4; ++n) {
        const uint32_t k = quadrant.pieces.k[n];
        copy(video::pieceCopies<2, 2, kStride>, static_cast<int>((k >> 1) & 7),
             destination + 2 * (n >> 1) * kStride + 2 * (n & 1), search_.blockStart() + video::iwPositionTable[k]);
      }
    } else {
      const IwVector& v = quadrant.vector;
      copy(video::pieceCopies<4, 4, kStride>, v.t, destination, search_.vectorStart(4, v.x, v.y));
    }
    search_.markDecoded(qx, qy, 4);
  }

  // The decoder's copy, from a source the search has found valid.
  void copy(const video::PieceCopies& copies, int t, int32_t destination, int32_t start) {
    video::copyHeld(copies, t, at(destination), reconstruction_.data(), kPixels, start);
  }

  void write(Mode mode, const IntraCode& intra, const IwVector& vector, const Quadrant (&quadrants)[4]) {
    if (mode == Mode::kIntra) {
      ++statistics_.intraBlocks;
      writer_.bits(0b11, 2);
      for (uint8_t n : intra.nibbles) writer_.nibble(n);
    } else if (mode == Mode::kVector) {
      ++statistics_.vectorBlocks;
      writer_.bits(0b10, 2);
      writeVector(vector, 8);
    } else {
      ++statistics_.splitBlocks;
      writer_.bits(0, 1);
      for (const Quadrant& q : quadrants) {
        if (q.group) {
          ++statistics_.groups;
          writer_.bits(1, 1);
          writer_.iwGroup(q.pieces.k[0], q.pieces.k[1], q.pieces.k[2], q.pieces.k[3]);
          for (uint32_t k : q.pieces.k) ++statistics_.pieceTransforms[(k >> 1) & 7];
        } else {
          ++statistics_.quadrantVectors;
          writer_.bits(0, 1);
          writeVector(q.vector, 4);
        }
      }
    }
  }

  // The two high transform bits, then W.
  void writeVector(const IwVector& v, int n) {
    writer_.bits(static_cast<uint32_t>(v.t >> 1), 2);
    writer_.vector(zkv6::VectorWord::longVector(v.x, v.y, static_cast<uint32_t>(v.t & 1)).bits);
    ++statistics_.vectorTransforms[v.t];
    const int x0 = search_.blockStart() % kStride;
    const int column = video::iw::column(x0 - v.x);
    if (column != x0 + 128 - v.x || column + n > kStride) ++statistics_.seamCopies;
  }

  double cost(int64_t error, int bits) const { return static_cast<double>(error) + lambda_ * bits; }
  // The error a code of bits must stay below to cost less than total.
  int64_t errorBelow(double total, int bits) const {
    const double room = total - lambda_ * bits;
    if (room >= 1e18) return INT64_MAX;
    return room <= 0 ? 0 : static_cast<int64_t>(room) + 1;
  }

  const uint16_t* source_;
  int quality_;
  double lambda_;
  IntraEncoder intra_;
  std::vector<uint16_t> reconstruction_;
  IwSearch search_;
  bool groups_;
  IwStatistics& statistics_;
  StreamWriter writer_;
  IwVector left_;
  std::vector<IwVector> above_;  // the vector of the block above, by column
};

}  // namespace

EncodedPicture encodeIWPicture(const uint16_t* source, int quality, const IwOptions& options,
                               IwStatistics* statistics) {
  IwStatistics counts;
  EncodedPicture picture = IwEncoder(source, quality, options, counts).run();
  if (statistics != nullptr) *statistics = counts;
  return picture;
}

IwOptions iwOptions(Speed speed) {
  switch (speed) {
    case Speed::kThorough:
      return {24, 2, 6, true};
    case Speed::kFast:
      return {4, 1, 1, false};
    case Speed::kDefault:
      break;
  }
  return {14, 1, 4, false};
}

EncodedPicture encodeIWPicture(const uint16_t* source, int quality, Speed speed) {
  return encodeIWPicture(source, quality, iwOptions(speed));
}

}  // namespace zkv6enc
