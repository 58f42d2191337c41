// Paths and processes the test machine's tests share.
#pragma once

#include <string>

namespace testvm::testing {

// The fixture plug-in and the testmachine program, built beside the test
// program. Under Wine that folder has no drive letter, so they are named
// bare and found by the search that starts in the program's own folder.
inline constexpr const char* kFixturePlugin = "fixture_plugin.dll";
inline constexpr const char* kTestMachineProgram = "testmachine.exe";
// A fresh file name in the temporary folder, which Wine programs can reach.
std::string tempFile(const std::string& suffix);
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

struct ProcessResult {
  int exitCode = -1;
  std::string output;  // stdout and stderr together
};
// Runs a command line in the temporary folder and gathers its output;
// exitCode -1 when it cannot start.
ProcessResult runProcess(const std::string& commandLine);

}  // namespace testvm::testing
