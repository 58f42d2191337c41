// setup_dialog_shots OUTDIR: opens every dialog of setup.exe from a script,
// as a user would meet it, and saves a picture of each one as it is on the
// screen (OUTDIR\NAME.bmp), then closes it.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "common/win32/window_picture.h"
#include "in_process_run.h"
#include "resource.h"
#include "scratch.h"
#include "tree_items.h"

namespace {

using setup::testing::childNamed;
using setup::testing::Robot;

bool saveWindow(HWND window, const std::string& path) {
  std::string bytes = win::windowPictureBmp(window);
  if (bytes.empty()) return false;
  setup::testing::writeFile(path, bytes);
  std::printf("%s\n", path.c_str());
  return true;
}

void shoot(HWND window, const std::string& out, const char* name) {
  Sleep(400);  // painted
  saveWindow(window, out + "\\" + name + ".bmp");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: setup_dialog_shots OUTDIR\n");
    return 2;
  }
  const std::string out = argv[1];
  std::string folder = setup::testing::freshFolder("dialog_shots");
  setup::testing::makeFolder(folder + "\\Program Files\\Voxa Sample");
  setup::testing::writeFile(folder + "\\licence.txt",
      "VOXA SAMPLE PACKAGE - LICENCE AGREEMENT\r\n\r\nThis sample package may be copied, "
      "installed and removed freely.\r\nIt comes without any warranty.\r\n\r\n"
      "Agree to install it, or Disagree to stop here.\r\n");
  const std::string script =
      "[Setup]\r\nset SETUPNAME \"Voxa Sample Package\"\r\n"
      "set INTRO \"Welcome to the Voxa Sample Package. This program installs it on your "
      "computer: choose where, then press Continue.\"\r\n"
      "set APP_TITTLE \"Voxa Sample Package Setup\"\r\nset DSTDIR \"C:\\Program Files\\VOXA\\\"\r\n"
      "IShowInstallDlg\r\nShowFile \"licence.txt\"\r\n"
      "set SETUPTYPE0 \"Typical installation\"\r\nset SETUPTYPE1 \"Compact installation\"\r\n"
      "set SETUPTYPE2 \"Custom installation\"\r\nSetupType\r\n"
      "MsgBoxYESNO \"Start the sample now?\" \"Voxa Sample Package\"\r\n";
  std::string failure = setup::testing::runInProcess(folder, script, [&](Robot& robot) {
    HWND welcome = robot.waitFor(IDC_CHANGE_DESTINATION);
    shoot(welcome, out, "dialog-welcome");
    Robot::click(welcome, IDC_CHANGE_DESTINATION);
    HWND chooser = robot.waitFor(IDC_TREE);
    HWND tree = GetDlgItem(chooser, IDC_TREE);
    HTREEITEM drive = childNamed(tree, nullptr, "d:");
    TreeView_Expand(tree, drive, TVE_EXPAND);
    HTREEITEM tests = childNamed(tree, drive, "setuptests");
    TreeView_Expand(tree, tests, TVE_EXPAND);
    TreeView_SelectItem(tree, childNamed(tree, tests, "dialog_shots"));
    shoot(chooser, out, "dialog-directory-chooser");
    Robot::click(chooser, IDC_NEW_DIRECTORY);
    HWND box = robot.waitFor(IDC_NEW_NAME);
    shoot(box, out, "dialog-new-directory");
    Robot::click(box, IDOK);
    robot.waitGone(box);
    Robot::click(chooser, IDOK);
    robot.waitGone(chooser);
    shoot(welcome, out, "dialog-welcome-after-choice");
    Robot::click(welcome, IDOK);
    HWND licence = robot.waitFor(IDC_LICENCE_TEXT);
    shoot(licence, out, "dialog-licence");
    Robot::click(licence, IDOK);
    HWND choice = robot.waitFor(IDC_CHOICES);
    shoot(choice, out, "dialog-setup-type");
    Robot::click(choice, IDOK);
    HWND question = robot.waitFor(0xFFFF);
    shoot(question, out, "dialog-message-box");
    Robot::click(question, IDYES);
  }).failure;
  if (!failure.empty()) std::fprintf(stderr, "setup_dialog_shots: %s\n", failure.c_str());
  return failure.empty() ? 0 : 1;
}
