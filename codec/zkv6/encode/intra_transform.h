// The forward transform of the intra blocks: the exact inverse of the
// decoder's integer inverse transform taken as the linear map it
// approximates, so that the decoder brings the coefficients back to the
// block up to its own rounding.
#pragma once

namespace zkv6enc {

// signal: 64 values in natural order, in the units of the decoder's
// transformed values (4 fractional bits). coefficients: the dequantised
// values, natural order, whose inverse transform is signal.
void forwardTransform(const double (&signal)[64], double (&coefficients)[64]);

}  // namespace zkv6enc
