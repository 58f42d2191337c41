#include "package_paths.h"

#include <string>
#include <system_error>

#include "script_text.h"

namespace setuplint {

namespace fs = std::filesystem;

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool isSeparator(char c) { return c == '\\' || c == '/'; }

std::optional<fs::path> findEntry(const fs::path& folder, std::string_view name) {
  std::error_code error;
  if (fs::exists(folder / std::string(name), error)) return folder / std::string(name);
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (setup::equalsIgnoringCase(entry.path().filename().string(), name)) return entry.path();
  }
  return std::nullopt;
}

bool matchFrom(std::string_view name, std::string_view pattern) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == '*') {
    for (size_t skip = 0; skip <= name.size(); ++skip) {
      if (matchFrom(name.substr(skip), pattern.substr(1))) return true;
    }
    return false;
  }
  if (name.empty()) return false;
  if (pattern[0] != '?' && lower(pattern[0]) != lower(name[0])) return false;
  return matchFrom(name.substr(1), pattern.substr(1));
}

}  // namespace

bool isAbsoluteWindowsPath(std::string_view path) {
  return (path.size() >= 2 && path[1] == ':') || (!path.empty() && isSeparator(path[0]));
}

std::optional<fs::path> findInFolder(const fs::path& folder, std::string_view relativePath) {
  fs::path found = folder;
  size_t start = 0;
  while (start <= relativePath.size()) {
    size_t end = start;
    while (end < relativePath.size() && !isSeparator(relativePath[end])) ++end;
    std::string_view part = relativePath.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") return std::nullopt;
    std::optional<fs::path> entry = findEntry(found, part);
    if (!entry) return std::nullopt;
    found = *entry;
  }
  return found;
}

bool matchesWildcard(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*") return true;
  return matchFrom(name, pattern);
}

}  // namespace setuplint
