#include "frame_walker.h"

#include "pictures.h"

namespace video {

namespace {

bool isTag(const Chunk& chunk, char a, char b) { return chunk.tag[0] == a && chunk.tag[1] == b; }

}  // namespace

int decodeIXFrame(const uint8_t* data, size_t size, uint16_t* current, const uint16_t* reference) {
  bool decoded = false;
  forEachChunk(data, size, [&](const Chunk& chunk) {
    if (!isTag(chunk, 'I', 'X')) return;
    decodeIXPicture(chunk.payload, chunk.payloadSize, current, reference);
    decoded = true;
  });
  return decoded ? kPictureDecoded : kNoPicture;
}

int decodeIWFrame(const uint8_t* data, size_t size, uint16_t* panorama) {
  bool decoded = false;
  forEachChunk(data, size, [&](const Chunk& chunk) {
    if (!isTag(chunk, 'I', 'W')) return;
    decodeIWPicture(chunk.payload, chunk.payloadSize, panorama);
    decoded = true;
  });
  return decoded ? kPictureDecoded : kNoPicture;
}

}  // namespace video
