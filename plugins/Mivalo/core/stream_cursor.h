// The stream's reading of its wave data, apart from the file and
// the buffer: the constants of the 32768-byte looping buffer, the choice of
// the half to refill, and the cursor that fills buffer parts from the data,
// going back to its start as the loop count allows.
#pragma once

#include <cstdint>

namespace mivalo {

constexpr uint32_t kStreamBufferBytes = 32768;
constexpr uint32_t kStreamHalfBytes = 16384;
constexpr uint32_t kNotifyOffsets[2] = {16384, 32767};
constexpr uint32_t kStreamWaitMs = 1000;
constexpr uint32_t kStreamStackBytes = 204800;

// The half the notification asks to refill: the one the play cursor is not
// in. A cursor of 16384 or less is in the first half, so the second
// (starting at 16384) is refilled; otherwise the first.
constexpr uint32_t refillOffset(uint32_t playCursor) {
  return playCursor <= kStreamHalfBytes ? kStreamHalfBytes : 0;
}

// Where the cursor reads from: the file after its header, with the first
// sample byte as its start.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to count bytes at the current position; the number read.
  virtual uint32_t read(uint8_t* into, uint32_t count) = 0;
  // Goes back to the first sample byte.
  virtual void seekToStart() = 0;
};

// Fills buffer parts with the data played loops + 1 times (loops < 0: for
// ever), joined seamlessly: a part that crosses the end of the data holds its
// last bytes followed by its first ones. With no loop left the cursor reads
// on past the end (the bytes that follow the data chunk in the file), as the
// first fill does whatever the data's size; bytes the file does not have are
// silence. The stream stops once a refill has reached the end with no loop
// left (ended()).
class StreamCursor {
 public:
  // dataSize: bytes of the data chunk; silence: 0x80 for 8-bit samples, 0
  // for 16-bit ones.
  StreamCursor(ByteSource& source, uint32_t dataSize, int32_t loops, uint8_t silence);

  void fill(uint8_t* part, uint32_t bytes);
  bool ended() const { return loops_ == 0 && offset_ >= size_; }
  int32_t loops() const { return loops_; }
  // Bytes past the start of the data, counting those read past its end.
  uint64_t offset() const { return offset_; }

 private:
  // Back to the start as soon as the end is reached and a loop is left.
  void wrapIfDue();

  ByteSource& source_;
  uint32_t size_;
  int32_t loops_;
  uint8_t silence_;
  uint64_t offset_ = 0;
};

}  // namespace mivalo
