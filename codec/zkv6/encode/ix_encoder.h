// The IX picture encoder with its search settings and a count of the codes
// it chose. encodeIXPicture(source, reference, quality, speed) of
// picture_encoders.h is this one with the settings of ixOptions(speed).
#pragma once

#include <cstdint>

#include "picture_encoders.h"

namespace zkv6enc {

struct IxOptions {
  // Each block tries every plain copy from reference up to referenceRange
  // pixels each way, and a grid of step 8 up to wideRange pixels refined
  // around its best...
  int referenceRange = 4;
  int wideRange = 32;
  // ...and every plain copy from current up to currentRange pixels left,
  // right and above it.
  int currentRange = 8;
  // The same for the self-contained coding, where current is the only source.
  int selfContainedRange = 16;
  // The best this many motions of each source are tried again for every
  // piece of the block, moved by a pixel and under the eight transforms.
  int bestMotions = 4;
  // Whether pieces may be split at all.
  bool splits = true;
};

// What the encoder chose, piece by piece.
struct IxStatistics {
  int zeroCopies = 0;
  int shortVectors = 0;
  int referenceVectors = 0;  // long vectors from reference
  int currentVectors = 0;    // long vectors from current
  int referenceWords = 0;    // small-piece words through nearRefTable
  int currentWords = 0;      // small-piece words through nearCurTable
  int intraBlocks = 0;
  int pieces[7] = {};      // coded pieces by size: 8x8, 8x4, 4x8, 4x4, 4x2, 2x4, 2x2
  int transforms[8] = {};  // long vectors and small-piece words by transform
};

// The settings of each speed; the default's are IxOptions{}.
IxOptions ixOptions(Speed speed);

// With a reference (640x480) the predicted coding, without (nullptr) the
// self-contained one; quality is held to 1..100.
EncodedPicture encodeIXPicture(const uint16_t* source, const uint16_t* reference, int quality,
                               const IxOptions& options, IxStatistics* statistics = nullptr);

}  // namespace zkv6enc
