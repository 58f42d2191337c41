// The copy search of the IW encoder. It sees the panorama as the decoder
// does at the moment a piece is decoded: rows above the block row, blocks to
// the left in the same row and the pieces of the current block done so far.
// A source region counts only if every pixel the decoder's copy routine
// reads, by linear index from the region's first pixel with the row stride
// (so running on from a row's end into the next row), is decoded.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "decoded_area.h"
#include "iw_encoder.h"
#include "pictures.h"

namespace zkv6enc {

// A long vector: the word's X and Y fields and the transform, with the
// error of its copy (-1 when there is none).
struct IwVector {
  int x = 0, y = 0, t = 0;
  int64_t error = -1;
};

// Four 2x2 codes K and the error of their copies together.
struct IwGroup {
  uint32_t k[4] = {};
  int64_t error = -1;
};

class IwSearch {
 public:
  IwSearch(const uint16_t* source, const uint16_t* reconstruction, const IwOptions& options)
      : source_(source),
        reconstruction_(reconstruction),
        options_(options),
        spread_(static_cast<size_t>(video::kIwWidth) * video::kIwHeight, 0) {}

  // The block whose top-left pixel is (x0, y0); none of it decoded yet.
  void startBlock(int x0, int y0);
  // The n x n piece at (px, py) inside the block is decoded (and its
  // reconstruction final, until the piece is marked again).
  void markDecoded(int px, int py, int n);

  bool decoded(int32_t index) const;
  // Every pixel of the n x n source region starting at pixel start is decoded.
  bool validSource(int n, int32_t start) const;

  // The first source pixel of a long vector, as the decoder finds it: row
  // base 0 for the block, 4 for its quadrants.
  int32_t vectorStart(int rowBase, int x, int y) const;
  int32_t blockStart() const { return blockStart_; }

  // The long vector with the least error below limit for the n x n piece at
  // (px, py) of the block (n = 8 for the block, 4 for a quadrant), from the
  // search window and the given hints; error -1 when none is below limit.
  IwVector bestVector(int n, int px, int py, const IwVector* hints, int hintCount, int64_t limit) const;
  // The same from the hints alone (each with its own transform first).
  IwVector bestHint(int n, int px, int py, const IwVector* hints, int hintCount, int64_t limit) const;
  // The best 2x2 codes for the quadrant at (qx, qy); error -1 when a piece
  // has no valid source or the pieces' errors reach limit.
  IwGroup bestGroup(int qx, int qy, int64_t limit = INT64_MAX) const;

  // Error of copying the region at start under transform t onto the n x n
  // piece of the source at pixel destination; stops counting at limit.
  int64_t copyError(int n, int t, int32_t start, int32_t destination, int64_t limit) const;

 private:
  void tryVector(int n, int px, int py, int x, int y, int t, IwVector& best) const;
  int64_t pieceGroupError(int32_t destination, uint32_t& code) const;
  void loadGroupSources() const;
  // Red, green and blue of a pixel in three 21-bit fields, so that one sum
  // adds up each of them; those sums over each ring of the n x n piece at
  // start (from the pixels, or their spread when given); and the distance
  // of two such.
  using Rings = std::array<uint64_t, 4>;
  static uint64_t spread(uint16_t p);
  static Rings ringSums(const uint16_t* picture, const uint64_t* spread, int n, int32_t start);
  static int64_t ringDistance(const Rings& a, const Rings& b);

  // The valid 2x2 sources of the current block (the same for all its
  // pieces: iwPositionTable is relative to the block and never reaches
  // into it), loaded when a group is first tried, with room for the errors.
  struct GroupSources {
    int count = 0;
    uint32_t code[512];                // K with transform 0
    int16_t component[3][4][512];      // red, green, blue of the four pixels
    int16_t error[4][4][512];          // destination pixel i from region pixel j
    int16_t sum[512];
  };

  const uint16_t* source_;
  const uint16_t* reconstruction_;
  IwOptions options_;
  DecodedArea<video::kIwWidth, video::kIwWidth * video::kIwHeight> area_;
  int32_t blockStart_ = 0;
  // Scratch the const searches fill in.
  std::unique_ptr<GroupSources> groupSources_ = std::make_unique<GroupSources>();
  mutable bool groupSourcesLoaded_ = false;
  std::vector<uint64_t> spread_;  // the reconstruction's decoded pixels, spread
};

}  // namespace zkv6enc
