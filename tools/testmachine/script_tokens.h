// Splits a script line into words and double-quoted strings; '#' outside a
// string starts a comment.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace testvm {

struct Token {
  std::string text;  // a string's characters, escapes resolved
  bool quoted = false;
};

// The tokens of a line, or nothing (with error set) for an unfinished string
// or an unknown escape.
std::optional<std::vector<Token>> tokenize(const std::string& line, std::string& error);

}  // namespace testvm
