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

// How hard the encoders search for copies: thorough (more time, a few
// bytes fewer), the default, or fast (several times quicker, more bytes).
enum class Speed { kThorough = 0, kDefault = 1, kFast = 2 };

// A 2048x768 panorama (5-5-5 pixels), self-contained: copies come from the
// part of the same picture already decoded, across the seam too.
EncodedPicture encodeIWPicture(const uint16_t* source, int quality, Speed speed = Speed::kDefault);

// A 640x480 picture. With a reference (the previous picture's
// reconstruction, 640x480) the predicted coding; without one the
// self-contained coding.
EncodedPicture encodeIXPicture(const uint16_t* source, const uint16_t* reference, int quality,
                               Speed speed = Speed::kDefault);

}  // namespace zkv6enc
