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
};

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
