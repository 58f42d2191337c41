#include "lint.h"

#include <algorithm>

#include "package.h"

namespace setuplint {

namespace {

void sortAndMerge(std::vector<Diagnostic>& diagnostics, const std::deque<ScriptFile>& files) {
  auto fileOrder = [&files](const std::string& name) {
    for (size_t i = 0; i < files.size(); ++i) {
      if (files[i].name() == name) return i;
    }
    return files.size();
  };
  std::stable_sort(diagnostics.begin(), diagnostics.end(),
                   [&](const Diagnostic& a, const Diagnostic& b) {
                     size_t fileA = fileOrder(a.file), fileB = fileOrder(b.file);
                     return fileA != fileB ? fileA < fileB : a.line < b.line;
                   });
  // A line can be reached on several walks; it is reported once.
  auto same = [](const Diagnostic& a, const Diagnostic& b) {
    return a.file == b.file && a.line == b.line && a.message == b.message;
  };
  diagnostics.erase(std::unique(diagnostics.begin(), diagnostics.end(), same), diagnostics.end());
}

}  // namespace

LintResult lintPath(const std::filesystem::path& dirOrFile) {
  std::optional<Package> package = Package::open(dirOrFile);
  if (!package) return {};
  LintResult result{true, {}};
  std::vector<Diagnostic>& out = result.diagnostics;
  const ScriptFile& script = package->script();
  if (!script.sectionStart("Setup")) {
    out.push_back({script.name(), 0, Severity::Error,
                   "no section [Setup]: the program shows \"INI file incomplete. Aborting.\" and "
                   "installs nothing"});
  }
  if (!script.sectionStart("Uninstall")) {
    out.push_back({script.name(), 0, Severity::Note,
                   "no section [Uninstall]: setup /UNINSTALL would find nothing to run"});
  }
  // Include lines read more files as the checks go.
  for (size_t i = 0; i < package->files().size(); ++i) {
    checkLines(*package, package->files()[i], out);
  }
  checkVariableOrder(*package, out);
  sortAndMerge(out, package->files());
  return result;
}

}  // namespace setuplint
