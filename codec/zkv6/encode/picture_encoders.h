// The two picture codings, encoded: each returns the payload of one "IX" or
// "IW" chunk (PictureHeader and streams) and the picture the decoder makes
// of it, which is exactly what decodeIXPicture / decodeIWPicture give.
#pragma once

#include <cstdint>
#include <vector>

namespace zkv6enc {

struct EncodedPicture {
  std::vector<uint8_t> payload;
  std::vector<uint16_t> reconstruction;
};

// A 2048x768 panorama (5-5-5 pixels), self-contained: copies come from the
// part of the same picture already decoded, across the seam too.
EncodedPicture encodeIWPicture(const uint16_t* source, int quality);

// A 640x480 picture. With a reference (the previous picture's
// reconstruction, 640x480) the predicted coding; without one the
// self-contained coding.
EncodedPicture encodeIXPicture(const uint16_t* source, const uint16_t* reference, int quality);

}  // namespace zkv6enc
