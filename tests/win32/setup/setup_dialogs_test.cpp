// Every dialog of setup.exe opened from a script and driven by a robot: what
// it shows, what the user does, and what the script sees afterwards.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "common/win32/handles.h"
#include "in_process_run.h"
#include "resource.h"
#include "scratch.h"
#include "tree_items.h"

namespace setup::testing {
namespace {

constexpr int kBoxText = 0xFFFF;

// Opens d:\setuptests\FOLDER in the chooser's tree, as a user would: the
// drive expanded, then each level selected.
HTREEITEM openFolder(HWND chooser, const std::string& folder) {
  HWND tree = GetDlgItem(chooser, IDC_TREE);
  HTREEITEM drive = childNamed(tree, nullptr, "d:");
  TreeView_Expand(tree, drive, TVE_EXPAND);
  HTREEITEM tests = childNamed(tree, drive, "setuptests");
  TreeView_SelectItem(tree, tests);
  TreeView_Expand(tree, tests, TVE_EXPAND);
  HTREEITEM item = childNamed(tree, tests, folder);
  TreeView_SelectItem(tree, item);
  return item;
}

std::string logOf(const std::string& folder) { return readFile(folder + "\\log.txt"); }

// Logs DSTDIR after the welcome dialog: C:\kept unless a directory is chosen.
constexpr const char* kChooseOrKeep =
    "[Setup]\r\nset DSTDIR \"C:\\kept\"\r\nIShowInstallDlg\r\nAppendFile DSTDIR \"log.txt\"\r\n";

struct OpenChooser {
  HWND welcome;
  HWND chooser;
};

// The welcome dialog's directory chooser, open at d:\setuptests\FOLDER.
OpenChooser openChooserAt(Robot& robot, const std::string& folder) {
  HWND welcome = robot.waitFor(IDC_CHANGE_DESTINATION);
  Robot::click(welcome, IDC_CHANGE_DESTINATION);
  HWND chooser = robot.waitFor(IDC_TREE);
  openFolder(chooser, folder);
  return {welcome, chooser};
}

TEST(SetupDialogsTest, WelcomeDialogShowsTheScriptsTextsAndTakesANewDestination) {
  std::string folder = freshFolder("dialog_welcome");
  makeFolder(folder + "\\inner\\deeper");
  makeFolder(folder + "\\other");
  std::string title, intro, destination, label, afterChoice, chosenLabel;
  std::vector<std::string> drives, levelOne;
  bool innerHasButton = false, otherHasButton = true;
  RunResult result = runInProcess(folder,
      "[Setup]\r\nGetSystemVars\r\nset INTRO \"Welcome to the sample.\"\r\n"
      "set APP_TITTLE \"Sample Setup\"\r\nIShowInstallDlg\r\nAppendFile DSTDIR \"log.txt\"\r\n"
      "If\r\nAppendFile \"continued\" \"log.txt\"\r\nEndif\r\n",
      [&](Robot& robot) {
        HWND welcome = robot.waitFor(IDC_CHANGE_DESTINATION);
        title = Robot::text(welcome);
        intro = Robot::text(welcome, IDC_INTRO);
        destination = Robot::text(welcome, IDC_DESTINATION);
        Robot::click(welcome, IDC_CHANGE_DESTINATION);
        HWND chooser = robot.waitFor(IDC_TREE);
        label = Robot::text(chooser, IDC_PATH_LABEL);
        HWND tree = GetDlgItem(chooser, IDC_TREE);
        drives = childTexts(tree, nullptr);
        HTREEITEM item = openFolder(chooser, "dialog_welcome");
        levelOne = childTexts(tree, item);
        innerHasButton = TreeView_GetChild(tree, childNamed(tree, item, "inner")) != nullptr;
        otherHasButton = TreeView_GetChild(tree, childNamed(tree, item, "other")) != nullptr;
        chosenLabel = Robot::text(chooser, IDC_PATH_LABEL);
        Robot::click(chooser, IDOK);
        robot.waitGone(chooser);
        afterChoice = Robot::text(welcome, IDC_DESTINATION);
        Robot::click(welcome, IDOK);
      });
  EXPECT_EQ(result.failure, "");
  EXPECT_EQ(title, "Sample Setup");
  EXPECT_EQ(intro, "Welcome to the sample.");
  EXPECT_EQ(destination, "C:\\Program Files\\VOXA\\");
  EXPECT_EQ(label, "Choose a directory...");
  // Fixed and network drives, not the CD-ROM.
  EXPECT_EQ(drives, (std::vector<std::string>{"c:", "d:", "f:"}));
  EXPECT_EQ(levelOne, (std::vector<std::string>{"inner", "other"}));
  EXPECT_TRUE(innerHasButton);
  EXPECT_FALSE(otherHasButton);
  EXPECT_EQ(chosenLabel, "Install into d:\\setuptests\\dialog_welcome\\");
  EXPECT_EQ(afterChoice, "d:\\setuptests\\dialog_welcome");
  EXPECT_EQ(logOf(folder), "d:\\setuptests\\dialog_welcome\r\ncontinued\r\n");
  EXPECT_EQ(result.condition, 1);
}

TEST(SetupDialogsTest, ADriveChosenAloneIsTwoCharactersAndAbortGivesZero) {
  std::string folder = freshFolder("dialog_drive");
  std::string afterChoice;
  RunResult result = runInProcess(folder,
      "[Setup]\r\nset DSTDIR \"C:\\Program Files\\VOXA\\\"\r\nIShowInstallDlg\r\n",
      [&](Robot& robot) {
        HWND welcome = robot.waitFor(IDC_CHANGE_DESTINATION);
        Robot::click(welcome, IDC_CHANGE_DESTINATION);
        HWND chooser = robot.waitFor(IDC_TREE);
        HWND tree = GetDlgItem(chooser, IDC_TREE);
        TreeView_SelectItem(tree, childNamed(tree, nullptr, "c:"));
        Robot::click(chooser, IDOK);
        robot.waitGone(chooser);
        afterChoice = Robot::text(welcome, IDC_DESTINATION);
        Robot::click(welcome, IDCANCEL);
      });
  EXPECT_EQ(result.failure, "");
  EXPECT_EQ(afterChoice, "c:");
  EXPECT_EQ(result.condition, 0);
}

TEST(SetupDialogsTest, ANewDirectoryIsCheckedAndMadeAtOnceEvenWhenTheChooserIsCancelled) {
  std::string folder = freshFolder("dialog_newdir");
  std::string proposed, newLabel;
  bool stayedOnBadName = false, stayedOnEmpty = false, stayedOnEscape = false;
  RunResult result = runInProcess(folder, kChooseOrKeep,
      [&](Robot& robot) {
        auto [welcome, chooser] = openChooserAt(robot, "dialog_newdir");
        Robot::click(chooser, IDC_NEW_DIRECTORY);
        HWND box = robot.waitFor(IDC_NEW_NAME);
        proposed = Robot::text(box, IDC_NEW_NAME);
        auto attempt = [&](const char* name, int button) {
          SetDlgItemTextA(box, IDC_NEW_NAME, name);
          Robot::click(box, button);
          Sleep(300);
          return IsWindowVisible(box) != FALSE;
        };
        stayedOnBadName = attempt("bad:name", IDOK) && attempt("a|b", IDOK) && attempt("q?", IDOK);
        stayedOnEmpty = attempt("", IDOK);
        stayedOnEscape = attempt("Fresh", IDCANCEL);
        attempt("Fresh", IDOK);
        robot.waitGone(box);
        newLabel = Robot::text(chooser, IDC_PATH_LABEL);
        Robot::click(chooser, IDCANCEL);
        robot.waitGone(chooser);
        Robot::click(welcome, IDOK);
      });
  EXPECT_EQ(result.failure, "");
  EXPECT_EQ(proposed, "NewDirectory");
  EXPECT_TRUE(stayedOnBadName);
  EXPECT_TRUE(stayedOnEmpty);
  EXPECT_TRUE(stayedOnEscape);
  EXPECT_EQ(newLabel, "Install into d:\\setuptests\\dialog_newdir\\Fresh\\");
  EXPECT_NE(attributes(folder + "\\Fresh") & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_NE(attributes(folder + "\\Fresh"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(logOf(folder), "C:\\kept\r\n");  // the chooser was cancelled
}

TEST(SetupDialogsTest, TheChooserRefusesAPathThatDoesNotFitInsteadOfCuttingIt) {
  std::string folder = freshFolder("dialog_long_path");
  const std::string longName(150, 'n');
  std::string refusal;
  bool stayedOpen = false;
  RunResult result = runInProcess(folder, kChooseOrKeep,
      [&](Robot& robot) {
        auto [welcome, chooser] = openChooserAt(robot, "dialog_long_path");
        for (int level = 0; level < 2; ++level) {  // each new directory is selected
          Robot::click(chooser, IDC_NEW_DIRECTORY);
          HWND box = robot.waitFor(IDC_NEW_NAME);
          SetDlgItemTextA(box, IDC_NEW_NAME, longName.c_str());
          Robot::click(box, IDOK);
          robot.waitGone(box);
        }
        Robot::click(chooser, IDOK);
        HWND message = robot.waitFor(kBoxText);
        refusal = Robot::text(message, kBoxText);
        Robot::click(message, IDOK);
        robot.waitGone(message);
        stayedOpen = IsWindowVisible(chooser) != FALSE;
        Robot::click(chooser, IDCANCEL);
        robot.waitGone(chooser);
        Robot::click(welcome, IDOK);
      });
  EXPECT_EQ(result.failure, "");
  EXPECT_EQ(refusal, "The path d:\\setuptests\\dialog_long_path\\" + longName + "\\" + longName +
                         " is too long to install into (at most 259 characters). Choose a shorter one.");
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(logOf(folder), "C:\\kept\r\n");
}

TEST(SetupDialogsTest, TheAgreementShowsTheFileAsItIsAndTheScriptDecides) {
  std::string folder = freshFolder("dialog_licence");
  const std::string licence = "Line one\nline two\r\n\tend";
  // Another program holds the agreement open for writing.
  win::UniqueHandle held = win::adoptFileHandle(CreateFileA((folder + "\\licence.txt").c_str(), GENERIC_WRITE,
      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(held.get(), licence.data(), static_cast<DWORD>(licence.size()), &written, nullptr));
  std::string shown, emptyShown = "?";
  RunResult result = runInProcess(folder,
      "[Setup]\r\nShowFile \"licence.txt\"\r\nIf\r\nAppendFile \"agreed\" \"log.txt\"\r\nElse\r\n"
      "AppendFile \"refused\" \"log.txt\"\r\nEndif\r\nShowFile \"missing.txt\"\r\n",
      [&](Robot& robot) {
        HWND dialog = robot.waitFor(IDC_LICENCE_TEXT);
        shown = Robot::text(dialog, IDC_LICENCE_TEXT);
        Robot::click(dialog, IDCANCEL);
        robot.waitGone(dialog);
        HWND empty = robot.waitFor(IDC_LICENCE_TEXT);
        emptyShown = Robot::text(empty, IDC_LICENCE_TEXT);
        Robot::click(empty, IDOK);
      });
  EXPECT_EQ(result.failure, "");
  EXPECT_EQ(shown, licence);
  EXPECT_EQ(emptyShown, "");
  EXPECT_EQ(logOf(folder), "refused\r\n");
  EXPECT_EQ(result.condition, 1);
}

std::vector<std::string> listEntries(HWND dialog) {
  std::vector<std::string> entries;
  HWND list = GetDlgItem(dialog, IDC_CHOICES);
  LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char text[256] = {};
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    entries.emplace_back(text);
  }
  return entries;
}

TEST(SetupDialogsTest, TheChoiceListsTheSetTypesAndADoubleClickChooses) {
  std::string folder = freshFolder("dialog_type");
  std::vector<std::string> first, gapped;
  LRESULT selected = -1;
  RunResult result = runInProcess(folder,
      "[Setup]\r\nset SETUPTYPE0 \"Typical\"\r\nset SETUPTYPE1 \"Compact\"\r\nSetupType\r\n"
      "AppendFile SETUPTYPE \"log.txt\"\r\nClr SETUPTYPE1\r\nset SETUPTYPE3 \"Custom\"\r\n"
      "SetupType\r\nAppendFile SETUPTYPE \"log.txt\"\r\n",
      [&](Robot& robot) {
        HWND dialog = robot.waitFor(IDC_CHOICES);
        first = listEntries(dialog);
        selected = SendDlgItemMessageA(dialog, IDC_CHOICES, LB_GETCURSEL, 0, 0);
        SendDlgItemMessageA(dialog, IDC_CHOICES, LB_SETCURSEL, 1, 0);
        Robot::notify(dialog, IDC_CHOICES, LBN_DBLCLK);
        robot.waitGone(dialog);
        HWND second = robot.waitFor(IDC_CHOICES);
        gapped = listEntries(second);
        SendDlgItemMessageA(second, IDC_CHOICES, LB_SETCURSEL, 1, 0);
        Robot::click(second, IDOK);
      });
  EXPECT_EQ(result.failure, "");
  EXPECT_EQ(first, (std::vector<std::string>{"Typical", "Compact"}));
  EXPECT_EQ(selected, 0);
  EXPECT_EQ(gapped, (std::vector<std::string>{"Typical", "Custom"}));
  EXPECT_EQ(logOf(folder), "Compact\r\nCustom\r\n");
  EXPECT_EQ(result.condition, 1);
}

TEST(SetupDialogsTest, AbortingTheChoiceEndsTheInstallation) {
  std::string folder = freshFolder("dialog_type_abort");
  std::string boxTitle, boxText;
  RunResult result = runInProcess(folder,
      "[Setup]\r\nset SETUPNAME \"Sample\"\r\nSetupType\r\nAppendFile \"empty list\" \"log.txt\"\r\n"
      "AppendFile SETUPTYPE \"log.txt\"\r\nset SETUPTYPE0 \"Typical\"\r\nSetupType\r\n"
      "AppendFile \"after abort\" \"log.txt\"\r\n",
      [&](Robot& robot) {
        HWND empty = robot.waitFor(IDC_CHOICES);
        Robot::click(empty, IDOK);
        robot.waitGone(empty);
        HWND dialog = robot.waitFor(IDC_CHOICES);
        Robot::click(dialog, IDCANCEL);
        HWND box = robot.waitFor(kBoxText);
        boxTitle = Robot::text(box);
        boxText = Robot::text(box, kBoxText);
        Robot::click(box, IDOK);
      });
  EXPECT_EQ(result.failure, "");
  EXPECT_EQ(boxTitle, "Sample");
  EXPECT_EQ(boxText, "Installation aborted. Have a nice day anyway ;-)");
  // An empty list chooses nothing: SETUPTYPE is unset, an empty line.
  EXPECT_EQ(logOf(folder), "empty list\r\n\r\n");
  EXPECT_EQ(result.condition, 0);
}

}  // namespace
}  // namespace setup::testing
