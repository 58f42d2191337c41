// How far a decoded picture is from its source: squared differences of the
// red, green and blue components of 5-5-5 pixels.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zkv6enc {

// Sum over a width x height piece of both pictures (rows stride pixels apart)
// of the squared component differences, in 5-bit units.
int64_t pieceError(const uint16_t* a, int strideA, const uint16_t* b, int strideB, int width, int height);

// Peak signal to noise ratio in dB of count pixels, in 8-bit component
// terms (each 5-bit component expanded as the tools show it); 99 when equal.
double psnr(const uint16_t* a, const uint16_t* b, size_t count);

}  // namespace zkv6enc
