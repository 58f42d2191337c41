#include "stream_writer.h"

#include "byte_order.h"
#include "file_header.h"

namespace zkv6enc {

namespace {

using zkv6::appendLe32;

}  // namespace

void StreamWriter::bits(uint32_t value, int count) {
  for (int k = count - 1; k >= 0; --k) {
    if (codeBitCount_ % 32 == 0) codeWords_.push_back(0);
    if ((value >> k) & 1) codeWords_.back() |= 0x80000000u >> (codeBitCount_ % 32);
    ++codeBitCount_;
  }
}

void StreamWriter::vector(uint32_t word) {
  vectors_.push_back(static_cast<uint8_t>(word));
  vectors_.push_back(static_cast<uint8_t>(word >> 8));
}

void StreamWriter::ixShortCode(uint32_t code) {
  code &= 0xFFF;
  if (!pendingShort_) {
    // Written at once with the second code's bits left zero; the second
    // code, if any, fills them in.
    shortCodes_.push_back(static_cast<uint8_t>(code));
    shortCodes_.push_back(static_cast<uint8_t>(code >> 8));
    shortCodes_.push_back(0);
    firstShort_ = code;
    pendingShort_ = true;
  } else {
    const size_t at = shortCodes_.size() - 3;
    shortCodes_[at + 1] = static_cast<uint8_t>((firstShort_ >> 8) | ((code & 0xF) << 4));
    shortCodes_[at + 2] = static_cast<uint8_t>(code >> 4);
    pendingShort_ = false;
  }
}

void StreamWriter::iwGroup(uint32_t k0, uint32_t k1, uint32_t k2, uint32_t k3) {
  const uint32_t pairs[2][2] = {{k0 & 0xFFF, k1 & 0xFFF}, {k2 & 0xFFF, k3 & 0xFFF}};
  for (const auto& p : pairs) {
    shortCodes_.push_back(static_cast<uint8_t>(p[0]));
    shortCodes_.push_back(static_cast<uint8_t>((p[0] >> 8) | ((p[1] & 0xF) << 4)));
    shortCodes_.push_back(static_cast<uint8_t>(p[1] >> 4));
  }
}

void StreamWriter::nibble(uint32_t n) {
  n &= 15;
  if (nibbleCount_ % 2 == 0) {
    coefficients_.push_back(static_cast<uint8_t>(n));
  } else {
    coefficients_.back() = static_cast<uint8_t>(coefficients_.back() | (n << 4));
  }
  ++nibbleCount_;
}

void StreamWriter::byteValue(int value) {
  const auto v = static_cast<uint8_t>(value);
  nibble(v >> 4);
  nibble(v & 15);
}

std::vector<uint8_t> StreamWriter::payload(int32_t quality) const {
  std::vector<uint8_t> codes;
  for (uint32_t w : codeWords_) appendLe32(codes, w);
  const uint32_t codeStart = 24;
  const uint32_t vectorStart = codeStart + static_cast<uint32_t>(codes.size());
  const uint32_t shortStart = vectorStart + static_cast<uint32_t>(vectors_.size());
  const uint32_t coefficientStart = shortStart + static_cast<uint32_t>(shortCodes_.size());
  const uint32_t coefficientEnd = coefficientStart + static_cast<uint32_t>(coefficients_.size());
  std::vector<uint8_t> out;
  appendLe32(out, static_cast<uint32_t>(quality));
  for (uint32_t v : {codeStart, vectorStart, shortStart, coefficientStart, coefficientEnd}) appendLe32(out, v);
  out.insert(out.end(), codes.begin(), codes.end());
  out.insert(out.end(), vectors_.begin(), vectors_.end());
  out.insert(out.end(), shortCodes_.begin(), shortCodes_.end());
  out.insert(out.end(), coefficients_.begin(), coefficients_.end());
  return out;
}

std::vector<uint8_t> StreamWriter::chunk(const std::string& tag, int32_t quality) const {
  return rawChunk(tag, payload(quality));
}

std::vector<uint8_t> rawChunk(const std::string& tag, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> out;
  appendLe32(out, static_cast<uint32_t>(payload.size() + 8));
  out.push_back(static_cast<uint8_t>(tag.size() > 0 ? tag[0] : 0));
  out.push_back(static_cast<uint8_t>(tag.size() > 1 ? tag[1] : 0));
  out.push_back(0);  // two bytes the decoder never reads
  out.push_back(0);
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

std::vector<uint8_t> frame(const std::vector<std::vector<uint8_t>>& chunks, uint8_t topByte) {
  size_t size = 4;
  for (const auto& c : chunks) size += c.size();
  std::vector<uint8_t> out;
  appendLe32(out, static_cast<uint32_t>(size & 0xFFFFFF) | (static_cast<uint32_t>(topByte) << 24));
  for (const auto& c : chunks) out.insert(out.end(), c.begin(), c.end());
  return out;
}

std::vector<uint8_t> fileHeader(const std::string& signature, int16_t width, int16_t height, int32_t frameCount) {
  std::vector<uint8_t> out(zkv6::kFileHeaderBytes);
  zkv6::writeFileHeader({signature, width, height, frameCount}, out.data());
  return out;
}

}  // namespace zkv6enc
