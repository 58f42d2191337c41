// ZKV6 frames: a frame word, then chunks one after the other. The walk over
// a frame's bytes, and the decoding of the picture chunks of one kind.
#pragma once

#include <cstddef>
#include <cstdint>

#include "byte_order.h"

namespace video {

// Results of reading one frame, as the video primitives answer them.
constexpr int kPictureDecoded = 0;
constexpr int kNoMemory = -1;
constexpr int kNoPicture = -2;

constexpr size_t kChunkHeaderBytes = 8;

using zkv6::readLe32;

// The bytes of chunks that follow a frame word: its low 24 bits count the
// whole frame, word included; the top byte is not part of the size. A word
// below 4 gives a negative count.
constexpr int64_t frameDataBytes(uint32_t frameWord) { return static_cast<int64_t>(frameWord & 0xFFFFFF) - 4; }

struct Chunk {
  char tag[2];
  uint32_t size;           // the chunk's size word, header included
  const uint8_t* payload;  // the bytes after the 8-byte header
  size_t payloadSize;
};

// Calls visit(chunk) for each chunk of the frame's bytes in order. The walk
// ends at the end of the bytes, and also at a chunk that cannot be one: a
// size below its own 8-byte header (0 among them, which would never move on)
// or reaching past the frame's bytes. Returns false when it ended that way.
template <typename Visit>
bool forEachChunk(const uint8_t* data, size_t size, Visit&& visit) {
  size_t o = 0;
  while (o < size) {
    if (size - o < kChunkHeaderBytes) return false;
    const uint8_t* c = data + o;
    const uint32_t chunkSize = readLe32(c);
    if (chunkSize < kChunkHeaderBytes || chunkSize > size - o) return false;
    visit(Chunk{{static_cast<char>(c[4]), static_cast<char>(c[5])}, chunkSize, c + kChunkHeaderBytes,
                chunkSize - kChunkHeaderBytes});
    o += chunkSize;
  }
  return true;
}

// Decodes every "IX" chunk of the frame into current, with reference as the
// previous picture; kPictureDecoded when there was at least one.
int decodeIXFrame(const uint8_t* data, size_t size, uint16_t* current, const uint16_t* reference);
// Decodes every "IW" chunk of the frame into the panorama.
int decodeIWFrame(const uint8_t* data, size_t size, uint16_t* panorama);

}  // namespace video
