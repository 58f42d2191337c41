// Any bytes, as a frame's chunks and as a picture's payload, through the
// frame walker and both picture decoders: no read outside the bytes, no
// write outside the pictures (the sanitizers watch both).
#include <cstdint>

#include "video_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzzvideo::Pictures* pictures = new fuzzvideo::Pictures;
  fuzzvideo::decodeInput(data, size, *pictures);
  return 0;
}
