#include "zkv6_file.h"

#include "byte_order.h"
#include "frame_walker.h"

namespace zkv6 {

bool Zkv6Reader::open(const std::string& path, std::string& error) {
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) error = "cannot open " + path;
  return file_ != nullptr;
}

Zkv6Reader::~Zkv6Reader() {
  if (file_) std::fclose(file_);
}

FileHeader Zkv6Reader::header() {
  uint8_t bytes[kFileHeaderBytes] = {};
  if (std::fread(bytes, 1, sizeof bytes, file_) == 0) return {};
  return readFileHeader(bytes);
}

bool Zkv6Reader::nextFrame(Frame& frame) {
  uint8_t word[4] = {};
  if (std::fread(word, 1, sizeof word, file_) == 0) return false;
  frame.word = readLe32(word);
  frame.size = video::frameDataBytes(frame.word);
  frame.bytes.assign(frame.size > 0 ? static_cast<size_t>(frame.size) : 0, 0);
  frame.bytes.resize(std::fread(frame.bytes.data(), 1, frame.bytes.size(), file_));
  return true;
}

}  // namespace zkv6
