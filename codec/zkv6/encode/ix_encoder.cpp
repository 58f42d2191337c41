// The IX picture encoder. Each 8x8 block, in the decoder's order, is
// decided depth first: every piece takes the cheapest of its direct codes
// (zero copy, short vector, long vector, small-piece word, intra block) or
// of its splits, each split's pieces decided the same way in the decoder's
// order. Cheapest means least error plus lambda times the bits, with lambda
// growing as the quality falls. The reconstruction is made by the decoder's
// own copy routines and the intra blocks' decoded pixels, so it is exactly
// what decodeIXPicture makes of the payload.
#include "ix_encoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "intra_encoder.h"
#include "ix_codes.h"
#include "ix_search.h"
#include "picture_error.h"
#include "pictures.h"
#include "stream_writer.h"

namespace zkv6enc {

namespace {

using ix::Copy;
using ix::Encoding;
using ix::Op;
using ix::Piece;
using ix::Place;
using ix::kStride;

constexpr double kNever = 1e300;
constexpr int kBlockColumns = video::kIxWidth / 8;
constexpr int kFewestIntraNibbles = 9;  // three blocks of one value each

// Error units per bit: squared 5-bit component differences.
double lambdaFor(int quality) { return 0.25 * std::pow(1.045, 100 - quality); }

// One piece as it is written: its code (a split's code, or the direct code
// with its fields) and, for copies, the source.
struct Node {
  Piece piece;
  Encoding encoding;
  Copy copy;
};

struct Direct {
  double cost = kNever;
  Copy copy;
  Encoding encoding;
  int64_t error = -1;
};

// The two cheapest plain copies met, to try again under the transforms.
struct BestTwo {
  Copy copy[2];
  double cost[2] = {kNever, kNever};
  int count = 0;
  void offer(const Copy& c, double value) {
    if (value >= cost[1] || (count > 0 && copy[0].start == c.start) || (count > 1 && copy[1].start == c.start)) return;
    const int at = value < cost[0] ? 0 : 1;
    if (at == 0) {
      copy[1] = copy[0];
      cost[1] = cost[0];
    }
    copy[at] = c;
    cost[at] = value;
    count = std::min(count + 1, 2);
  }
};

class IxEncoder {
 public:
  IxEncoder(const uint16_t* source, const uint16_t* reference, int quality, const IxOptions& options,
            IxStatistics& statistics)
      : source_(source),
        selfContained_(reference == nullptr),
        quality_(std::clamp(quality, 1, 100)),
        lambda_(lambdaFor(quality_)),
        intra_(quality_),
        reconstruction_(ix::kPixels, 0),
        search_(source, reference, reconstruction_.data()),
        options_(options),
        statistics_(statistics),
        above_(kBlockColumns) {
    for (int p = ix::kPieceCount - 1; p >= 0; --p) {
      movingBits_[p] = movingBits(static_cast<Piece>(p));
      for (bool current : {false, true}) fewestCopyBits_[current][p] = fewestCopyBits(static_cast<Piece>(p), current);
    }
  }

  EncodedPicture run() {
    for (int y0 = 0; y0 < video::kIxHeight; y0 += 8) {
      for (int x0 = 0; x0 < video::kIxWidth; x0 += 8) block(x0, y0);
    }
    return {writer_.payload(selfContained_ ? -quality_ : quality_), std::move(reconstruction_)};
  }

 private:
  // The bits of the cheapest code of the piece that is no zero copy,
  // splits included (their pieces' after them). A split is tried only when
  // the piece's direct code costs more than this for the split's pieces:
  // where a piece is not the reference's, its pieces are mostly not either.
  int movingBits(Piece p) const {
    const ix::PieceCodes& codes = ix::pieceCodes(selfContained_, p);
    int fewest = INT32_MAX;
    auto take = [&](const ix::Code& code, int more) {
      if (code.valid()) fewest = std::min(fewest, code.length + more);
    };
    take(codes.shortVector, 12);
    take(codes.longVector, (selfContained_ ? 2 : 3) + 16);
    take(codes.smallWord, 16);
    take(codes.intra, 4 * kFewestIntraNibbles);
    for (int s = 0; s < codes.splitCount; ++s) {
      take(codes.split[s].code, codes.split[s].count * movingBits_[codes.split[s].child]);
    }
    return fewest;
  }

