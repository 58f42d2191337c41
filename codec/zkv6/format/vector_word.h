// The 16-bit words of vectorStream, in two layouts:
//
//   long vector       bits 0-6 rows back (y), bits 7-14 columns back (x)
//   small-piece word  bits 0-11 the near code, bits 12-14 the transform
//
// Bit 15 is a flag in both: the source picture (current when set) in the
// predicted IX coding, the transform's low bit in the long vectors of the
// self-contained IX coding and of IW.
#pragma once

#include <cstdint>

namespace zkv6 {

struct VectorWord {
  uint32_t bits = 0;

  constexpr uint32_t flag() const { return (bits >> 15) & 1; }
  constexpr int rows() const { return static_cast<int>(bits & 0x7F); }
  constexpr int columns() const { return static_cast<int>((bits >> 7) & 0xFF); }
  constexpr uint32_t nearCode() const { return bits & 0xFFF; }
  constexpr int transform() const { return static_cast<int>((bits >> 12) & 7); }

  // columns 0..255, rows 0..127, flag 0 or 1.
  static constexpr VectorWord longVector(int columns, int rows, uint32_t flag) {
    return {(flag << 15) | (static_cast<uint32_t>(columns) << 7) | static_cast<uint32_t>(rows)};
  }
  // nearCode 0..4095, transform 0..7, flag 0 or 1.
  static constexpr VectorWord smallPiece(uint32_t nearCode, uint32_t transform, uint32_t flag) {
    return {(flag << 15) | (transform << 12) | nearCode};
  }
};

}  // namespace zkv6
