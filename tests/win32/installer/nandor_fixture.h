// A clean machine for each installer test, and the browser layouts the
// tests build on the drives.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "nandor_run.h"

namespace nandor::testing {

inline const std::string kKeboKey = "Software\\KEBO";
inline const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KEBO";
inline const std::string kLayouts = "D:\\nandor";
inline const std::string kLayoutsOnC = "C:\\nandorlayouts";

class NandorTest : public ::testing::Test {
 public:
  // "..\..\Program\Netscape.exe" beside root\Navigator\Plugins; answers the plug-in folder.
  static std::string netscapeLayout(const std::string& root, const char* pluginsName = "Plugins");
  // "..\IExplore.exe" beside root\PLUGINS.
  static std::string explorerLayout(const std::string& root, const char* pluginsName = "PLUGINS");
  // Everything an installation leaves behind, gone.
  static void cleanMachine();
  // Nandor.exe as built, copied to the scratch drive.
  static bool placeInstaller();

 protected:
  void SetUp() override;
  void TearDown() override;

  std::string plugin_;  // npvlx.dll as built
};

}  // namespace nandor::testing
