// The 64-byte header at the start of a ZKV6 file. Bytes not named below are
// written as zero and never read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "byte_order.h"

namespace zkv6 {

constexpr size_t kFileHeaderBytes = 64;

struct FileHeader {
  std::string signature;  // bytes 0..3, up to the first zero byte
  int16_t width = 0;      // bytes 8..9
  int16_t height = 0;     // bytes 10..11
  int32_t frameCount = 0; // bytes 16..19
};

// bytes: kFileHeaderBytes of them.
inline FileHeader readFileHeader(const uint8_t* bytes) {
  FileHeader h;
  for (int k = 0; k < 4 && bytes[k]; ++k) h.signature += static_cast<char>(bytes[k]);
  h.width = readLe16Signed(bytes + 8);
  h.height = readLe16Signed(bytes + 10);
  h.frameCount = static_cast<int32_t>(readLe32(bytes + 16));
  return h;
}

// Writes kFileHeaderBytes at bytes; a signature is cut to 4 characters.
inline void writeFileHeader(const FileHeader& h, uint8_t* bytes) {
  for (size_t k = 0; k < kFileHeaderBytes; ++k) bytes[k] = 0;
  for (size_t k = 0; k < 4 && k < h.signature.size(); ++k) bytes[k] = static_cast<uint8_t>(h.signature[k]);
  writeLe16(bytes + 8, static_cast<uint16_t>(h.width));
  writeLe16(bytes + 10, static_cast<uint16_t>(h.height));
  writeLe32(bytes + 16, static_cast<uint32_t>(h.frameCount));
}

}  // namespace zkv6
