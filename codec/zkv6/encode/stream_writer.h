// Writes ZKV6 pictures code by code: the bits of codeStream, the words of
// vectorStream, the packed 12-bit codes of shortCodeStream and the nibbles of
// coefficientStream, then the PictureHeader placing them, a chunk around the
// payload and frames of chunks. The encoder writes with it, and the tests
// build pictures with it code by code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zkv6enc {

class StreamWriter {
 public:
  // codeStream: count bits of value, most significant first, packed into
  // 32-bit little-endian words from their top bit down.
  void bits(uint32_t value, int count);
  // vectorStream: one 16-bit little-endian word.
  void vector(uint32_t word);
  // shortCodeStream of an IX picture: 12-bit codes in pairs of 3 bytes.
  void ixShortCode(uint32_t code);
  // shortCodeStream of an IW picture: four 12-bit codes in 6 bytes.
  void iwGroup(uint32_t k0, uint32_t k1, uint32_t k2, uint32_t k3);
  // coefficientStream: one 4-bit code; bytes take their low nibble first.
  void nibble(uint32_t n);
  // A byte value as the block code writes it: high nibble, then low.
  void byteValue(int value);

  // PictureHeader (quality word, the four stream starts and the end of the
  // coefficient stream) followed by the streams in order.
  std::vector<uint8_t> payload(int32_t quality) const;
  // An 8-byte chunk header (size, tag, two unread bytes) and the payload.
  std::vector<uint8_t> chunk(const std::string& tag, int32_t quality) const;

  size_t codeBits() const { return codeBitCount_; }

 private:
  std::vector<uint32_t> codeWords_;
  size_t codeBitCount_ = 0;
  std::vector<uint8_t> vectors_, shortCodes_, coefficients_;
  size_t nibbleCount_ = 0;
  bool pendingShort_ = false;
  uint32_t firstShort_ = 0;
};

// A chunk of any tag around raw payload bytes.
std::vector<uint8_t> rawChunk(const std::string& tag, const std::vector<uint8_t>& payload);
// A frame: the frame word (size of the whole frame, top byte as given) and
// its chunks one after the other.
std::vector<uint8_t> frame(const std::vector<std::vector<uint8_t>>& chunks, uint8_t topByte = 0);
// The file header with the signature and the three values.
std::vector<uint8_t> fileHeader(const std::string& signature, int16_t width, int16_t height, int32_t frameCount);

}  // namespace zkv6enc
