#include "iw_search.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "block_transform.h"
#include "copy_tables.h"
#include "pictures.h"

namespace zkv6enc {

namespace {

constexpr int kStride = video::kIwWidth;
constexpr int32_t kPixels = video::kIwWidth * video::kIwHeight;
constexpr int kMaxBest = 8;

// Per transform, the source offset (from the region's first pixel) of each
// destination pixel of an n x n piece: the decoder's own index rule.
template <int N>
using OffsetTable = std::array<std::array<int32_t, N * N>, 8>;

template <int N, int... T>
constexpr OffsetTable<N> offsetsOf(std::integer_sequence<int, T...>) {
  OffsetTable<N> table{};
  ((
       [&] {
         for (int i = 0; i < N * N; ++i) table[T][i] = video::transform_detail::sourceIndex<N, N, kStride, T>(i);
       }()),
   ...);
  return table;
}

constexpr OffsetTable<8> kOffsets8 = offsetsOf<8>(std::make_integer_sequence<int, 8>());
constexpr OffsetTable<4> kOffsets4 = offsetsOf<4>(std::make_integer_sequence<int, 8>());
constexpr OffsetTable<2> kOffsets2 = offsetsOf<2>(std::make_integer_sequence<int, 8>());

const int32_t* offsets(int n, int t) {
  if (n == 8) return kOffsets8[t].data();
  if (n == 4) return kOffsets4[t].data();
  return kOffsets2[t].data();
}

inline int64_t pixelError(uint32_t p, uint32_t q) {
  const int dr = static_cast<int>((p >> 10) & 31) - static_cast<int>((q >> 10) & 31);
  const int dg = static_cast<int>((p >> 5) & 31) - static_cast<int>((q >> 5) & 31);
  const int db = static_cast<int>(p & 31) - static_cast<int>(q & 31);
  return dr * dr + dg * dg + db * db;
}

// The 2x2 code K of source c (the iwPositionTable index) with transform t.
uint32_t groupCode(int c, int t) {
  return static_cast<uint32_t>(((c & 0xF) << 8) | (((c >> 4) & 0xF) << 4) | ((c >> 8) & 1) | (t << 1));
}

// Which of the four pixels of a 2x2 region an offset names.
constexpr int regionPixel(int32_t offset) { return (offset >= kStride ? 2 : 0) + (offset & 1); }

// The region pixel (0..3) each destination pixel of a 2x2 piece takes, by
// transform.
constexpr auto kTaken = [] {
  std::array<std::array<int, 4>, 8> taken{};
  for (int t = 0; t < 8; ++t) {
    for (int i = 0; i < 4; ++i) taken[t][i] = regionPixel(kOffsets2[t][i]);
  }
  return taken;
}();

}  // namespace

void IwSearch::startBlock(int x0, int y0) {
  area_.startBlock(x0, y0);
  blockStart_ = y0 * kStride + x0;
  groupSourcesLoaded_ = false;
}

void IwSearch::markDecoded(int px, int py, int n) {
  area_.mark(px, py, n, n, true);
  for (int y = py; y < py + n; ++y) {
    const int32_t row = blockStart_ + y * kStride + px;
    for (int x = 0; x < n; ++x) spread_[row + x] = spread(reconstruction_[row + x]);
  }
}

bool IwSearch::decoded(int32_t index) const { return area_.decoded(index); }

bool IwSearch::validSource(int n, int32_t start) const {
  const int32_t last = start + (n - 1) * kStride + n - 1;
  if (start < 0 || last >= kPixels) return false;
  if (last / kStride < area_.y0) return true;  // the indices only grow up to last
  for (int y = n - 1; y >= 0; --y) {
    if (!area_.runDecoded(start + y * kStride, n)) return false;
  }
  return true;
}

int32_t IwSearch::vectorStart(int rowBase, int x, int y) const {
  return (area_.y0 + rowBase - y) * kStride + video::iw::column(area_.x0 - x);
}

#if defined(__SSE2__)
namespace {
// Squared component differences of eight pixel pairs, as four 32-bit sums.
inline __m128i pairErrors(__m128i p, __m128i q) {
  const __m128i m = _mm_set1_epi16(31);
  const __m128i dr = _mm_sub_epi16(_mm_and_si128(_mm_srli_epi16(p, 10), m), _mm_and_si128(_mm_srli_epi16(q, 10), m));
  const __m128i dg = _mm_sub_epi16(_mm_and_si128(_mm_srli_epi16(p, 5), m), _mm_and_si128(_mm_srli_epi16(q, 5), m));
  const __m128i db = _mm_sub_epi16(_mm_and_si128(p, m), _mm_and_si128(q, m));
  return _mm_add_epi32(_mm_add_epi32(_mm_madd_epi16(dr, dr), _mm_madd_epi16(dg, dg)), _mm_madd_epi16(db, db));
}
inline int64_t total(__m128i s) {
  s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0x4E));
  s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0xB1));
  return _mm_cvtsi128_si32(s);
}
}  // namespace
#endif

