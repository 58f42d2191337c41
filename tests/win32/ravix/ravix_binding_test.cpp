// How the control finds tolvane.dll: the shell's command for Voxa files,
// cut at its last separator, made the current directory, and the DLL loaded
// from there.
#include <gtest/gtest.h>

#include "machine_binding.h"
#include "ravix_support.h"

namespace ravix_test {
namespace {

TEST(RavixBinding, DirectoryIsTheCommandUpToItsLastSeparatorWithoutTheQuote) {
  EXPECT_EQ(ravix::machineDirectory("\"C:\\Voxa\\bin\\voxa.exe\" \"%1\""), "C:\\Voxa\\bin\\");
  EXPECT_EQ(ravix::machineDirectory("C:\\Voxa\\voxa.exe %1"), "C:\\Voxa\\");
  EXPECT_EQ(ravix::machineDirectory("\"C:\\Voxa\\voxa.exe\" /play \"%1\""), "C:\\Voxa\\voxa.exe\" /");
  EXPECT_EQ(ravix::machineDirectory("C:/Voxa/voxa.exe"), "C:/Voxa/");
  EXPECT_EQ(ravix::machineDirectory("voxa.exe %1"), "");
  EXPECT_EQ(ravix::machineDirectory(""), "");
  EXPECT_EQ(ravix::machineDirectory("\"\\"), "\\");
}

std::string currentDirectory() {
  char directory[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof directory, directory);
  return directory;
}

std::string loadedMachinePath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(GetModuleHandleA("tolvane.dll"), path, sizeof path);
  return path;
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(RavixBinding, ControlMakesTheMachineFolderCurrentAndLoadsTheDllFromIt) {
  SetCurrentDirectoryA(testFolder().root.c_str());
  setMachineCommand(standardMachineCommand());
  ComPtr<IVoxa> control = createControl();
  ASSERT_TRUE(control);
  std::string folder = testFolder().machineFolder;
  EXPECT_EQ(lower(currentDirectory()), lower(folder.substr(0, folder.size() - 1)));
  // The path was given with two separators before the name.
  EXPECT_EQ(lower(loadedMachinePath()), lower(folder + "tolvane.dll"));
}

// Run in a process of their own (below), where no machine has been loaded.
TEST(RavixWithoutMachine, DISABLED_ControlsAreCreatedButCannotLaunch) {
  std::string before = currentDirectory();
  const char* const commands[] = {"", "voxa.exe %1", "\"C:\\NoSuchVoxa\\voxa.exe\" \"%1\"", nullptr};
  for (const char* command : commands) {
    if (command != nullptr) {
      setMachineCommand(command);
    } else {
      removeMachineCommand();
    }
    ComPtr<IVoxa> control = createControl();
    ASSERT_TRUE(control) << (command ? command : "no command");
    RecordingSink sink;
    connect(control.Get(), sink);
    BstrVariable run("run");
    long result = 0;
    EXPECT_EQ(control->LaunchMachine(run.get(), 1, 0, &result), S_FALSE);
    EXPECT_EQ(control->SendMessage(run.get(), &result), S_FALSE);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(GetModuleHandleA("tolvane.dll"), nullptr);
  }
  // A command whose directory does not exist changes nothing.
  EXPECT_EQ(currentDirectory(), before);
  // The machine's folder named with a '/' among the arguments: cut there,
  // which names no folder.
  setMachineCommand("\"" + testFolder().machineFolder + "voxa.exe\" /play \"%1\"");
  ComPtr<IVoxa> control = createControl();
  EXPECT_EQ(GetModuleHandleA("tolvane.dll"), nullptr);
}

TEST(RavixBinding, WithoutAVoxaEnvironmentControlsStillWork) {
  // A copy of this program, on a drive, told to use the class as registered.
  char self[MAX_PATH] = {};
  SearchPathA(nullptr, "ravix_control_test.exe", nullptr, sizeof self, self, nullptr);
  std::string child = testFolder().root + "ravix_child.exe";
  ASSERT_TRUE(CopyFileA(self, child.c_str(), FALSE));
  SetEnvironmentVariableA(kUseRegisteredClass, "1");
  RunResult run = runProgram("\"" + child + "\" --gtest_filter=RavixWithoutMachine.* --gtest_also_run_disabled_tests");
  SetEnvironmentVariableA(kUseRegisteredClass, nullptr);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("[  PASSED  ] 1 test"), std::string::npos) << run.output;
  setMachineCommand(standardMachineCommand());
}

}  // namespace
}  // namespace ravix_test
