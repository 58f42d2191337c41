#include "script_tokens.h"

#include <cctype>

namespace testvm {

namespace {
bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
}  // namespace

std::optional<std::vector<Token>> tokenize(const std::string& line, std::string& error) {
  std::vector<Token> tokens;
  size_t at = 0;
  while (at < line.size()) {
    if (isSpace(line[at])) {
      ++at;
      continue;
    }
    if (line[at] == '#') break;
    Token token;
    if (line[at] != '"') {
      const size_t start = at;
      while (at < line.size() && !isSpace(line[at])) ++at;
      token.text = line.substr(start, at - start);
      tokens.push_back(std::move(token));
      continue;
    }
    token.quoted = true;
    ++at;
    for (;;) {
      if (at >= line.size()) {
        error = "unfinished string";
        return std::nullopt;
      }
      const char c = line[at++];
      if (c == '"') break;
      if (c != '\\') {
        token.text += c;
        continue;
      }
      const char escaped = at < line.size() ? line[at++] : '\0';
      if (escaped == '"' || escaped == '\\') {
        token.text += escaped;
      } else if (escaped == 'n') {
        token.text += '\n';
      } else {
        error = std::string("unknown escape \\") + escaped;
        return std::nullopt;
      }
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

}  // namespace testvm
