// The four streams of a ZKV6 picture, each read strictly forward by its own
// cursor. Every reader is bounded by the end of its chunk: past the end it
// reads zero bits, so a stream that runs out can never take a read outside
// the frame's memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace video {

// A bounded run of bytes read forward: 0 past its end.
class ByteCursor {
 public:
  ByteCursor() = default;
  ByteCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint32_t take() { return pos_ < size_ ? data_[pos_++] : 0u; }
  size_t position() const { return pos_; }
  bool ended() const { return pos_ >= size_; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t pos_ = 0;
};

// codeStream: 32-bit little-endian words, bits taken from the top of a word
// down, then the next word.
class CodeReader {
 public:
  CodeReader() = default;
  explicit CodeReader(ByteCursor bytes) : bytes_(bytes) { load(); }

  uint32_t bit() {
    const uint32_t b = word_ >> 31;
    word_ <<= 1;
    if (--left_ == 0) load();
    return b;
  }
  // n bits, most significant first (n <= 32), as many at a time as the
  // word holds.
  uint32_t bits(int n) {
    uint64_t v = 0;
    while (n > 0) {
      const int take = n < left_ ? n : left_;
      v = (v << take) | (word_ >> (32 - take));
      word_ = take < 32 ? word_ << take : 0;
      n -= take;
      if ((left_ -= take) == 0) load();
    }
    return static_cast<uint32_t>(v);
  }
  // Only zero bits are left.
  bool ended() const { return word_ == 0 && bytes_.ended(); }

 private:
  void load() {
    word_ = 0;
    for (int k = 0; k < 4; ++k) word_ |= bytes_.take() << (8 * k);
    left_ = 32;
  }
  ByteCursor bytes_;
  uint32_t word_ = 0;
  int left_ = 32;
};

// vectorStream: 16-bit little-endian words.
class VectorReader {
 public:
  VectorReader() = default;
  explicit VectorReader(ByteCursor bytes) : bytes_(bytes) {}
  uint32_t word() {
    const uint32_t low = bytes_.take();
    return low | (bytes_.take() << 8);
  }
  bool ended() const { return bytes_.ended(); }

 private:
  ByteCursor bytes_;
};

// shortCodeStream: 12-bit codes. IX pictures take them in pairs from 3-byte
// groups (the second saved for the next call); IW pictures in fours from
// 6-byte groups.
class ShortCodeReader {
 public:
  ShortCodeReader() = default;
  explicit ShortCodeReader(ByteCursor bytes) : bytes_(bytes) {}

  uint32_t pairCode() {
    parity_ ^= 1;
    if (!parity_) return saved_;
    const uint32_t b0 = bytes_.take(), b1 = bytes_.take(), b2 = bytes_.take();
    saved_ = (b1 >> 4) | (b2 << 4);
    return (b0 | (b1 << 8)) & 0xFFF;
  }
  void groupCodes(uint32_t (&k)[4]) {
    uint32_t b[6];
    for (uint32_t& x : b) x = bytes_.take();
    k[0] = (b[0] | (b[1] << 8)) & 0xFFF;
    k[1] = (b[1] | (b[2] << 8)) >> 4;
    k[2] = (b[3] | (b[4] << 8)) & 0xFFF;
    k[3] = (b[4] | (b[5] << 8)) >> 4;
  }
  // Only zero codes are left (a saved code is one still to come).
  bool ended() const { return bytes_.ended() && (!parity_ || saved_ == 0); }

 private:
  ByteCursor bytes_;
  uint32_t parity_ = 0;
  uint32_t saved_ = 0;
};

// coefficientStream: 4-bit codes, the low nibble of each byte first.
class NibbleReader {
 public:
  NibbleReader() = default;
  NibbleReader(const uint8_t* data, size_t size) : data_(data), count_(size * 2) {}
  uint32_t nibble() {
    if (pos_ >= count_) return 0;
    const uint32_t byte = data_[pos_ >> 1];
    const uint32_t n = (pos_ & 1) ? byte >> 4 : byte & 15;
    ++pos_;
    return n;
  }
  size_t position() const { return pos_; }
  bool ended() const { return pos_ >= count_; }

 private:
  const uint8_t* data_ = nullptr;
  size_t count_ = 0;
  size_t pos_ = 0;
};

}  // namespace video
