#include "text_rules.h"

#include <algorithm>

namespace nandor {

namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

std::string withoutTrailingSeparators(std::string_view path) {
  while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.remove_suffix(1);
  return std::string(path);
}

std::string joinPath(std::string_view path, std::string_view name) {
  std::string joined(path);
  if (joined.empty() || joined.back() != '\\') joined += '\\';
  joined += name;
  return joined;
}

std::vector<std::string> directoryLevels(std::string_view directory) {
  // A dummy last component, so that the directory itself ends at a separator.
  std::string path = joinPath(directory, "bidon");
  std::vector<std::string> levels;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] != '\\') continue;
    std::string level = path.substr(0, i);
    // Neither the drive ("D:") nor the server and share of "\\server\share".
    bool networkRoot = level.rfind("\\\\", 0) == 0 && std::count(level.begin(), level.end(), '\\') <= 3;
    if (level.empty() || level.back() == ':' || level.back() == '\\' || networkRoot) continue;
    levels.push_back(level);
  }
  return levels;
}

bool isPluginFolderName(std::string_view name) { return equalsIgnoringCase(name, "PLUGINS"); }

const std::string& Spinner::advance() {
  if (directories_++ % 8 == 0) {
    text_.assign(8, '.');
    text_[rebuilds_ % 8] = "-\\|/"[rebuilds_ % 4];
    ++rebuilds_;
  }
  return text_;
}

}  // namespace nandor
