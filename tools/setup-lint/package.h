// A package folder: its setup script and the script files that its Include
// lines name, each read once.
#pragma once

#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>

#include "script_file.h"

namespace setuplint {

class Package {
 public:
  // DIR/setup.ini, or the script file itself; nothing when it cannot be read.
  static std::optional<Package> open(const std::filesystem::path& dirOrFile);
  // Moving keeps the files where they are; a copy would not.
  Package(Package&&) = default;
  Package& operator=(Package&&) = default;
  Package(const Package&) = delete;
  Package& operator=(const Package&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  const ScriptFile& script() const { return files_.front(); }
  // The script and every included file read so far, in the order read;
  // references stay valid while more files are read.
  const std::deque<ScriptFile>& files() const { return files_; }
  // The file that a literal Include names relative to the folder; null when
  // it is not there.
  const ScriptFile* included(std::string_view windowsPath);

 private:
  Package(std::filesystem::path folder, ScriptFile script);

  std::filesystem::path folder_;
  std::deque<ScriptFile> files_;
  std::map<std::filesystem::path, const ScriptFile*> byPath_;
};

}  // namespace setuplint
