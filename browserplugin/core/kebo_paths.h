// Names of the files the server may have written into the Kebo directory.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kebo {

// A path below the Kebo directory, with its parts separated by single
// backslashes: relative (no leading separator), parts separated by "\" or "/" (runs of them count
// as one), no part "." or "..", no drive letter or colon, no device name
// (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with any extension, in any case), and
// a file name at the end. Nothing for any other text.
std::optional<std::string> pathInsideKeboDirectory(std::string_view relative);

// The file name a download is saved under: the part of its URL after the
// last "/"; nothing when that part is not a plain file name (a backslash, a
// colon, "..", a device name, or a byte no file name may hold).
std::optional<std::string> downloadFileName(std::string_view url);

// directory + "\" when it has none + name.
std::string joinKeboPath(std::string_view directory, std::string_view name);

}  // namespace kebo
