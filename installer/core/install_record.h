// What one installation made on the machine: the folders it created, level
// by level, and the files it wrote. A rollback or an uninstallation removes
// exactly these, so that nothing that was there before is touched.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nandor {

class InstallRecord {
 public:
  // A folder the installation created (it did not exist before).
  void addFolder(std::string_view folder);
  // A file the installation wrote.
  void addFile(std::string_view file);
  // Adds what other holds that this record does not.
  void merge(const InstallRecord& other);
  bool empty() const { return folders_.empty() && files_.empty(); }

  // In the order they were made: outer folders before inner ones.
  const std::vector<std::string>& folders() const { return folders_; }
  const std::vector<std::string>& files() const { return files_; }

  // The stored form: one path after the other, each ended by a zero byte
  // (the registry's list of strings); a folder ends with "\".
  std::string serialise() const;
  static InstallRecord parse(std::string_view stored);

 private:
  std::vector<std::string> folders_;
  std::vector<std::string> files_;
};

}  // namespace nandor
