// The nibble code of one coefficient block, the shortest there is: the first
// value as a byte value, then the opcodes that skip the zeros and write the
// other values, and opcode 0 unless the block's last position is written.
#pragma once

#include <cstdint>
#include <vector>

namespace zkv6enc {

// Appends the code of the 64 values (zigzag order, each -128..127) to
// nibbles, one nibble a byte.
void appendBlockCode(const int (&values)[64], std::vector<uint8_t>& nibbles);

// The number of nibbles appendBlockCode would append.
int blockCodeLength(const int (&values)[64]);

}  // namespace zkv6enc
