// Windows paths of a script found in the package folder on this machine.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace setuplint {

// "C:...", "\..." or "/...": a path that does not start in the package.
bool isAbsoluteWindowsPath(std::string_view path);

// The entry that relativePath ("sub\file.ini", "/" or "\" separated) names
// inside folder, each part matched without letter case as Windows does;
// nothing when it does not exist. ".." is never followed.
std::optional<std::filesystem::path> findInFolder(const std::filesystem::path& folder,
                                                  std::string_view relativePath);

// A file name against a pattern with "*" and "?", letter case ignored;
// "*.*" matches every name, with or without a dot.
bool matchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace setuplint
