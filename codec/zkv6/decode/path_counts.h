// Counts of the decoder's paths: how often each code, source, opcode and
// transform shortcut was taken. Compiled in only where ZKV6_COUNT_PATHS is
// defined (the test build that checks encoded content reaches every path);
// elsewhere countPath is nothing.
#pragma once

#include <cstdint>

namespace video {

enum PathGroup {
  kIxPredictedCodes,      // piece x 8 + index of the code in the piece's table
  kIxSelfContainedCodes,  // likewise
  kIxSources,             // 0 long vector from reference, 1 from current, 2 small word in reference, 3 in current
  kIwCodes,               // 0 quadrants, 1 long vector, 2 intra, 3 quadrant long vector, 4 2x2 group
  kOpcodes,               // the coefficient opcode
  kInverseTransforms,     // 0 fill, 1 columns then rows, 2 one column, 3 rows then columns, 4 one row
  kPathGroups
};
constexpr int kPathsPerGroup = 64;

#ifdef ZKV6_COUNT_PATHS
inline uint64_t pathCounts[kPathGroups][kPathsPerGroup];
inline void countPath(PathGroup group, int path) { ++pathCounts[group][path]; }
#else
inline void countPath(PathGroup, int) {}
#endif

}  // namespace video
