// Paths built from script values.
#pragma once

#include <string>

#include "interpreter.h"

namespace setup {

// Paths longer than the system's MAX_PATH, terminator included, name no
// file: operations on them fail instead of touching a truncated path.
constexpr size_t kMaxPath = 260;
inline bool fitsMaxPath(const std::string& path) { return path.size() < kMaxPath; }

// directory, separator, name; no path when either part has no value.
inline Value joinPath(const Value& directory, const Value& name, char separator = '\\') {
  if (!directory || !name) return std::nullopt;
  return *directory + separator + *name;
}

// "c:", "c:\", "\" or "" (a drive's whole tree).
bool isDriveRoot(const std::string& path);

}  // namespace setup
