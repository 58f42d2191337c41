// The options dialog: what it shows for the options the command line left
// open, and what its checkboxes and buttons do.
#include <shlobj.h>

#include "nandor_fixture.h"

namespace nandor::testing {
namespace {

constexpr int kDirectory = 1001;
constexpr int kShortcutBox = 1002;
constexpr int kConnectBox = 1003;
constexpr int kBrowse = 1004;

struct OptionsSeen {
  std::string title;
  std::string directory;
  bool readOnly = false;
  bool browseShown = false;
  bool shortcutShown = false;
  bool connectShown = false;
  LRESULT shortcutChecked = -1;
  LRESULT connectChecked = -1;
};

LRESULT checked(HWND dialog, int box) {
  DWORD_PTR state = 0;
  SendMessageTimeoutA(GetDlgItem(dialog, box), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
  return static_cast<LRESULT>(state);
}

// Reads the options dialog, ticks the boxes the given number of times,
// then presses the button.
Handler optionsRobot(OptionsSeen& seen, int shortcutTicks, int connectTicks, int button = IDOK) {
  return [&seen, shortcutTicks, connectTicks, button](const SeenWindow& window) {
    HWND dialog = window.window;
    if (GetDlgItem(dialog, kDirectory) == nullptr) return false;
    seen.title = window.title;
    seen.directory = windowText(GetDlgItem(dialog, kDirectory));
    seen.readOnly = (GetWindowLongA(GetDlgItem(dialog, kDirectory), GWL_STYLE) & ES_READONLY) != 0;
    seen.browseShown = IsWindowVisible(GetDlgItem(dialog, kBrowse));
    seen.shortcutShown = IsWindowVisible(GetDlgItem(dialog, kShortcutBox));
    seen.connectShown = IsWindowVisible(GetDlgItem(dialog, kConnectBox));
    seen.shortcutChecked = checked(dialog, kShortcutBox);
    seen.connectChecked = checked(dialog, kConnectBox);
    for (int i = 0; i < shortcutTicks; ++i) pressCheckbox(dialog, kShortcutBox);
    for (int i = 0; i < connectTicks; ++i) pressCheckbox(dialog, kConnectBox);
    click(dialog, button);
    return true;
  };
}

class NandorOptionsTest : public NandorTest {};

TEST_F(NandorOptionsTest, WithOnlyTheDirectoryBothQuestionsAreAskedUncheckedAndTwoTicksMeanNo) {
  explorerLayout(kLayouts + "\\Explorer");
  OptionsSeen seen;
  RunResult install = runNandor("*dD:\\Kebo", optionsRobot(seen, 2, 2));
  ASSERT_TRUE(install.finished);
  EXPECT_EQ(seen.title, "KEBO - Installation");
  EXPECT_EQ(seen.directory, "D:\\Kebo");
  EXPECT_TRUE(seen.readOnly);
  EXPECT_FALSE(seen.browseShown);
  EXPECT_TRUE(seen.shortcutShown);
  EXPECT_TRUE(seen.connectShown);
  EXPECT_EQ(seen.shortcutChecked, BST_UNCHECKED);
  EXPECT_EQ(seen.connectChecked, BST_UNCHECKED);
  EXPECT_EQ(install.exitCode, 0);
  // Neither a desktop shortcut nor a connection (which would show a box).
  EXPECT_EQ(install.boxTexts(), std::vector<std::string>{"Installation de KEBO termin\xe9" "e."});
  EXPECT_FALSE(exists(shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Kebo.url"));
  EXPECT_EQ(registryText(kKeboKey, nullptr), "D:\\Kebo");
}

TEST_F(NandorOptionsTest, OnlyTheOpenQuestionIsShownAndOneTickMeansYes) {
  explorerLayout(kLayouts + "\\Explorer");
  OptionsSeen seen;
  RunResult install = runNandor("*dD:\\Kebo *l0", optionsRobot(seen, 1, 0));
  EXPECT_TRUE(seen.shortcutShown);
  EXPECT_FALSE(seen.connectShown);
  EXPECT_EQ(install.exitCode, 0);
  EXPECT_TRUE(exists(shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Kebo.url"));
}

TEST_F(NandorOptionsTest, LeavingTheDialogWithoutInstallingChangesNothing) {
  explorerLayout(kLayouts + "\\Explorer");
  OptionsSeen seen;
  RunResult install = runNandor("/Uninstall ", optionsRobot(seen, 0, 0, IDCANCEL));
  ASSERT_TRUE(install.finished);
  // Not the uninstall argument: an installation with every default.
  EXPECT_EQ(seen.directory, "c:\\Program Files\\Kebo");
  EXPECT_TRUE(seen.browseShown);
  EXPECT_EQ(install.exitCode, 1);
  EXPECT_TRUE(install.boxTexts().empty());
  EXPECT_FALSE(registryKeyExists(kKeboKey));
}

}  // namespace
}  // namespace nandor::testing