int64_t IwSearch::copyError(int n, int t, int32_t start, int32_t destination, int64_t limit) const {
#if defined(__SSE2__)
  // The plain copy, eight pixels at a time; past limit the sum is only
  // known to be at least limit, which is all the callers ask.
  if (t == 0) {
    const uint16_t* wanted = source_ + destination;
    const uint16_t* region = reconstruction_ + start;
    __m128i sum = _mm_setzero_si128();
    auto load8 = [](const uint16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    auto load4x2 = [](const uint16_t* p) {
      return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + kStride)));
    };
    for (int y = 0; y < n; y += 2) {
      if (n == 8) {
        sum = _mm_add_epi32(sum, pairErrors(load8(wanted + y * kStride), load8(region + y * kStride)));
        sum = _mm_add_epi32(sum, pairErrors(load8(wanted + (y + 1) * kStride), load8(region + (y + 1) * kStride)));
      } else if (n == 4) {
        sum = _mm_add_epi32(sum, pairErrors(load4x2(wanted + y * kStride), load4x2(region + y * kStride)));
      } else {
        break;
      }
      if (const int64_t s = total(sum); s >= limit || y + 2 == n) return s;
    }
  }
#endif
  const int32_t* offset = offsets(n, t);
  const uint16_t* wanted = source_ + destination;
  const uint16_t* region = reconstruction_ + start;
  int64_t sum = 0;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) sum += pixelError(wanted[y * kStride + x], region[offset[y * n + x]]);
    if (sum >= limit) break;
  }
  return sum;
}

void IwSearch::tryVector(int n, int px, int py, int x, int y, int t, IwVector& best) const {
  if (x < 0 || x > 255 || y < 0 || y > 127) return;
  const int32_t start = vectorStart(n == 8 ? 0 : 4, x, y);
  if (!validSource(n, start)) return;
  const int64_t e = copyError(n, t, start, blockStart_ + py * kStride + px, best.error);
  if (e < best.error) best = {x, y, t, e};
}

namespace {

// The few positions of least score seen so far, least first.
class BestFew {
 public:
  explicit BestFew(int capacity) : capacity_(std::clamp(capacity, 1, kMaxBest)) {}
  int64_t bound(int64_t otherwise) const { return size_ == capacity_ ? score_[size_ - 1] : otherwise; }
  void add(int x, int y, int64_t score) {
    if (size_ == capacity_ && score >= score_[size_ - 1]) return;
    int at = std::min(size_, capacity_ - 1);
    for (; at > 0 && score_[at - 1] > score; --at) {
      score_[at] = score_[at - 1];
      position_[at] = position_[at - 1];
    }
    score_[at] = score;
    position_[at] = {x, y};
    size_ = std::min(size_ + 1, capacity_);
  }
  int size() const { return size_; }
  int x(int k) const { return position_[k].first; }
  int y(int k) const { return position_[k].second; }
  int64_t score(int k) const { return score_[k]; }

 private:
  int capacity_, size_ = 0;
  int64_t score_[kMaxBest] = {};
  std::pair<int, int> position_[kMaxBest];
};

}  // namespace

uint64_t IwSearch::spread(uint16_t p) {
  return static_cast<uint64_t>((p >> 10) & 31) | (static_cast<uint64_t>((p >> 5) & 31) << 21) |
         (static_cast<uint64_t>(p & 31) << 42);
}

