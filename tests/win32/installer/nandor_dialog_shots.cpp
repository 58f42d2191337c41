// nandor_dialog_shots OUTDIR: runs Nandor.exe as a user meets it and saves a
// picture of each dialog and message box as the screen shows it
// (OUTDIR\NAME.bmp): the options dialog with the directory given and with
// every default, the progress dialog during the search, the final message.
// OUTDIR may be a Linux path.
#include <cstdio>

#include "nandor_fixture.h"

namespace {

using nandor::testing::NandorTest;
using nandor::testing::SeenWindow;

std::string outFolder;

void shoot(HWND window, const char* name) {
  Sleep(400);  // painted
  std::string path = outFolder + "\\" + name + ".bmp";
  if (nandor::testing::saveWindowPicture(window, path)) std::printf("%s.bmp\n", name);
}

bool shootEach(const SeenWindow& seen, int optionsButton) {
  if (GetDlgItem(seen.window, 1001) != nullptr) {
    shoot(seen.window, optionsButton == IDOK ? "options-directory-given" : "options-defaults");
    nandor::testing::click(seen.window, optionsButton);
    return true;
  }
  if (GetDlgItem(seen.window, 1005) != nullptr) {
    shoot(seen.window, "progress");
    return true;
  }
  if (seen.messageBox) shoot(seen.window, "message-done");
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: nandor_dialog_shots OUTDIR\n");
    return 2;
  }
  outFolder = argv[1];
  if (outFolder[0] == '/') outFolder = "\\\\?\\unix" + outFolder;
  for (char& c : outFolder) c = c == '/' ? '\\' : c;

  NandorTest::cleanMachine();
  if (!NandorTest::placeInstaller()) return 1;
  NandorTest::explorerLayout(nandor::testing::kLayouts + "\\Explorer");
  // Enough folders for the progress dialog to stay up a while.
  for (char a = 'a'; a < 'a' + 16; ++a) {
    for (char b = 'a'; b < 'a' + 16; ++b) {
      for (char c = 'a'; c < 'a' + 16; ++c) {
        nandor::testing::makeFolders(nandor::testing::kLayouts + "\\Deep\\" + a + "\\" + b + "\\" + c);
      }
    }
  }
  auto defaults = nandor::testing::runNandor("", [](const SeenWindow& seen) { return shootEach(seen, IDCANCEL); });
  auto install =
      nandor::testing::runNandor("*dD:\\Kebo", [](const SeenWindow& seen) { return shootEach(seen, IDOK); });
  nandor::testing::runNandor("/Uninstall");
  NandorTest::cleanMachine();
  return defaults.exitCode == 1 && install.exitCode == 0 ? 0 : 1;
}
