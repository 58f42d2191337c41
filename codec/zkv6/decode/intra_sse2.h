// SSE2 forms of the intra block's inverse transform and colour conversion,
// for processors that have it: the same values as the scalar forms, bit for
// bit, four or eight at a time.
#pragma once

#include <cstdint>

namespace video {

// inverseTransform of idct.h.
void inverseTransformSse2(int32_t (&block)[64], uint32_t mask);

// convertWidePixel of intra_tables.h for a whole block whose values all lie
// within the wide bounds: 8 rows of 8 pixels, rows stride pixels apart.
void convertWideBlockSse2(const int32_t* y, const int32_t* u, const int32_t* v, uint16_t* out, int stride);

}  // namespace video
