// The intra block coding shared by IX and IW pictures: three 8x8 DCT blocks
// (Y, U, V) read from the coefficient stream with the nibble code, dequantised
// with the picture's quantTables, inverse transformed and converted to 5-5-5
// pixels written straight into the picture.
#pragma once

#include <cstdint>

#include "streams.h"

namespace video {

// The dequantisation steps of one picture, indexed by zigzag position, for the
// Y, U and V blocks, each with its negated copy for the +-1 codes.
struct QuantTables {
  int32_t step[3][64];
  int32_t negated[3][64];
};

// Steps for quality q; qualities outside 1..100 are held to that range (0
// and below behave as 1, the coarsest).
void quantTables(QuantTables& tables, int32_t quality);

// Decodes the next macroblock from the coefficient stream and writes 8 rows
// of 8 pixels at destination, rows stride pixels apart (640 in IX, 2048 in IW).
void decodeMacroblock(const QuantTables& tables, NibbleReader& coefficients, uint16_t* destination, int stride);

// One coefficient block after its code: dequantised values in natural order
// and the mask of the rows (bits 8..15) and columns (bits 0..7) holding a
// written value.
struct CoefficientBlock {
  int32_t value[64];
  uint32_t mask;
};

// Decodes the code of one block (0 = Y, 1 = U, 2 = V, choosing its steps)
// into block, which it clears first. The reader is left on the nibble after
// the block's code.
void decodeCoefficients(const QuantTables& tables, int component, NibbleReader& coefficients,
                        CoefficientBlock& block);

}  // namespace video
