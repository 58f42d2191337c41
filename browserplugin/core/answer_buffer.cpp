#include "answer_buffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace kebo {

namespace {

constexpr std::size_t kStep = 256;

std::size_t roundedUp(std::size_t size) { return (size + kStep - 1) / kStep * kStep; }

}  // namespace

AnswerBuffer::AnswerBuffer(std::size_t limit)
    : limit_(limit), capacity_(kStep), memory_(new (std::nothrow) char[kStep + 1]) {
  if (memory_) {
    memory_[0] = '\0';
  } else {
    abandoned_ = true;
  }
}

bool AnswerBuffer::grow(std::size_t needed) {
  std::size_t capacity = std::min(std::max(roundedUp(needed), capacity_ + capacity_ / 2), limit_);
  std::unique_ptr<char[]> grown(new (std::nothrow) char[capacity + 1]);
  if (!grown) return false;
  std::memcpy(grown.get(), memory_.get(), length_);
  moved_ += length_;
  memory_ = std::move(grown);
  capacity_ = capacity;
  return true;
}

bool AnswerBuffer::append(const void* data, std::size_t size) {
  if (abandoned_) return false;
  bool fits = size <= limit_ - length_;
  if (!fits || (length_ + size > capacity_ && !grow(length_ + size))) {
    abandoned_ = true;
    memory_.reset(new (std::nothrow) char[1]{});
    length_ = 0;
    capacity_ = 0;
    return false;
  }
  if (size) std::memcpy(memory_.get() + length_, data, size);
  length_ += size;
  memory_[length_] = '\0';
  return true;
}

}  // namespace kebo
