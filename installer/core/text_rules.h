// Small text and path rules of the installer, free of any system call.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nandor {

// ASCII letters compared without case; every other byte as it is.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// path without the separators ("\" or "/") it ends with.
std::string withoutTrailingSeparators(std::string_view path);

// path + "\" when it does not end with one + name.
std::string joinPath(std::string_view path, std::string_view name);

// The directories to create, outermost first, so that directory exists with
// every missing level from the first one below the drive on.
std::vector<std::string> directoryLevels(std::string_view directory);

// True for a plug-in folder's name: "PLUGINS" in any letter case.
bool isPluginFolderName(std::string_view name);

// The search's spinner: eight dots, one of which turns through "-\|/" and
// moves along by one place every eighth directory.
class Spinner {
 public:
  // Counts one directory entered; answers the text to show.
  const std::string& advance();

 private:
  unsigned directories_ = 0;
  unsigned rebuilds_ = 0;
  std::string text_;
};

}  // namespace nandor
