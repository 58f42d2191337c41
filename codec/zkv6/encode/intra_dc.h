// The last touch on an intra block's values: the colour conversion is not
// linear, so the rounded DC values are not always the ones that bring the
// decoded block closest to its source.
#pragma once

#include <cstdint>

#include "intra_block.h"

namespace zkv6enc {

// Moves the DC values (position 0 of the Y, U and V values, zigzag order)
// by one at a time while that lowers the squared error of the decoded block
// against the 8x8 source. A DC value is a byte value whatever it is, so the
// codes keep their length.
void refineDc(const video::QuantTables& tables, const uint16_t* source, int stride, int (&values)[3][64]);

}  // namespace zkv6enc
