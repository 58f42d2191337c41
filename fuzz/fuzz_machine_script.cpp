// Any bytes as a line of a test machine script and as a primitive's type
// string. A line's tokens written again (strings quoted and escaped) give
// the same tokens; a type that parses is written as a text that parses to
// the same type.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "script_tokens.h"
#include "type_string.h"

namespace {

std::string written(const std::vector<testvm::Token>& tokens) {
  std::string line;
  for (const auto& token : tokens) {
    if (!token.quoted) {
      line += token.text + " ";
      continue;
    }
    line += '"';
    for (char c : token.text) {
      if (c == '"' || c == '\\') line += '\\';
      line += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    line += "\" ";
  }
  return line;
}

bool sameTokens(const std::vector<testvm::Token>& a, const std::vector<testvm::Token>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].text != b[i].text || a[i].quoted != b[i].quoted) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  if (auto tokens = testvm::tokenize(text, error)) {
    for (const auto& token : *tokens)
      if (!token.quoted && (token.text.empty() || token.text[0] == '"' || token.text[0] == '#')) abort();
    auto again = testvm::tokenize(written(*tokens), error);
    if (!again || !sameTokens(*tokens, *again)) abort();
  } else if (error.empty()) {
    abort();
  }
  if (auto type = testvm::parseType(text)) {
    const std::string typeText = testvm::typeText(*type);
    auto again = testvm::parseType(typeText);
    if (!again || testvm::typeText(*again) != typeText) abort();
  }
  (void)testvm::parseSignature(text);
  return 0;
}
