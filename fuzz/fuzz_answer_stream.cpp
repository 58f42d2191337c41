// Any bytes as an answer delivered in pieces, as the browser writes a
// stream into the plug-in: the buffer holds exactly the bytes written while
// they fit its limit, refuses everything once one piece would pass it, keeps
// its text followed by a zero byte, and copies at most a few times what it
// holds however the pieces fall. A kept answer without filler then goes to
// the parser.
//
// Input: one byte choosing the limit (the real one, 16 MiB, shifted right
// by 0 to 24), then pieces: a byte N below 0xFF and N bytes of the input,
// or the byte 0xFF and three bytes L (low first), a piece of L filler bytes
// (up to 16 MiB less one, so that a piece or two reach the real limit).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "answer.h"
#include "answer_buffer.h"

namespace {

constexpr uint8_t kFiller = 0xFF;

struct Piece {
  const char* data;
  size_t size;
};

// The next piece of the input, its filler in `filler`; false at the end.
bool nextPiece(const uint8_t*& at, const uint8_t* end, std::vector<char>& filler, Piece& piece) {
  if (at == end) return false;
  const uint8_t head = *at++;
  if (head != kFiller) {
    piece.size = std::min<size_t>(head, end - at);
    piece.data = reinterpret_cast<const char*>(at);
    at += piece.size;
    return true;
  }
  size_t size = 0;
  for (int k = 0; k < 3 && at != end; ++k) size |= static_cast<size_t>(*at++) << (8 * k);
  if (filler.size() < size) filler.resize(size, '$');
  piece = {filler.data(), size};
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static std::vector<char> filler;
  const size_t limit = kebo::kMaxAnswerBytes >> (data[0] % 25);
  kebo::AnswerBuffer buffer(limit);
  std::string expected;
  bool refused = false;
  const uint8_t* at = data + 1;
  Piece piece{};
  while (nextPiece(at, data + size, filler, piece)) {
    const bool fits = !refused && expected.size() + piece.size <= limit;
    if (buffer.append(piece.data, piece.size) != fits) abort();
    if (fits) {
      expected.append(piece.data, piece.size);
    } else {
      refused = true;
      expected.clear();
    }
    const std::string_view text = buffer.text();
    if (buffer.abandoned() != refused || text.size() != expected.size() || text.data()[text.size()] != '\0') abort();
    // Growth by half at least: what was copied stays within three times
    // what is held (one step of 256 bytes aside).
    if (!refused && buffer.bytesMoved() > 3 * text.size() + 256) abort();
  }
  if (buffer.text() != expected) abort();
  // The parser's own target reads long texts; filler adds nothing there.
  if (!refused && buffer.text().size() <= size) (void)kebo::parseAnswer(buffer.text());
  return 0;
}