  // The fewest bits of a copy from reference or current.
  int fewestCopyBits(Piece p, bool current) const {
    const ix::PieceCodes& codes = ix::pieceCodes(selfContained_, p);
    int fewest = 1 << 20;
    auto take = [&](const ix::Code& code, int more) {
      if (code.valid()) fewest = std::min(fewest, code.length + more);
    };
    if (!current) {
      take(codes.zeroCopy, 0);
      take(codes.shortVector, 12);
    }
    take(codes.longVector, (selfContained_ ? 2 : 3) + 16);
    take(codes.smallWord, 16);
    return fewest;
  }

  void block(int x0, int y0) {
    x0_ = x0;
    y0_ = y0;
    search_.startBlock(x0, y0);
    haveIntra_ = false;
    std::fill(std::begin(referenceCached_), std::end(referenceCached_), false);
    const int capacity = std::clamp(options_.bestMotions, 1, ix::MotionList::kMax);
    referenceMotions_ = {};
    currentMotions_ = {};
    referenceMotions_.capacity = currentMotions_.capacity = capacity;
    if (!selfContained_) {
      ix::Motion hints[3];
      int hintCount = 0;
      if (x0 > 0) hints[hintCount++] = left_;
      if (y0 > 0) {
        hints[hintCount++] = above_[x0 / 8];
        if (x0 / 8 + 1 < kBlockColumns) hints[hintCount++] = above_[x0 / 8 + 1];
      }
      search_.searchReference(options_.referenceRange, options_.wideRange, hints, hintCount, referenceMotions_);
    }
    search_.searchCurrent(selfContained_ ? options_.selfContainedRange : options_.currentRange, currentMotions_);

    plan_.clear();
    decide(ix::k8x8, 0, 0, kNever);
    write();
    left_ = referenceMotions_.count > 0 ? referenceMotions_.motion[0] : ix::Motion{};
    above_[x0 / 8] = left_;
  }

  // Decides the piece at (px, py) and the pieces it splits into, appending
  // their nodes to the plan and their pixels to the reconstruction; returns
  // the cost (kNever when nothing can code it). A cost at or above limit
  // may be left unimproved.
  double decide(Piece p, int px, int py, double limit) {
    const size_t base = plan_.size(), saved = saved_.size();
    const Place place{x0_, y0_, px, py};
    const Direct direct = directCode(p, place);
    double cost = direct.cost;
    bool split = false;
    uint16_t pixels[64];
    const int w = ix::kPieceWidth[p], h = ix::kPieceHeight[p];
    const ix::PieceCodes& codes = ix::pieceCodes(selfContained_, p);
    // The quadrants (the last split) first; the halves only where the
    // quadrants beat the direct code.
    for (int s = codes.splitCount - 1; options_.splits && s >= 0; --s) {
      const ix::SplitCode& option = codes.split[s];
      if (s < codes.splitCount - 1 && codes.split[codes.splitCount - 1].count == 4 && !split) break;
      const double bound = std::min(cost, limit);
      double total = lambda_ * option.code.length;
      if (total + lambda_ * option.count * movingBits_[option.child] >= bound) continue;
      plan_.push_back({p, {Op::split, option.code}, {}});
      int done = 0;
      for (; done < option.count && total < bound; ++done) {
        total += decide(option.child, px + option.dx[done], py + option.dy[done], bound - total);
      }
      if (done == option.count && total < cost) {
        cost = total;
        split = true;
        saved_.resize(saved);
        saved_.insert(saved_.end(), plan_.begin() + static_cast<std::ptrdiff_t>(base), plan_.end());
        for (int y = 0; y < h; ++y) std::memcpy(pixels + y * w, at(place.piece() + y * kStride), w * sizeof(uint16_t));
      }
      plan_.resize(base);
      search_.markDecoded(p, px, py, false);
    }
    if (split) {
      plan_.insert(plan_.end(), saved_.begin() + static_cast<std::ptrdiff_t>(saved), saved_.end());
      for (int y = 0; y < h; ++y) std::memcpy(at(place.piece() + y * kStride), pixels + y * w, w * sizeof(uint16_t));
    } else if (direct.cost < kNever) {
      plan_.push_back({p, direct.encoding, direct.copy});
      apply(p, place, direct);
    }
    saved_.resize(saved);
    search_.markDecoded(p, px, py, true);
    return cost;
  }

  uint16_t* at(int32_t index) { return reconstruction_.data() + index; }

