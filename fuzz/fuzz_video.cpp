// Any bytes, as a frame's chunks and as a picture's payload, through the
// frame walker and both picture decoders: no read outside the bytes, no
// write outside the bitmaps (the sanitizers watch both).
#include <cstdint>
#include <vector>

#include "frame_walker.h"
#include "pictures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::vector<uint16_t> current(video::kIxWidth * video::kIxHeight);
  static std::vector<uint16_t> reference(video::kIxWidth * video::kIxHeight, 0x1234);
  static std::vector<uint16_t> panorama(video::kIwWidth * video::kIwHeight);
  if (size == 0) return 0;
  // The first byte chooses how the rest is read, so the fuzzer can reach
  // each decoder straight from a payload or through the chunk walk.
  const uint8_t mode = data[0] & 3;
  ++data;
  --size;
  switch (mode) {
    case 0: video::decodeIXPicture(data, size, current.data(), reference.data()); break;
    case 1: video::decodeIWPicture(data, size, panorama.data()); break;
    case 2: video::decodeIXFrame(data, size, current.data(), reference.data()); break;
    default: video::decodeIWFrame(data, size, panorama.data()); break;
  }
  return 0;
}
