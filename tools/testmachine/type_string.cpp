#include "type_string.h"

#include <cctype>

namespace testvm {

namespace {

class TypeParser {
 public:
  explicit TypeParser(std::string_view text) : text_(text) {}

  std::optional<Type> parseAll() {
    std::optional<Type> type = parseOne(0);
    skipSpace();
    if (!type || at_ != text_.size()) return std::nullopt;
    return type;
  }

 private:
  static constexpr int kMaxNesting = 64;

  void skipSpace() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }

  bool isNameChar(char c) const {
    return c != '[' && c != ']' && !std::isspace(static_cast<unsigned char>(c));
  }

  // The types up to the closing bracket, the opening one already taken.
  std::optional<std::vector<Type>> parseList(int depth) {
    std::vector<Type> items;
    for (;;) {
      skipSpace();
      if (at_ >= text_.size()) return std::nullopt;
      if (text_[at_] == ']') {
        ++at_;
        return items;
      }
      std::optional<Type> item = parseOne(depth + 1);
      if (!item) return std::nullopt;
      items.push_back(std::move(*item));
    }
  }

  std::optional<Type> parseOne(int depth) {
    if (depth > kMaxNesting) return std::nullopt;
    skipSpace();
    if (at_ >= text_.size()) return std::nullopt;
    Type type;
    if (text_[at_] == '[') {
      ++at_;
      auto items = parseList(depth);
      if (!items) return std::nullopt;
      type.kind = Type::Kind::Tuple;
      type.elements = std::move(*items);
      return type;
    }
    const size_t start = at_;
    while (at_ < text_.size() && isNameChar(text_[at_])) ++at_;
    if (at_ == start) return std::nullopt;
    type.name = std::string(text_.substr(start, at_ - start));
    if (type.name != "fun") return type;

    skipSpace();
    if (at_ >= text_.size() || text_[at_] != '[') return std::nullopt;
    ++at_;
    auto params = parseList(depth);
    if (!params) return std::nullopt;
    std::optional<Type> result = parseOne(depth + 1);
    if (!result) return std::nullopt;
    type.kind = Type::Kind::Function;
    type.elements = std::move(*params);
    type.result.push_back(std::move(*result));
    return type;
  }

  std::string_view text_;
  size_t at_ = 0;
};

std::string listText(const std::vector<Type>& types) {
  std::string text = "[";
  for (size_t i = 0; i < types.size(); ++i) {
    if (i > 0) text += ' ';
    text += typeText(types[i]);
  }
  return text + "]";
}

}  // namespace

std::optional<Type> parseType(std::string_view text) { return TypeParser(text).parseAll(); }

std::string typeText(const Type& type) {
  switch (type.kind) {
    case Type::Kind::Name:
      return type.name;
    case Type::Kind::Tuple:
      return listText(type.elements);
    case Type::Kind::Function:
      return "fun " + listText(type.elements) + " " + typeText(type.result.front());
  }
  return "";
}

std::optional<Signature> parseSignature(std::string_view text) {
  std::optional<Type> type = parseType(text);
  if (!type || type->kind != Type::Kind::Function) return std::nullopt;
  return Signature{std::move(type->elements), std::move(type->result.front())};
}

}  // namespace testvm
