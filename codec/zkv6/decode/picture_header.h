// The PictureHeader at the start of an "IX" or "IW" payload, and the four
// streams it places. Offsets outside the payload give empty streams.
#pragma once

#include <cstddef>
#include <cstdint>

#include "byte_order.h"
#include "streams.h"

namespace video {

struct PictureHeader {
  int32_t quality;  // Q
  uint32_t codeStart, vectorStart, shortCodeStart, coefficientStart, coefficientEnd;
};
constexpr size_t kPictureHeaderBytes = 24;

struct PictureStreams {
  int32_t quality = 0;
  CodeReader codes;
  VectorReader vectors;
  ShortCodeReader shortCodes;
  NibbleReader coefficients;

  // Every stream has run out: the rest of the picture reads only zeros.
  bool ended() const { return codes.ended() && vectors.ended() && shortCodes.ended() && coefficients.ended(); }
};

// The fuzz target's decoder leaves a picture at the first row of blocks that
// starts once its streams have run out: the rows after that decode the same
// zeros for every input, and took most of the time of short inputs.
// Everywhere else every block is decoded.
#ifdef ZKV6_STOP_WHEN_STREAMS_END
constexpr bool kStopWhenStreamsEnd = true;
#else
constexpr bool kStopWhenStreamsEnd = false;
#endif

// The header of the payload [payload, payload + size). A payload shorter than
// its header reads as zero past its end.
inline PictureHeader readPictureHeader(const uint8_t* payload, size_t size) {
  uint8_t bytes[kPictureHeaderBytes] = {};
  for (size_t k = 0; k < kPictureHeaderBytes && k < size; ++k) bytes[k] = payload[k];
  using zkv6::readLe32;
  return {static_cast<int32_t>(readLe32(bytes)), readLe32(bytes + 4), readLe32(bytes + 8),
          readLe32(bytes + 12), readLe32(bytes + 16), readLe32(bytes + 20)};
}

inline PictureStreams openStreams(const uint8_t* payload, size_t size) {
  const PictureHeader h = readPictureHeader(payload, size);
  // A stream from its start offset to the end of the payload; none when the
  // offset lies outside it.
  auto from = [&](uint32_t start) {
    return start < size ? ByteCursor(payload + start, size - start) : ByteCursor();
  };
  PictureStreams s;
  s.quality = h.quality;
  s.codes = CodeReader(from(h.codeStart));
  s.vectors = VectorReader(from(h.vectorStart));
  s.shortCodes = ShortCodeReader(from(h.shortCodeStart));
  const size_t end = h.coefficientEnd < size ? h.coefficientEnd : size;
  if (h.coefficientStart < end) s.coefficients = NibbleReader(payload + h.coefficientStart, end - h.coefficientStart);
  return s;
}

}  // namespace video
