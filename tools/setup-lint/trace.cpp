#include "trace.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "interpreter.h"
#include "trace_commands.h"
#include "trace_host.h"

namespace setuplint {

namespace fs = std::filesystem;

bool runTrace(const fs::path& dirOrFile, bool uninstall, std::ostream& out) {
  std::error_code error;
  bool isFolder = fs::is_directory(dirOrFile, error);
  fs::path folder = isFolder ? dirOrFile : dirOrFile.parent_path();
  if (folder.empty()) folder = ".";
  std::ifstream file(isFolder ? dirOrFile / "setup.ini" : dirOrFile, std::ios::binary);
  if (!file) return false;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  setup::ScriptText script(bytes.str());

  TraceOutput output(out);
  TraceHost host(folder, output);
  setup::Interpreter interpreter(host);
  output.follow(interpreter);
  TraceCommands commands(output);
  interpreter.setCommandObserver(&commands);
  interpreter.setSystemCommands(&commands);
  interpreter.setUninstallMode(uninstall);
  interpreter.setScript(&script);

  out << "; " << folder.string() << " is " << host.sourceDirectory() << ", on a CD-ROM\n";
  interpreter.RunSection(host.backgroundWindow(), uninstall ? "Uninstall" : "Setup");
  if (interpreter.aborted()) out << "; the installation ended early\n";
  return true;
}

}  // namespace setuplint
