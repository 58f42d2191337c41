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

// Whether directory, once its "." and ".." parts are resolved (a relative
// path from currentDirectory), is the root of a drive or of a network
// share: "c:", "C:\.", "C:\\", "\", "", "\\server\share", "..\.." from a
// folder two levels down. The walk that lists directory + "\*.*" would
// then go through the drive's whole tree.
bool namesDriveRoot(const std::string& directory, const std::string& currentDirectory);

// Whether two paths as scripts build them name the same file or folder:
// ASCII letter case, the kind of separator, doubled separators and a
// trailing one make no difference.
bool samePath(const std::string& a, const std::string& b);

}  // namespace setup
