#include "removal_rule.h"

#include "text_rules.h"

namespace nandor {

namespace {

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The named levels below the drive root, or false for a path of another form.
bool levelsBelowRoot(std::string_view path, std::vector<std::string_view>& levels) {
  if (path.size() < 3 || !isDriveLetter(path[0]) || path[1] != ':' || path[2] != '\\') return false;
  std::string_view rest = path.substr(3);
  while (!rest.empty()) {
    size_t end = rest.find('\\');
    std::string_view level = rest.substr(0, end);
    // Windows ignores dots and spaces at the end of a name ("Windows." or
    // "Kebo " is another folder's name, " " the level above): none is
    // allowed, which also refuses "." and "..".
    if (level.empty() || level.back() == '.' || level.back() == ' ' || level.find('/') != std::string_view::npos)
      return false;
    levels.push_back(level);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return true;
}

// True when inner is folder itself or lies somewhere inside it.
bool contains(const std::string& folder, const std::string& inner) {
  if (inner.size() < folder.size() || !equalsIgnoringCase(inner.substr(0, folder.size()), folder)) return false;
  return inner.size() == folder.size() || inner[folder.size()] == '\\';
}

// True when test holds for one of the folders.
template <typename Test>
bool anyProtected(const std::vector<std::string>& folders, Test test) {
  for (const std::string& kept : folders) {
    std::string keptPath = withoutTrailingSeparators(kept);
    if (!keptPath.empty() && test(keptPath)) return true;
  }
  return false;
}

bool isChildOf(const std::string& folder, const std::string& path) {
  return contains(folder, path) && path.size() > folder.size() &&
         path.find('\\', folder.size() + 1) == std::string::npos;
}

}  // namespace

bool mayDeleteFolder(std::string_view folder, const ProtectedFolders& protectedFolders) {
  std::string path = withoutTrailingSeparators(folder);
  std::vector<std::string_view> levels;
  if (!levelsBelowRoot(path, levels) || levels.empty()) return false;
  auto above = [&](const std::string& kept) { return contains(path, kept); };
  auto aboveOrInside = [&](const std::string& kept) { return contains(path, kept) || contains(kept, path); };
  auto aboveOrChild = [&](const std::string& kept) { return contains(path, kept) || isChildOf(kept, path); };
  return !anyProtected(protectedFolders.kept, above) &&
         !anyProtected(protectedFolders.keptWithContents, aboveOrInside) &&
         !anyProtected(protectedFolders.keptWithChildren, aboveOrChild);
}

bool mayDeleteFile(std::string_view file, const ProtectedFolders& protectedFolders) {
  std::string path(file);
  std::vector<std::string_view> levels;
  if (!levelsBelowRoot(path, levels) || levels.empty()) return false;
  return !anyProtected(protectedFolders.keptWithContents, [&](const std::string& kept) { return contains(kept, path); });
}

}  // namespace nandor
