// A server answer collected in memory as the browser delivers it. The
// buffer grows by half its size at least, so that n bytes cost O(n)
// copying, and never past a limit: a larger answer is abandoned whole.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace kebo {

// The largest answer kept: a component package is far smaller.
inline constexpr std::size_t kMaxAnswerBytes = 16 * 1024 * 1024;

class AnswerBuffer {
 public:
  explicit AnswerBuffer(std::size_t limit = kMaxAnswerBytes);

  // False once the answer would pass the limit (or memory runs out): the
  // bytes are then dropped and every later append is refused too.
  bool append(const void* data, std::size_t size);
  bool abandoned() const { return abandoned_; }
  // The bytes so far; a zero byte follows them in memory.
  std::string_view text() const { return {memory_.get(), length_}; }
  // Bytes copied from an old buffer into a grown one, all told.
  std::size_t bytesMoved() const { return moved_; }

 private:
  bool grow(std::size_t needed);

  std::size_t limit_;
  std::size_t capacity_;
  std::size_t length_ = 0;
  std::size_t moved_ = 0;
  bool abandoned_ = false;
  std::unique_ptr<char[]> memory_;
};

}  // namespace kebo