// Sums by ring (distance from the nearest edge) of an n x n piece: every
// transform keeps a pixel on its ring. The four pixels mirrored across both
// middles share a ring, min(row, column) of the one in the top-left
// quarter, so they are added together; with the loops unrolled the sums
// stay in registers.
template <int N, typename Value>
std::array<uint64_t, 4> sumRings(const Value& value, int32_t start) {
  std::array<uint64_t, 4> sums{};
  for (int y = 0; y < N / 2; ++y) {
    const int32_t top = start + y * kStride, bottom = start + (N - 1 - y) * kStride;
    for (int x = 0; x < N / 2; ++x) {
      sums[std::min(x, y)] += value(top + x) + value(top + N - 1 - x) + value(bottom + x) + value(bottom + N - 1 - x);
    }
  }
  return sums;
}

IwSearch::Rings IwSearch::ringSums(const uint16_t* picture, const uint64_t* spread, int n, int32_t start) {
  if (spread != nullptr) {
    auto value = [spread](int32_t i) { return spread[i]; };
    return n == 8 ? sumRings<8>(value, start) : sumRings<4>(value, start);
  }
  auto value = [picture](int32_t i) { return IwSearch::spread(picture[i]); };
  return n == 8 ? sumRings<8>(value, start) : sumRings<4>(value, start);
}

int64_t IwSearch::ringDistance(const Rings& a, const Rings& b) {
  int64_t d = 0;
  for (size_t k = 0; k < a.size(); ++k) {
    for (int shift = 0; shift < 63; shift += 21) {
      d += std::abs(static_cast<int64_t>((a[k] >> shift) & 0x1FFFFF) - static_cast<int64_t>((b[k] >> shift) & 0x1FFFFF));
    }
  }
  return d;
}

IwVector IwSearch::bestHint(int n, int px, int py, const IwVector* hints, int hintCount, int64_t limit) const {
  IwVector best{0, 0, 0, limit};
  for (int h = 0; h < hintCount && best.error != 0; ++h) {
    tryVector(n, px, py, hints[h].x, hints[h].y, hints[h].t, best);
    for (int t = 0; t < 8 && best.error != 0; ++t) tryVector(n, px, py, hints[h].x, hints[h].y, t, best);
  }
  if (best.error >= limit) best.error = -1;
  return best;
}

// The hints first: an exact copy ends the search. Then plain copies over
// the whole window. The other transforms are tried where a plain copy came
// closest, where the region's sums of red, green and blue by ring (the same
// under every transform) come closest to the piece's, and in the small
// window.
IwVector IwSearch::bestVector(int n, int px, int py, const IwVector* hints, int hintCount, int64_t limit) const {
  const int rowBase = n == 8 ? 0 : 4;
  const int32_t destination = blockStart_ + py * kStride + px;
  // The field values of the source (dx, dy) pixels from the piece.
  auto fieldX = [&](int dx) { return 128 - px - dx; };
  auto fieldY = [&](int dy) { return rowBase - py - dy; };
  const int lowestDy = 8 - n - py;  // rows below the block are never decoded
  IwVector best = bestHint(n, px, py, hints, hintCount, limit);
  if (best.error == 0) return best;
  if (best.error < 0) best = {0, 0, 0, limit};

  const Rings wanted = ringSums(source_, nullptr, n, destination);
  BestFew plain(options_.bestPositions), alike(options_.bestPositions);
  const int range = options_.range;
  for (int dy = -range; dy <= lowestDy; ++dy) {
    for (int dx = -range; dx <= range; ++dx) {
      const int x = fieldX(dx), y = fieldY(dy);
      if (x < 0 || x > 255 || y < 0 || y > 127) continue;
      const int32_t start = vectorStart(rowBase, x, y);
      if (!validSource(n, start)) continue;
      const int64_t bound = plain.bound(limit);
      const int64_t e = copyError(n, 0, start, destination, bound);
      if (e == 0) return {x, y, 0, 0};
      if (e < bound) plain.add(x, y, e);
      alike.add(x, y, ringDistance(ringSums(nullptr, spread_.data(), n, start), wanted));
    }
  }

  if (plain.size() > 0 && plain.score(0) < best.error) best = {plain.x(0), plain.y(0), 0, plain.score(0)};
  for (const BestFew* few : {&plain, &alike}) {
    for (int k = 0; k < few->size(); ++k) {
      for (int t = 1; t < 8; ++t) tryVector(n, px, py, few->x(k), few->y(k), t, best);
    }
  }
  const int near = std::min(options_.transformRange, range);
  for (int dy = -near; dy <= std::min(near, lowestDy); ++dy) {
    for (int dx = -near; dx <= near; ++dx) {
      for (int t = 1; t < 8; ++t) tryVector(n, px, py, fieldX(dx), fieldY(dy), t, best);
    }
  }
  if (best.error >= limit) best.error = -1;
  return best;
}

