// Any bytes as the installer's command line, as an install directory to
// create level by level, and as a folder a removal would delete. The first
// byte chooses which. What must hold: options in their ranges and cut to
// length; levels that are growing prefixes of the directory; and no folder
// allowed that Windows would take for a protected one or one above it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "removal_rule.h"
#include "text_rules.h"

namespace {

nandor::ProtectedFolders protectedFolders() {
  nandor::ProtectedFolders folders;
  folders.kept = {"C:\\Program Files\\", "C:\\Users\\ana\\Desktop"};
  folders.keptWithContents = {"C:\\Windows"};
  folders.keptWithChildren = {"C:\\Users"};
  return folders;
}
const nandor::ProtectedFolders kProtected = protectedFolders();

void checkOptions(std::string_view line) {
  nandor::InstallOptions options;
  nandor::readOptions(line, "*", options);
  if (options.shortcut < 0 || options.shortcut > nandor::kAsk) abort();
  if (options.connect < 0 || options.connect > nandor::kAsk) abort();
  if (options.installDirectory.size() > nandor::kMaxPathText || options.homePage.size() > nandor::kMaxPathText) abort();
  if (!options.installDirectory.empty() && options.directoryChoosable) abort();
  if (line.find('*') == std::string_view::npos && !options.directoryChoosable) abort();
}

void checkLevels(std::string_view directory) {
  const std::string joined = nandor::joinPath(directory, "x");
  size_t previous = 0;
  for (const std::string& level : nandor::directoryLevels(directory)) {
    if (level.size() <= previous || joined.compare(0, level.size(), level) != 0) abort();
    if (joined[level.size()] != '\\' || level.back() == '\\' || level.back() == ':') abort();
    previous = level.size();
  }
}

// The folder Windows opens for a path: letters in one case, and each level
// without the dots and spaces it ignores at the end of a name.
std::string asWindowsSees(std::string_view path) {
  std::string out;
  for (char c : path) out += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  std::string cleaned;
  size_t start = 0;
  while (start <= out.size()) {
    size_t end = out.find('\\', start);
    if (end == std::string::npos) end = out.size();
    std::string level = out.substr(start, end - start);
    while (!level.empty() && (level.back() == '.' || level.back() == ' ')) level.pop_back();
    if (!cleaned.empty() || start > 0) cleaned += '\\';
    cleaned += level;
    start = end + 1;
  }
  while (!cleaned.empty() && cleaned.back() == '\\') cleaned.pop_back();
  return cleaned;
}

// True when path is folder itself or lies inside it (both as Windows sees them).
bool within(const std::string& path, const std::string& folder) {
  return path.compare(0, folder.size(), folder) == 0 && (path.size() == folder.size() || path[folder.size()] == '\\');
}

void checkRemoval(std::string_view folder) {
  if (!nandor::mayDeleteFolder(folder, kProtected)) return;
  const std::string seen = asWindowsSees(folder);
  for (const auto* list : {&kProtected.kept, &kProtected.keptWithContents, &kProtected.keptWithChildren})
    for (const std::string& kept : *list)
      if (within(asWindowsSees(kept), seen)) abort();  // the folder itself or one above it
  for (const std::string& kept : kProtected.keptWithContents)
    if (within(seen, asWindowsSees(kept))) abort();  // anything inside
  for (const std::string& kept : kProtected.keptWithChildren) {
    const std::string parent = asWindowsSees(kept);
    if (within(seen, parent) && seen.find('\\', parent.size() + 1) == std::string::npos) abort();  // a profile
  }
  if (seen.size() < 4 || seen[1] != ':' || seen[2] != '\\') abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 3) {
    case 0: checkOptions(text); break;
    case 1: checkLevels(text); break;
    default: checkRemoval(text); break;
  }
  return 0;
}
