// Reading a ZKV6 file as the video primitives do: the 64-byte header, then
// frame after frame, strictly forward.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "file_header.h"

namespace zkv6 {

struct Frame {
  uint32_t word = 0;        // the frame word as read
  int64_t size = 0;         // bytes of chunks the word announces (negative when below 4)
  std::vector<uint8_t> bytes;  // what the file held of them
};

class Zkv6Reader {
 public:
  // False with error set when the file cannot be opened.
  bool open(const std::string& path, std::string& error);
  ~Zkv6Reader();
  FileHeader header();
  // False at the end of the file (no frame word left).
  bool nextFrame(Frame& frame);

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace zkv6
