#include "install_record.h"

#include <algorithm>

#include "text_rules.h"

namespace nandor {

namespace {

void addOnce(std::vector<std::string>& list, std::string path) {
  if (path.empty()) return;
  bool known = std::any_of(list.begin(), list.end(), [&](const std::string& p) { return equalsIgnoringCase(p, path); });
  if (!known) list.push_back(std::move(path));
}

}  // namespace

void InstallRecord::addFolder(std::string_view folder) { addOnce(folders_, withoutTrailingSeparators(folder)); }

void InstallRecord::addFile(std::string_view file) { addOnce(files_, std::string(file)); }

void InstallRecord::merge(const InstallRecord& other) {
  for (const std::string& folder : other.folders_) addFolder(folder);
  for (const std::string& file : other.files_) addFile(file);
}

std::string InstallRecord::serialise() const {
  std::string stored;
  for (const std::string& folder : folders_) stored.append(folder).append("\\").push_back('\0');
  for (const std::string& file : files_) stored.append(file).push_back('\0');
  return stored;
}

InstallRecord InstallRecord::parse(std::string_view stored) {
  InstallRecord record;
  while (!stored.empty()) {
    size_t end = stored.find('\0');
    std::string_view entry = stored.substr(0, end);
    if (!entry.empty() && entry.back() == '\\') {
      record.addFolder(entry);
    } else {
      record.addFile(entry);
    }
    stored = end == std::string_view::npos ? std::string_view() : stored.substr(end + 1);
  }
  return record;
}

}  // namespace nandor
