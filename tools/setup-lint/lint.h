// setup-lint's checks of a setup script.
#pragma once

#include <filesystem>
#include <vector>

#include "diagnostics.h"

namespace setuplint {

class Package;
class ScriptFile;

struct LintResult {
  bool readable = false;  // false: the script could not be read
  std::vector<Diagnostic> diagnostics;  // by file, then by line
};

// Checks DIR/setup.ini (or the script file itself) and the files it includes.
LintResult lintPath(const std::filesystem::path& dirOrFile);

// Each line of file on its own: keywords, arguments, If/Else/Endif, and the
// sections that goto, Include, ParseFile and ApplyOnFiles name.
void checkLines(Package& package, const ScriptFile& file, std::vector<Diagnostic>& out);
// Variables read before any command sets them, following the runs from the
// start sections.
void checkVariableOrder(Package& package, std::vector<Diagnostic>& out);

}  // namespace setuplint
