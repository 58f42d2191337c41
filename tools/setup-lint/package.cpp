#include "package.h"

#include <system_error>

#include "package_paths.h"

namespace setuplint {

namespace fs = std::filesystem;

namespace {

fs::path keyOf(const fs::path& path) {
  std::error_code error;
  fs::path canonical = fs::weakly_canonical(path, error);
  return error ? path : canonical;
}

}  // namespace

std::optional<Package> Package::open(const fs::path& dirOrFile) {
  std::error_code error;
  bool isFolder = fs::is_directory(dirOrFile, error);
  fs::path scriptPath = isFolder ? dirOrFile / "setup.ini" : dirOrFile;
  fs::path folder = isFolder ? dirOrFile : dirOrFile.parent_path();
  if (folder.empty()) folder = ".";
  std::optional<ScriptFile> script = ScriptFile::load(scriptPath);
  if (!script) return std::nullopt;
  Package package(folder, std::move(*script));
  package.byPath_[keyOf(scriptPath)] = &package.files_.front();
  return package;
}

Package::Package(fs::path folder, ScriptFile script) : folder_(std::move(folder)) {
  files_.push_back(std::move(script));
}

const ScriptFile* Package::included(std::string_view windowsPath) {
  if (isAbsoluteWindowsPath(windowsPath)) return nullptr;
  std::optional<fs::path> path = findInFolder(folder_, windowsPath);
  std::error_code error;
  if (!path || !fs::is_regular_file(*path, error)) return nullptr;
  fs::path key = keyOf(*path);
  if (auto known = byPath_.find(key); known != byPath_.end()) return known->second;
  std::optional<ScriptFile> file = ScriptFile::load(*path);
  const ScriptFile* loaded = nullptr;
  if (file) {
    files_.push_back(std::move(*file));
    loaded = &files_.back();
  }
  byPath_[key] = loaded;
  return loaded;
}

}  // namespace setuplint
