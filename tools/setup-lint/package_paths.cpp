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

// Two positions walk the name and the pattern; at a "*" the match first
// takes nothing and remembers where, and each later mismatch lets that last
// star take one byte more. Earlier stars never need to take more, so no try
// is made twice: a single pass for a pattern with one star, at most name
// times pattern steps with many.
bool matchFrom(std::string_view name, std::string_view pattern) {
  size_t n = 0, p = 0;
  size_t star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
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