  void apply(Piece p, const Place& place, const Direct& direct) {
    if (direct.encoding.op != Op::intra) {
      search_.apply(p, direct.copy, place.piece());
      return;
    }
    for (int y = 0; y < 8; ++y) {
      std::memcpy(at(place.piece() + y * kStride), intraCode_.reconstruction + 8 * y, 8 * sizeof(uint16_t));
    }
  }

  // The cheapest direct code of the piece.
  Direct directCode(Piece p, const Place& place) {
    Direct best;
    if (!selfContained_) best = fromReference(p, place);
    fromCurrent(p, place, best);
    // Intra blocks take long to find: tried only where a copy costs more
    // than half of what intra blocks have taken so far.
    if (p == ix::k8x8 && best.cost > lambda_ * std::max(3.0 + 4 * kFewestIntraNibbles, intraBits_ / 2)) intra(best);
    return best;
  }

  // Copies from reference do not depend on what is decoded, so each piece
  // of the block is searched once whichever split it belongs to.
  Direct fromReference(Piece p, const Place& place) {
    const int slot = p * 64 + place.py * 8 + place.px;
    if (referenceCached_[slot]) return referenceCache_[slot];
    Direct best;
    BestTwo plain;
    const int32_t piece = place.piece();
    auto offer = [&](int dx, int dy) { tryCopy(p, place, {false, piece + dy * kStride + dx, 0}, best, &plain); };
    offer(0, 0);
    const int spread = p == ix::k8x8 ? 0 : 1;
    for (int k = 0; k < referenceMotions_.count; ++k) {
      const ix::Motion& m = referenceMotions_.motion[k];
      for (int dy = -spread; dy <= spread; ++dy) {
        for (int dx = -spread; dx <= spread; ++dx) offer(m.dx + dx, m.dy + dy);
      }
    }
    const int32_t starts[3] = {piece, plain.count > 0 ? plain.copy[0].start : piece,
                               plain.count > 1 ? plain.copy[1].start : piece};
    transforms(p, place, false, starts, 3, best);
    referenceCached_[slot] = true;
    referenceCache_[slot] = best;
    return best;
  }

  // In the predicted coding current is the second source: smaller pieces
  // try only the block's best two motions and the neighbouring pieces, and
  // the transforms only at the best of them.
  void fromCurrent(Piece p, const Place& place, Direct& best) {
    BestTwo plain;
    const int32_t piece = place.piece();
    auto offer = [&](int dx, int dy) { tryCopy(p, place, {true, piece + dy * kStride + dx, 0}, best, &plain); };
    const bool wide = p == ix::k8x8 || selfContained_;
    const int count = wide ? currentMotions_.count : std::min(currentMotions_.count, 2);
    for (int k = 0; k < count; ++k) {
      const ix::Motion& m = currentMotions_.motion[k];
      const int spread = p != ix::k8x8 && selfContained_ && k == 0 ? 1 : 0;
      for (int dy = -spread; dy <= spread; ++dy) {
        for (int dx = -spread; dx <= spread; ++dx) offer(m.dx + dx, m.dy + dy);
      }
    }
    const int w = ix::kPieceWidth[p], h = ix::kPieceHeight[p];
    offer(-w, 0);
    offer(0, -h);
    offer(-w, -h);
    offer(w, -h);
    int32_t starts[4];
    int starting = 0;
    for (int k = 0; k < plain.count; ++k) starts[starting++] = plain.copy[k].start;
    starts[starting++] = piece - w;
    starts[starting++] = piece - h * kStride;
    transforms(p, place, true, starts, wide ? starting : std::min(starting, 1), best);
  }

  // The other seven transforms at the given starts, unless a copy is exact.
  void transforms(Piece p, const Place& place, bool current, const int32_t* starts, int count, Direct& best) {
    for (int k = 0; k < count && best.error != 0; ++k) {
      if (std::find(starts, starts + k, starts[k]) != starts + k) continue;
      for (int t = 1; t < 8; ++t) tryCopy(p, place, {current, starts[k], t}, best, nullptr);
    }
  }

