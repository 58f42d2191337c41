#include "ix_search.h"

#include <algorithm>
#include <array>
#include <utility>

#include "block_transform.h"

namespace zkv6enc::ix {

namespace {

// Per piece and transform, the source offset (from the region's first
// pixel) of each destination pixel: the decoder's own index rule.
using Offsets = std::array<std::array<int32_t, 64>, 8>;

template <int W, int H, int... T>
constexpr Offsets offsetsOf(std::integer_sequence<int, T...>) {
  Offsets table{};
  ((
       [&] {
         for (int i = 0; i < W * H; ++i) table[T][i] = video::transform_detail::sourceIndex<W, H, kStride, T>(i);
       }()),
   ...);
  return table;
}
template <int W, int H>
constexpr Offsets kOffsetsOf = offsetsOf<W, H>(std::make_integer_sequence<int, 8>());

constexpr const Offsets* kOffsets[kPieceCount] = {&kOffsetsOf<8, 8>, &kOffsetsOf<8, 4>, &kOffsetsOf<4, 8>,
                                                  &kOffsetsOf<4, 4>, &kOffsetsOf<4, 2>, &kOffsetsOf<2, 4>,
                                                  &kOffsetsOf<2, 2>};

constexpr const video::PieceCopies* kCopies[kPieceCount] = {
    &video::pieceCopies<8, 8, kStride>, &video::pieceCopies<8, 4, kStride>, &video::pieceCopies<4, 8, kStride>,
    &video::pieceCopies<4, 4, kStride>, &video::pieceCopies<4, 2, kStride>, &video::pieceCopies<2, 4, kStride>,
    &video::pieceCopies<2, 2, kStride>};

inline int64_t pixelError(uint32_t p, uint32_t q) {
  const int dr = static_cast<int>((p >> 10) & 31) - static_cast<int>((q >> 10) & 31);
  const int dg = static_cast<int>((p >> 5) & 31) - static_cast<int>((q >> 5) & 31);
  const int db = static_cast<int>(p & 31) - static_cast<int>(q & 31);
  return dr * dr + dg * dg + db * db;
}

}  // namespace

void MotionList::offer(const Motion& m) {
  if (m.error < 0 || m.error >= limit()) return;
  for (int k = 0; k < count; ++k) {
    if (motion[k].dx == m.dx && motion[k].dy == m.dy) return;
  }
  int at = count < capacity ? count++ : count - 1;
  while (at > 0 && motion[at - 1].error > m.error) {
    motion[at] = motion[at - 1];
    --at;
  }
  motion[at] = m;
}

void IxSearch::startBlock(int x0, int y0) { area_.startBlock(x0, y0); }

void IxSearch::markDecoded(Piece p, int px, int py, bool decoded) {
  area_.mark(px, py, kPieceWidth[p], kPieceHeight[p], decoded);
}

bool IxSearch::decoded(int32_t index) const { return area_.decoded(index); }

bool IxSearch::validSource(Piece p, const Copy& copy) const {
  const video::PieceCopies& copies = *kCopies[p];
  const int32_t last = copy.start + copies.sourceExtent(copy.t) - 1;
  if (copy.start < 0 || last >= kPixels) return false;
  if (!copy.fromCurrent || last < area_.y0 * kStride) return true;  // indices only grow up to last
  for (int y = copies.sourceRows(copy.t) - 1; y >= 0; --y) {
    if (!area_.runDecoded(copy.start + y * kStride, copies.sourceColumns(copy.t))) return false;
  }
  return true;
}


int64_t IxSearch::copyError(Piece p, const Copy& copy, int32_t destination, int64_t limit) const {
  const int w = kPieceWidth[p], h = kPieceHeight[p];
  const uint16_t* wanted = source_ + destination;
  const uint16_t* region = (copy.fromCurrent ? reconstruction_ : reference_) + copy.start;
  int64_t sum = 0;
  if (copy.t == 0) {
    for (int y = 0; y < h && sum < limit; ++y, wanted += kStride, region += kStride) {
      for (int x = 0; x < w; ++x) sum += pixelError(wanted[x], region[x]);
    }
    return sum;
  }
  const int32_t* offset = (*kOffsets[p])[copy.t].data();
  for (int y = 0; y < h && sum < limit; ++y) {
    for (int x = 0; x < w; ++x) sum += pixelError(wanted[y * kStride + x], region[offset[y * w + x]]);
  }
  return sum;
}

void IxSearch::apply(Piece p, const Copy& copy, int32_t destination) const {
  video::copyHeld(*kCopies[p], copy.t, reconstruction_ + destination,
                  copy.fromCurrent ? reconstruction_ : reference_, kPixels, copy.start);
}

void IxSearch::tryReference(int dx, int dy, MotionList& best) const {
  const int x = area_.x0 + dx, y = area_.y0 + dy;
  if (x < 0 || y < 0 || x + 8 > kStride || y + 8 > kPixels / kStride) return;
  const int32_t block = area_.y0 * kStride + area_.x0;
  const Copy copy{false, y * kStride + x, 0};
  best.offer({dx, dy, copyError(k8x8, copy, block, best.limit())});
}

void IxSearch::searchReference(int range, int wide, const Motion* hints, int hintCount, MotionList& best) const {
  tryReference(0, 0, best);
  for (int h = 0; h < hintCount; ++h) {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) tryReference(hints[h].dx + dx, hints[h].dy + dy, best);
    }
  }
  for (int dy = -range; dy <= range; ++dy) {
    for (int dx = -range; dx <= range; ++dx) tryReference(dx, dy, best);
  }
  // Farther out a grid of step 8, its best refined by steps of 4, 2 and 1.
  MotionList coarse;
  coarse.capacity = 1;
  for (int dy = -wide / 8 * 8; dy <= wide; dy += 8) {
    for (int dx = -wide / 8 * 8; dx <= wide; dx += 8) {
      if (dx < -range || dx > range || dy < -range || dy > range) tryReference(dx, dy, coarse);
    }
  }
  for (int step = 4; step >= 1 && coarse.count > 0; step /= 2) {
    const Motion centre = coarse.motion[0];
    for (int dy = -step; dy <= step; dy += step) {
      for (int dx = -step; dx <= step; dx += step) tryReference(centre.dx + dx, centre.dy + dy, coarse);
    }
  }
  if (coarse.count > 0) best.offer(coarse.motion[0]);
}

void IxSearch::searchCurrent(int range, MotionList& best) const {
  const int32_t block = area_.y0 * kStride + area_.x0;
  for (int dy = -range; dy <= 0; ++dy) {
    for (int dx = -range; dx <= range; ++dx) {
      const int x = area_.x0 + dx, y = area_.y0 + dy;
      if (x < 0 || y < 0 || x + 8 > kStride) continue;
      const Copy copy{true, y * kStride + x, 0};
      if (!validSource(k8x8, copy)) continue;
      best.offer({dx, dy, copyError(k8x8, copy, block, best.limit())});
    }
  }
}

}  // namespace zkv6enc::ix
