// Intra blocks the other way round: an 8x8 block of 5-5-5 pixels to Y, U and
// V coefficients (a forward transform matched to the decoder's inverse and
// its scaling), quantised for the picture's quality, written with the
// shortest nibble codes. The block's reconstruction is what the decoder
// makes of those codes.
#pragma once

#include <cstdint>
#include <vector>

#include "intra_block.h"

namespace zkv6enc {

struct IntraCode {
  std::vector<uint8_t> nibbles;  // the Y, U and V codes, one nibble a byte, in stream order
  uint16_t reconstruction[64];   // the decoder's pixels for them, row after row
};

class IntraEncoder {
 public:
  // quality as the PictureHeader gives it to the decoder (held to 1..100).
  explicit IntraEncoder(int quality);

  // The codes of the 8x8 block whose top-left pixel is source (rows stride
  // pixels apart), and the decoder's pixels for them.
  IntraCode encode(const uint16_t* source, int stride) const;

 private:
  // The codes of the three blocks' values (zigzag order) and the decoder's
  // pixels for them.
  IntraCode code(const int (&values)[3][64]) const;

  video::QuantTables tables_;
  int quality_;
};

}  // namespace zkv6enc
