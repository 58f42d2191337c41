// How fuzz_video reads an input, shared with the tool that measures which
// decoder paths a corpus reaches: the first byte chooses the reader, the
// rest is an IX or IW picture's payload, or the chunks of a frame, and
// whether the SSE2 or the scalar form of the intra blocks' loops decodes it
// (both ship: the scalar one runs on processors without SSE2).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "code_path.h"
#include "frame_walker.h"
#include "pictures.h"

namespace fuzzvideo {

enum Mode : uint8_t { kIxPicture = 0, kIwPicture = 1, kIxFrame = 2, kIwFrame = 3 };
constexpr uint8_t kScalarBit = 4;

// The pictures every input decodes into, allocated once.
struct Pictures {
  std::vector<uint16_t> current = std::vector<uint16_t>(video::kIxWidth * video::kIxHeight);
  std::vector<uint16_t> reference = std::vector<uint16_t>(video::kIxWidth * video::kIxHeight, 0x1234);
  std::vector<uint16_t> panorama = std::vector<uint16_t>(video::kIwWidth * video::kIwHeight);
};

inline void decodeInput(const uint8_t* data, size_t size, Pictures& p) {
  if (size == 0) return;
  const uint8_t* rest = data + 1;
  const size_t restSize = size - 1;
  codec::setCodePath(data[0] & kScalarBit ? codec::CodePath::kScalar : codec::CodePath::kSse2);
  switch (data[0] & 3) {
    case kIxPicture: video::decodeIXPicture(rest, restSize, p.current.data(), p.reference.data()); break;
    case kIwPicture: video::decodeIWPicture(rest, restSize, p.panorama.data()); break;
    case kIxFrame: video::decodeIXFrame(rest, restSize, p.current.data(), p.reference.data()); break;
    default: video::decodeIWFrame(rest, restSize, p.panorama.data()); break;
  }
}

}  // namespace fuzzvideo
