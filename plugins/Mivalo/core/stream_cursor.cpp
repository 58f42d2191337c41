#include "stream_cursor.h"

#include <algorithm>
#include <cstring>

namespace mivalo {

StreamCursor::StreamCursor(ByteSource& source, uint32_t dataSize, int32_t loops, uint8_t silence)
    : source_(source), size_(dataSize), loops_(dataSize == 0 ? 0 : loops), silence_(silence) {}

void StreamCursor::fill(uint8_t* part, uint32_t bytes) {
  filled_ += bytes;
  while (bytes > 0) {
    if (ended()) {
      std::memset(part, silence_, bytes);
      return;
    }
    const uint32_t chunk = std::min(bytes, size_ - offset_);
    const uint32_t got = std::min(source_.read(part, chunk), chunk);
    if (got < chunk) std::memset(part + got, silence_, chunk - got);
    part += chunk;
    bytes -= chunk;
    offset_ += chunk;
    if (ended()) dataEnd_ = filled_ - bytes;
    wrapIfDue();
  }
}

void StreamCursor::wrapIfDue() {
  if (loops_ == 0 || offset_ < size_) return;
  source_.seekToStart();
  offset_ = 0;
  if (loops_ > 0) --loops_;
}

}  // namespace mivalo
