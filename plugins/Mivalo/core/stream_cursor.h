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
// last bytes followed by its first ones. After the last byte of the last pass
// every part is silence: nothing that follows the data chunk in the file is
// read, and bytes the file lacks are silence too.
class StreamCursor {
 public:
  // dataSize: bytes of the data chunk; silence: 0x80 for 8-bit samples, 0
  // for 16-bit ones.
  StreamCursor(ByteSource& source, uint32_t dataSize, int32_t loops, uint8_t silence);

  void fill(uint8_t* part, uint32_t bytes);
  // The last byte of the last pass has been filled.
  bool ended() const { return loops_ == 0 && offset_ >= size_; }
  int32_t loops() const { return loops_; }
  // Bytes filled so far, silence included: the stream position of the next
  // byte filled.
  uint64_t filled() const { return filled_; }
  // Once ended(): the stream position just past the last data byte.
  uint64_t dataEnd() const { return dataEnd_; }

 private:
  // Back to the start as soon as the end is reached and a loop is left.
  void wrapIfDue();

  ByteSource& source_;
  uint32_t size_;
  int32_t loops_;
  uint8_t silence_;
  uint32_t offset_ = 0;  // within the data
  uint64_t filled_ = 0;
  uint64_t dataEnd_ = 0;
};

// Which stream bytes the two halves of the buffer hold, to follow the play
// cursor through the stream: at the start the first fill put stream bytes 0
// to 32767 in the buffer, and each refill puts the next 16384 in one half.
class HalfMap {
 public:
  // The half at offset is about to receive the bytes from stream position
  // start on.
  void refilling(uint32_t offset, uint64_t start) { starts_[offset / kStreamHalfBytes] = start; }
  // The stream position the play cursor is at.
  uint64_t played(uint32_t playCursor) const {
    const uint32_t half = playCursor < kStreamHalfBytes ? 0 : 1;
    return starts_[half] + playCursor % kStreamHalfBytes;
  }

 private:
  uint64_t starts_[2] = {0, kStreamHalfBytes};
};

}  // namespace mivalo
