// The installer's command line, path rules, spinner, install record and
// removal refusals.
#include <gtest/gtest.h>

#include "command_line.h"
#include "install_record.h"
#include "removal_rule.h"
#include "text_rules.h"

namespace nandor {
namespace {

InstallOptions read(std::string_view line) {
  InstallOptions options;
  readOptions(line, "*", options);
  return options;
}

TEST(CommandLineTest, OnlyTheWholeUninstallArgumentInAnyCaseSelectsUninstall) {
  EXPECT_TRUE(isUninstallArgument("/Uninstall", "/Uninstall"));
  EXPECT_TRUE(isUninstallArgument("/uNINSTALL", "/Uninstall"));
  EXPECT_FALSE(isUninstallArgument("/Uninstall ", "/Uninstall"));
  EXPECT_FALSE(isUninstallArgument("", "/Uninstall"));
  // Only ASCII letters fold: '/' is not a letter that '\x0f' would match.
  EXPECT_FALSE(isUninstallArgument("\x0fUninstall", "/Uninstall"));
}

TEST(CommandLineTest, TheUsualOptionsSetDirectoryShortcutAndConnection) {
  InstallOptions options = read("*dD:\\Kebo *i1 *l0");
  EXPECT_EQ(options.installDirectory, "D:\\Kebo");
  EXPECT_FALSE(options.directoryChoosable);
  EXPECT_EQ(options.shortcut, 1);
  EXPECT_EQ(options.connect, 0);
  EXPECT_TRUE(options.homePage.empty());
}

TEST(CommandLineTest, DefaultsStayWithoutOptionsAndTextBeforeTheFirstStarIsIgnored) {
  InstallOptions options = read("dC:\\ignored i0");
  EXPECT_EQ(options.shortcut, kAsk);
  EXPECT_EQ(options.connect, kAsk);
  EXPECT_TRUE(options.directoryChoosable);
  EXPECT_TRUE(options.installDirectory.empty());
  EXPECT_EQ(read("x *i0").shortcut, 0);
}

TEST(CommandLineTest, TheCharacterBeforeTheNextStarEndsTheValue) {
  // No blank: the value's last character is the one cut off.
  EXPECT_EQ(read("*dD:\\Kebo*i0").installDirectory, "D:\\Keb");
  // "*i0*l0": the '0' of i is the terminator, so i means yes.
  InstallOptions options = read("*i0*l0");
  EXPECT_EQ(options.shortcut, 1);
  EXPECT_EQ(options.connect, 0);
  // An option right before a star loses its letter; "**" is harmless.
  EXPECT_TRUE(read("*d* *i0").directoryChoosable);
  EXPECT_EQ(read("** *u").homePage, "");
  EXPECT_EQ(read("*uhttp://kebo.example/ *ix").homePage, "http://kebo.example/");
}

TEST(CommandLineTest, UpperCaseAndUnknownLettersAreIgnoredAndLongValuesCut) {
  InstallOptions options = read("*DD:\\x *I0 *L0 *zz");
  EXPECT_TRUE(options.directoryChoosable);
  EXPECT_EQ(options.shortcut, kAsk);
  EXPECT_EQ(options.connect, kAsk);
  EXPECT_EQ(read("*d" + std::string(400, 'a')).installDirectory.size(), kMaxPathText);
}

TEST(PathRulesTest, JoinAddsOneSeparatorOnlyWhenMissing) {
  EXPECT_EQ(joinPath("c:\\Program Files", "Kebo"), "c:\\Program Files\\Kebo");
  EXPECT_EQ(joinPath("C:\\Apps\\", "Kebo"), "C:\\Apps\\Kebo");
  EXPECT_EQ(joinPath("D:\\", "npvlx.dll"), "D:\\npvlx.dll");
}

TEST(PathRulesTest, EveryLevelBelowTheDriveIsCreatedOutermostFirst) {
  EXPECT_EQ(directoryLevels("D:\\Kebo\\Bin"), (std::vector<std::string>{"D:\\Kebo", "D:\\Kebo\\Bin"}));
  EXPECT_EQ(directoryLevels("D:\\a\\\\b\\"), (std::vector<std::string>{"D:\\a", "D:\\a\\\\b"}));
  EXPECT_EQ(directoryLevels("\\\\server\\share\\Kebo"), (std::vector<std::string>{"\\\\server\\share\\Kebo"}));
}

TEST(PathRulesTest, PluginFolderNamesMatchInAnyCaseOnly) {
  EXPECT_TRUE(isPluginFolderName("Plugins"));
  EXPECT_TRUE(isPluginFolderName("PLUGINS"));
  EXPECT_FALSE(isPluginFolderName("Plugins2"));
  EXPECT_FALSE(isPluginFolderName("Plugin"));
}

TEST(SpinnerTest, TheMarkTurnsAndMovesEveryEighthDirectory) {
  Spinner spinner;
  std::vector<std::string> shown;
  for (int i = 0; i < 8 * 9 + 1; ++i) shown.push_back(spinner.advance());
  EXPECT_EQ(shown[0], "-.......");
  EXPECT_EQ(shown[7], "-.......");
  EXPECT_EQ(shown[8], ".\\......");
  EXPECT_EQ(shown[16], "..|.....");
  EXPECT_EQ(shown[24], ".../....");
  EXPECT_EQ(shown[32], "....-...");
  EXPECT_EQ(shown[56], "......./");
  EXPECT_EQ(shown[64], "-.......");
  EXPECT_EQ(shown[72], ".\\......");
}

TEST(InstallRecordTest, KeepsEachPathOnceInOrderAndReadsBackAsStored) {
  InstallRecord record;
  record.addFolder("D:\\Programs\\Kebo\\");
  record.addFolder("D:\\Programs\\Kebo\\Bin");
  record.addFile("D:\\Programs\\Kebo\\npvlx.dll");
  record.addFolder("d:\\programs\\kebo");
  InstallRecord earlier;
  earlier.addFile("C:\\windows\\Nandor.exe");
  earlier.addFile("D:\\PROGRAMS\\Kebo\\NPVLX.DLL");
  record.merge(earlier);
  const std::vector<std::string> folders = {"D:\\Programs\\Kebo", "D:\\Programs\\Kebo\\Bin"};
  const std::vector<std::string> files = {"D:\\Programs\\Kebo\\npvlx.dll", "C:\\windows\\Nandor.exe"};
  EXPECT_EQ(record.folders(), folders);
  EXPECT_EQ(record.files(), files);
  std::string stored = record.serialise();
  EXPECT_EQ(stored.substr(0, 18), std::string("D:\\Programs\\Kebo\\\0", 18));
  InstallRecord read = InstallRecord::parse(stored + '\0');
  EXPECT_EQ(read.folders(), folders);
  EXPECT_EQ(read.files(), files);
  EXPECT_TRUE(InstallRecord::parse(std::string(1, '\0')).empty());
}

TEST(RemovalRuleTest, DriveRootsAndOddPathsAreNeverDeleted) {
  const ProtectedFolders none;
  EXPECT_FALSE(mayDeleteFolder("C:\\", none));
  EXPECT_FALSE(mayDeleteFolder("C:", none));
  EXPECT_FALSE(mayDeleteFolder("d:\\\\", none));
  EXPECT_FALSE(mayDeleteFolder("", none));
  EXPECT_FALSE(mayDeleteFolder("Kebo", none));
  EXPECT_FALSE(mayDeleteFolder("\\Kebo", none));
  EXPECT_FALSE(mayDeleteFolder("\\\\server\\share", none));
  EXPECT_FALSE(mayDeleteFolder("D:\\Kebo\\..", none));
  EXPECT_FALSE(mayDeleteFolder("D:\\Kebo\\.\\x", none));
  EXPECT_FALSE(mayDeleteFolder("D:\\a\\\\b", none));
  EXPECT_FALSE(mayDeleteFile("D:\\", none));
  EXPECT_TRUE(mayDeleteFolder("D:\\Kebo", none));
  EXPECT_TRUE(mayDeleteFolder("D:\\Kebo\\", none));
}

TEST(RemovalRuleTest, KeptFoldersTheirParentsTheWindowsContentsAndEachProfileStay) {
  ProtectedFolders kept;
  kept.kept = {"C:\\Program Files\\", "C:\\Program Files (x86)", "C:\\users\\root\\Desktop"};
  kept.keptWithContents = {"C:\\windows"};
  kept.keptWithChildren = {"C:\\users"};
  for (const char* folder : {"C:\\program files", "C:\\Program Files (X86)\\", "c:\\WINDOWS", "C:\\Windows\\Kebo",
                             "C:\\windows\\system32\\x", "C:\\users", "C:\\Users\\Root", "C:\\users\\ghost",
                             "C:\\users\\root\\Desktop"}) {
    EXPECT_FALSE(mayDeleteFolder(folder, kept)) << folder;
  }
  for (const char* folder : {"C:\\Program Files\\Kebo", "C:\\windows2", "C:\\users\\root\\Kebo",
                             "C:\\users\\root\\Desktop\\Kebo"}) {
    EXPECT_TRUE(mayDeleteFolder(folder, kept)) << folder;
  }
  EXPECT_FALSE(mayDeleteFile("C:\\windows\\system32\\kernel32.dll", kept));
  EXPECT_TRUE(mayDeleteFile("C:\\users\\root\\Desktop\\Kebo.url", kept));
  // Windows reads these as the Windows folder and the drive root.
  EXPECT_FALSE(mayDeleteFolder("C:\\Windows. ", kept));
  EXPECT_FALSE(mayDeleteFolder("C:\\   ", kept));
}

}  // namespace
}  // namespace nandor
