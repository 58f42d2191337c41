// Any bytes as a package's setup.ini, through setup-lint's checks and its
// --trace runs of [Setup] and [Uninstall] (wildcards in file commands
// included): every report names the script or a file it includes, at a line
// that exists, and each run ends.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "lint.h"
#include "trace.h"

namespace fs = std::filesystem;

namespace {

// A package folder of this process's own, with a few files for wildcards
// to match (one with a long name, for patterns that backtrack).
const fs::path& packageFolder() {
  static const fs::path folder = [] {
    fs::path made = fs::temp_directory_path() / ("fuzz_setup_lint." + std::to_string(getpid()));
    fs::create_directories(made / "media");
    for (const char* name : {"media/a.vxs", "media/b.txt", "media/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa.vxs", "readme.txt"})
      std::ofstream(made / name) << "x\n";
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(packageFolder(), ignored);
    });
    return made;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path script = packageFolder() / "setup.ini";
  std::ofstream(script, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  const int lines = static_cast<int>(std::count(data, data + size, '\n')) + 1;

  const setuplint::LintResult result = setuplint::lintPath(packageFolder());
  if (!result.readable) abort();
  for (const auto& diagnostic : result.diagnostics) {
    if (diagnostic.line < 0) abort();
    if (fs::path(diagnostic.file).filename() == "setup.ini" && diagnostic.line > lines) abort();
    (void)setuplint::formatDiagnostic(diagnostic);
  }
  for (bool uninstall : {false, true}) {
    std::ostringstream out;
    if (!setuplint::runTrace(packageFolder(), uninstall, out)) abort();
  }
  return 0;
}
