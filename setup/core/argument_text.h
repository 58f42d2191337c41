// How commands read the values of their arguments.
//
// One rule for values that are missing (an unset variable, a missing
// argument): where a command needs text, a missing value reads as the empty
// string; where it needs a file or a directory, a path built from a missing
// value is no path, and the command does nothing with it.
#pragma once

#include <string>

#include "interpreter.h"

namespace setup {

inline const std::string& textOf(const Value& value) {
  static const std::string empty;
  return value ? *value : empty;
}

inline bool hasText(const Value& value) { return value && !value->empty(); }

// Compares at most as many bytes as prefix has, as unsigned bytes (letters
// folded to lower case when asked): 0 when text begins with prefix.
int comparePrefix(const std::string& text, const std::string& prefix, bool ignoreCase);

}  // namespace setup