  // Offers the copy to best (and to plain): its error is counted only as
  // far as the fewest bits of its source leave it a chance, and its code
  // found only if it has one.
  void tryCopy(Piece p, const Place& place, const Copy& copy, Direct& best, BestTwo* plain) {
    const double bound = plain != nullptr ? std::max(best.cost, plain->cost[1]) : best.cost;
    const double fewest = lambda_ * fewestCopyBits_[copy.fromCurrent][p];
    if (fewest >= bound || !search_.validSource(p, copy)) return;
    const int64_t limit = bound >= 1e18 ? INT64_MAX : static_cast<int64_t>(bound - fewest) + 1;
    const int64_t error = search_.copyError(p, copy, place.piece(), limit);
    if (static_cast<double>(error) + fewest >= bound) return;
    Encoding encoding;
    if (!ix::encodeCopy(selfContained_, p, place, copy, encoding)) return;
    const double cost = static_cast<double>(error) + lambda_ * encoding.bits;
    if (plain != nullptr) plain->offer(copy, cost);
    if (cost < best.cost) best = {cost, copy, encoding, error};
  }

  void intra(Direct& best) {
    const int32_t block = y0_ * kStride + x0_;
    if (!haveIntra_) {
      intraCode_ = intra_.encode(source_ + block, kStride);
      haveIntra_ = true;
    }
    const ix::Code code = ix::pieceCodes(selfContained_, ix::k8x8).intra;
    const int bits = code.length + 4 * static_cast<int>(intraCode_.nibbles.size());
    intraBits_ += (bits - intraBits_) / 8;
    const int64_t error = pieceError(source_ + block, kStride, intraCode_.reconstruction, 8, 8, 8);
    const double cost = static_cast<double>(error) + lambda_ * bits;
    if (cost < best.cost) best = {cost, {}, {Op::intra, code, 0, 0, 0, bits}, error};
  }

  void write() {
    for (const Node& node : plan_) {
      const Encoding& e = node.encoding;
      writer_.bits(e.code.value, e.code.length);
      if (e.op != Op::split) ++statistics_.pieces[node.piece];
      switch (e.op) {
        case Op::split:
          break;
        case Op::zeroCopy:
          ++statistics_.zeroCopies;
          break;
        case Op::shortVector:
          ++statistics_.shortVectors;
          writer_.ixShortCode(e.field);
          break;
        case Op::longVector:
          ++(node.copy.fromCurrent ? statistics_.currentVectors : statistics_.referenceVectors);
          ++statistics_.transforms[node.copy.t];
          writer_.bits(e.transform, e.transformBits);
          writer_.vector(e.field);
          break;
        case Op::smallWord:
          ++(node.copy.fromCurrent ? statistics_.currentWords : statistics_.referenceWords);
          ++statistics_.transforms[node.copy.t];
          writer_.vector(e.field);
          break;
        case Op::intra:
          ++statistics_.intraBlocks;
          for (uint8_t n : intraCode_.nibbles) writer_.nibble(n);
          break;
        case Op::invalid:
          break;
      }
    }
  }

  const uint16_t* source_;
  bool selfContained_;
  int quality_;
  double lambda_;
  IntraEncoder intra_;
  std::vector<uint16_t> reconstruction_;
  ix::IxSearch search_;
  IxOptions options_;
  IxStatistics& statistics_;
  StreamWriter writer_;
  int movingBits_[ix::kPieceCount] = {};
  int fewestCopyBits_[2][ix::kPieceCount] = {};

  int x0_ = 0, y0_ = 0;
  ix::MotionList referenceMotions_, currentMotions_;
  ix::Motion left_;
  std::vector<ix::Motion> above_;  // the reference motion of the block above, by column
  bool haveIntra_ = false;
  double intraBits_ = 0;  // a running mean of the intra blocks' bits
  IntraCode intraCode_;
  bool referenceCached_[ix::kPieceCount * 64] = {};
  Direct referenceCache_[ix::kPieceCount * 64];
  std::vector<Node> plan_, saved_;  // the block's nodes in stream order; the best splits met so far
};

}  // namespace

EncodedPicture encodeIXPicture(const uint16_t* source, const uint16_t* reference, int quality,
                               const IxOptions& options, IxStatistics* statistics) {
  IxStatistics counts;
  EncodedPicture picture = IxEncoder(source, reference, quality, options, counts).run();
  if (statistics != nullptr) *statistics = counts;
  return picture;
}

IxOptions ixOptions(Speed speed) {
  switch (speed) {
    case Speed::kThorough:
      return {6, 48, 12, 24, 6, true};
    case Speed::kFast:
      return {2, 16, 4, 8, 2, true};
    case Speed::kDefault:
      break;
  }
  return {};
}

EncodedPicture encodeIXPicture(const uint16_t* source, const uint16_t* reference, int quality, Speed speed) {
  return encodeIXPicture(source, reference, quality, ixOptions(speed));
}

}  // namespace zkv6enc
