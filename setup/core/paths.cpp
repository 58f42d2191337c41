#include "paths.h"

#include <string_view>
#include <vector>

namespace setup {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool hasDrive(const std::string& path) { return path.size() >= 2 && path[1] == ':'; }

// The device prefixes "\\?\" and "\\.\" name the same paths as without them;
// "\\?\UNC\server\share" is "\\server\share".
std::string withoutDevicePrefix(std::string path) {
  if (path.rfind("\\\\?\\", 0) != 0 && path.rfind("\\\\.\\", 0) != 0) return path;
  path.erase(0, 4);
  if (path.size() >= 4 && lower(path[0]) == 'u' && lower(path[1]) == 'n' && lower(path[2]) == 'c' &&
      path[3] == '\\') {
    path.replace(0, 3, "\\");
  }
  return path;
}

// The parts of path between separators, empty ones left out.
std::vector<std::string_view> partsOf(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start < path.size()) {
    size_t end = start;
    while (end < path.size() && !isSeparator(path[end])) ++end;
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// How many levels below its root the parts from first on lead. The file
// system ignores the dots and spaces that end a name, so "..." and ". "
// stay where they are and ".. " goes up like ".."; nothing goes above the
// root.
int levelsBelowRoot(const std::vector<std::string_view>& parts, size_t first) {
  int levels = 0;
  for (size_t i = first; i < parts.size(); ++i) {
    std::string_view part = parts[i];
    std::string_view trimmed = part.substr(0, part.find_last_not_of(' ') + 1);
    if (trimmed == "..") {
      if (levels > 0) --levels;
    } else if (part.find_first_not_of(". ") != std::string_view::npos) {
      ++levels;
    }
  }
  return levels;
}

// An absolute path: a drive's, a share's ("\\server\share" is its root), or
// one from the root of the current drive.
int levelsOfAbsolute(const std::string& path) {
  std::vector<std::string_view> parts = partsOf(path);
  if (path.rfind("\\\\", 0) == 0) return parts.size() <= 2 ? 0 : levelsBelowRoot(parts, 2);
  return levelsBelowRoot(parts, hasDrive(path) ? 1 : 0);
}

// The path in one spelling: lower case, backslashes, one between parts (a
// share's two at the start stay two).
std::string folded(const std::string& path) {
  std::string out;
  if (!path.empty() && isSeparator(path[0])) out = path.size() > 1 && isSeparator(path[1]) ? "\\\\" : "\\";
  for (std::string_view part : partsOf(path)) {
    if (!out.empty() && !isSeparator(out.back())) out += '\\';
    for (char c : part) out += lower(c);
  }
  return out;
}

}  // namespace

bool samePath(const std::string& a, const std::string& b) { return folded(a) == folded(b); }

bool namesDriveRoot(const std::string& directory, const std::string& currentDirectory) {
  // The walk lists directory + "\*.*": "c:" lists the root of c:.
  std::string path = directory + "\\";
  for (char& c : path) c = c == '/' ? '\\' : c;
  path = withoutDevicePrefix(path);
  std::string current = withoutDevicePrefix(currentDirectory);
  if (hasDrive(path) && !isSeparator(path[2])) {
    // "c:name": from the current directory when it is on that drive, else
    // from the drive's root as far as this program knows.
    bool sameDrive = hasDrive(current) && lower(current[0]) == lower(path[0]);
    path = (sameDrive ? current : path.substr(0, 2)) + "\\" + path.substr(2);
  } else if (!hasDrive(path) && !isSeparator(path[0])) {
    path = current + "\\" + path;
  }
  return levelsOfAbsolute(path) == 0;
}

}  // namespace setup
