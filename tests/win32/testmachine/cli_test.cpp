// The testmachine program run as its own process on a script file.
#include <gtest/gtest.h>

#include "test_support.h"

namespace testvm {
namespace {

using testing::ProcessResult;

ProcessResult runCli(const std::string& options, const std::string& script) {
  const std::string path = testing::tempFile(".tms");
  testing::writeFile(path, script);
  std::string command = testing::kTestMachineProgram;
  command += ' ';
  command += options;
  command += testing::kFixturePlugin;
  command += " \"";
  command += path;
  command += '"';
  ProcessResult result = testing::runProcess(command);
  DeleteFileA(path.c_str());
  return result;
}

TEST(Cli, RunsAScript) {
  ProcessResult r = runCli("", "call fxAdd 20 22\ncall fxThreadLog 1\n");
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find(": 11 primitives in fixture (result 0)\n"), std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("[1] fxAdd -> 42\n[2] fxThreadLog -> 0\nlog: from thread 1\n"),
            std::string::npos)
      << r.output;
}

TEST(Cli, ExitCodes) {
  EXPECT_EQ(runCli("--load VOXAloadFIXTURE ", "call fxAdd 1 1\n").exitCode, 0);
  EXPECT_EQ(runCli("", "call fxUnbalanced 1\n").exitCode, 1);
  ProcessResult error = runCli("", "call fxAdd 1 1\ncall fxAdd x\n");
  EXPECT_EQ(error.exitCode, 2);
  EXPECT_NE(error.output.find(":2: "), std::string::npos) << error.output;
  EXPECT_EQ(runCli("--load VOXAloadNONE ", "").exitCode, 2);
}

}  // namespace
}  // namespace testvm