void IwSearch::loadGroupSources() const {
  constexpr int32_t kCorner[4] = {0, 1, kStride, kStride + 1};
  GroupSources& g = *groupSources_;
  g.count = 0;
  for (int c = 0; c < 512; ++c) {
    const uint32_t code = groupCode(c, 0);
    const int32_t start = blockStart_ + video::iwPositionTable[code];
    if (!validSource(2, start)) continue;
    for (int j = 0; j < 4; ++j) {
      const uint16_t p = reconstruction_[start + kCorner[j]];
      g.component[0][j][g.count] = static_cast<int16_t>((p >> 10) & 31);
      g.component[1][j][g.count] = static_cast<int16_t>((p >> 5) & 31);
      g.component[2][j][g.count] = static_cast<int16_t>(p & 31);
    }
    g.code[g.count++] = code;
  }
  groupSourcesLoaded_ = true;
}

// All sources at once, in loops over them that vectorise: the errors of
// each destination pixel from each region pixel, then each transform's sum.
int64_t IwSearch::pieceGroupError(int32_t destination, uint32_t& code) const {
  if (!groupSourcesLoaded_) loadGroupSources();
  GroupSources& g = *groupSources_;
  const int count = g.count;
  if (count == 0) return -1;
  constexpr int32_t kCorner[4] = {0, 1, kStride, kStride + 1};
  for (int i = 0; i < 4; ++i) {
    const uint16_t p = source_[destination + kCorner[i]];
    const int16_t r = static_cast<int16_t>((p >> 10) & 31), gr = static_cast<int16_t>((p >> 5) & 31),
                  b = static_cast<int16_t>(p & 31);
    for (int j = 0; j < 4; ++j) {
      const int16_t* sr = g.component[0][j];
      const int16_t* sg = g.component[1][j];
      const int16_t* sb = g.component[2][j];
      int16_t* e = g.error[i][j];
      for (int s = 0; s < count; ++s) {
        const int16_t dr = static_cast<int16_t>(r - sr[s]), dg = static_cast<int16_t>(gr - sg[s]),
                      db = static_cast<int16_t>(b - sb[s]);
        e[s] = static_cast<int16_t>(dr * dr + dg * dg + db * db);
      }
    }
  }
  int16_t best = INT16_MAX;
  for (int t = 0; t < 8; ++t) {
    const int16_t* e0 = g.error[0][kTaken[t][0]];
    const int16_t* e1 = g.error[1][kTaken[t][1]];
    const int16_t* e2 = g.error[2][kTaken[t][2]];
    const int16_t* e3 = g.error[3][kTaken[t][3]];
    int16_t least = INT16_MAX;
    for (int s = 0; s < count; ++s) {
      g.sum[s] = static_cast<int16_t>(e0[s] + e1[s] + e2[s] + e3[s]);
      least = std::min(least, g.sum[s]);
    }
    if (least >= best) continue;
    best = least;
    int s = 0;
    while (g.sum[s] != least) ++s;
    code = g.code[s] | static_cast<uint32_t>(t << 1);
  }
  return best;
}

IwGroup IwSearch::bestGroup(int qx, int qy, int64_t limit) const {
  IwGroup group;
  group.error = 0;
  for (int n = 0; n < 4; ++n) {
    const int32_t destination = blockStart_ + (qy + 2 * (n >> 1)) * kStride + qx + 2 * (n & 1);
    const int64_t e = pieceGroupError(destination, group.k[n]);
    if (e < 0 || (group.error += e) >= limit) return {};
  }
  return group;
}

}  // namespace zkv6enc
