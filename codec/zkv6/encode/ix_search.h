// What the IX decoder sees while it decodes a piece, and the errors of the
// copies it could make: the source and reference pictures, the
// reconstruction so far and which pixels of it are decoded (blocks above,
// blocks to the left in the row, the pieces of the current block done). A
// copy from current is valid only if every pixel its routine reads, by
// linear index from the region's first pixel with the 640 stride, is
// decoded; one from reference only if every such index is in the picture.
#pragma once

#include <cstdint>

#include "decoded_area.h"
#include "ix_codes.h"

namespace zkv6enc::ix {

// A displacement from a block (or piece) to its source, with its error.
struct Motion {
  int dx = 0, dy = 0;
  int64_t error = -1;
};

// The best few motions, least error first, no two alike.
struct MotionList {
  static constexpr int kMax = 8;
  Motion motion[kMax];
  int count = 0, capacity = 4;
  // The error a motion must stay below to enter the list.
  int64_t limit() const { return count < capacity ? INT64_MAX : motion[count - 1].error; }
  void offer(const Motion& m);
};

class IxSearch {
 public:
  IxSearch(const uint16_t* source, const uint16_t* reference, uint16_t* reconstruction)
      : source_(source), reference_(reference), reconstruction_(reconstruction) {}

  void startBlock(int x0, int y0);
  void markDecoded(Piece p, int px, int py, bool decoded);

  bool decoded(int32_t index) const;
  bool validSource(Piece p, const Copy& copy) const;
  // Error of the copy onto the piece of the source at destination; stops
  // counting once it reaches limit.
  int64_t copyError(Piece p, const Copy& copy, int32_t destination, int64_t limit) const;
  // The decoder's copy into the reconstruction.
  void apply(Piece p, const Copy& copy, int32_t destination) const;

  // Plain 8x8 copies from reference for the block: every motion up to
  // range pixels each way, a grid of step 8 up to wide pixels refined
  // around its best, and the hints refined by one pixel.
  void searchReference(int range, int wide, const Motion* hints, int hintCount, MotionList& best) const;
  // Plain 8x8 copies from the decoded part of current up to range pixels
  // left, right and above.
  void searchCurrent(int range, MotionList& best) const;

 private:
  void tryReference(int dx, int dy, MotionList& best) const;

  const uint16_t* source_;
  const uint16_t* reference_;
  uint16_t* reconstruction_;
  DecodedArea<kStride, kPixels> area_;
};

}  // namespace zkv6enc::ix
