#include "kebo_paths.h"

namespace kebo {

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The system reads these names as devices in every folder, whatever their
// extension (and with blanks before it).
bool isDeviceName(std::string_view part) {
  std::string_view base = part.substr(0, part.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  std::string name;
  for (char c : base) name += upper(c);
  if (name == "CON" || name == "PRN" || name == "AUX" || name == "NUL") return true;
  return name.size() == 4 && (name.rfind("COM", 0) == 0 || name.rfind("LPT", 0) == 0) && name[3] >= '1' &&
         name[3] <= '9';
}

bool isPlainPart(std::string_view part) {
  if (part == "." || part == ".." || isDeviceName(part)) return false;
  for (char c : part) {
    if (c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> pathInsideKeboDirectory(std::string_view relative) {
  // A leading separator names the drive's root, not a place inside.
  if (relative.empty() || relative.front() == '\\' || relative.front() == '/') return std::nullopt;
  std::string path;
  std::size_t start = 0;
  while (start < relative.size()) {
    std::size_t end = relative.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = relative.size();
    std::string_view part = relative.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;  // a doubled separator
    if (!isPlainPart(part)) return std::nullopt;
    if (!path.empty()) path += '\\';
    path += part;
  }
  bool endsWithName = relative.back() != '\\' && relative.back() != '/';
  if (path.empty() || !endsWithName) return std::nullopt;
  return path;
}

std::optional<std::string> downloadFileName(std::string_view url) {
  std::size_t slash = url.rfind('/');
  std::string_view name = slash == std::string_view::npos ? url : url.substr(slash + 1);
  if (name.empty() || name.find_first_of("\\<>\"|?*") != std::string_view::npos) return std::nullopt;
  return pathInsideKeboDirectory(name);
}

std::string joinKeboPath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (path.empty() || path.back() != '\\') path += '\\';
  path += name;
  return path;
}

}  // namespace kebo
