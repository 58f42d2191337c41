#include "kebo_paths.h"

namespace kebo {

bool isPathInsideKeboDirectory(std::string_view relative) {
  if (relative.empty()) return false;
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = relative.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = relative.size();
    std::string_view part = relative.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    for (char c : part) {
      if (c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
    }
    start = end + 1;
  }
  return true;
}

std::optional<std::string> downloadFileName(std::string_view url) {
  std::size_t slash = url.rfind('/');
  std::string_view name = slash == std::string_view::npos ? url : url.substr(slash + 1);
  if (name.find_first_of("\\<>\"|?*") != std::string_view::npos) return std::nullopt;
  if (!isPathInsideKeboDirectory(name)) return std::nullopt;
  return std::string(name);
}

std::string joinKeboPath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (path.empty() || path.back() != '\\') path += '\\';
  path += name;
  return path;
}

}  // namespace kebo
