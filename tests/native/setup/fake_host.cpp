#include "fake_host.h"

#include <algorithm>

namespace setup::testing {

namespace {

// The name a listing shows: the last part, without the separators that
// may end the path (the file system names C:\dir\ "dir").
std::string lastComponent(const std::string& path) {
  const std::string trimmed = path.substr(0, path.find_last_not_of("\\/") + 1);
  const size_t cut = trimmed.find_last_of("\\/");
  return cut == std::string::npos ? trimmed : trimmed.substr(cut + 1);
}

bool wildcardMatch(const char* pattern, const char* name) {
  if (*pattern == '\0') return *name == '\0';
  if (*pattern == '*') {
    return wildcardMatch(pattern + 1, name) || (*name != '\0' && wildcardMatch(pattern, name + 1));
  }
  if (*name == '\0') return false;
  char p = static_cast<char>(std::tolower(static_cast<unsigned char>(*pattern)));
  char n = static_cast<char>(std::tolower(static_cast<unsigned char>(*name)));
  return (p == '?' || p == n) && wildcardMatch(pattern + 1, name + 1);
}

}  // namespace

FakeHost::FakeHost() {
  addDirectory("c:");
  addDirectory("d:");
  names_[&background_] = "background";
}

std::string FakeHost::key(const std::string& path) {
  std::string out;
  for (char c : path) {
    char d = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (d == '\\' && !out.empty() && out.back() == '\\') continue;
    out += d;
  }
  while (out.size() > 1 && out.back() == '\\') out.pop_back();
  return out;
}

std::string FakeHost::parentOf(const std::string& normalized) const {
  size_t cut = normalized.rfind('\\');
  return cut == std::string::npos ? std::string() : normalized.substr(0, cut);
}

bool FakeHost::parentExists(const std::string& path) const {
  return directories_.count(parentOf(key(path))) != 0;
}

void FakeHost::addFile(const std::string& path, const std::string& bytes, uint32_t attributes) {
  files_[key(path)] = FakeFile{bytes, attributes};
  fileNames_[key(path)] = lastComponent(path);
}

void FakeHost::addDirectory(const std::string& path) {
  directories_.insert(key(path));
  directoryNames_[key(path)] = lastComponent(path);
}

bool FakeHost::hasFile(const std::string& path) const { return files_.count(key(path)) != 0; }

bool FakeHost::hasDirectory(const std::string& path) const {
  return directories_.count(key(path)) != 0;
}

std::string FakeHost::fileBytes(const std::string& path) const {
  auto found = files_.find(key(path));
  return found == files_.end() ? std::string() : found->second.bytes;
}

uint32_t FakeHost::fileAttributes(const std::string& path) const {
  auto found = files_.find(key(path));
  return found == files_.end() ? 0 : found->second.attributes;
}

int FakeHost::messageBox(WindowRef owner, const char* text, const char* title, Buttons buttons) {
  boxes.push_back({title != nullptr ? title : "<default>", text, buttons, owner});
  if (answers.empty()) return kAnswerOk;
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

WindowRef FakeHost::openProgressWindow(WindowRef) {
  windows_.emplace_back();
  WindowRef window = &windows_.back();
  names_[window] = "progress" + std::to_string(++windowsOpened);
  ++windowsOpen;
  return window;
}

WindowRef FakeHost::openSearchWindow(WindowRef) {
  windows_.emplace_back();
  WindowRef window = &windows_.back();
  names_[window] = "search" + std::to_string(++windowsOpened);
  ++windowsOpen;
  return window;
}

void FakeHost::closeWindow(WindowRef) { --windowsOpen; }

std::string FakeHost::nameOf(WindowRef window) const {
  auto found = names_.find(window);
  return found == names_.end() ? "none" : found->second;
}

void FakeHost::setControlText(WindowRef window, int control, const std::string& text) {
  statusTexts.push_back(nameOf(window) + "/" + std::to_string(control) + ": " + text);
}

std::optional<std::string> FakeHost::readFile(const std::string& path) {
  auto found = files_.find(key(path));
  if (found == files_.end()) return std::nullopt;
  return found->second.bytes;
}

bool FakeHost::appendToFile(const std::string& path, const std::string& bytes) {
  auto found = files_.find(key(path));
  if (found == files_.end()) {
    if (!parentExists(path)) return false;
    addFile(path, "");
    found = files_.find(key(path));
  } else if ((found->second.attributes & kReadOnly) != 0) {
    return false;
  }
  found->second.bytes += bytes;
  return true;
}

bool FakeHost::copyFile(const std::string& source, const std::string& destination) {
  operations.push_back("copy " + source + " -> " + destination);
  auto from = files_.find(key(source));
  if (from == files_.end() || !parentExists(destination)) return false;
  auto to = files_.find(key(destination));
  if (to != files_.end() && (to->second.attributes & 0x3) != 0) return false;  // read-only, hidden
  FakeFile copy = from->second;
  addFile(destination, copy.bytes, copy.attributes);
  return true;
}

bool FakeHost::moveFile(const std::string& source, const std::string& destination) {
  operations.push_back("move " + source + " -> " + destination);
  auto from = files_.find(key(source));
  if (from == files_.end() || !parentExists(destination)) return false;
  auto to = files_.find(key(destination));
  if (to != files_.end() && (to->second.attributes & kReadOnly) != 0) return false;
  FakeFile moved = from->second;
  files_.erase(from);
  addFile(destination, moved.bytes, moved.attributes);
  return true;
}

bool FakeHost::deleteFile(const std::string& path) {
  operations.push_back("delete " + path);
  auto found = files_.find(key(path));
  if (found == files_.end() || (found->second.attributes & kReadOnly) != 0) return false;
  files_.erase(found);
  return true;
}

bool FakeHost::setAttributes(const std::string& path, uint32_t attributes) {
  auto found = files_.find(key(path));
  if (found == files_.end()) return directories_.count(key(path)) != 0;
  found->second.attributes = attributes == kAttributeNormal ? 0 : attributes;
  return true;
}

bool FakeHost::createDirectory(const std::string& path) {
  operations.push_back("mkdir " + path);
  if (hasDirectory(path) || hasFile(path) || !parentExists(path)) return false;
  addDirectory(path);
  return true;
}

bool FakeHost::removeDirectory(const std::string& path) {
  operations.push_back("rmdir " + path);
  std::string k = key(path);
  if (directories_.count(k) == 0) return false;
  for (const auto& [file, _] : files_) {
    if (parentOf(file) == k) return false;
  }
  for (const std::string& directory : directories_) {
    if (parentOf(directory) == k) return false;
  }
  directories_.erase(k);
  return true;
}

std::vector<DirectoryEntry> FakeHost::listDirectory(const std::string& pattern) {
  operations.push_back("list " + pattern);
  std::string k = key(pattern);
  std::string directory = parentOf(k);
  if (lastComponent(k) != "*.*" || directories_.count(directory) == 0) return {};
  std::vector<DirectoryEntry> entries = {{".", true}, {"..", true}};
  for (const std::string& d : directories_) {
    if (parentOf(d) == directory) entries.push_back({directoryNames_[d], true});
  }
  for (const auto& [file, _] : files_) {
    if (parentOf(file) == directory) entries.push_back({fileNames_[file], false});
  }
  return entries;
}

bool FakeHost::anyMatch(const std::string& pattern) {
  std::string k = key(pattern);
  std::string directory = parentOf(k);
  std::string name = lastComponent(k);
  for (const std::string& d : directories_) {
    if (parentOf(d) == directory && wildcardMatch(name.c_str(), lastComponent(d).c_str())) {
      return true;
    }
  }
  for (const auto& [file, _] : files_) {
    if (parentOf(file) == directory && wildcardMatch(name.c_str(), lastComponent(file).c_str())) {
      return true;
    }
  }
  return false;
}

std::optional<std::string> FakeHost::createTempFile(const std::string& directory,
                                                    const std::string& prefix) {
  if (!hasDirectory(directory)) return std::nullopt;
  std::string path = directory;
  if (path.back() != '\\') path += '\\';
  path += prefix + std::to_string(++tempCounter_) + ".tmp";
  addFile(path, "");
  return path;
}

int FakeHost::driveType(const std::string& root) {
  auto found = driveTypes.find(static_cast<char>(std::tolower(static_cast<unsigned char>(root[0]))));
  return found == driveTypes.end() ? kDriveFixed : found->second;
}

std::optional<std::string> FakeHost::machineRegistryString(const std::string& key,
                                                           const std::string& value, size_t) {
  auto found = registry.find(key + "\\" + value);
  if (found == registry.end()) return std::nullopt;
  return found->second;
}

}  // namespace setup::testing
