// Names of the files the server may have written into the Kebo directory.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kebo {

// A path below the Kebo directory: relative, parts separated by "\" or "/",
// no part empty, "." or "..", no drive letter or colon.
bool isPathInsideKeboDirectory(std::string_view relative);

// The file name a download is saved under: the part of its URL after the
// last "/"; nothing when that part is not a plain file name (a backslash, a
// colon, "..", or a byte no file name may hold).
std::optional<std::string> downloadFileName(std::string_view url);

// directory + "\" when it has none + name.
std::string joinKeboPath(std::string_view directory, std::string_view name);

}  // namespace kebo
