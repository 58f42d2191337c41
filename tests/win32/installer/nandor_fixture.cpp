#include "nandor_fixture.h"

#include <shlobj.h>

#include "common/win32/registry_tree.h"

namespace nandor::testing {

void NandorTest::SetUp() {
  cleanMachine();
  ASSERT_TRUE(placeInstaller());
  plugin_ = readFile(besideTest("npvlx.dll"));
  ASSERT_GT(plugin_.size(), 10000u);
}

bool NandorTest::placeInstaller() {
  makeFolders("D:\\nandortest");
  return CopyFileA(besideTest("Nandor.exe").c_str(), installerUnderTest().c_str(), FALSE) != FALSE;
}

void NandorTest::TearDown() { cleanMachine(); }

void NandorTest::cleanMachine() {
  win::deleteRegistryTree(HKEY_LOCAL_MACHINE, kKeboKey);
  win::deleteRegistryTree(HKEY_LOCAL_MACHINE, kUninstallKey);
  for (const std::string& folder : {kLayouts, kLayoutsOnC, std::string("D:\\Kebo"), std::string("D:\\Programs"),
                                    std::string("E:\\nandor")}) {
    removeTree(folder);
  }
  DeleteFileA((windowsFolder() + "\\Nandor.exe").c_str());
  DeleteFileA((shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Kebo.url").c_str());
  removeTree(shellFolder(CSIDL_PROGRAMS) + "\\Kebo");
}

std::string NandorTest::netscapeLayout(const std::string& root, const char* pluginsName) {
  makeFolders(root + "\\Program");
  writeFile(root + "\\Program\\Netscape.exe", "MZ navigator");
  std::string plugins = root + "\\Navigator\\" + pluginsName;
  makeFolders(plugins);
  return plugins;
}

std::string NandorTest::explorerLayout(const std::string& root, const char* pluginsName) {
  makeFolders(root);
  writeFile(root + "\\IExplore.exe", "MZ explorer");
  std::string plugins = root + "\\" + pluginsName;
  makeFolders(plugins);
  return plugins;
}

}  // namespace nandor::testing
