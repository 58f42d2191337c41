// The eight BlockTransform operations that copy a piece of a picture, with a
// change of orientation, from a source region of the same or another picture.
// Destination pixel (x, y) of a w x h piece takes source pixel (sx, sy):
//
//   t  operation               (sx, sy)
//   0  copy                    (x, y)
//   1  mirror left-right       (w-1-x, y)
//   2  flip top-bottom         (x, h-1-y)
//   3  rotate by 180 degrees   (w-1-x, h-1-y)
//   4  anti-transpose          (h-1-y, w-1-x)
//   5  transpose, then flip    (y, w-1-x)
//   6  transpose, then mirror  (h-1-y, x)
//   7  transpose               (y, x)
//
// For t >= 4 the source region is h wide and w high. Each piece size has its
// eight operations as straight-line routines with the row stride fixed, in a
// table indexed by t.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace video {

using CopyRoutine = void (*)(uint16_t* destination, const uint16_t* source);

namespace transform_detail {

// Index, relative to the source region's top-left, of the pixel that
// destination pixel i (row-major in the w x h piece) takes under t.
template <int W, int H, int Stride, int T>
constexpr int sourceIndex(int i) {
  const int x = i % W, y = i / W;
  constexpr int sxy[8][2][3] = {
      // {a, b, c} for sx = a*x + b*y + c, then for sy
      {{1, 0, 0}, {0, 1, 0}},        {{-1, 0, W - 1}, {0, 1, 0}},  {{1, 0, 0}, {0, -1, H - 1}},
      {{-1, 0, W - 1}, {0, -1, H - 1}}, {{0, -1, H - 1}, {-1, 0, W - 1}}, {{0, 1, 0}, {-1, 0, W - 1}},
      {{0, -1, H - 1}, {1, 0, 0}},   {{0, 1, 0}, {1, 0, 0}},
  };
  const int sx = sxy[T][0][0] * x + sxy[T][0][1] * y + sxy[T][0][2];
  const int sy = sxy[T][1][0] * x + sxy[T][1][1] * y + sxy[T][1][2];
  return sy * Stride + sx;
}
template <int W, int H, int Stride, int T, int I>
inline constexpr int kSourceIndex = sourceIndex<W, H, Stride, T>(I);

// Every source pixel is loaded before any destination pixel is stored, so a
// source that overlaps the destination (possible only in streams the encoder
// never writes) still gives a defined result. The rows are stored whole,
// which moves pixel pairs as 32-bit (or wider) words.
template <int W, int H, int Stride, int T, int... I>
void copyPiece(uint16_t* destination, const uint16_t* source, std::integer_sequence<int, I...>) {
  const uint16_t pixels[W * H] = {source[kSourceIndex<W, H, Stride, T, I>]...};
  [&]<int... Y>(std::integer_sequence<int, Y...>) {
    (std::memcpy(destination + Y * Stride, pixels + Y * W, sizeof(uint16_t) * W), ...);
  }(std::make_integer_sequence<int, H>());
}

}  // namespace transform_detail

template <int W, int H, int Stride, int T>
void transformPiece(uint16_t* destination, const uint16_t* source) {
  transform_detail::copyPiece<W, H, Stride, T>(destination, source, std::make_integer_sequence<int, W * H>());
}

// One piece size: its eight routines and the shape of their source regions.
struct PieceCopies {
  int width, height, stride;
  CopyRoutine operation[8];
  // Pixels from the source region's first pixel to its last, rows
  // included: upright (t < 4), then transposed.
  int32_t extent[2];

  int sourceColumns(int t) const { return t < 4 ? width : height; }
  int sourceRows(int t) const { return t < 4 ? height : width; }
  int32_t sourceExtent(int t) const { return extent[(t >> 2) & 1]; }
};

template <int W, int H, int Stride>
inline constexpr PieceCopies pieceCopies = {
    W,
    H,
    Stride,
    {&transformPiece<W, H, Stride, 0>, &transformPiece<W, H, Stride, 1>, &transformPiece<W, H, Stride, 2>,
     &transformPiece<W, H, Stride, 3>, &transformPiece<W, H, Stride, 4>, &transformPiece<W, H, Stride, 5>,
     &transformPiece<W, H, Stride, 6>, &transformPiece<W, H, Stride, 7>},
    {(H - 1) * Stride + W, (W - 1) * Stride + H},
};

// The first source pixel for a source region that would start at pixel
// start of a picture of total pixels, held inside the picture: a region
// reaching before the first pixel starts at it, one reaching past the last
// pixel ends there. The hold is linear in the pixel array, so a region that
// only runs over a row end reads on into the next row, as the offsets of the
// copy codings do. Vectors the encoder writes never need the hold.
inline int32_t heldSourceStart(const PieceCopies& piece, int t, int32_t start, int32_t total) {
  return std::clamp(start, int32_t{0}, total - piece.sourceExtent(t));
}

// Copies a piece into destination from the source region starting at pixel
// start of picture (total pixels), held inside it.
inline void copyHeld(const PieceCopies& piece, int t, uint16_t* destination, const uint16_t* picture,
                     int32_t total, int32_t start) {
  piece.operation[t & 7](destination, picture + heldSourceStart(piece, t & 7, start, total));
}

}  // namespace video
