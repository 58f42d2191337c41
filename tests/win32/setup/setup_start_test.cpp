// How setup.exe starts and ends: its command line, setup.txt, the missing
// script, and its exit status.
#include <gtest/gtest.h>

#include "scratch.h"
#include "setup_robot.h"

namespace setup::testing {
namespace {

using robot::Answers;
using robot::runSetup;
using robot::SetupResult;

// A script that says which start section ran into ran.txt.
std::string folderWithScript(const std::string& name) {
  std::string folder = freshFolder(name);
  writeFile(folder + "\\setup.ini",
            "[Setup]\r\nAppendFile \"Setup\" \"ran.txt\"\r\n"
            "[Uninstall]\r\nAppendFile \"Uninstall\" \"ran.txt\"\r\n");
  return folder;
}

TEST(SetupStartTest, AnEmptyCommandLineRunsSetupInTheCurrentDirectory) {
  std::string folder = folderWithScript("start_empty");
  SetupResult result = runSetup("", folder);
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_TRUE(result.boxes.empty());
  EXPECT_EQ(readFile(folder + "\\ran.txt"), "Setup\r\n");
}

TEST(SetupStartTest, TheSwitchInAnyLetterCaseSelectsUninstall) {
  std::string folder = folderWithScript("start_switch");
  SetupResult result = runSetup("/uNiNsTaLl", folder);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(readFile(folder + "\\ran.txt"), "Uninstall\r\n");
}

TEST(SetupStartTest, TheSwitchWithMoreTextIsADirectoryThatCannotBeEntered) {
  std::string folder = folderWithScript("start_switch_more");
  SetupResult result = runSetup("/UNINSTALL x", folder);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(readFile(folder + "\\ran.txt"), "Setup\r\n");
}

TEST(SetupStartTest, TheCommandLineNamesTheScriptsDirectory) {
  std::string folder = folderWithScript("start_directory");
  std::string elsewhere = freshFolder("start_directory_cwd");
  SetupResult result = runSetup(folder, elsewhere);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(readFile(folder + "\\ran.txt"), "Setup\r\n");
  EXPECT_FALSE(exists(elsewhere + "\\ran.txt"));
}

TEST(SetupStartTest, SetupTxtSelectsUninstallWithoutASwitchEvenWhileHeldOpenForWriting) {
  std::string folder = folderWithScript("start_setup_txt");
  win::UniqueHandle held = win::adoptFileHandle(CreateFileA((folder + "\\setup.txt").c_str(), GENERIC_WRITE,
      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  SetupResult result = runSetup("", folder);
  EXPECT_EQ(readFile(folder + "\\ran.txt"), "Uninstall\r\n");
}

TEST(SetupStartTest, AMissingScriptIsReportedAndEndsWithMinusOne) {
  std::string folder = freshFolder("start_no_script");
  SetupResult result = runSetup("", folder);
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, -1);
  ASSERT_EQ(result.boxes.size(), 1u);
  EXPECT_EQ(result.boxes[0].title, "Setup File Error");
  EXPECT_EQ(result.boxes[0].text, "Could not find Setup script file (setup.ini). Aborting.");
  EXPECT_EQ(result.boxes[0].owner, "background");
}

TEST(SetupStartTest, AMissingStartSectionIsReportedByItsProgressWindow) {
  std::string folder = freshFolder("start_no_section");
  writeFile(folder + "\\setup.ini", "[ Setup ]\r\nAppendFile \"x\" \"ran.txt\"\r\n");
  SetupResult result = runSetup("", folder);
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0);
  ASSERT_EQ(result.boxes.size(), 1u);
  EXPECT_EQ(result.boxes[0].title, "ERROR");
  EXPECT_EQ(result.boxes[0].text, "INI file incomplete. Aborting.");
  EXPECT_EQ(result.boxes[0].owner, "progress");
  EXPECT_EQ(result.boxes[0].ownerStatus, "Setup...");
  EXPECT_FALSE(exists(folder + "\\ran.txt"));
}

}  // namespace
}  // namespace setup::testing
