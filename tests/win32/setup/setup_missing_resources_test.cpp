// The dialogs' failure paths, in a program whose resources hold only the
// directory chooser (no pictures, no other dialog).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "dialogs.h"
#include "in_process_run.h"
#include "resource.h"
#include "scratch.h"

namespace setup::testing {
namespace {

constexpr int kBoxText = 0xFFFF;

TEST(SetupMissingResourcesTest, AWelcomeDialogThatCannotBeMadeGivesMinusOne) {
  std::string folder = freshFolder("missing_welcome");
  std::string title, text;
  RunResult result = runInProcess(folder,
      "[Setup]\r\nAppendFile \"before\" \"log.txt\"\r\nIShowInstallDlg\r\n", [&](Robot& robot) {
        HWND box = robot.waitFor(kBoxText);
        title = Robot::text(box);
        text = Robot::text(box, kBoxText);
        Robot::click(box, IDOK);
      });
  EXPECT_EQ(result.failure, "");
  EXPECT_EQ(title, "ERROR");
  EXPECT_EQ(text, "Could not create Dialog box");
  EXPECT_EQ(result.condition, -1);
  EXPECT_EQ(readFile(folder + "\\log.txt"), "before\r\n");
}

TEST(SetupMissingResourcesTest, TheChooserWithoutPicturesOrNewDirBoxSaysSoAndGoesOn) {
  std::vector<std::string> boxes;
  bool treeHadImages = true;
  std::optional<std::string> chosen = "not asked";
  auto keepBox = [&](Robot& robot) {
    HWND box = robot.waitFor(kBoxText);
    boxes.push_back(Robot::text(box) + ": " + Robot::text(box, kBoxText));
    Robot::click(box, IDOK);
    robot.waitGone(box);
  };
  std::string failure = runWithRobot([&] { chosen = win32::chooseDirectory(nullptr); },
      [&](Robot& robot) {
        keepBox(robot);
        HWND chooser = robot.waitFor(IDC_TREE);
        HWND tree = GetDlgItem(chooser, IDC_TREE);
        treeHadImages = TreeView_GetImageList(tree, TVSIL_NORMAL) != nullptr;
        TreeView_SelectItem(tree, TreeView_GetRoot(tree));
        Robot::click(chooser, IDC_NEW_DIRECTORY);
        keepBox(robot);
        Robot::click(chooser, IDCANCEL);
      });
  EXPECT_EQ(failure, "");
  EXPECT_EQ(boxes, (std::vector<std::string>{"InitTreeViewImageLists: Pas Bon",
                                             "ERROR: Could not create NewDir Dialog box"}));
  EXPECT_FALSE(treeHadImages);
  EXPECT_FALSE(chosen.has_value());
}

}  // namespace
}  // namespace setup::testing
