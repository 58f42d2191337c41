#include "registry_script_parse.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace ravix {

namespace {

class Tokens {
 public:
  Tokens(std::string_view text, const Replacements& replacements) : text_(text), replacements_(replacements) {}

  // The next token: a brace, '=', a quoted text (without its quotes) or a
  // bare word; false at the end or for a broken token.
  bool next(std::string& token, bool& quoted) {
    while (position_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[position_]))) ++position_;
    if (position_ >= text_.size()) return false;
    char first = text_[position_];
    quoted = first == '\'';
    std::string raw;
    if (first == '{' || first == '}' || first == '=') {
      raw = first;
      ++position_;
    } else if (quoted) {
      ++position_;
      while (true) {
        if (position_ >= text_.size()) return false;
        char c = text_[position_++];
        if (c == '\'') {
          if (position_ < text_.size() && text_[position_] == '\'') {
            raw += '\'';
            ++position_;
            continue;
          }
          break;
        }
        raw += c;
      }
    } else {
      while (position_ < text_.size()) {
        char c = text_[position_];
        if (std::isspace(static_cast<unsigned char>(c)) || c == '=' || c == '{' || c == '}') break;
        raw += c;
        ++position_;
      }
    }
    return replace(raw, token);
  }

  bool peek(std::string& token, bool& quoted) {
    size_t saved = position_;
    bool found = next(token, quoted);
    position_ = saved;
    return found;
  }

 private:
  bool replace(const std::string& raw, std::string& out) const {
    out.clear();
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '%') {
        out += raw[i];
        continue;
      }
      size_t end = raw.find('%', i + 1);
      if (end == std::string::npos) return false;
      std::string name = raw.substr(i + 1, end - i - 1);
      if (name.empty()) {
        out += '%';
      } else {
        auto found = replacements_.find(name);
        if (found == replacements_.end()) return false;
        out += found->second;
      }
      i = end;
    }
    return true;
  }

  std::string_view text_;
  const Replacements& replacements_;
  size_t position_ = 0;
};

bool isWord(const std::string& token, bool quoted, const char* word) { return !quoted && token == word; }

bool parseValue(Tokens& tokens, ScriptValue& value) {
  std::string type, text;
  bool quoted = false;
  if (!tokens.next(type, quoted) || quoted) return false;
  if (!tokens.next(text, quoted)) return false;
  if (type == "s") {
    value.text = text;
    return true;
  }
  if (type == "d") {
    // 0 to 0xFFFFFFFF, written in decimal, hexadecimal (0x) or octal (0).
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long number = std::strtoull(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || number > 0xFFFFFFFFull) return false;
    value.number = static_cast<uint32_t>(number);
    value.isNumber = true;
    return true;
  }
  return false;
}

bool parseKeys(Tokens& tokens, ScriptKey& parent);

bool parseKey(Tokens& tokens, ScriptKey& key) {
  std::string token;
  bool quoted = false;
  if (!tokens.next(token, quoted)) return false;
  if (isWord(token, quoted, "ForceRemove")) key.rule = ScriptKey::Rule::ForceRemove;
  if (isWord(token, quoted, "NoRemove")) key.rule = ScriptKey::Rule::NoRemove;
  if (isWord(token, quoted, "Delete")) key.rule = ScriptKey::Rule::Delete;
  if (key.rule != ScriptKey::Rule::Plain && !tokens.next(token, quoted)) return false;
  if (!quoted && (token == "{" || token == "}" || token == "=")) return false;
  key.name = token;
  if (tokens.peek(token, quoted) && isWord(token, quoted, "=")) {
    tokens.next(token, quoted);
    ScriptValue value;
    if (!parseValue(tokens, value)) return false;
    key.values.push_back(value);
  }
  if (tokens.peek(token, quoted) && isWord(token, quoted, "{")) {
    tokens.next(token, quoted);
    if (!parseKeys(tokens, key)) return false;
  }
  return true;
}

// Subkeys and named values up to the closing brace of their parent.
bool parseKeys(Tokens& tokens, ScriptKey& parent) {
  std::string token;
  bool quoted = false;
  while (tokens.peek(token, quoted)) {
    if (isWord(token, quoted, "}")) {
      tokens.next(token, quoted);
      return true;
    }
    if (isWord(token, quoted, "val")) {
      tokens.next(token, quoted);
      std::string name, equals;
      if (!tokens.next(name, quoted) || !tokens.next(equals, quoted) || equals != "=") return false;
      ScriptValue value;
      value.name = name;
      if (name.empty() || !parseValue(tokens, value)) return false;
      parent.values.push_back(value);
      continue;
    }
    ScriptKey key;
    if (!parseKey(tokens, key)) return false;
    parent.subkeys.push_back(std::move(key));
  }
  return false;
}

bool rootKey(const std::string& name, RegistryRoot& root) {
  if (name == "HKCR" || name == "HKEY_CLASSES_ROOT") root = RegistryRoot::ClassesRoot;
  else if (name == "HKCU" || name == "HKEY_CURRENT_USER") root = RegistryRoot::CurrentUser;
  else if (name == "HKLM" || name == "HKEY_LOCAL_MACHINE") root = RegistryRoot::LocalMachine;
  else if (name == "HKU" || name == "HKEY_USERS") root = RegistryRoot::Users;
  else return false;
  return true;
}

}  // namespace

bool parseRegistryScript(std::string_view text, const Replacements& replacements, std::vector<ScriptRoot>& roots) {
  Tokens tokens(text, replacements);
  std::string token, brace;
  bool quoted = false;
  while (tokens.next(token, quoted)) {
    ScriptRoot root;
    if (!rootKey(token, root.root) || !tokens.next(brace, quoted) || brace != "{") return false;
    ScriptKey top;
    if (!parseKeys(tokens, top) || !top.values.empty()) return false;
    root.keys = std::move(top.subkeys);
    roots.push_back(std::move(root));
  }
  return true;
}

}  // namespace ravix
