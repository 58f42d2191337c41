// Installations and uninstallations of Nandor.exe as a process: registry,
// files, shortcuts, the plug-in folders found on the fixed drives, the
// messages and the exit codes.
#include <shlobj.h>

#include "common/win32/handles.h"
#include "common/win32/process_run.h"
#include "nandor_fixture.h"

namespace nandor::testing {
namespace {

const std::string kDone = "Installation de KEBO termin\xe9" "e.";
const std::string kUninstallDone = "D\xe9sinstallation de KEBO termin\xe9" "e.";
const std::string kInterrupted = "Installation interrompue. KEBO n'est pas correctement install\xe9.";
const std::string kNoBrowser =
    "Aucun browser trouv\xe9 sur votre poste: vous avez besoin d'un browser pour pouvoir utiliser KEBO.\n"
    "L'installation de KEBO n'a pu \xea" "tre termin\xe9" "e correctement.";
const std::string kNoResource =
    "Impossible de cr\xe9" "er une resource (thread ou fichier).\nL'installation de KEBO n'a pu \xea" "tre "
    "termin\xe9" "e correctement.";

std::string shortcutText(const std::string& url, const std::string& iconFile) {
  return "[InternetShortcut]\r\nURL=" + url + "\r\nIconIndex=0\r\nIconFile=" + iconFile + "\r\n";
}

bool nothingInstalled() {
  return !registryKeyExists(kKeboKey) && !registryKeyExists(kUninstallKey) && !exists("D:\\Kebo") &&
         !exists(shellFolder(CSIDL_PROGRAMS) + "\\Kebo") && !exists(shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Kebo.url");
}

// Under Wine the recycle bin is the desktop's trash, XDG_DATA_HOME/Trash/files.
std::string recycleBin() {
  char home[MAX_PATH] = {};
  if (GetEnvironmentVariableA("XDG_DATA_HOME", home, sizeof home) == 0) return "";
  std::string trash = "\\\\?\\unix" + std::string(home) + "/Trash/files";
  for (char& c : trash) c = c == '/' ? '\\' : c;
  return trash;
}

// A file NAME (NAME-xxxx when the name was taken) holding bytes.
bool inRecycleBin(const std::string& name, const std::string& bytes) {
  std::string trash = recycleBin() + "\\";
  WIN32_FIND_DATAA entry;
  win::UniqueFind listing(FindFirstFileA((trash + name + "*").c_str(), &entry));
  if (listing.get() == INVALID_HANDLE_VALUE) return false;
  do {
    if (readFile(trash + entry.cFileName) == bytes) return true;
  } while (FindNextFileA(listing.get(), &entry));
  return false;
}

class NandorInstallTest : public NandorTest {};

TEST_F(NandorInstallTest, InstallsIntoEveryBrowserOnTheFixedDrivesAndUninstallsAgain) {
  const std::string netscape = netscapeLayout(kLayouts + "\\Netscape", "plugins");
  const std::string explorer = explorerLayout(kLayouts + "\\Explorer");
  // Both layouts at once: handled as one folder.
  const std::string both = netscapeLayout(kLayouts + "\\Both");
  writeFile(kLayouts + "\\Both\\Navigator\\IExplore.exe", "MZ");
  // A plug-in folder beside no browser is left alone, but searched inside.
  const std::string lonely = kLayouts + "\\Lonely\\PLUGINS";
  const std::string inner = explorerLayout(lonely + "\\Inner", "Plugins");
  // A running browser holds its program open without sharing.
  const std::string running = explorerLayout(kLayouts + "\\Running");
  win::UniqueHandle held = win::adoptFileHandle(CreateFileA((kLayouts + "\\Running\\IExplore.exe").c_str(),
                                                            GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  const std::string onC = explorerLayout(kLayoutsOnC + "\\Explorer");
  // The CD-ROM drive is never searched.
  makeFolders("E:\\nandor");
  const bool cdromWritable = isFolder("E:\\nandor");
  const std::string onCdrom = cdromWritable ? explorerLayout("E:\\nandor\\Explorer") : "";

  ASSERT_FALSE(recycleBin().empty());
  removeTree(recycleBin());

  RunResult install = runNandor("*dD:\\Kebo *i1 *l0");
  ASSERT_TRUE(install.finished);
  EXPECT_EQ(install.exitCode, 0);
  ASSERT_EQ(install.boxTexts(), std::vector<std::string>{kDone});
  EXPECT_EQ(install.windows.back().title, "KEBO - Installation");

  EXPECT_EQ(registryText(kKeboKey, nullptr), "D:\\Kebo");
  EXPECT_EQ(registryNumber(kKeboKey, "VLX"), 1003u);
  EXPECT_EQ(registryText(kKeboKey, "Servers"), "http://kebo.example.com");
  EXPECT_TRUE(registryKeyExists(kKeboKey + "\\Components"));
  const std::string copy = windowsFolder() + "\\Nandor.exe";
  EXPECT_EQ(registryText(kUninstallKey, "DisplayName"), "KEBO");
  EXPECT_EQ(registryText(kUninstallKey, "UninstallString"), copy + " /Uninstall");
  EXPECT_TRUE(isFolder("D:\\Kebo\\Bin"));
  EXPECT_FALSE(exists("D:\\Kebo\\npvlx.dll"));
  EXPECT_EQ(readFile(copy), readFile(installerUnderTest()));
  for (const std::string& folder : {netscape, explorer, both, inner, running, onC}) {
    EXPECT_TRUE(readFile(folder + "\\npvlx.dll") == plugin_) << folder;
  }
  EXPECT_FALSE(exists(lonely + "\\npvlx.dll"));
  if (cdromWritable) {
    EXPECT_FALSE(exists(onCdrom + "\\npvlx.dll"));
  }
  const std::string shortcut = shortcutText("http://kebo.example.com/", copy);
  EXPECT_EQ(readFile(shellFolder(CSIDL_PROGRAMS) + "\\Kebo\\Kebo.url"), shortcut);
  EXPECT_EQ(readFile(shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Kebo.url"), shortcut);

  // The uninstall entry's own command: the copy in the Windows directory.
  RunResult uninstall = runNandor("/uNINSTALL", {}, 120000, copy);
  ASSERT_TRUE(uninstall.finished);
  EXPECT_EQ(uninstall.exitCode, 0);
  EXPECT_EQ(uninstall.boxTexts(), std::vector<std::string>{kUninstallDone});
  EXPECT_EQ(uninstall.windows.back().title, "KEBO - D\xe9sinstallation");
  for (const std::string& folder : {netscape, explorer, both, inner, running, onC}) {
    EXPECT_FALSE(exists(folder + "\\npvlx.dll")) << folder;
  }
  EXPECT_TRUE(nothingInstalled());
  EXPECT_TRUE(exists(copy));
  // Into the recycle bin, not lost.
  EXPECT_TRUE(inRecycleBin("Kebo.url", shortcut));
}

TEST_F(NandorInstallTest, TheHomePageOptionGoesIntoTheShortcutsAndStopsBeforeTheNextStar) {
  explorerLayout(kLayouts + "\\Explorer");
  RunResult install = runNandor("*dD:\\Kebo *uhttp://other.example.org/start *i1 *l0");
  EXPECT_EQ(install.exitCode, 0);
  const std::string shortcut = shortcutText("http://other.example.org/start", windowsFolder() + "\\Nandor.exe");
  EXPECT_EQ(readFile(shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Kebo.url"), shortcut);
}

TEST_F(NandorInstallTest, WithoutABrowserTheInstallationIsRolledBackAndAnUnwritableOneIsReported) {
  RunResult install = runNandor("*dD:\\Kebo *i1 *l0");
  ASSERT_TRUE(install.finished);
  EXPECT_EQ(install.exitCode, 1);
  EXPECT_EQ(install.boxTexts(), std::vector<std::string>{kNoBrowser});
  EXPECT_TRUE(nothingInstalled());

  // A browser folder where the plug-in cannot be written is a file that
  // could not be written, not a missing browser: the LZ library opens no
  // path of 128 characters or more.
  explorerLayout(kLayouts + "\\" + std::string(120, 'x'));
  RunResult unwritable = runNandor("*dD:\\Kebo *i1 *l0");
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_EQ(unwritable.boxTexts(), std::vector<std::string>{kNoResource});
  EXPECT_TRUE(nothingInstalled());
}

TEST_F(NandorInstallTest, AnUninstallationThatFindsNoBrowserStillRemovesQuietly) {
  const std::string explorer = explorerLayout(kLayouts + "\\Explorer");
  ASSERT_EQ(runNandor("*dD:\\Kebo *i1 *l0").exitCode, 0);
  removeTree(kLayouts);
  RunResult uninstall = runNandor("/Uninstall");
  ASSERT_TRUE(uninstall.finished);
  EXPECT_EQ(uninstall.exitCode, 1);
  EXPECT_TRUE(uninstall.boxTexts().empty());
  EXPECT_TRUE(nothingInstalled());
}

TEST_F(NandorInstallTest, CancellingTheSearchJoinsTheWorkerAndRollsBack) {
  explorerLayout(kLayouts + "\\Explorer");
  // A deep tree keeps the search busy long enough.
  for (char a = 'a'; a < 'a' + 12; ++a) {
    for (char b = 'a'; b < 'a' + 12; ++b) {
      for (char c = 'a'; c < 'a' + 12; ++c) makeFolders(kLayouts + "\\Deep\\" + a + "\\" + b + "\\" + c);
    }
  }
  std::string spinner;
  RunResult install = runNandor("*dD:\\Kebo *i1 *l0", [&](const SeenWindow& seen) {
    HWND field = GetDlgItem(seen.window, 1000);
    if (field == nullptr) return false;
    for (int i = 0; i < 200 && spinner.empty(); ++i, Sleep(10)) spinner = windowText(field);
    click(seen.window, IDCANCEL);
    return true;
  });
  ASSERT_TRUE(install.finished);
  EXPECT_EQ(install.exitCode, 1);
  EXPECT_EQ(install.boxTexts(), std::vector<std::string>{kInterrupted});
  EXPECT_EQ(spinner.size(), 8u);
  EXPECT_TRUE(nothingInstalled());
  EXPECT_FALSE(exists("D:\\Kebo\\npvlx.dll"));
}

TEST_F(NandorInstallTest, AFileThatCannotBeWrittenIsReportedAndRolledBack) {
  explorerLayout(kLayouts + "\\Explorer");
  // A folder where the payload would go: it was there before, so it stays.
  makeFolders("D:\\Kebo\\npvlx.dll");
  RunResult payload = runNandor("*dD:\\Kebo *i1 *l0");
  EXPECT_EQ(payload.exitCode, 1);
  std::vector<std::string> boxes = payload.boxTexts();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].rfind("Impossible de cr\xe9" "er le fichier D:\\Kebo\\npvlx.dll (", 0), 0u) << boxes[0];
  EXPECT_EQ(payload.windows[0].title, "KEBO Installation - Erreur");
  EXPECT_EQ(boxes[1], kNoResource);
  EXPECT_FALSE(registryKeyExists(kKeboKey));
  EXPECT_FALSE(exists("D:\\Kebo\\Bin"));
  EXPECT_TRUE(isFolder("D:\\Kebo\\npvlx.dll"));
  removeTree("D:\\Kebo");

  // A folder where the installer copy would go.
  const std::string copy = windowsFolder() + "\\Nandor.exe";
  makeFolders(copy);
  RunResult copying = runNandor("*dD:\\Kebo *i1 *l0");
  RemoveDirectoryA(copy.c_str());
  EXPECT_EQ(copying.exitCode, 1);
  EXPECT_EQ(copying.boxTexts(),
            (std::vector<std::string>{"Impossible de copier le fichier " + installerUnderTest() + " vers " + copy,
                                      kNoResource}));
  EXPECT_TRUE(nothingInstalled());
}

TEST_F(NandorInstallTest, TheRemovalNeverDeletesADriveRootOrASystemFolder) {
  // No browser: each installation is rolled back through the install
  // directory named in the registry.
  for (const std::string& directory : {std::string("C:\\"), windowsFolder(), shellFolder(CSIDL_PROGRAM_FILES),
                                       shellFolder(CSIDL_PROFILE), std::string("D:\\")}) {
    writeFile("D:\\kept.txt", "kept");
    RunResult install = runNandor("*d" + directory + " *i0 *l0");
    EXPECT_EQ(install.exitCode, 1) << directory;
    EXPECT_EQ(install.boxTexts(), std::vector<std::string>{kNoBrowser}) << directory;
    EXPECT_TRUE(isFolder(directory)) << directory;
    EXPECT_FALSE(registryKeyExists(kKeboKey)) << directory;
    RemoveDirectoryA((directory + "\\Bin").c_str());
  }
  EXPECT_TRUE(isFolder(windowsFolder() + "\\system32"));
  EXPECT_EQ(readFile("D:\\kept.txt"), "kept");
  DeleteFileA("D:\\kept.txt");
}

TEST_F(NandorInstallTest, AFolderThatWasThereKeepsWhatWasInItThroughARollbackAndAnUninstallation) {
  makeFolders("D:\\Programs");
  writeFile("D:\\Programs\\own.txt", "mine");
  RunResult rollback = runNandor("*dD:\\Programs *i0 *l0");
  EXPECT_EQ(rollback.boxTexts(), std::vector<std::string>{kNoBrowser});
  EXPECT_EQ(readFile("D:\\Programs\\own.txt"), "mine");
  EXPECT_FALSE(exists("D:\\Programs\\Bin"));
  EXPECT_FALSE(registryKeyExists(kKeboKey));

  const std::string explorer = explorerLayout(kLayouts + "\\Explorer");
  ASSERT_EQ(runNandor("*dD:\\Programs *i1 *l0").exitCode, 0);
  ASSERT_TRUE(isFolder("D:\\Programs\\Bin"));
  // A folder the installation made but the user filled since stays too.
  makeFolders("D:\\Programs\\Bin\\data");
  const std::string copy = windowsFolder() + "\\Nandor.exe";
  ASSERT_EQ(runNandor("/Uninstall", {}, 120000, copy).exitCode, 0);
  EXPECT_EQ(readFile("D:\\Programs\\own.txt"), "mine");
  EXPECT_TRUE(isFolder("D:\\Programs\\Bin\\data"));
  EXPECT_FALSE(exists(explorer + "\\npvlx.dll"));
  EXPECT_FALSE(exists(shellFolder(CSIDL_PROGRAMS) + "\\Kebo"));
  EXPECT_FALSE(exists(shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Kebo.url"));
  EXPECT_FALSE(registryKeyExists(kKeboKey));
}

TEST_F(NandorInstallTest, TheRemovalKeepsSystemFoldersAndProfilesWhateverTheRecordSays) {
  explorerLayout(kLayouts + "\\Explorer");
  ASSERT_EQ(runNandor("*dD:\\Kebo *i0 *l0").exitCode, 0);
  // Empty folders, which a removal of folders would take at once.
  const std::string insideWindows = windowsFolder() + "\\kebotestempty";
  const std::string profile = "C:\\users\\kebo-ghost";
  const std::string systemFile = windowsFolder() + "\\kebo-kept.txt";
  makeFolders(insideWindows);
  makeFolders(profile);
  writeFile(systemFile, "kept");
  char shortName[MAX_PATH] = {};
  ASSERT_GT(GetShortPathNameA(insideWindows.c_str(), shortName, sizeof shortName), 0u);
  ASSERT_NE(std::string(shortName), insideWindows);
  std::string tampered;
  for (const std::string& entry : {std::string(shortName) + "\\", std::string("c:\\USERS\\KEBO-GHOST\\"), systemFile}) {
    tampered.append(entry).push_back('\0');
  }
  tampered.push_back('\0');
  HKEY raw = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKeboKey.c_str(), 0, KEY_SET_VALUE, &raw), ERROR_SUCCESS);
  RegSetValueExA(raw, "Installed", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(tampered.data()),
                 static_cast<DWORD>(tampered.size()));
  RegCloseKey(raw);

  RunResult uninstall = runNandor("/Uninstall");
  EXPECT_EQ(uninstall.exitCode, 0);
  EXPECT_TRUE(isFolder(insideWindows));
  EXPECT_TRUE(isFolder(profile));
  EXPECT_EQ(readFile(systemFile), "kept");
  RemoveDirectoryA(insideWindows.c_str());
  RemoveDirectoryA(profile.c_str());
  DeleteFileA(systemFile.c_str());
}

TEST_F(NandorInstallTest, AnInstallationWithoutARecordIsRemovedByItsUsualNames) {
  explorerLayout(kLayouts + "\\Explorer");
  ASSERT_EQ(runNandor("*dD:\\Kebo *i1 *l0").exitCode, 0);
  ASSERT_EQ(RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kKeboKey.c_str(), "Installed"), ERROR_SUCCESS);
  writeFile("D:\\Kebo\\chat.dll", "a component");
  ASSERT_EQ(runNandor("/Uninstall").exitCode, 0);
  EXPECT_FALSE(exists(shellFolder(CSIDL_PROGRAMS) + "\\Kebo"));
  EXPECT_FALSE(exists(shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Kebo.url"));
  EXPECT_FALSE(exists("D:\\Kebo\\Bin"));
  EXPECT_EQ(readFile("D:\\Kebo\\chat.dll"), "a component");
}

struct WindowOf {
  DWORD processId;
  HWND found = nullptr;
};

BOOL CALLBACK findVisibleWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowOf*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

TEST_F(NandorInstallTest, ABrowserThatHoldsThePluginIsClosedAfterTheQuestion) {
  explorerLayout(kLayouts + "\\Explorer");
  // The browser double has the plug-in loaded and its page open; its icon
  // is none of the installer's.
  writeFile("D:\\nandortest\\page.txt", "width=100\nheight=20\n");
  std::string commandLine = "\"";
  commandLine.append(besideTest("browserhost.exe")).append("\" --plugin \"").append(besideTest("npvlx.dll"));
  commandLine.append("\" --run 60000 D:\\nandortest\\page.txt");
  win::StartedProcess started = win::startProcess({commandLine, {}, "D:\\", CREATE_NO_WINDOW});
  ASSERT_TRUE(started);
  win::UniqueHandle& browser = started.process;
  WindowOf page{started.id};
  for (int i = 0; i < 200 && page.found == nullptr; ++i, Sleep(50)) {
    EnumWindows(findVisibleWindow, reinterpret_cast<LPARAM>(&page));
  }
  ASSERT_NE(page.found, nullptr);

  RunResult install = runNandor("*dD:\\Kebo *i0 *l0");
  const std::string question =
      "L'installation de KEBO n\xe9" "cessite la fermeture de vos browsers.\nCliquez sur Ok pour effectuer cette "
      "fermeture automatiquement et lancer l'installation.";
  EXPECT_EQ(install.boxTexts(), (std::vector<std::string>{question, kDone}));
  EXPECT_FALSE(IsWindow(page.found));
  TerminateProcess(browser.get(), 0);
}

}  // namespace
}  // namespace nandor::testing
