// testmachine [--load NAME] PLUGIN.dll SCRIPT
// Loads a plug-in into a test machine and runs a script of calls against it.
#include <fstream>
#include <iostream>
#include <string>

#include "script.h"
#include "test_machine.h"

namespace {

int usage() {
  std::cerr << "usage: testmachine [--load NAME] PLUGIN.dll SCRIPT\n";
  return testvm::kRunScriptError;
}

int runMain(int argc, char** argv) {
  std::string loadExport;
  std::string plugin;
  std::string scriptPath;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--load" && i + 1 < argc) {
      loadExport = argv[++i];
    } else if (plugin.empty()) {
      plugin = arg;
    } else if (scriptPath.empty()) {
      scriptPath = arg;
    } else {
      return usage();
    }
  }
  if (plugin.empty() || scriptPath.empty()) return usage();

  std::ifstream script(scriptPath);
  if (!script) {
    std::cerr << scriptPath << ": cannot open\n";
    return testvm::kRunScriptError;
  }
  testvm::TestMachine machine;
  if (!machine.loadPlugin(plugin, loadExport)) {
    std::cerr << "testmachine: " << machine.lastError() << "\n";
    return testvm::kRunScriptError;
  }
  testvm::ScriptRunner runner(machine, std::cout, std::cerr);
  runner.reportLoad(plugin);
  return runner.run(script, scriptPath);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return runMain(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "testmachine: " << e.what() << "\n";
  } catch (...) {
    std::cerr << "testmachine: unexpected failure\n";
  }
  return testvm::kRunScriptError;
}
