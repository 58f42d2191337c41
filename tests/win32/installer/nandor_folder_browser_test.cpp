// The options dialog's "..." button: the shell's folder browser, whose
// choice becomes the folder + "\Kebo". In process, so that the robot can
// hand the browser a folder to select.
#include <shlobj.h>

#include <gtest/gtest.h>

#include "dialogs.h"
#include "nandor_run.h"

namespace nandor::testing {
namespace {

TEST(NandorFolderBrowserTest, TheChosenFolderGetsKeboAppended) {
  makeFolders("C:\\Apps");
  HWND options = nullptr;
  std::string browserTitle;
  std::string shownAfterChoice;
  WindowRobot robot(GetCurrentProcessId(), [&](const SeenWindow& seen) {
    if (GetDlgItem(seen.window, 1001) != nullptr) {
      options = seen.window;
      click(seen.window, 1004);
      return true;
    }
    if (FindWindowExA(seen.window, nullptr, "SysTreeView32", nullptr) == nullptr) return false;
    for (HWND child = GetWindow(seen.window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (windowText(child).find("KEBO") != std::string::npos) browserTitle = windowText(child);
    }
    Sleep(200);
    SendMessageA(seen.window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>("C:\\Apps"));
    Sleep(200);
    click(seen.window, IDOK);
    for (int i = 0; i < 200 && IsWindow(seen.window); ++i) Sleep(10);
    shownAfterChoice = windowText(GetDlgItem(options, 1001));
    click(options, IDOK);
    return true;
  });
  InstallOptions chosen;
  chosen.installDirectory = "c:\\Program Files\\Kebo";
  EXPECT_TRUE(runOptionsDialog(chosen));
  robot.stop();
  EXPECT_EQ(browserTitle, "Choisissez le r\xe9pertoire d'installation de KEBO");
  EXPECT_EQ(shownAfterChoice, "C:\\Apps\\Kebo");
  EXPECT_EQ(chosen.installDirectory, "C:\\Apps\\Kebo");
  // Both questions were open: each starts at no.
  EXPECT_EQ(chosen.shortcut, 0);
  EXPECT_EQ(chosen.connect, 0);
  RemoveDirectoryA("C:\\Apps");
}

}  // namespace
}  // namespace nandor::testing
