#include "cli.h"

#include "lint.h"
#include "trace.h"

namespace setuplint {

namespace {

constexpr const char* kUsage =
    "usage: setup-lint [DIR|FILE]           check DIR/setup.ini (default .) or FILE\n"
    "       setup-lint --trace [--uninstall] DIR\n"
    "                                       show what the start section would do\n";

int usageError(std::ostream& err, const std::string& problem) {
  err << "setup-lint: " << problem << "\n" << kUsage;
  return 2;
}

}  // namespace

int runCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err) {
  bool trace = false;
  bool uninstall = false;
  std::vector<std::string> paths;
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      out << kUsage;
      return 0;
    }
    if (argument == "--trace") {
      trace = true;
    } else if (argument == "--uninstall") {
      uninstall = true;
    } else if (argument.starts_with("-")) {
      return usageError(err, "unknown option " + argument);
    } else {
      paths.push_back(argument);
    }
  }
  if (paths.size() > 1) return usageError(err, "one DIR or FILE only");
  if (uninstall && !trace) return usageError(err, "--uninstall goes with --trace");
  std::filesystem::path path = paths.empty() ? "." : paths.front();

  if (trace) {
    if (!runTrace(path, uninstall, out)) {
      err << "setup-lint: cannot read " << (path / "setup.ini").string() << "\n";
      return 2;
    }
    return 0;
  }
  LintResult result = lintPath(path);
  if (!result.readable) {
    err << "setup-lint: cannot read the script of " << path.string() << "\n";
    return 2;
  }
  for (const Diagnostic& diagnostic : result.diagnostics) out << formatDiagnostic(diagnostic) << "\n";
  return exitStatusOf(result.diagnostics);
}

}  // namespace setuplint
