// The type strings primitives register with, such as "fun [F [I I] S] I":
// a type is a name, a tuple of types in brackets, or a function.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testvm {

struct Type {
  enum class Kind { Name, Tuple, Function };
  Kind kind = Kind::Name;
  std::string name;            // Name
  std::vector<Type> elements;  // Tuple elements; Function parameters
  std::vector<Type> result;    // Function: its one result
};

// The whole text as one type, or nothing when it does not parse.
std::optional<Type> parseType(std::string_view text);

// The text a type is written as.
std::string typeText(const Type& type);

struct Signature {
  std::vector<Type> params;
  Type result;
};

// The parameters and result of a primitive's "fun [PARAMS] RESULT".
std::optional<Signature> parseSignature(std::string_view text);

}  // namespace testvm
