// The server's answers: a payload followed by an action block,
//   payload $$eop$$cmd ($$value$$key)... $$N$$action
// read backwards from the end.
#pragma once

#include <optional>
#include <string_view>

#include "pair_list.h"

namespace kebo {

// Pairs are kept in the order they are read, from the end: of two pairs with
// the same key, the one nearer the end of the answer is found.
struct Answer {
  PairList pairs{kAnswerSeparator};  // "action", "cmd" = "eop" and the others
  std::string_view payload;          // the bytes before the action block
  long action() const { return pairs.number("action"); }
};

// The action block of an answer, or nothing when the text does not end in
// "$$action" (any letter case) or its block is not a complete run of pairs
// down to "eop"/"cmd". The answer is taken as bytes: a payload may hold zeros
// and "$$" of its own without hiding the block.
std::optional<Answer> parseAnswer(std::string_view text);

}  // namespace kebo
