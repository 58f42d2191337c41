#include "answer.h"

namespace kebo {

namespace {

constexpr std::string_view kTail = "$$action";

bool endsWithActionTail(std::string_view text) {
  if (text.size() < kTail.size()) return false;
  std::string_view tail = text.substr(text.size() - kTail.size());
  return tail.substr(0, 2) == kAnswerSeparator && sameKey(tail.substr(2), "action");
}

// The token that ends at `end`, after the nearest separator before it; false
// when no separator is left.
bool previousToken(std::string_view text, std::size_t end, std::size_t& separatorAt,
                   std::string_view& token) {
  if (end < kAnswerSeparator.size()) return false;
  std::size_t at = text.rfind(kAnswerSeparator, end - kAnswerSeparator.size());
  if (at == std::string_view::npos) return false;
  separatorAt = at;
  token = text.substr(at + kAnswerSeparator.size(), end - at - kAnswerSeparator.size());
  return true;
}

}  // namespace

std::optional<Answer> parseAnswer(std::string_view text) {
  if (!endsWithActionTail(text)) return std::nullopt;
  Answer answer;
  std::size_t end = text.size();
  while (true) {
    std::size_t keyAt = 0, valueAt = 0;
    std::string_view key, value;
    // Each pair costs two separators: a block with an odd count runs out
    // here before reaching "eop".
    if (!previousToken(text, end, keyAt, key)) return std::nullopt;
    if (!previousToken(text, keyAt, valueAt, value)) return std::nullopt;
    answer.pairs.append(key, value);
    end = valueAt;
    if (sameKey(key, "cmd") && sameKey(value, "eop")) break;
  }
  answer.payload = text.substr(0, end);
  return answer;
}

}  // namespace kebo
