// The IW panorama encoder with its search settings and a count of the codes
// it chose. encodeIWPicture(source, quality, speed) of picture_encoders.h
// is this one with the settings of iwOptions(speed).
#pragma once

#include <cstdint>

#include "picture_encoders.h"

namespace zkv6enc {

struct IwOptions {
  // Every piece tries the plain copy from each position up to range pixels
  // left, right and above it (and below, where that part is decoded).
  int range = 16;
  // The eight transforms are tried in this smaller window...
  int transformRange = 2;
  // ...and at this many of the best plain-copy positions.
  int bestPositions = 4;
  // Whether quadrants may be made of four 2x2 pieces.
  bool groups = true;
};

// What the encoder chose, block by block and piece by piece.
struct IwStatistics {
  int intraBlocks = 0;
  int vectorBlocks = 0;     // 8x8 long vectors
  int splitBlocks = 0;      // blocks of four quadrants
  int quadrantVectors = 0;  // 4x4 long vectors
  int groups = 0;           // quadrants of four 2x2 pieces
  int vectorTransforms[8] = {};  // 8x8 and 4x4 long vectors by transform
  int pieceTransforms[8] = {};   // 2x2 pieces by transform
  // Long vectors whose source wraps around the seam or whose region runs on
  // from a row's end into the next row.
  int seamCopies = 0;
};

// The settings of each speed. The default speed's window is a little
// smaller than IwOptions{}'s, which finds barely more (0.1 % fewer bytes on
// the comparison picture) in 1.2 times the time; transforms a pixel away
// from the best plain copies find as much as two pixels away. It makes no
// 2x2 groups: at high qualities they save 1 % of the bytes at equal PSNR
// for a quarter more time, at low ones they are never chosen.
IwOptions iwOptions(Speed speed);

// The default search with 2x2 groups, for content that must take every
// code (the decoder's path tests and the fuzz seeds).
inline constexpr IwOptions kEveryCodeSearch{14, 1, 4, true};

EncodedPicture encodeIWPicture(const uint16_t* source, int quality, const IwOptions& options,
                               IwStatistics* statistics = nullptr);

}  // namespace zkv6enc
